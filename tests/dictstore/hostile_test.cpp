// Files that are not what they should be: pipes and devices, huge sparse
// dictionaries, CSV files that are binary or in another encoding.

#include "faults.h"
#include "testfiles.h"

#include "dictstore/csvreader.h"
#include "dictstore/csvtransfer.h"
#include "dictstore/dictionary.h"
#include "dictstore/suggest.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

using namespace dictstore;
namespace fs = std::filesystem;

namespace {

struct Imported {
    ImportResult result;
    std::string dictionary;
};

Imported import(const fs::path& dictFile, const std::string& csv)
{
    Imported run;
    Dictionary d;
    EXPECT_EQ(d.openForUpdate(dictFile), Error::None);
    std::istringstream in(csv);
    run.result = importCsv(d, in, static_cast<std::int64_t>(csv.size()), {});
    d.close();
    run.dictionary = testfiles::readBytes(dictFile);
    return run;
}

std::string csvLine(const std::string& word, const std::string& meaning = {})
{
    return word + "," + meaning + ",,,,,,,,,\r\n";
}

void makeSparse(const fs::path& p, std::int64_t bytes)
{
    testfiles::writeBytes(p, "");
    ASSERT_EQ(::truncate(p.c_str(), static_cast<off_t>(bytes)), 0);
}

}  // namespace

TEST(NotAFileTest, PipesAndDevicesAreRefusedWithoutWaiting)
{
    const fs::path dir = testfiles::freshDir("not-a-file");
    const fs::path fifo = dir / "dictionary.kvx";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    Dictionary d;
    EXPECT_EQ(d.openForReading(fifo), Error::NotRegularFile);
    EXPECT_EQ(d.openForUpdate(fifo), Error::NotRegularFile);
    EXPECT_FALSE(d.isOpen());
    EXPECT_EQ(d.openForReading("/dev/zero"), Error::NotRegularFile);
    EXPECT_EQ(d.openForUpdate("/dev/null"), Error::NotRegularFile);

    // The export stops before it makes its file.
    const ExportResult exported = exportDictionary(fifo, dir / "out.csv");
    EXPECT_EQ(exported.error, Error::NotRegularFile);
    EXPECT_FALSE(fs::exists(dir / "out.csv"));

    std::ifstream in;
    std::int64_t size = 0;
    EXPECT_EQ(openCsvForReading(fifo, in, size), Error::NotRegularFile);
    EXPECT_EQ(openCsvForReading("/dev/zero", in, size), Error::NotRegularFile);
    EXPECT_FALSE(describe(Error::NotRegularFile).empty());
}

TEST(HugeFileTest, ASparseDictionaryIsReadOnlyAsFarAsKavixCounts)
{
    const fs::path path = testfiles::freshDir("sparse") / "dictionary.kvx";
    makeSparse(path, 100'000'000);  // 289,855 records of NUL bytes, taking no disk
    Dictionary d;
    ASSERT_EQ(d.openForReading(path), Error::None);
    WordIndex index;
    ASSERT_EQ(index.load(d), Error::None);
    EXPECT_EQ(index.size(), static_cast<std::size_t>(kMaxKavixRecords));

    std::int64_t last = 0;
    EXPECT_EQ(d.readAll([&](const WordRecord&, std::int64_t n) { last = n; return Error::None; }, 40000),
              Error::None);
    EXPECT_EQ(last, 40000);
    std::int64_t matches = 0;
    EXPECT_EQ(d.findByStartingLetters("", [&](const WordRecord&, std::int64_t) { ++matches; return Error::None; },
                                      kMaxKavixRecords),
              Error::None);
    EXPECT_EQ(matches, kMaxKavixRecords);
}

TEST(ImportTextTest, Utf8IsStoredAsWindows1252WithOrWithoutAByteOrderMark)
{
    const fs::path dir = testfiles::freshDir("utf8");
    const std::string expected = testfiles::rawRecord("na\xEFve", "caf\xE9 au lait");
    for (const std::string& bom : {std::string(), std::string("\xEF\xBB\xBF")}) {
        const fs::path dict = dir / ("d" + std::to_string(bom.size()) + ".kvx");
        const Imported run = import(dict, bom + csvLine("na\xC3\xAFve", "\"caf\xC3\xA9 au lait\""));
        EXPECT_EQ(run.result.error, Error::None);
        EXPECT_EQ(run.result.count, 1);
        EXPECT_EQ(run.dictionary, expected) << "byte order mark: " << bom.size();
    }
    // A byte order mark before the export's header still finds the header.
    const std::string header = exportHeader() + "\r\n";
    const Imported exported = import(dir / "h.kvx", "\xEF\xBB\xBF" + header + csvLine("word"));
    EXPECT_TRUE(exported.result.headerSkipped);
    EXPECT_EQ(exported.result.count, 1);

    // Windows-1252 stays Windows-1252.
    const Imported ansi = import(dir / "ansi.kvx", csvLine("na\xEFve", "\"caf\xE9 au lait\""));
    EXPECT_EQ(ansi.result.error, Error::None);
    EXPECT_EQ(ansi.dictionary, expected);
}

