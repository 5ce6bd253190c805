#include "guitest.h"

#include "frmWordGame.h"

#include "folders.h"

#include <QDir>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

using namespace kavix;

namespace {

class WordGameTest : public ::testing::Test {
protected:
    void SetUp() override { guitest::freshRoot(); }

    static void answer(frmWordGame& g, const QString& text)
    {
        g.show();  // Enter reaches only a shown default button
        // As the user's window is: Qt 6.8 keeps focus on a clicked button of
        // an inactive window, whatever setFocus says.
        g.activateWindow();
        (void)QTest::qWaitForWindowActive(&g);
        g.txtWord->setFocus();
        QTest::keyClicks(g.txtWord, text);
        QTest::keyClick(g.txtWord, Qt::Key_Return);  // Commit is the default
    }

    static void tick(frmWordGame& g, int times)
    {
        for (int i = 0; i < times; ++i)
            QMetaObject::invokeMethod(g.Timer1, "timeout");
    }

    WordGameMemory memory{0, GameRandom(7)};
    guitest::MessageRecorder rec;
};

TEST_F(WordGameTest, OpensOnTheOnlyEntryOfAOneWordDictionary)
{
    guitest::writeDictionary({guitest::record("happy", "  feeling pleasure ")});
    frmWordGame g(memory);
    EXPECT_EQ(g.windowTitle(), QStringLiteral("Kavix Word Game:"));
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_EQ(g.lblMeaning->text(), QStringLiteral("feeling pleasure"));
    EXPECT_FALSE(g.Check1->isEnabled());
    EXPECT_FALSE(g.Check1->isChecked());
    EXPECT_FALSE(g.chkTimer->isChecked());
    EXPECT_EQ(g.pgBar->minimum(), 0);
    EXPECT_EQ(g.pgBar->maximum(), 100);
    EXPECT_EQ(g.pgBar->value(), 0);
    EXPECT_EQ(g.Timer1->interval(), 500);
    EXPECT_FALSE(g.Timer1->isActive());
    EXPECT_TRUE(g.cmdOK->isDefault());
    EXPECT_EQ(g.lblAns->text(), QStringLiteral("No of correct answers:"));
    EXPECT_EQ(g.lblcounter->text(), QString());
    for (int i = 0; i < 5; ++i) {
        QTest::mouseClick(g.cmdGiveUp, Qt::LeftButton);
        EXPECT_EQ(g.lblMeaning->text(), QStringLiteral("feeling pleasure"));
    }
    EXPECT_EQ(rec.lastText(), QStringLiteral("The word for this phrase is: happy"));
}

TEST_F(WordGameTest, AnswersCountOnlyInTheRightCase)
{
    guitest::writeDictionary({guitest::record("happy", "glad")});
    frmWordGame g(memory);
    g.show();
    answer(g, QStringLiteral("  happy "));
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Yes! you are on the roar..."));
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("Lexivane"));
    EXPECT_EQ(g.lblcounter->text(), QStringLiteral("1"));
    EXPECT_EQ(g.txtWord->text(), QString()) << "a new turn empties the answer";

    answer(g, QStringLiteral("Happy"));
    EXPECT_EQ(rec.lastText(), QStringLiteral("Oh! you missed it! correct word is: happy"));
    EXPECT_EQ(g.lblcounter->text(), QStringLiteral("1"));
    QTest::mouseClick(g.cmdGiveUp, Qt::LeftButton);
    EXPECT_EQ(g.lblcounter->text(), QStringLiteral("1"));
    answer(g, QStringLiteral("happy"));
    EXPECT_EQ(g.lblcounter->text(), QStringLiteral("2"));
    EXPECT_EQ(memory.correct, 2);
}

