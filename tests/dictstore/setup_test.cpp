#include "testfiles.h"

#include "desktopentry.h"
#include "setup.h"

#include "dictstore/dictionary.h"
#include "dictstore/paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>

#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

class SetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = testfiles::freshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ::setenv("HOME", home.c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
        // No system-wide install, whatever this machine has.
        ::setenv("XDG_DATA_DIRS", (home / "system-share").c_str(), 1);
        data = home / "data";
        fs::create_directories(data);
        testfiles::writeBytes(data / "dictionary.csv",
                              "\"happy\",\"feeling joy\",\"adjective\",\"a happy day\",\"glad\",\"\",\"\",\"sad\",\"\","
                              "\"\",\"HAP-ee\"\r\n\"run\",\"move fast\",\"verb\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
        testfiles::writeBytes(data / "LICENSE-test.txt", "notice");
        testfiles::writeBytes(home / "icon.svg", "<svg/>");
        options = {data, home / "icon.svg", home / "bin" / "kavix"};
    }

    fs::path home;
    fs::path data;
    setup::Options options;
};

TEST_F(SetupTest, CreatesFoldersAndInstallsTheDictionary)
{
    const setup::Report report = setup::run(options);
    ASSERT_TRUE(report.ok);
    EXPECT_TRUE(fs::is_directory(home / "Lexivane" / "SavedSearches"));
    EXPECT_TRUE(fs::is_directory(home / "Lexivane" / "Help4Kavix"));
    EXPECT_EQ(testfiles::readBytes(home / "Lexivane" / "db" / "LICENSE-test.txt"), "notice");
    const std::string desktop =
        testfiles::readBytes(home / ".local" / "share" / "applications" / "org.example.lexivane.kavix.desktop");
    EXPECT_NE(desktop.find("Exec=\"" + (home / "bin" / "kavix").string() + "\""), std::string::npos);
    EXPECT_TRUE(fs::exists(home / ".local/share/icons/hicolor/scalable/apps/org.example.lexivane.kavix.svg"));
    const std::string selection = testfiles::readBytes(home / ".local" / "share" / "applications" /
                                                       "org.example.lexivane.kavix-selection.desktop");
    EXPECT_NE(selection.find("Name=Look Up Selected Word\n"), std::string::npos);
    EXPECT_NE(selection.find("Exec=\"" + (home / "bin" / "kavix").string() + "\" --selection\n"), std::string::npos);
    EXPECT_NE(selection.find("Icon=org.example.lexivane.kavix\n"), std::string::npos);

    dictstore::Dictionary d;
    ASSERT_EQ(d.openForReading(dictstore::dictionaryPath()), dictstore::Error::None);
    std::int64_t count = 0;
    d.recordCount(count);
    EXPECT_EQ(count, 2);
    std::optional<dictstore::Match> m;
    d.findByWord("happy", m);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->record.trimmed(dictstore::Field::Antonym1), "sad");
    EXPECT_EQ(m->record.trimmed(dictstore::Field::Pronu), "HAP-ee");
    // Nothing but the dictionary is left in its folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(home / "Lexivane" / "db"), {}), 2);
}

