// A look-up that forgives: the word box's type-ahead list, and the words a
// card that found nothing offers instead.

#include "lookupfixture.h"

#include "a11ycheck.h"
#include "cmdline.h"
#include "frmResult.h"
#include "savedpages.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QGroupBox>
#include <QListWidget>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>

using namespace lookuptest;
using kavix::frmResult;
using kavix::frmSearch;

namespace {

const QString kNotFound = QStringLiteral("Word not found, make sure that it is spelled correctly. OR ");

QStringList texts(const std::vector<QPushButton*>& buttons)
{
    QStringList out;
    for (QPushButton* b : buttons)
        out << b->text();
    return out;
}

class SuggestionCardTest : public LookupTest {
protected:
    void SetUp() override
    {
        LookupTest::SetUp();
        writeDictionary({
            entry("cunning", "clever"),
            entry("run", "move fast", {{Field::Synonym1, "sprint"}, {Field::PartOfSpeech, "verb"}}),
            entry("Mouse", "small rodent",
                  {{Field::PartOfSpeech, "noun"}, {Field::Synonym1, "rodent"}, {Field::Antonym1, "cat"}}),
            entry("nice", "pleasant"),
            entry("receive", "get"),
            entry("relieve", "ease"),
        });
        dialog = newDialog();
    }

    frmResult* card(const QString& word, std::initializer_list<QCheckBox* frmSearch::*> ticks = {})
    {
        dialog->show();
        return lookUp<frmResult>(dialog, true, word, ticks);
    }

    frmSearch* dialog = nullptr;
};

TEST_F(SuggestionCardTest, NotFoundKeepsTheMessageAndOffersBaseFormsThenSpellings)
{
    frmResult* c = card("running");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(messages, std::vector<QString>{kNotFound}) << "the message is unchanged";
    ASSERT_NE(c->fraSuggest, nullptr);
    EXPECT_TRUE(c->fraSuggest->isVisibleTo(c));
    EXPECT_EQ(c->lblSuggest->text(), "Did you mean:");
    EXPECT_EQ(texts(c->cmdSuggest), QStringList({"run", "cunning"}));
    EXPECT_TRUE(c->txtWord->text().isEmpty());

    // Letter case as stored; "nice" is one edit from "mice", after the base.
    EXPECT_EQ(texts(card("MICE")->cmdSuggest), QStringList({"Mouse", "nice"}));
    EXPECT_EQ(texts(card("recieve")->cmdSuggest), QStringList({"receive", "relieve"}));
}

TEST_F(SuggestionCardTest, TheCardKeepsItsSizeAndControls)
{
    frmResult* c = card("recieve", {&frmSearch::chkSelAll});
    ASSERT_NE(c->fraSuggest, nullptr);
    EXPECT_EQ(c->size(), lexi::twipsSize(4155, 3885));
    EXPECT_EQ(c->cmdView->geometry(), lexi::twipsRect(2760, 3480, 1335, 375));
    // The line stands in the card's free strip: inside the card, clear of
    // the frame and of the button, with every word inside it.
    const QRect strip = c->fraSuggest->geometry();
    EXPECT_TRUE(c->rect().contains(strip));
    EXPECT_FALSE(strip.intersects(c->Frame1->geometry()));
    EXPECT_FALSE(strip.intersects(c->cmdView->geometry()));
    for (QPushButton* b : c->cmdSuggest)
        EXPECT_TRUE(c->fraSuggest->rect().contains(b->geometry())) << b->text().toStdString();
    EXPECT_EQ(c->focusWidget(), c->cmdView) << "More still has the focus";
    for (QPushButton* b : c->cmdSuggest) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
        EXPECT_EQ(a->role(), QAccessible::Button);
        EXPECT_EQ(a->text(QAccessible::Name), b->text());
    }
    for (const QString& problem : lexitest::accessibilityProblems(c))
        EXPECT_FALSE(problem.contains(QLatin1String("Suggest"))) << problem.toStdString();
    QTest::mouseClick(c->cmdView, Qt::LeftButton);
    EXPECT_EQ(c->cmdView->text(), "<<<&Less");
}