TEST_F(WordGameTest, TheCountOutlivesTheWindow)
{
    guitest::writeDictionary({guitest::record("ox", "a bull")});
    {
        frmWordGame g(memory);
        for (int i = 0; i < 3; ++i)
            answer(g, QStringLiteral("ox"));
        EXPECT_EQ(g.lblcounter->text(), QStringLiteral("3"));
        QTest::mouseClick(g.cmdCancel, Qt::LeftButton);
        EXPECT_FALSE(g.isVisible());
    }
    frmWordGame g(memory);
    EXPECT_EQ(g.lblcounter->text(), QString());
    answer(g, QStringLiteral("ox"));
    EXPECT_EQ(g.lblcounter->text(), QStringLiteral("4"));
}

TEST_F(WordGameTest, HintsGiveTheLengthAndUpToTwoLetters)
{
    for (const auto& [word, hint] : {std::pair{"happy", "5 letters, Starts with 'ha'"},
                                     std::pair{"ox", "2 letters, Starts with 'ox'"},
                                     std::pair{"x", "1 letters, Starts with 'x'"}}) {
        guitest::writeDictionary({guitest::record(word, "m")});
        frmWordGame g(memory);
        rec.messages.clear();
        QTest::mouseClick(g.cmdHint, Qt::LeftButton);
        ASSERT_EQ(rec.messages.size(), 1u);
        EXPECT_EQ(rec.messages[0].text, QString::fromLatin1(hint));
        EXPECT_EQ(rec.messages[0].title, QStringLiteral("Hint!"));
        EXPECT_EQ(rec.messages[0].icon, lexi::MsgIcon::Information);
    }
    EXPECT_EQ(memory.correct, 0);
}

TEST_F(WordGameTest, TheBarGrowsByFiveStopsAtAHundredAndStartsAgainEachTurn)
{
    guitest::writeDictionary({guitest::record("happy", "glad")});
    frmWordGame g(memory);
    QTest::mouseClick(g.chkTimer, Qt::LeftButton);
    EXPECT_TRUE(g.Timer1->isActive());
    tick(g, 1);
    EXPECT_EQ(g.pgBar->value(), 5);
    tick(g, 19);
    EXPECT_EQ(g.pgBar->value(), 100);
    tick(g, 3);
    EXPECT_EQ(g.pgBar->value(), 100);
    EXPECT_TRUE(g.Timer1->isActive()) << "a full bar ends nothing";

    QTest::mouseClick(g.chkTimer, Qt::LeftButton);
    EXPECT_FALSE(g.Timer1->isActive());
    EXPECT_EQ(g.pgBar->value(), 0);

    QTest::mouseClick(g.chkTimer, Qt::LeftButton);
    tick(g, 4);
    answer(g, QStringLiteral("happy"));
    EXPECT_EQ(g.pgBar->value(), 0);
    EXPECT_TRUE(g.Timer1->isActive());
    // A real tick, half a second later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return g.pgBar->value() == 5; }, 2000));
}

TEST_F(WordGameTest, EveryRecordComesUpAndASeedRepeatsTheGame)
{
    guitest::writeDictionary({guitest::record("a", "first"), guitest::record("b", "second"),
                              guitest::record("c", "third")});
    auto play = [this](std::uint32_t seed) {
        WordGameMemory m{0, GameRandom(seed)};
        frmWordGame g(m);
        QStringList shown{g.lblMeaning->text()};
        for (int i = 0; i < 40; ++i) {
            QTest::mouseClick(g.cmdGiveUp, Qt::LeftButton);
            shown << g.lblMeaning->text();
        }
        return shown;
    };
    const QStringList game = play(11);
    EXPECT_EQ(play(11), game);
    EXPECT_EQ(std::set<QString>(game.begin(), game.end()),
              (std::set<QString>{QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")}));
    for (const auto& m : rec.messages)
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("The word for this phrase is: "))) << m.text.toStdString();
}

TEST_F(WordGameTest, AnEmptyDictionaryGivesOneMessageAndAHarmlessWindow)
{
    guitest::writeDictionary({});
    // A trailing piece shorter than a record holds no entry either.
    std::filesystem::resize_file(dictstore::dictionaryPath(), 100);
    frmWordGame g(memory);
    g.show();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("The dictionary has no words yet. Add some words to it, then play again."));
    EXPECT_EQ(g.lblMeaning->text(), QString());
    for (QWidget* w : std::initializer_list<QWidget*>{g.txtWord, g.cmdOK, g.cmdGiveUp, g.cmdHint})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    QTest::keyClick(&g, Qt::Key_Return);
    QTest::mouseClick(g.chkTimer, Qt::LeftButton);
    tick(g, 3);
    EXPECT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(memory.correct, 0);
    EXPECT_TRUE(g.cmdCancel->isEnabled());
    QTest::keyClick(&g, Qt::Key_Escape);
    EXPECT_FALSE(g.isVisible());
}