TEST_F(SetupTest, WordProcessorEntryOpensRtfFiles)
{
    options.wkvxIconFile = home / "icon.svg";
    options.wkvxPath = home / "bin dir" / "wkvx";
    ASSERT_TRUE(setup::run(options).ok);
    const std::string desktop =
        testfiles::readBytes(home / ".local" / "share" / "applications" / "org.example.lexivane.wkvx.desktop");
    EXPECT_NE(desktop.find("Exec=\"" + (home / "bin dir" / "wkvx").string() + "\" %F\n"), std::string::npos);
    EXPECT_NE(desktop.find("TryExec=" + (home / "bin dir" / "wkvx").string() + "\n"), std::string::npos);
    EXPECT_NE(desktop.find("StartupWMClass=wkvx\n"), std::string::npos);
    EXPECT_NE(desktop.find("MimeType=text/rtf;application/rtf;\n"), std::string::npos);
    EXPECT_NE(desktop.find("Name=Kavix Writer\n"), std::string::npos);
    EXPECT_NE(desktop.find("Icon=org.example.lexivane.wkvx\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(home / ".local/share/icons/hicolor/scalable/apps/org.example.lexivane.wkvx.svg"));
}

TEST_F(SetupTest, NeverReplacesAnExistingDictionary)
{
    fs::create_directories(home / "Lexivane" / "db");
    testfiles::writeBytes(dictstore::dictionaryPath(), "");  // empty, but the user's
    ASSERT_TRUE(setup::run(options).ok);
    EXPECT_EQ(fs::file_size(dictstore::dictionaryPath()), 0u);
}

TEST_F(SetupTest, BrokenDataInstallsNothing)
{
    testfiles::writeBytes(data / "dictionary.csv", "\"happy\",\"short\",\"record\"\r\n");
    const setup::Report report = setup::run(options);
    EXPECT_FALSE(report.ok);
    EXPECT_FALSE(fs::exists(dictstore::dictionaryPath()));
    EXPECT_EQ(std::distance(fs::directory_iterator(home / "Lexivane" / "db"), {}), 1);  // the notice only
}

TEST_F(SetupTest, HelpPagesReplaceOursAndLeaveTheRestAlone)
{
    const fs::path help = home / "Lexivane" / "Help4Kavix";
    fs::create_directories(data / "help");
    testfiles::writeBytes(data / "help" / "index.htm", "<title>old index</title>");
    testfiles::writeBytes(data / "help" / "gone.htm", "<title>dropped later</title>");
    ASSERT_TRUE(setup::run(options).ok);
    EXPECT_EQ(testfiles::readBytes(help / "gone.htm"), "<title>dropped later</title>");
    testfiles::writeBytes(help / "my-notes.txt", "mine");

    // A newer set of pages: gone.htm is no longer ours, index.htm changed.
    fs::remove(data / "help" / "gone.htm");
    testfiles::writeBytes(data / "help" / "index.htm", "<title>new index</title>");
    testfiles::writeBytes(data / "help" / "add.htm", "<title>add</title>");
    const setup::Report report = setup::run(options);
    ASSERT_TRUE(report.ok);
    EXPECT_EQ(testfiles::readBytes(help / "index.htm"), "<title>new index</title>");
    EXPECT_EQ(testfiles::readBytes(help / "add.htm"), "<title>add</title>");
    EXPECT_FALSE(fs::exists(help / "gone.htm"));
    EXPECT_EQ(testfiles::readBytes(help / "my-notes.txt"), "mine");
    EXPECT_NE(std::find(report.lines.begin(), report.lines.end(), "installed 2 help pages in " + help.string()),
              report.lines.end());
    // The dictionary installed the first time is the user's from then on.
    EXPECT_EQ(fs::file_size(dictstore::dictionaryPath()), 2u * dictstore::kRecordSize);
}

// A write that fails only when the file is closed is a failure too: here the
// page list outgrows the file size limit while every page fits under it.
TEST_F(SetupTest, AListThatCannotBeWrittenIsReported)
{
    const fs::path help = home / "Lexivane" / "Help4Kavix";
    fs::create_directories(help);
    fs::create_directories(data / "help");
    for (const char* name : {"a-page-with-a-rather-long-name-one.htm", "a-page-with-a-rather-long-name-two.htm"})
        testfiles::writeBytes(data / "help" / name, "<p>");
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 64;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    int copied = 0;
    const std::string failure = setup::installHelpPages(data / "help", help, copied);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(copied, 2);
    EXPECT_EQ(failure, "cannot write " + (help / ".lexivane-help-pages").string());
}

TEST_F(SetupTest, ADamagedPageListCannotReachOutsideTheHelpFolder)
{
    const fs::path help = home / "Lexivane" / "Help4Kavix";
    fs::create_directories(help);
    fs::create_directories(data / "help");
    testfiles::writeBytes(data / "help" / "index.htm", "<title>index</title>");
    testfiles::writeBytes(home / "Lexivane" / "keep.txt", "keep");
    testfiles::writeBytes(help / ".lexivane-help-pages", "../keep.txt\n..\n\nindex.htm\n");
    int copied = 0;
    EXPECT_EQ(setup::installHelpPages(data / "help", help, copied), "");
    EXPECT_EQ(copied, 1);
    EXPECT_EQ(testfiles::readBytes(home / "Lexivane" / "keep.txt"), "keep");
    EXPECT_TRUE(fs::exists(help / "index.htm"));
    // Without pages to copy, the set-up says so and goes on.
    fs::remove_all(data / "help");
    const setup::Report report = setup::run(options);
    EXPECT_TRUE(report.ok);
    EXPECT_TRUE(fs::exists(help / "index.htm"));
}

}  // namespace

TEST_F(SetupTest, TheUtilityStartsInTheDocumentsFolderOrHome)
{
    ::unsetenv("XDG_CONFIG_HOME");
    testfiles::writeBytes(home / "util.svg", "<svg/>");
    options.exportUtilPath = home / "bin" / "exportUtil4Kavix";
    options.exportIconFile = home / "util.svg";
    const fs::path entry = home / ".local/share/applications/org.example.lexivane.exportutil.desktop";

    // The desktop names a documents folder that does not exist yet: home.
    fs::create_directories(home / ".config");
    testfiles::writeBytes(home / ".config/user-dirs.dirs",
                          "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/My Papers\"\n");
    ASSERT_TRUE(setup::run(options).ok);
    std::string text = testfiles::readBytes(entry);
    EXPECT_NE(text.find("\nPath=" + home.string() + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nExec=\"" + options.exportUtilPath.string() + "\"\n"), std::string::npos);
    EXPECT_NE(text.find("\nIcon=org.example.lexivane.exportutil\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(home / ".local/share/icons/hicolor/scalable/apps/org.example.lexivane.exportutil.svg"));

    fs::create_directories(home / "My Papers");
    ASSERT_TRUE(setup::run(options).ok);
    text = testfiles::readBytes(entry);
    EXPECT_NE(text.find("\nPath=" + (home / "My Papers").string() + "\n"), std::string::npos) << text;
}

// A path holding what an Exec line treats specially is quoted and escaped
// (then escaped again as a string value); one that no entry can hold is
// refused rather than written wrong.
TEST(MenuEntries, ExecLinesEscapeWhatTheDesktopWouldReadAsSyntax)
{
    EXPECT_EQ(setup::execArgument("/opt/a b/kavix"), "\"/opt/a b/kavix\"");
    EXPECT_EQ(setup::execArgument("/opt/50%/kavix"), "\"/opt/50%%/kavix\"");
    EXPECT_EQ(setup::execArgument("/opt/$HOME/kavix"), "\"/opt/\\\\$HOME/kavix\"");
    EXPECT_EQ(setup::execArgument("/opt/\"q\"`x`/kavix"), "\"/opt/\\\\\"q\\\\\"\\\\`x\\\\`/kavix\"");
    EXPECT_EQ(setup::execArgument("/opt/back\\slash/kavix"), "\"/opt/back\\\\\\\\slash/kavix\"");
    EXPECT_EQ(setup::execArgument("/opt/line\nend/kavix"), std::nullopt);
    EXPECT_EQ(setup::stringValue("/opt/$x%y/kavix"), "/opt/$x%y/kavix");
    EXPECT_EQ(setup::stringValue("a\\b"), "a\\\\b");
    EXPECT_EQ(setup::stringValue("tab\there"), std::nullopt);
}

TEST_F(SetupTest, APathNoEntryCanHoldIsAnError)
{
    options.kavixPath = home / "bin\nnew line" / "kavix";
    const setup::Report report = setup::run(options);
    EXPECT_FALSE(report.ok);
    EXPECT_FALSE(fs::exists(home / ".local/share/applications/org.example.lexivane.kavix.desktop"));
    EXPECT_TRUE(fs::exists(dictstore::dictionaryPath()));  // the rest was done
}

// Installed system-wide, the programs have their entries: the set-up keeps to
// ~/Lexivane and writes none of its own (they would show twice), and it
// removes the entries earlier set-ups wrote under the old names.
TEST_F(SetupTest, WritesNoMenuEntriesOverASystemInstall)
{
    const fs::path oldEntry = home / ".local/share/applications/lexivane-kavix.desktop";
    const fs::path oldIcon = home / ".local/share/icons/hicolor/scalable/apps/lexivane-kavix.svg";
    fs::create_directories(oldEntry.parent_path());
    fs::create_directories(oldIcon.parent_path());
    testfiles::writeBytes(oldEntry, "[Desktop Entry]\n");
    testfiles::writeBytes(oldIcon, "<svg/>");
    const fs::path system = home / "usr-share";
    ASSERT_EQ(setup::writeMenuEntries(system / "applications", "/usr/bin"), "");
    ::setenv("XDG_DATA_DIRS", ("relative:" + (home / "elsewhere").string() + ":" + system.string()).c_str(), 1);

    const setup::Report report = setup::run(options);
    ASSERT_TRUE(report.ok);
    EXPECT_TRUE(fs::exists(dictstore::dictionaryPath()));
    EXPECT_FALSE(fs::exists(home / ".local/share/applications/org.example.lexivane.kavix.desktop"));
    EXPECT_FALSE(fs::exists(home / ".local/share/icons/hicolor/scalable/apps/org.example.lexivane.kavix.svg"));
    EXPECT_FALSE(fs::exists(oldEntry));
    EXPECT_FALSE(fs::exists(oldIcon));
    const std::string entry = testfiles::readBytes(system / "applications/org.example.lexivane.kavix.desktop");
    EXPECT_NE(entry.find("\nExec=\"/usr/bin/kavix\"\n"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("\nPath="), std::string::npos);  // a system entry names no one's folder

    // Without the install, the user's own entries come back.
    ::setenv("XDG_DATA_DIRS", (home / "elsewhere").c_str(), 1);
    ASSERT_TRUE(setup::run(options).ok);
    EXPECT_TRUE(fs::exists(home / ".local/share/applications/org.example.lexivane.kavix.desktop"));
}

TEST_F(SetupTest, AMissingDataFolderIsAnErrorAndChangesNothing)
{
    options.dataDir = home / "nonexistent";
    const setup::Report report = setup::run(options);
    EXPECT_FALSE(report.ok);
    ASSERT_FALSE(report.lines.empty());
    EXPECT_NE(report.lines.back().find((home / "nonexistent").string()), std::string::npos);
    EXPECT_FALSE(fs::exists(home / "Lexivane"));
    EXPECT_FALSE(fs::exists(home / ".local/share/applications"));
}

// Installed into ~/.local, the programs' icons already are where the set-up
// puts them: it leaves them and succeeds.
TEST_F(SetupTest, IconsAlreadyInPlaceAreLeftAlone)
{
    const fs::path icon = home / ".local/share/icons/hicolor/scalable/apps/org.example.lexivane.kavix.svg";
    fs::create_directories(icon.parent_path());
    testfiles::writeBytes(icon, "<svg>installed</svg>");
    options.iconFile = icon;
    const setup::Report report = setup::run(options);
    EXPECT_TRUE(report.ok);
    EXPECT_EQ(testfiles::readBytes(icon), "<svg>installed</svg>");
}