TEST_F(SuggestionCardTest, WordsThatDoNotFitAreLeftOutOrShortened)
{
    // Five long words, each one edit from what is typed: the strip holds
    // fewer, whole and in order.
    std::vector<dictstore::WordRecord> records;
    for (char c : std::string("abcde"))
        records.push_back(entry(std::string(14, 'm') + c + "x", "long"));
    records.push_back(entry(std::string(30, 'W'), "longest"));
    writeDictionary(records);
    frmResult* c = card(QString(14, 'm') + "zx");
    ASSERT_NE(c->fraSuggest, nullptr);
    ASSERT_GE(c->cmdSuggest.size(), 1u);
    EXPECT_LT(c->cmdSuggest.size(), 5u);
    for (std::size_t i = 0; i < c->cmdSuggest.size(); ++i) {
        EXPECT_EQ(c->cmdSuggest[i]->text(), QString(14, 'm') + QChar(static_cast<char16_t>(u'a' + i)) + "x");
        EXPECT_TRUE(c->fraSuggest->rect().contains(c->cmdSuggest[i]->geometry())) << i;
    }

    // A word wider than the whole strip shows its start and opens in full.
    frmResult* longest = card(QString(29, 'W'));
    ASSERT_EQ(longest->cmdSuggest.size(), 1u);
    QPushButton* b = longest->cmdSuggest[0];
    EXPECT_TRUE(longest->fraSuggest->rect().contains(b->geometry()));
    EXPECT_TRUE(b->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(b->accessibleName(), QString(30, 'W'));
    frmResult* opened = nullptr;
    QObject::connect(longest, &frmResult::suggestionOpened,
                     [&opened](QWidget* w) { opened = qobject_cast<frmResult*>(w); });
    QTest::mouseClick(b, Qt::LeftButton);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->txtMeaning->text().trimmed(), "longest");
}

TEST_F(SuggestionCardTest, AFoundWordOrNothingCloseShowsNoLine)
{
    frmResult* found = card("Run");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(found->fraSuggest, nullptr);
    EXPECT_TRUE(found->cmdSuggest.empty());

    // Found, but the page could not be saved: still no suggestions.
    frmResult* unsaved = card("mouse", {&frmSearch::chkSaveSearch});
    EXPECT_EQ(messages, std::vector<QString>{kavix::pageFailureMessage("Mouse.htm", dictstore::Error::PathNotFound)});
    EXPECT_EQ(unsaved->txtMeaning->text().trimmed(), "small rodent");
    EXPECT_EQ(unsaved->fraSuggest, nullptr);

    messages.clear();
    frmResult* far = card("xylophone");
    EXPECT_EQ(messages, std::vector<QString>{kNotFound});
    EXPECT_EQ(far->fraSuggest, nullptr) << "nothing within two edits";

    fs::remove(dictstore::dictionaryPath());
    messages.clear();
    frmResult* missing = card("running");
    EXPECT_EQ(messages, std::vector<QString>{kNotFound + "File not found"});
    EXPECT_EQ(missing->fraSuggest, nullptr);
}

