// kavix's command line: each form opens only its result window.

#include "lookupfixture.h"

#include "cmdline.h"
#include "frmR2.h"
#include "frmResult.h"
#include "frmViewAll.h"
#include "startup.h"

#include <QSet>
#include <QTimer>
#include <QTableView>

using namespace lookuptest;

namespace {

class CommandLineTest : public LookupTest {
protected:
    void SetUp() override
    {
        LookupTest::SetUp();
        makeSavedFolder();
        writeDictionary({entry("happy", "glad", {{Field::Synonym1, "joyful"}}), entry("Hat", "headwear"),
                         entry("VIEWALL", "a word after all"), entry("/4x", "slash word"), entry("apple", "fruit")});
    }

    template <typename Window>
    Window* run(const QString& commandLine)
    {
        const QSet<QWidget*> before = visibleWindows();
        QWidget* w = kavix::runCommandLine(commandLine);
        EXPECT_EQ(w->parentWidget(), nullptr) << "command-line windows have no owner";
        // Only the result window opens: no dialog, no main window.
        EXPECT_EQ(visibleWindows() - before, QSet<QWidget*>{w});
        EXPECT_TRUE(fs::is_empty(dictstore::savedSearchesPath())) << "nothing is saved";
        return qobject_cast<Window*>(w);
    }

    static QSet<QWidget*> visibleWindows()
    {
        QSet<QWidget*> out;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible())
                out.insert(top);
        }
        return out;
    }

    static QStringList words(kavix::frmR2* g)
    {
        QStringList out;
        for (int r = 0; r < g->results()->entryCount(); ++r)
            out << g->results()->index(r, 0).data().toString();
        return out;
    }
};

TEST_F(CommandLineTest, ViewallExactlyOpensTheCompleteList)
{
    auto* list = run<kavix::frmViewAll>("viewall");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->words()->rowCount(), 6);

    auto* card = run<kavix::frmResult>("VIEWALL");
    ASSERT_NE(card, nullptr) << "capitals make it a word";
    EXPECT_EQ(card->txtMeaning->text().trimmed(), "a word after all");
}

TEST_F(CommandLineTest, SlashDigitListsThatManyLetters)
{
    auto* all = run<kavix::frmR2>("/1");
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(all->results()->entryCount(), 5) << "no letters match every word";
    EXPECT_EQ(words(run<kavix::frmR2>("/1abc")), QStringList({"apple"}));
    kavix::frmR2* two = run<kavix::frmR2>("/2ha");
    EXPECT_EQ(words(two), QStringList({"happy", "Hat"}));
    for (int c = 0; c < 11; ++c)
        EXPECT_EQ(two->MSFlexGridResults->isColumnHidden(c), c != 0 && c != 3) << c;
    EXPECT_EQ(words(run<kavix::frmR2>("/3hap")), QStringList({"happy"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(CommandLineTest, AnythingElseIsOneExactWord)
{
    auto* slash = run<kavix::frmResult>("/4x");
    ASSERT_NE(slash, nullptr);
    EXPECT_EQ(slash->txtMeaning->text().trimmed(), "slash word");

    auto* spaced = run<kavix::frmResult>("  happy  ");
    ASSERT_NE(spaced, nullptr);
    EXPECT_EQ(spaced->txtWord->text().trimmed(), "happy");
    EXPECT_FALSE(spaced->txtSyn[0]->isVisibleTo(spaced)) << "only word and meaning show";
    EXPECT_FALSE(spaced->txtPosp->isVisibleTo(spaced));
    EXPECT_TRUE(messages.empty());

    run<kavix::frmResult>("/");
    EXPECT_EQ(messages, std::vector<QString>{"Word not found, make sure that it is spelled correctly. OR "});
}

TEST_F(CommandLineTest, StartupRunsTheLookUpAndTheProgramEndsWithItsWindow)
{
    kavix::Startup startup;
    startup.run(QStringLiteral(" "));
    EXPECT_EQ(startup.splash(), nullptr);
    EXPECT_EQ(startup.mainWindow(), nullptr);
    QWidget* w = startup.lookUpWindow();
    ASSERT_NE(qobject_cast<kavix::frmResult*>(w), nullptr) << "a single space is a word";

    // The event loop ends when the window closes; a watchdog ends it otherwise.
    QApplication::setQuitOnLastWindowClosed(true);
    bool watchdogFired = false;
    QTimer::singleShot(0, w, [w] { w->close(); });
    QTimer::singleShot(5000, qApp, [&watchdogFired] {
        watchdogFired = true;
        QApplication::quit();
    });
    QApplication::exec();
    QApplication::setQuitOnLastWindowClosed(false);
    EXPECT_FALSE(watchdogFired);
}

}  // namespace
