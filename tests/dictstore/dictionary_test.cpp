#include "permissions.h"
#include "testfiles.h"

#include "dictstore/dictionary.h"

#include <gtest/gtest.h>

using namespace dictstore;
using testfiles::rawRecord;

namespace {

class DictionaryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = testfiles::freshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        path = dir / "dictionary.kvx";
    }

    void write(const std::string& bytes) { testfiles::writeBytes(path, bytes); }

    std::vector<std::string> startingWith(const std::string& key)
    {
        Dictionary d;
        EXPECT_EQ(d.openForReading(path), Error::None);
        std::vector<std::string> words;
        EXPECT_EQ(d.findByStartingLetters(key,
                                          [&](const WordRecord& r, std::int64_t) {
                                              words.push_back(r.trimmed(Field::Word));
                                              return Error::None;
                                          }),
                  Error::None);
        return words;
    }

    std::optional<Match> find(const std::string& key)
    {
        Dictionary d;
        EXPECT_EQ(d.openForReading(path), Error::None);
        std::optional<Match> m;
        EXPECT_EQ(d.findByWord(key, m), Error::None);
        return m;
    }

    std::filesystem::path dir;
    std::filesystem::path path;
};

TEST(WordRecordTest, AssignPadsCutsAndKeepsFieldsApart)
{
    WordRecord r;
    assignField(r, Field::Word, "happy");
    assignField(r, Field::PartOfSpeech, "adjective-like-thing");  // 20 characters into 15
    assignField(r, Field::Antonym3, std::string(45, 'x'));
    EXPECT_EQ(r.field(Field::Word), "happy" + std::string(25, ' '));
    EXPECT_EQ(r.field(Field::PartOfSpeech), "adjective-like-");
    EXPECT_EQ(r.raw(Field::Antonym3), std::string(30, 'x'));
    EXPECT_EQ(r.field(Field::Meaning), std::string(40, ' '));
    EXPECT_EQ(r.trimmed(Field::Word), "happy");

    // Leading spaces are stored; only reading trims.
    assignField(r, Field::Meaning, "  glad ");
    EXPECT_EQ(r.raw(Field::Meaning).substr(0, 8), "  glad  ");
    EXPECT_EQ(r.trimmed(Field::Meaning), "glad");

    std::size_t total = 0;
    for (const auto& l : kLayout) {
        EXPECT_EQ(l.offset, total);
        total += l.width;
    }
    EXPECT_EQ(total, kRecordSize);
}

TEST(WordRecordTest, CutNeverSplitsACharacter)
{
    WordRecord r;
    // 29 ASCII letters and then two two-byte UTF-8 letters: only one fits.
    assignField(r, Field::Word, std::string(29, 'a') + "\xC3\xA9\xC3\xA9");
    EXPECT_EQ(r.raw(Field::Word), std::string(29, 'a') + "\xE9");
    EXPECT_EQ(r.field(Field::Word), std::string(29, 'a') + "\xC3\xA9");
}

TEST_F(DictionaryTest, MissingFileAndFolder)
{
    Dictionary d;
    EXPECT_EQ(d.openForReading(path), Error::FileNotFound);
    EXPECT_FALSE(d.isOpen());
    EXPECT_EQ(d.openForReading(dir / "nofolder" / "dictionary.kvx"), Error::PathNotFound);
    EXPECT_EQ(d.openForUpdate(dir / "nofolder" / "dictionary.kvx"), Error::PathNotFound);
    EXPECT_FALSE(std::filesystem::exists(dir / "nofolder"));

    // Open for update creates an empty file: nothing to find, append gives 1.
    ASSERT_EQ(d.openForUpdate(path), Error::None);
    EXPECT_TRUE(std::filesystem::exists(path));
    std::optional<Match> m;
    EXPECT_EQ(d.findByWord("", m), Error::None);
    EXPECT_FALSE(m);
    int seen = 0;
    EXPECT_EQ(d.readAll([&](const WordRecord&, std::int64_t) { ++seen; return Error::None; }), Error::None);
    EXPECT_EQ(seen, 0);
    WordRecord r;
    assignField(r, Field::Word, "first");
    std::int64_t n = 0;
    EXPECT_EQ(d.append(r, n), Error::None);
    EXPECT_EQ(n, 1);
    d.close();
    EXPECT_EQ(testfiles::readBytes(path), rawRecord("first"));
}

