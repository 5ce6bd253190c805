#include "dictstore/codepage.h"
#include "dictstore/errors.h"

#include <gtest/gtest.h>

using namespace dictstore;

TEST(CodePageTest, RoundTripsEveryByte)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(toCp1252(fromCp1252(all)), all);
}

TEST(CodePageTest, MapsTheWindowsRangeBothWays)
{
    EXPECT_EQ(fromCp1252("\x80\x93\x94\x85\x9F"), "\xE2\x82\xAC\xE2\x80\x9C\xE2\x80\x9D\xE2\x80\xA6\xC5\xB8");
    EXPECT_EQ(toCp1252("caf\xC3\xA9 \xE2\x80\x94 na\xC3\xAFve"), "caf\xE9 \x97 na\xEFve");
}

TEST(CodePageTest, UnrepresentableAndInvalidBecomeQuestionMarks)
{
    EXPECT_EQ(toCp1252("\xCE\xA9mega"), "?mega");           // Greek capital omega
    EXPECT_EQ(toCp1252("a\xF0\x9F\x98\x80z"), "a?z");        // an emoji: one character, one '?'
    EXPECT_EQ(toCp1252("a\xFF\xC3z"), "a??z");               // stray bytes
    EXPECT_EQ(toCp1252("\xE2\x82"), "??");                   // truncated sequence
    EXPECT_EQ(toCp1252("\xC0\xAF"), "?");                    // overlong slash
    EXPECT_FALSE(fitsCp1252("\xCE\xA9"));
    EXPECT_TRUE(fitsCp1252("\xE2\x82\xAC and \xC3\xA9"));
}

TEST(CodePageTest, FoldsCapitals)
{
    EXPECT_EQ(foldCp1252('Q'), 'q');
    EXPECT_EQ(foldCp1252(0xC9), 0xE9);  // É
    EXPECT_EQ(foldCp1252(0xD7), 0xD7);  // × has no lower case
    EXPECT_EQ(foldCp1252(0x8A), 0x9A);  // Š
    EXPECT_EQ(foldCp1252(0x9F), 0xFF);  // Ÿ
    EXPECT_EQ(foldCp1252('['), '[');
}

TEST(ErrorsTest, DescriptionsAreTheSuitesWording)
{
    EXPECT_EQ(describe(Error::None), "");
    EXPECT_EQ(describe(Error::FileNotFound), "File not found");
    EXPECT_EQ(describe(Error::PathNotFound), "Path not found");
    EXPECT_EQ(describe(Error::InputPastEnd), "Input past end of file");
    EXPECT_EQ(describe(Error::Overflow), "Overflow");
    EXPECT_EQ(errorFromErrno(ENOSPC), Error::DiskFull);
    EXPECT_EQ(errorFromErrno(EACCES), Error::PermissionDenied);
}
