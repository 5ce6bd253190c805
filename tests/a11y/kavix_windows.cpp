// The windows of kavix, and the shared splash and about box in both programs.

#include "windows.h"

#include "frmAbout.h"
#include "frmEdit.h"
#include "frmMain.h"
#include "frmR2.h"
#include "frmResult.h"
#include "frmSearch.h"
#include "frmSplash.h"
#include "frmViewAll.h"
#include "frmWordGame.h"

#include <QLineEdit>

#include <QPushButton>

namespace {

using a11ytest::WindowCase;
using kavix::SearchRequest;

template <typename W, typename... Args>
std::unique_ptr<QWidget> make(Args&&... args)
{
    return std::make_unique<W>(std::forward<Args>(args)...);
}

SearchRequest exactWord(bool everything)
{
    SearchRequest s;
    s.exactWord = QStringLiteral("happy");
    s.synonyms = s.antonyms = s.partOfSpeech = s.usage = s.pronunciation = everything;
    return s;
}

SearchRequest letters(const QString& key)
{
    SearchRequest s;
    s.letters = key;
    s.synonyms = s.antonyms = true;
    return s;
}

kavix::EditMemory editMemory;
kavix::WordGameMemory gameMemory;

const bool added = a11ytest::addWindows({
    {"kavix", "frmMain", [] { return make<kavix::frmMain>(); }},
    {"kavix", "frmSplash", [] { return make<lexi::frmSplash>(lexi::SplashKind::Kavix); }},
    {"kavix", "frmAbout", [] { return make<lexi::frmAbout>(lexi::AboutKind::Kavix); }},
    {"kavix", "frmSearch", [] { return make<kavix::frmSearch>(); }},
    {"kavix", "frmAdd", [] { return make<kavix::frmAdd>(); }},
    {"kavix", "frmResult", [] { return make<kavix::frmResult>(exactWord(false)); }},
    {"kavix", "frmResult_wide_every_row",
     [] {
         auto card = std::make_unique<kavix::frmResult>(exactWord(true));
         card->cmdView->click();
         return std::unique_ptr<QWidget>(std::move(card));
     }},
    {"kavix", "frmResult_word_not_found",
     [] {
         SearchRequest s = exactWord(true);
         s.exactWord = QStringLiteral("absent");
         return make<kavix::frmResult>(s);
     }},
    {"kavix", "frmR2_two_letters", [] { return make<kavix::frmR2>(letters(QStringLiteral("ha"))); }},
    {"kavix", "frmR2_one_letter", [] { return make<kavix::frmR2>(letters(QStringLiteral("s"))); }},
    {"kavix", "frmViewAll", [] { return make<kavix::frmViewAll>(); }},
    {"kavix", "frmEdit", [] { return make<kavix::frmEdit>(editMemory); }},
    {"kavix", "frmEdit_entry_loaded",
     [] {
         auto edit = std::make_unique<kavix::frmEdit>(editMemory);
         edit->txtWord->setText(QStringLiteral("happy"));
         edit->cmdCheck->setEnabled(true);
         edit->cmdCheck->click();
         return std::unique_ptr<QWidget>(std::move(edit));
     }},
    {"kavix", "frmWordGame", [] { return make<kavix::frmWordGame>(gameMemory); }},
    {"wkvx", "frmSplash", [] { return make<lexi::frmSplash>(lexi::SplashKind::Writer); }},
    {"wkvx", "frmAbout", [] { return make<lexi::frmAbout>(lexi::AboutKind::Writer); }},
});

}  // namespace
