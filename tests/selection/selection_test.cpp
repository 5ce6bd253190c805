// kavix --selection reads the word selected in another program: here a real
// X server of the test's own (Xvfb) and xclip holding the primary selection.

#include "cmdline.h"
#include "frmResult.h"
#include "startup.h"

#include "dictstore/paths.h"
#include "dictstore/wordrecord.h"

#include "msgbox.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string whyNoX;  // set when the tests cannot run
pid_t xServer = -1;

bool onPath(const char* program)
{
    const char* path = std::getenv("PATH");
    std::string rest = path ? path : "";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        if (::access((rest.substr(0, colon) + "/" + program).c_str(), X_OK) == 0)
            return true;
        rest = colon == std::string::npos ? std::string() : rest.substr(colon + 1);
    }
    return false;
}

// Starts Xvfb on a free display, which it names through a pipe.
bool startX()
{
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    xServer = ::fork();
    if (xServer == 0) {
        ::close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "640x480x24",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string display;
    char c = 0;
    while (::read(fds[0], &c, 1) == 1 && c != '\n')
        display += c;
    ::close(fds[0]);
    if (display.empty())
        return false;
    ::setenv("DISPLAY", (":" + display).c_str(), 1);
    return true;
}

void stopX()
{
    if (xServer > 0) {
        ::kill(xServer, SIGTERM);
        ::waitpid(xServer, nullptr, 0);
    }
}

// xclip takes the primary selection and serves it from the background.
void selectInAnotherProgram(const std::string& text)
{
    FILE* in = ::popen("xclip -selection primary -i", "w");
    ASSERT_NE(in, nullptr);
    std::fputs(text.c_str(), in);
    ASSERT_EQ(::pclose(in), 0);
}

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!whyNoX.empty())
            GTEST_SKIP() << whyNoX;
        fs::remove_all(dictstore::lexivaneRoot());
        fs::create_directories(dictstore::dictionaryPath().parent_path());
        std::ofstream out(dictstore::dictionaryPath(), std::ios::binary);
        for (const char* w : {"happy", "ice cream"}) {
            dictstore::WordRecord r;
            dictstore::assignField(r, dictstore::Field::Word, w);
            dictstore::assignField(r, dictstore::Field::Meaning, std::string("meaning of ") + w);
            out.write(r.bytes.data(), static_cast<std::streamsize>(r.bytes.size()));
        }
        lexi::setMessageHandler([this](const lexi::Message& m) {
            messages.push_back(m.text);
            return lexi::MsgAnswer::Ok;
        });
    }
    void TearDown() override { lexi::setMessageHandler({}); }

    std::vector<QString> messages;
};

TEST_F(SelectionTest, TheWordSelectedInAnotherProgramOpensItsCard)
{
    ASSERT_TRUE(QGuiApplication::clipboard()->supportsSelection());
    selectInAnotherProgram("  Happy,\n");
    // xclip takes the selection from the background, a moment later.
    QTRY_COMPARE_WITH_TIMEOUT(kavix::selectedText(), QStringLiteral("  Happy,\n"), 3000);
    auto* card = qobject_cast<kavix::frmResult*>(kavix::runCommandLine(QStringLiteral("--selection")));
    ASSERT_NE(card, nullptr);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(card->txtWord->text().trimmed(), "happy");
    delete card;

    selectInAnotherProgram("ice   cream");
    // This process saw the first owner; it learns of the new one by an event.
    QTRY_COMPARE_WITH_TIMEOUT(kavix::selectedText(), QStringLiteral("ice   cream"), 3000);
    card = qobject_cast<kavix::frmResult*>(kavix::runCommandLine(QStringLiteral("--selection")));
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->txtMeaning->text().trimmed(), "meaning of ice cream");
    delete card;
}

TEST_F(SelectionTest, NothingSelectedIsSaidAndTheProgramEnds)
{
    selectInAnotherProgram("");
    QTRY_COMPARE_WITH_TIMEOUT(kavix::selectedText(), QString(), 3000);
    kavix::Startup startup;
    startup.run(QStringLiteral("--selection"));
    EXPECT_EQ(startup.lookUpWindow(), nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("No word is selected")) << messages[0].toStdString();
    // The program does not linger without a window.
    bool quit = false;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&quit] { quit = true; });
    QTimer::singleShot(3000, qApp, &QCoreApplication::quit);
    QApplication::exec();
    EXPECT_TRUE(quit);
}

TEST(SelectedWord, MarksAroundAndLongSelections)
{
    EXPECT_EQ(kavix::selectedWord(QStringLiteral("  (happy).\n")), "happy");
    EXPECT_EQ(kavix::selectedWord(QStringLiteral("don't")), "don't");
    EXPECT_EQ(kavix::selectedWord(QStringLiteral("ice\tcream")), "ice cream");
    EXPECT_EQ(kavix::selectedWord(QStringLiteral("Lexivane looks up the words that a writer selects in a text")),
              "Lexivane");
    EXPECT_EQ(kavix::selectedWord(QStringLiteral(" ... ")), "");
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!onPath("Xvfb"))
        whyNoX = "no X server to test with: Xvfb is not installed";
    else if (!onPath("xclip"))
        whyNoX = "nothing to set a selection with: xclip is not installed";
    else if (!startX())
        whyNoX = "Xvfb did not start";
    if (!whyNoX.empty()) {
        // The offscreen platform still runs the tests that need no X.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else {
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int result = RUN_ALL_TESTS();
    stopX();
    return result;
}
