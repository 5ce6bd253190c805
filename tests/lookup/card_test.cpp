// The result card: the search rules, what it shows and how it reports.

#include "lookupfixture.h"

#include "frmResult.h"
#include "savedpages.h"

#include <QLabel>
#include <QPlainTextEdit>

using namespace lookuptest;
using kavix::frmResult;
using kavix::frmSearch;

namespace {

const QString kNotFound = QStringLiteral("Word not found, make sure that it is spelled correctly. OR ");

class ResultCardTest : public LookupTest {
protected:
    void SetUp() override
    {
        LookupTest::SetUp();
        writeDictionary({
            entry("gloomy", "dark"),
            entry("happy", "feeling joy",
                  {{Field::PartOfSpeech, "adjective"},
                   {Field::Pronu, "HAP-ee"},
                   {Field::Synonym1, "glad"},
                   {Field::Synonym2, "cheerful"},
                   {Field::Synonym3, "content"},
                   {Field::Usage, std::string(50, 'u')},
                   {Field::Antonym1, "sad"},
                   {Field::Antonym2, "unhappy"},
                   {Field::Antonym3, "gloomy"}}),
            entry("happy", "second entry"),
            entry("ice cream", "frozen"),
        });
        dialog = newDialog();
    }

    frmResult* card(const QString& word, std::initializer_list<QCheckBox* frmSearch::*> ticks = {})
    {
        return lookUp<frmResult>(dialog, true, word, ticks);
    }

    frmSearch* dialog = nullptr;
};

TEST_F(ResultCardTest, FindsTheFirstEntryIgnoringCaseAndOuterSpaces)
{
    frmResult* c = card("  HAPPY ");
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(c->windowTitle(), "Results");
    // Boxes show the field as stored: full width, trailing spaces included.
    EXPECT_EQ(c->txtWord->text(), "happy" + QString(25, ' '));
    EXPECT_EQ(c->txtMeaning->text(), "feeling joy" + QString(29, ' '));
    EXPECT_TRUE(c->txtWord->isReadOnly());
    EXPECT_EQ(c->txtSyn[1]->text().trimmed(), "cheerful") << "hidden boxes are filled too";
    EXPECT_EQ(c->txtAnto[2]->text().trimmed(), "gloomy");
    EXPECT_EQ(c->txtPro->text().trimmed(), "HAP-ee");
    EXPECT_EQ(c->txtSentence->toPlainText(), QString(50, 'u'));
    EXPECT_EQ(c->focusWidget(), c->cmdView);
    // Boxes in the frame use the window's font, like those beside it; only
    // the captions are small.
    EXPECT_EQ(c->txtWord->font().pointSizeF(), c->txtSyn[0]->font().pointSizeF());
    EXPECT_EQ(c->txtWord->font().pointSizeF(), QApplication::font().pointSizeF());
    EXPECT_EQ(c->lblMeaning->font().pointSizeF(), 6.75);

    EXPECT_NE(card("ice cream"), nullptr);
    EXPECT_TRUE(messages.empty()) << "a space inside a stored word is part of it";
}

TEST_F(ResultCardTest, NotFoundStillOpensAnEmptyCardWithTheChosenRows)
{
    frmResult* c = card("hap py", {&frmSearch::chkSyn});
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], kNotFound);
    EXPECT_TRUE(c->isVisible());
    EXPECT_TRUE(c->txtWord->text().isEmpty());
    EXPECT_TRUE(c->lblSyn->isVisibleTo(c));
    EXPECT_FALSE(c->lblAnto->isVisibleTo(c));

    // Only spaces: the empty key matches only a blank stored word.
    messages.clear();
    dialog->show();
    card("   ");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], kNotFound);
    writeDictionary({entry("first", "one"), entry("", "blank word")});
    messages.clear();
    dialog->show();
    frmResult* blank = card("   ");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(blank->txtMeaning->text().trimmed(), "blank word");
}