TEST_F(WordGameTest, AMissingDictionarySaysWhatIsMissingAndHowToInstallIt)
{
    frmWordGame g(memory);
    ASSERT_EQ(rec.messages.size(), 1u);
    const QString text = rec.messages[0].text;
    EXPECT_TRUE(text.contains(QDir::toNativeSeparators(lexi::dictionaryFile()))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("File not found")));
    EXPECT_TRUE(text.contains(QStringLiteral("Run the set-up, lexivane-setup, to install the default dictionary")));
    EXPECT_FALSE(g.playable());
    EXPECT_FALSE(g.cmdOK->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(dictstore::dictionaryPath()));
}

TEST_F(WordGameTest, AnotherWordWithTheMeaningShownIsRightToo)
{
    guitest::writeDictionary({guitest::record("glad", "feeling joy"), guitest::record("happy", "feeling joy"),
                              guitest::record("sad", "feeling sorrow")});
    frmWordGame g(memory);
    g.show();
    auto nextJoy = [&] {
        for (int i = 0; i < 100 && g.lblMeaning->text() != QStringLiteral("feeling joy"); ++i)
            QTest::mouseClick(g.cmdGiveUp, Qt::LeftButton);
        return g.lblMeaning->text() == QStringLiteral("feeling joy");
    };
    auto other = [&] { return g.currentWord() == QStringLiteral("glad") ? QStringLiteral("happy") : QStringLiteral("glad"); };

    ASSERT_TRUE(nextJoy());
    answer(g, QLatin1Char(' ') + other());
    EXPECT_EQ(rec.lastText(), QStringLiteral("Yes! you are on the roar..."));
    EXPECT_EQ(memory.correct, 1);

    // Letter case still counts, and a word of another meaning is wrong.
    ASSERT_TRUE(nextJoy());
    answer(g, other().toUpper());
    EXPECT_EQ(memory.correct, 1);
    ASSERT_TRUE(nextJoy());
    answer(g, QStringLiteral("sad"));
    EXPECT_EQ(memory.correct, 1);
    EXPECT_TRUE(rec.lastText().startsWith(QStringLiteral("Oh! you missed it! correct word is: ")));
}

TEST_F(WordGameTest, AFailedTurnKeepsTheEntryAndStopsTheTimer)
{
    guitest::writeDictionary({guitest::record("happy", "glad")});
    frmWordGame g(memory);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
    QTest::mouseClick(g.chkTimer, Qt::LeftButton);
    tick(g, 2);
    std::filesystem::remove(dictstore::dictionaryPath());
    g.txtWord->setText(QStringLiteral("typed"));
    QTest::mouseClick(g.cmdGiveUp, Qt::LeftButton);
    EXPECT_TRUE(rec.lastText().contains(QStringLiteral("was not found (File not found)")));
    EXPECT_EQ(g.txtWord->text(), QString());
    EXPECT_EQ(g.pgBar->value(), 0);
    EXPECT_FALSE(g.Timer1->isActive());
    EXPECT_TRUE(g.chkTimer->isChecked());
    EXPECT_EQ(g.lblMeaning->text(), QStringLiteral("glad"));
    // The previous entry is still the one to answer.
    answer(g, QStringLiteral("happy"));
    EXPECT_EQ(memory.correct, 1);
}

}  // namespace