TEST_F(DictionaryTest, FindByWordTrimsSpacesAndIgnoresCase)
{
    write(rawRecord("sad") + rawRecord("  happy", "glad") + rawRecord("ice cream") + rawRecord("tab\t") +
          rawRecord("") + rawRecord("HAPPY", "second"));
    auto m = find("  HaPPy ");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->number, 2);
    EXPECT_EQ(m->record.trimmed(Field::Meaning), "glad");

    EXPECT_TRUE(find("ICE CREAM"));
    EXPECT_FALSE(find("ice  cream"));
    EXPECT_FALSE(find("icecream"));
    EXPECT_FALSE(find("tab"));  // a tab is not a space
    EXPECT_TRUE(find("tab\t"));
    EXPECT_FALSE(find("hap"));

    // An all-space word is found by a key that trims to nothing.
    auto blank = find("   ");
    ASSERT_TRUE(blank);
    EXPECT_EQ(blank->number, 5);
}

TEST_F(DictionaryTest, FindByWordFoldsAccentedCapitals)
{
    WordRecord r;
    assignField(r, Field::Word, "\xC3\xA9t\xC3\xA9");  // été
    write(std::string(r.bytes.begin(), r.bytes.end()));
    EXPECT_TRUE(find("\xC3\x89T\xC3\x89"));  // ÉTÉ
}

TEST_F(DictionaryTest, LongWordIsStoredCutAndFoundOnlyByItsCut)
{
    const std::string longWord = "pneumonoultramicroscopicsilicovolcano";  // 37 characters
    Dictionary d;
    ASSERT_EQ(d.openForUpdate(path), Error::None);
    WordRecord r;
    assignField(r, Field::Word, longWord);
    std::int64_t n = 0;
    ASSERT_EQ(d.append(r, n), Error::None);
    std::optional<Match> m;
    ASSERT_EQ(d.findByWord(longWord, m), Error::None);
    EXPECT_FALSE(m);
    ASSERT_EQ(d.findByWord(longWord.substr(0, 30), m), Error::None);
    EXPECT_TRUE(m);
}

TEST_F(DictionaryTest, StartingLetters)
{
    write(rawRecord("Happy") + rawRecord("h") + rawRecord("hat") + rawRecord("ha") + rawRecord("  hAlt") +
          rawRecord("sha") + rawRecord(""));
    EXPECT_EQ(startingWith("ha"), (std::vector<std::string>{"Happy", "hat", "ha", "hAlt"}));
    EXPECT_EQ(startingWith(" HA "), (std::vector<std::string>{"Happy", "hat", "ha", "hAlt"}));
    EXPECT_EQ(startingWith("h").size(), 5u);
    EXPECT_EQ(startingWith("hatter"), std::vector<std::string>{});
    // The empty key matches every record, the blank one included.
    EXPECT_EQ(startingWith("").size(), 7u);
    EXPECT_EQ(startingWith("   ").size(), 7u);
}

TEST_F(DictionaryTest, DuplicatesFirstWinsAndRewriteTouchesOnlyOne)
{
    write(rawRecord("other") + rawRecord("twin", "first") + rawRecord("twin", "second"));
    auto m = find("twin");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->number, 2);

    Dictionary d;
    ASSERT_EQ(d.openForUpdate(path), Error::None);
    WordRecord r = m->record;
    assignField(r, Field::Meaning, "changed");
    ASSERT_EQ(d.rewrite(m->number, r), Error::None);
    d.close();
    EXPECT_EQ(testfiles::readBytes(path), rawRecord("other") + rawRecord("twin", "changed") + rawRecord("twin", "second"));
}