TEST_F(ResultCardTest, ShowsOnlyTheRowsAskedFor)
{
    frmResult* plain = card("happy");
    for (QWidget* w : std::initializer_list<QWidget*>{plain->Label1, plain->txtWord, plain->lblMeaning,
                                                      plain->txtMeaning})
        EXPECT_TRUE(w->isVisibleTo(plain)) << w->objectName().toStdString();
    for (QWidget* w : std::initializer_list<QWidget*>{plain->lblPOSp, plain->txtPosp, plain->lblSentence,
                                                      plain->txtSentence, plain->lblSyn, plain->txtSyn[0],
                                                      plain->lblAnto, plain->txtAnto[2], plain->lblPro, plain->txtPro})
        EXPECT_FALSE(w->isVisibleTo(plain)) << w->objectName().toStdString();

    dialog->show();
    frmResult* full = card("happy", {&frmSearch::chkSelAll});
    for (QWidget* w : std::initializer_list<QWidget*>{full->lblPOSp, full->txtPosp, full->lblSentence,
                                                      full->txtSentence, full->lblSyn, full->txtSyn[0], full->txtSyn[1],
                                                      full->txtSyn[2], full->lblAnto, full->txtAnto[0],
                                                      full->txtAnto[1], full->txtAnto[2], full->lblPro, full->txtPro})
        EXPECT_TRUE(w->isVisibleTo(full)) << w->objectName().toStdString();
}

TEST_F(ResultCardTest, MoreAndLessSwitchTheOuterWidth)
{
    frmResult* c = card("happy");
    auto outerWidth = [c] { return c->width() + lexi::frameExtra(c).width(); };
    EXPECT_EQ(c->width(), lexi::twips(4155));
    EXPECT_EQ(c->cmdView->text(), "&More>>>");
    QTest::mouseClick(c->cmdView, Qt::LeftButton);
    EXPECT_EQ(outerWidth(), lexi::twips(frmResult::kWideTwips));
    EXPECT_EQ(c->cmdView->text(), "<<<&Less");
    const QRect right = c->txtSyn[0]->geometry();
    EXPECT_LE(right.right(), c->width()) << "the right column fits the wide card";
    QTest::mouseClick(c->cmdView, Qt::LeftButton);
    EXPECT_EQ(outerWidth(), lexi::twips(frmResult::kNarrowTwips));
    EXPECT_EQ(c->cmdView->text(), "&More>>>");
}

TEST_F(ResultCardTest, EscOrTheCloseBoxClosesIt)
{
    frmResult* c = card("happy");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(c));
    QTest::keyClick(c->cmdView, Qt::Key_Return);
    EXPECT_EQ(c->cmdView->text(), "<<<&Less") << "Enter presses the focused button";
    EXPECT_TRUE(c->isVisible());
    EXPECT_TRUE(c->close());
    EXPECT_FALSE(c->isVisible());

    dialog->show();
    frmResult* other = card("gloomy");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(other));
    QTest::keyClick(other, Qt::Key_Escape);
    EXPECT_FALSE(other->isVisible());
}

TEST_F(ResultCardTest, ReportsTheErrorsDescription)
{
    // Save asked for but no saved-search folder: the entry shows, no folder
    // appears, and the next look-up works.
    frmResult* c = card("happy", {&frmSearch::chkSaveSearch});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], kavix::pageFailureMessage("happy.htm", dictstore::Error::PathNotFound));
    EXPECT_EQ(c->txtWord->text().trimmed(), "happy");
    EXPECT_FALSE(fs::exists(dictstore::savedSearchesPath()));

    messages.clear();
    dialog->show();
    QTest::mouseClick(dialog->chkSaveSearch, Qt::LeftButton);
    EXPECT_EQ(card("gloomy")->txtMeaning->text().trimmed(), "dark");
    EXPECT_TRUE(messages.empty());

    fs::remove(dictstore::dictionaryPath());
    dialog->show();
    frmResult* missing = card("happy");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], kNotFound + "File not found");
    EXPECT_TRUE(missing->txtWord->text().isEmpty());
}

}  // namespace