TEST_F(SuggestionCardTest, ClickingAWordOpensItsCardWithTheSameRows)
{
    QMainWindow owner;
    auto* d = newDialog(&owner);
    frmResult* empty = lookUp<frmResult>(d, true, "mice", {&frmSearch::chkSyn, &frmSearch::chkPOSp});
    ASSERT_NE(empty, nullptr);
    ASSERT_FALSE(empty->cmdSuggest.empty());
    QPointer<frmResult> emptyCard = empty;
    frmResult* opened = nullptr;
    QObject::connect(empty, &frmResult::suggestionOpened,
                     [&opened](QWidget* w) { opened = qobject_cast<frmResult*>(w); });
    messages.clear();
    QTest::mouseClick(empty->cmdSuggest[0], Qt::LeftButton);
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(opened->isVisible());
    EXPECT_EQ(opened->parentWidget(), &owner) << "owned like the card it replaces";
    EXPECT_EQ(opened->txtWord->text().trimmed(), "Mouse");
    EXPECT_EQ(opened->txtMeaning->text().trimmed(), "small rodent");
    EXPECT_TRUE(opened->txtSyn[0]->isVisibleTo(opened));
    EXPECT_TRUE(opened->txtPosp->isVisibleTo(opened));
    EXPECT_FALSE(opened->txtAnto[0]->isVisibleTo(opened));
    EXPECT_FALSE(opened->txtSentence->isVisibleTo(opened));
    EXPECT_EQ(opened->fraSuggest, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(emptyCard.isNull()) << "the empty card makes way for the word's";

    // The keyboard reaches the words too: Space on a focused one.
    frmResult* again = lookUp<frmResult>(d, true, "recieve");
    frmResult* byKey = nullptr;
    QObject::connect(again, &frmResult::suggestionOpened,
                     [&byKey](QWidget* w) { byKey = qobject_cast<frmResult*>(w); });
    again->cmdSuggest[1]->setFocus();
    QTest::keyClick(again->cmdSuggest[1], Qt::Key_Space);
    ASSERT_NE(byKey, nullptr);
    EXPECT_EQ(byKey->txtWord->text().trimmed(), "relieve");
}

TEST_F(SuggestionCardTest, FromTheCommandLineTheProgramGoesOnWithTheNewCard)
{
    auto* c = qobject_cast<frmResult*>(kavix::runCommandLine(QStringLiteral("mice")));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(texts(c->cmdSuggest), QStringList({"Mouse", "nice"}));
    frmResult* opened = nullptr;
    QObject::connect(c, &frmResult::suggestionOpened, [&opened](QWidget* w) { opened = qobject_cast<frmResult*>(w); });
    QTest::mouseClick(c->cmdSuggest[1], Qt::LeftButton);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->parentWidget(), nullptr);
    EXPECT_TRUE(opened->isVisible());
    EXPECT_TRUE(opened->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(opened->txtMeaning->text().trimmed(), "pleasant");
    EXPECT_FALSE(opened->txtSyn[0]->isVisibleTo(opened)) << "only word and meaning, as before";
}

class TypeAheadTest : public LookupTest {
protected:
    void SetUp() override
    {
        LookupTest::SetUp();
        std::vector<dictstore::WordRecord> records = {entry("Happy", "glad"), entry("ahead", "in front"),
                                                      entry("hat", "headwear"), entry("happen", "occur"),
                                                      entry("HAPPY", "again"), entry("  happiness", "joy")};
        for (int i = 0; i < 20; ++i)
            records.push_back(entry("h" + std::to_string(i), "filler"));
        writeDictionary(records);
    }

    // What the list offers, in order, and whether it is showing.
    static QStringList offered(frmSearch* d)
    {
        QStringList out;
        for (int r = 0; r < d->lstWords->count(); ++r)
            out << d->lstWords->item(r)->text();
        return out;
    }

    static void type(frmSearch* d, const QString& text)
    {
        d->txtExact->clear();
        QTest::keyClicks(d->txtExact, text);
    }

    // The user types into the focused box, as the box only takes a chosen
    // word while it has the focus.
    frmSearch* exactDialog()
    {
        frmSearch* d = newDialog();
        QTest::mouseClick(d->optExact, Qt::LeftButton);
        QApplication::setActiveWindow(d);
        d->txtExact->setFocus();
        EXPECT_TRUE(d->txtExact->hasFocus());
        return d;
    }
};

TEST_F(TypeAheadTest, OffersTheFirstTwelveWordsThatBeginWithTheText)
{
    frmSearch* d = exactDialog();
    EXPECT_FALSE(d->cmdSearch->isEnabled()) << "the dialog's rules are unchanged";
    type(d, "hA");
    EXPECT_EQ(offered(d), QStringList({"Happy", "hat", "happen", "happiness"}));
    EXPECT_TRUE(d->lstWords->isVisible());
    type(d, "happ");
    EXPECT_EQ(offered(d), QStringList({"Happy", "happen", "happiness"}));
    type(d, "H");
    const QStringList h = offered(d);
    ASSERT_EQ(h.size(), 12);
    EXPECT_EQ(h.first(), "Happy");
    EXPECT_EQ(h.last(), "h7") << "file order, each word once";
    type(d, "hq");
    EXPECT_TRUE(offered(d).isEmpty());
    EXPECT_FALSE(d->lstWords->isVisible());
    EXPECT_TRUE(d->cmdSearch->isEnabled());
    EXPECT_TRUE(messages.empty());
}

TEST_F(TypeAheadTest, TheBoxKeepsTheKeyboardWhileTheListShows)
{
    frmSearch* d = exactDialog();
    QTest::keyPress(d->txtExact, Qt::Key_H, Qt::NoModifier);
    ASSERT_TRUE(d->lstWords->isVisible());
    EXPECT_TRUE(d->txtExact->hasFocus());
    QTest::keyRelease(d->txtExact, Qt::Key_H, Qt::NoModifier);
    EXPECT_TRUE(d->cmdSearch->isEnabled());
    QTest::keyClick(d->txtExact, Qt::Key_Backspace);
    EXPECT_TRUE(d->txtExact->text().isEmpty());
    EXPECT_FALSE(d->cmdSearch->isEnabled());
    EXPECT_FALSE(d->lstWords->isVisible());

    // Esc closes the list, not the dialog; leaving the box closes it too.
    QTest::keyClicks(d->txtExact, "ha");
    ASSERT_TRUE(d->lstWords->isVisible());
    QTest::keyClick(d->txtExact, Qt::Key_Escape);
    EXPECT_FALSE(d->lstWords->isVisible());
    EXPECT_TRUE(d->isVisible());
    QTest::keyClicks(d->txtExact, "p");
    ASSERT_TRUE(d->lstWords->isVisible());
    d->chkSyn->setFocus();
    EXPECT_FALSE(d->lstWords->isVisible());
}

TEST_F(TypeAheadTest, ChoosingAWordFillsTheBoxAndGoLooksItUp)
{
    frmSearch* d = exactDialog();
    type(d, "happ");
    ASSERT_TRUE(d->lstWords->isVisible());
    // Down to the second word, which shows in the box, and Enter takes it.
    QTest::keyClick(d->txtExact, Qt::Key_Down);
    QTest::keyClick(d->txtExact, Qt::Key_Down);
    EXPECT_EQ(d->txtExact->text(), "happen");
    QTest::keyClick(d->txtExact, Qt::Key_Return);
    EXPECT_EQ(d->txtExact->text(), "happen");
    EXPECT_FALSE(d->lstWords->isVisible());
    EXPECT_TRUE(d->cmdSearch->isEnabled());
    QTest::keyClick(d->txtExact, Qt::Key_Return);
    auto* c = qobject_cast<frmResult*>(d->lastResult());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->txtMeaning->text().trimmed(), "occur");

    // With the list open but no word chosen, Enter is still Go.
    d->show();
    type(d, "hat");
    ASSERT_TRUE(d->lstWords->isVisible());
    QTest::keyClick(d->txtExact, Qt::Key_Return);
    auto* hat = qobject_cast<frmResult*>(d->lastResult());
    ASSERT_NE(hat, nullptr);
    EXPECT_NE(hat, c);
    EXPECT_EQ(hat->txtMeaning->text().trimmed(), "headwear");
    EXPECT_FALSE(d->isVisible());
}

TEST_F(TypeAheadTest, EachOpeningReadsTheWordsAfresh)
{
    frmSearch* d = exactDialog();
    type(d, "zebra");
    EXPECT_TRUE(offered(d).isEmpty());
    d->hide();
    writeDictionary({entry("zebra", "striped")});
    d->show();
    type(d, "ze");
    EXPECT_EQ(offered(d), QStringList({"zebra"}));

    // No dictionary: no list and no message; the look-up itself reports.
    d->hide();
    fs::remove(dictstore::dictionaryPath());
    d->show();
    type(d, "ze");
    EXPECT_TRUE(offered(d).isEmpty());
    EXPECT_TRUE(messages.empty());
}

}  // namespace