TEST(ImportTextTest, AFileThatIsNotTextAppendsNothingAndNamesItsLine)
{
    const fs::path dir = testfiles::freshDir("binary");
    const std::string good = csvLine("one") + csvLine("two");

    Imported run = import(dir / "nul.kvx", good + std::string("three\0,,,,,,,,,,\r\n", 17));
    EXPECT_EQ(run.result.error, Error::NotText);
    EXPECT_EQ(run.result.line, 3);
    EXPECT_EQ(run.result.count, 0);
    EXPECT_TRUE(run.dictionary.empty());

    // Random bytes, as an image or a program would give.
    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < 200'000; ++i)
        noise += static_cast<char>(random() & 0xFF);
    run = import(dir / "noise.kvx", good + noise);
    EXPECT_EQ(run.result.error, Error::NotText);
    EXPECT_GE(run.result.line, 3);
    EXPECT_TRUE(run.dictionary.empty());

    // Invalid UTF-8 after a byte order mark.
    run = import(dir / "bad-utf8.kvx", "\xEF\xBB\xBF" + good + csvLine("caf\xE9"));
    EXPECT_EQ(run.result.error, Error::NotText);
    EXPECT_EQ(run.result.line, 3);
    EXPECT_TRUE(run.dictionary.empty());

    // Invalid in UTF-8 and holding a byte Windows-1252 does not define.
    run = import(dir / "neither.kvx", good + "\n" + csvLine("caf\x81"));
    EXPECT_EQ(run.result.error, Error::NotText);
    EXPECT_EQ(run.result.line, 4);
    EXPECT_TRUE(run.dictionary.empty());
}

TEST(ImportTextTest, AReadingErrorNamesItsLine)
{
    const fs::path dir = testfiles::freshDir("short-record");
    const Imported run = import(dir / "d.kvx", csvLine("one") + "\r\n" + "two,meaning\r\n");
    EXPECT_EQ(run.result.error, Error::InputPastEnd);
    EXPECT_EQ(run.result.count, 1);
    EXPECT_EQ(run.result.line, 3) << "the line the unfinished record starts in";

    std::istringstream in("a,b\nc\rd\r\ne");
    CsvReader reader(in);
    std::string v;
    for (const std::int64_t line : {1, 1, 2, 3, 4}) {
        EXPECT_EQ(reader.line(), line);
        ASSERT_EQ(reader.next(v), Error::None);
    }
    EXPECT_EQ(v, "e");
}

TEST(ImportLimitTest, TheImportStopsWhenTheDictionaryHoldsAllKavixCanNumber)
{
    const fs::path dir = testfiles::freshDir("import-limit");
    const auto record = static_cast<std::int64_t>(kRecordSize);

    const fs::path nearly = dir / "nearly.kvx";
    makeSparse(nearly, (kMaxKavixRecords - 2) * record);
    std::string csv;
    for (const char* w : {"a", "b", "c", "d"})
        csv += csvLine(w);
    Imported run = import(nearly, csv);
    EXPECT_EQ(run.result.error, Error::Overflow);
    EXPECT_TRUE(run.result.dictionaryFull);
    EXPECT_EQ(run.result.count, 2);
    EXPECT_EQ(run.result.line, 3);
    EXPECT_EQ(static_cast<std::int64_t>(run.dictionary.size()), kMaxKavixRecords * record);

    const fs::path full = dir / "full.kvx";
    makeSparse(full, (kMaxKavixRecords + 5) * record);
    run = import(full, csvLine("z"));
    EXPECT_EQ(run.result.error, Error::Overflow);
    EXPECT_TRUE(run.result.dictionaryFull);
    EXPECT_EQ(run.result.count, 0);
    EXPECT_EQ(static_cast<std::int64_t>(run.dictionary.size()), (kMaxKavixRecords + 5) * record);
}

TEST(LookUpOpenTest, MakesAMissingFileAndReadsOneThatMayNotBeWritten)
{
    const fs::path dir = testfiles::freshDir("lookup-open");
    Dictionary d;
    EXPECT_EQ(d.openForLookUp(dir / "none" / "dictionary.kvx"), Error::PathNotFound);
    ASSERT_EQ(d.openForLookUp(dir / "dictionary.kvx"), Error::None);
    EXPECT_TRUE(fs::exists(dir / "dictionary.kvx"));
    EXPECT_EQ(fs::file_size(dir / "dictionary.kvx"), 0u);
    EXPECT_FALSE(d.isWritable());

    ASSERT_EQ(::mkfifo((dir / "pipe.kvx").c_str(), 0644), 0);
    EXPECT_EQ(d.openForLookUp(dir / "pipe.kvx"), Error::NotRegularFile);

    faults::ScratchDisk disk(dir / "ro", "64k");
    if (!disk.mounted())
        GTEST_SKIP() << faults::kNeedsRootSkip;
    testfiles::writeBytes(dir / "ro" / "dictionary.kvx", testfiles::rawRecord("happy", "glad"));
    ASSERT_TRUE(disk.makeReadOnly());
    EXPECT_EQ(d.openForUpdate(dir / "ro" / "dictionary.kvx"), Error::PermissionDenied);
    ASSERT_EQ(d.openForLookUp(dir / "ro" / "dictionary.kvx"), Error::None);
    std::optional<Match> m;
    EXPECT_EQ(d.findByWord("HAPPY", m), Error::None);
    EXPECT_TRUE(m);
    d.close();
}
