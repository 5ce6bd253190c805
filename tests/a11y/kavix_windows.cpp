// The windows of kavix.

#include "windows.h"

#include "frmAbout.h"
#include "frmBrowser.h"
#include "frmEdit.h"
#include "frmMain.h"
#include "frmR2.h"
#include "frmResult.h"
#include "frmSearch.h"
#include "frmSplash.h"
#include "frmViewAll.h"
#include "frmWordGame.h"

#include "dictstore/paths.h"

#include <QLineEdit>
#include <QPushButton>

#include <filesystem>
#include <fstream>

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

// The help browser on a help page, as Help > Contents opens it.
std::unique_ptr<QWidget> helpBrowser()
{
    const std::filesystem::path index = dictstore::helpIndexPath();
    std::filesystem::create_directories(index.parent_path());
    std::ofstream(index) << "<html><head><title>Kavix Help</title></head>"
                            "<body><h1>Contents</h1><p><a href=\"other.htm\">Looking a word up</a></p></body></html>";
    auto browser = std::make_unique<kavix::frmBrowser>();
    browser->StartingAddress = QString::fromStdString(index.string());
    return browser;
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
    {"kavix", "frmR2_by_meaning",
     [] {
         SearchRequest s = letters(QString());
         s.byMeaning = true;
         s.meaning = QStringLiteral("feeling glad");
         return make<kavix::frmR2>(s);
     }},
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
    {"kavix", "frmBrowser", helpBrowser},
});

}  // namespace