TEST_F(DictionaryTest, FailedRewriteLeavesTheFileAsItWas)
{
    const std::string two = rawRecord("one") + rawRecord("two");
    write(two);
    WordRecord changed;
    assignField(changed, Field::Word, "changed");
    Dictionary d;
    ASSERT_EQ(d.openForUpdate(path), Error::None);

    // Past the end (another program shortened the file): nothing grows.
    EXPECT_EQ(d.rewrite(3, changed), Error::InputPastEnd);
    EXPECT_EQ(d.rewrite(0, changed), Error::InputPastEnd);
    EXPECT_EQ(testfiles::readBytes(path), two);

    // Replaced by a new file: the new one is not touched through the old handle.
    const std::filesystem::path fresh = dir / "fresh.kvx";
    testfiles::writeBytes(fresh, rawRecord("new"));
    std::filesystem::rename(fresh, path);
    EXPECT_EQ(d.rewrite(1, changed), Error::FileNotFound);
    EXPECT_EQ(testfiles::readBytes(path), rawRecord("new"));

    // Deleted: not written into the void, and not made again.
    std::filesystem::remove(path);
    EXPECT_EQ(d.rewrite(1, changed), Error::FileNotFound);
    std::int64_t n = 0;
    EXPECT_EQ(d.append(changed, n), Error::FileNotFound);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(DictionaryTest, RewriteAndAppendOnAFileMadeReadOnlyAfterOpeningAreRefused)
{
    if (!lexitest::permissionsBind())
        GTEST_SKIP() << lexitest::kRootSkip;
    const std::string two = rawRecord("one") + rawRecord("two");
    write(two);
    WordRecord changed;
    assignField(changed, Field::Word, "changed");
    Dictionary d;
    ASSERT_EQ(d.openForUpdate(path), Error::None);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_EQ(d.rewrite(1, changed), Error::PermissionDenied);
    std::int64_t n = 0;
    EXPECT_EQ(d.append(changed, n), Error::PermissionDenied);
    EXPECT_EQ(testfiles::readBytes(path), two);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(DictionaryTest, ReadsAfterARewriteSeeTheNewBytes)
{
    write(rawRecord("one") + rawRecord("two"));
    Dictionary d;
    ASSERT_EQ(d.openForUpdate(path), Error::None);
    WordRecord r;
    ASSERT_EQ(d.readRecord(2, r), Error::None);
    assignField(r, Field::Word, "second");
    ASSERT_EQ(d.rewrite(2, r), Error::None);
    std::optional<Match> m;
    ASSERT_EQ(d.findByWord("second", m), Error::None);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->number, 2);
    WordRecord back;
    ASSERT_EQ(d.readRecord(2, back), Error::None);
    EXPECT_EQ(back.trimmed(Field::Word), "second");
}

TEST_F(DictionaryTest, DamagedTailIsIgnoredByScansAndRoundedByAppend)
{
    const std::string two = rawRecord("one") + rawRecord("two");
    WordRecord added;
    assignField(added, Field::Word, "three");
    const std::string addedBytes(added.bytes.begin(), added.bytes.end());

    // 172 trailing bytes: the scans stop after "two"; Append overwrites them.
    write(two + std::string(172, 'z'));
    EXPECT_EQ(startingWith(""), (std::vector<std::string>{"one", "two"}));
    {
        Dictionary d;
        ASSERT_EQ(d.openForUpdate(path), Error::None);
        std::int64_t count = 0;
        EXPECT_EQ(d.recordCount(count), Error::None);
        EXPECT_EQ(count, 2);
        std::int64_t n = 0;
        ASSERT_EQ(d.append(added, n), Error::None);
        EXPECT_EQ(n, 3);
    }
    EXPECT_EQ(testfiles::readBytes(path), two + addedBytes);

    // 173 trailing bytes stay in place as record 3; the new record is 4.
    write(two + std::string(173, 'z'));
    {
        Dictionary d;
        ASSERT_EQ(d.openForUpdate(path), Error::None);
        std::int64_t n = 0;
        ASSERT_EQ(d.append(added, n), Error::None);
        EXPECT_EQ(n, 4);
    }
    const std::string bytes = testfiles::readBytes(path);
    ASSERT_EQ(bytes.size(), 4 * kRecordSize);
    EXPECT_EQ(bytes.substr(2 * kRecordSize, 173), std::string(173, 'z'));
    EXPECT_EQ(bytes.substr(3 * kRecordSize), addedBytes);
}

TEST_F(DictionaryTest, AppendRefusesPastTheLimitAndLeavesFileAlone)
{
    write(rawRecord("a") + rawRecord("b") + rawRecord("c"));
    Dictionary d;
    ASSERT_EQ(d.openForUpdate(path), Error::None);
    std::int64_t n = 0;
    EXPECT_EQ(d.append(WordRecord{}, n, 3), Error::Overflow);
    EXPECT_EQ(std::filesystem::file_size(path), 3 * kRecordSize);
    EXPECT_EQ(d.append(WordRecord{}, n, 4), Error::None);
    EXPECT_EQ(n, 4);
}

TEST_F(DictionaryTest, ReadingRefusesWrites)
{
    write(rawRecord("a"));
    Dictionary d;
    ASSERT_EQ(d.openForReading(path), Error::None);
    std::int64_t n = 0;
    EXPECT_NE(d.append(WordRecord{}, n), Error::None);
    EXPECT_NE(d.rewrite(1, WordRecord{}), Error::None);
    EXPECT_EQ(testfiles::readBytes(path), rawRecord("a"));
}

TEST_F(DictionaryTest, ReadRecordN)
{
    write(rawRecord("a") + rawRecord("b") + rawRecord("c") + "xx");
    Dictionary d;
    ASSERT_EQ(d.openForReading(path), Error::None);
    WordRecord r;
    ASSERT_EQ(d.readRecord(2, r), Error::None);
    EXPECT_EQ(r.trimmed(Field::Word), "b");
    ASSERT_EQ(d.readRecord(3, r), Error::None);
    EXPECT_EQ(r.trimmed(Field::Word), "c");
    EXPECT_EQ(d.readRecord(0, r), Error::InputPastEnd);
    EXPECT_EQ(d.readRecord(4, r), Error::InputPastEnd);
}

TEST_F(DictionaryTest, HandlesAreIndependent)
{
    write(rawRecord("alpha"));
    Dictionary reader;
    Dictionary writer;
    ASSERT_EQ(writer.openForUpdate(path), Error::None);
    ASSERT_EQ(reader.openForReading(path), Error::None);

    WordRecord r;
    assignField(r, Field::Word, "beta");
    std::int64_t n = 0;
    ASSERT_EQ(writer.append(r, n), Error::None);
    // The reader sees the appended record, and closing it leaves the writer usable.
    std::optional<Match> m;
    ASSERT_EQ(reader.findByWord("beta", m), Error::None);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->number, 2);
    reader.close();

    assignField(r, Field::Word, "gamma");
    ASSERT_EQ(writer.append(r, n), Error::None);
    EXPECT_EQ(n, 3);
    ASSERT_EQ(writer.findByWord("alpha", m), Error::None);  // back to record 1 before searching
    ASSERT_TRUE(m);
    EXPECT_EQ(m->number, 1);
}

TEST_F(DictionaryTest, ScanAcrossManyBufferLoadsAndStopsOnVisitorError)
{
    std::string bytes;
    for (int i = 1; i <= 1500; ++i)
        bytes += rawRecord("w" + std::to_string(i));
    write(bytes);
    auto m = find("w1500");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->number, 1500);

    Dictionary d;
    ASSERT_EQ(d.openForReading(path), Error::None);
    std::int64_t last = 0;
    std::int64_t visited = 0;
    EXPECT_EQ(d.readAll([&](const WordRecord&, std::int64_t n) {
                  ++visited;
                  last = n;
                  return n == 700 ? Error::Overflow : Error::None;
              }),
              Error::Overflow);
    EXPECT_EQ(visited, 700);
    EXPECT_EQ(last, 700);
    EXPECT_EQ(d.readAll([&](const WordRecord&, std::int64_t n) { last = n; return Error::None; }), Error::None);
    EXPECT_EQ(last, 1500);
}

}  // namespace
