#include "testfiles.h"

#include "setup.h"

#include "dictstore/dictionary.h"
#include "dictstore/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

class SetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = testfiles::freshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ::setenv("HOME", home.c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
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
        testfiles::readBytes(home / ".local" / "share" / "applications" / "lexivane-kavix.desktop");
    EXPECT_NE(desktop.find("Exec=\"" + (home / "bin" / "kavix").string() + "\""), std::string::npos);
    EXPECT_TRUE(fs::exists(home / ".local/share/icons/hicolor/scalable/apps/lexivane-kavix.svg"));

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
        testfiles::readBytes(home / ".local" / "share" / "applications" / "lexivane-wkvx.desktop");
    EXPECT_NE(desktop.find("Exec=\"" + (home / "bin dir" / "wkvx").string() + "\" %F\n"), std::string::npos);
    EXPECT_NE(desktop.find("MimeType=text/rtf;application/rtf;\n"), std::string::npos);
    EXPECT_NE(desktop.find("Name=Kavix Writer\n"), std::string::npos);
    EXPECT_NE(desktop.find("Icon=lexivane-wkvx\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(home / ".local/share/icons/hicolor/scalable/apps/lexivane-wkvx.svg"));
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

}  // namespace
