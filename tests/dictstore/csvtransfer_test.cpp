#include "testfiles.h"

#include "dictstore/csvreader.h"
#include "dictstore/csvtransfer.h"
#include "dictstore/dictionary.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace dictstore;
namespace fs = std::filesystem;

namespace {

WordRecord entry(const std::string& word, const std::string& antonym3 = {}, const std::string& usage = {})
{
    WordRecord r;
    assignField(r, Field::Word, word);
    assignField(r, Field::Usage, usage);
    assignField(r, Field::Antonym3, antonym3);
    return r;
}

void writeRecords(const fs::path& p, const std::vector<WordRecord>& records, const std::string& tail = {})
{
    std::string bytes;
    for (const auto& r : records)
        bytes.append(r.bytes.data(), r.bytes.size());
    testfiles::writeBytes(p, bytes + tail);
}

struct ImportRun {
    ImportResult result;
    std::vector<std::string> refused;
    std::string dictionary;  // the file's bytes afterwards
};

ImportRun runImport(const fs::path& dictFile, const std::string& csv, ImportLookup lookup)
{
    ImportRun run;
    Dictionary d;
    EXPECT_EQ(d.openForUpdate(dictFile), Error::None);
    std::istringstream in(csv);
    ImportHooks hooks;
    hooks.refused = [&](const std::string& w) { run.refused.push_back(w); };
    run.result = importCsv(d, in, static_cast<std::int64_t>(csv.size()), hooks, lookup);
    d.close();
    run.dictionary = testfiles::readBytes(dictFile);
    return run;
}

std::string line(std::initializer_list<std::string> values)
{
    std::string out;
    for (const auto& v : values)
        out += v + ',';
    out.back() = '\r';
    return out + '\n';
}

}  // namespace

TEST(CsvExportTest, LineAndHeaderBytes)
{
    EXPECT_EQ(exportHeader(), "\"word\",\"meaning\",\"partofspeech\",\"usage\",\"antonym1\",\"antonym2\","
                              "\"antonym3\",\"synonym1\",\"synonym2\",\"synonym3\",\"pronu\"");
    WordRecord r;
    assignField(r, Field::Word, "  happy");
    assignField(r, Field::Meaning, "glad, \"joyful\"; content");
    assignField(r, Field::PartOfSpeech, "adjective");
    assignField(r, Field::Pronu, "HAP-ee");
    assignField(r, Field::Synonym1, "glad");
    assignField(r, Field::Synonym3, "merry");
    assignField(r, Field::Usage, "caf\xC3\xA9\tday");
    assignField(r, Field::Antonym1, "sad");
    assignField(r, Field::Antonym3, "down");
    EXPECT_EQ(exportLine(r), "\"happy\",\"glad, \"joyful\"; content\",\"adjective\",\"caf\xE9\tday\",\"sad\",\"\",\"down" +
                                 std::string(26, ' ') + "\",\"glad\",\"\",\"merry\",\"HAP-ee\"\r\n");
    EXPECT_EQ(exportLine(WordRecord{}), "\"\",\"\",\"\",\"\",\"\",\"\",\"" + std::string(30, ' ') +
                                            "\",\"\",\"\",\"\",\"\"\r\n");
}

TEST(CsvExportTest, FailuresLeaveAnExistingFileWholeAndNothingBehind)
{
    const fs::path dir = testfiles::freshDir("export-failures");
    const fs::path csv = dir / "dictionary.csv";
    testfiles::writeBytes(csv, "old");

    // No dictionary: the CSV is never touched.
    ExportResult r = exportDictionary(dir / "missing.kvx", csv);
    EXPECT_EQ(r.error, Error::FileNotFound);

    // One record more than the 16-bit count holds: the export stops there.
    std::vector<WordRecord> many(kMaxTransferCount + 1, entry("w"));
    writeRecords(dir / "big.kvx", many);
    r = exportDictionary(dir / "big.kvx", csv);
    EXPECT_EQ(r.error, Error::Overflow);
    EXPECT_EQ(r.count, kMaxTransferCount);

    EXPECT_EQ(testfiles::readBytes(csv), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);  // the old csv and big.kvx, nothing else

    // As many records as the count holds export whole, replacing the file.
    many.pop_back();
    writeRecords(dir / "big.kvx", many);
    r = exportDictionary(dir / "big.kvx", csv);
    EXPECT_EQ(r.error, Error::None);
    EXPECT_EQ(r.count, kMaxTransferCount);
    EXPECT_EQ(fs::file_size(csv), exportHeader().size() + 2 + kMaxTransferCount * exportLine(many[0]).size());

    EXPECT_EQ(exportDictionary(dir / "big.kvx", dir / "no-such-folder" / "d.csv").error, Error::PathNotFound);
}

TEST(CsvImportTest, HeaderOnlyWhenExactlyTheExports)
{
    const fs::path dir = testfiles::freshDir("import-header");
    const std::string data = line({"\"w1\"", "\"m\"", "\"n\"", "\"u\"", "\"a1\"", "\"a2\"", "\"a3\"", "\"s1\"",
                                   "\"s2\"", "\"s3\"", "\"p\""});
    // The export's header, with CR LF or a bare LF: read by column names.
    for (const std::string& end : {std::string("\r\n"), std::string("\n")}) {
        const ImportRun run = runImport(dir / (end.size() == 2 ? "crlf.kvx" : "lf.kvx"), exportHeader() + end + data,
                                        ImportLookup::Index);
        EXPECT_TRUE(run.result.headerSkipped);
        EXPECT_EQ(run.result.count, 1);
        ASSERT_EQ(run.dictionary.size(), kRecordSize);
        WordRecord r;
        std::copy(run.dictionary.begin(), run.dictionary.end(), r.bytes.begin());
        EXPECT_EQ(r.trimmed(Field::Synonym1), "s1");
        EXPECT_EQ(r.trimmed(Field::Antonym1), "a1");
        EXPECT_EQ(r.trimmed(Field::Usage), "u");
    }
    // Anything else is data, read in the import's order: the header line
    // becomes the entry "word", and columns 5-7 are synonyms.
    const std::string near = exportHeader().substr(0, exportHeader().size() - 1) + " \"\r\n";
    const ImportRun run = runImport(dir / "near.kvx", near + data, ImportLookup::Index);
    EXPECT_FALSE(run.result.headerSkipped);
    EXPECT_EQ(run.result.count, 2);
    WordRecord second;
    std::copy(run.dictionary.begin() + kRecordSize, run.dictionary.end(), second.bytes.begin());
    EXPECT_EQ(run.dictionary.substr(0, 4), "word");
    EXPECT_EQ(second.trimmed(Field::Synonym1), "a1");
}

TEST(CsvImportTest, ALineThatOnlyBeginsWithTheHeaderIsData)
{
    const fs::path dir = testfiles::freshDir("import-header-longer");
    const std::string data = line({"\"m\"", "\"n\"", "\"u\"", "\"s1\"", "\"s2\"", "\"s3\"", "\"a1\"",
                                   "\"a2\"", "\"a3\"", "\"p\""});
    // The header and one more value: an entry whose word is word, read in the
    // import's order, and values are read one after another across lines, so
    // the extra value is the next entry's word.
    const ImportRun longer = runImport(dir / "longer.kvx", exportHeader() + ",\"extra\"\r\n" + data, ImportLookup::Index);
    EXPECT_FALSE(longer.result.headerSkipped);
    EXPECT_EQ(longer.result.count, 2);
    ASSERT_EQ(longer.dictionary.size(), 2 * kRecordSize);
    WordRecord first, second;
    std::copy(longer.dictionary.begin(), longer.dictionary.begin() + kRecordSize, first.bytes.begin());
    std::copy(longer.dictionary.begin() + kRecordSize, longer.dictionary.end(), second.bytes.begin());
    EXPECT_EQ(first.trimmed(Field::Word), "word");
    EXPECT_EQ(first.trimmed(Field::Synonym1), "antonym1");
    EXPECT_EQ(second.trimmed(Field::Word), "extra");
    EXPECT_EQ(second.trimmed(Field::Synonym1), "s1");

    // The header with text straight after it on the same line: data too.
    const ImportRun joined =
        runImport(dir / "joined.kvx", exportHeader() + "x\r\n\"w1\"," + data, ImportLookup::Index);
    EXPECT_FALSE(joined.result.headerSkipped);
    EXPECT_EQ(joined.result.count, 2);

    // The header as the file's last line, without a line end: still the
    // header, and nothing is imported.
    const ImportRun last = runImport(dir / "last.kvx", exportHeader(), ImportLookup::Index);
    EXPECT_TRUE(last.result.headerSkipped);
    EXPECT_EQ(last.result.count, 0);
    EXPECT_TRUE(last.dictionary.empty());
}

// The index must answer exactly what a scan of the file from record 1 would:
// the same entries appended and the same words refused, in the same order.
TEST(CsvImportTest, IndexGivesTheSameResultsAsReReadingPerLine)
{
    const fs::path dir = testfiles::freshDir("import-equivalence");
    std::mt19937 rng(12345);
    const std::vector<std::string> stems = {"happy", "Happy", "  happy ", "HAPPY", "run", "caf\xC3\xA9",
                                            "CAF\xC3\x89", "\xC5\x93uvre", "\xC5\x92UVRE", "a b", "ab",
                                            std::string(31, 'x'), std::string(30, 'x'), "", "  ", "tab\t"};
    std::string csv;
    for (int i = 0; i < 600; ++i) {
        std::string word = stems[rng() % stems.size()];
        if (rng() % 3 == 0)
            word += std::to_string(rng() % 40);
        const bool quoted = rng() % 2 == 0;
        csv += line({quoted ? "\"" + word + "\"" : word, "m" + std::to_string(i), "", "", "", "", "", "", "", "",
                     "p"});
    }
    std::vector<WordRecord> start = {entry("Run"), entry("happy7"), entry("  OEUVRE")};
    // A damaged tail long enough to survive the first append as a record of
    // its own, holding a word that the file imports later.
    const std::string tail = "tail-word" + std::string(200, ' ');
    csv += line({"tail-word", "", "", "", "", "", "", "", "", "", ""});

    writeRecords(dir / "index.kvx", start, tail);
    writeRecords(dir / "scan.kvx", start, tail);
    const ImportRun indexed = runImport(dir / "index.kvx", csv, ImportLookup::Index);
    const ImportRun scanned = runImport(dir / "scan.kvx", csv, ImportLookup::ReReadPerLine);
    EXPECT_EQ(indexed.result.error, Error::None);
    EXPECT_EQ(indexed.result.count, scanned.result.count);
    EXPECT_EQ(indexed.refused, scanned.refused);
    EXPECT_EQ(indexed.dictionary, scanned.dictionary);
    EXPECT_GT(indexed.refused.size(), 100u);
    EXPECT_EQ(indexed.refused.back(), "tail-word");
}

TEST(CsvImportTest, ErrorsKeepWhatWasAppended)
{
    const fs::path dir = testfiles::freshDir("import-errors");
    const std::string one = line({"a", "", "", "", "", "", "", "", "", "", ""});
    ImportRun run = runImport(dir / "short.kvx", one + "\"b\",\"m\"\r\n", ImportLookup::Index);
    EXPECT_EQ(run.result.error, Error::InputPastEnd);
    EXPECT_EQ(run.result.count, 1);
    EXPECT_EQ(run.dictionary.size(), kRecordSize);

    // A 32,768th new entry is not appended.
    std::string csv;
    for (std::int64_t i = 0; i <= kMaxTransferCount; ++i)
        csv += "w" + std::to_string(i) + ",,,,,,,,,,\r\n";
    run = runImport(dir / "overflow.kvx", csv, ImportLookup::Index);
    EXPECT_EQ(run.result.error, Error::Overflow);
    EXPECT_EQ(run.result.count, kMaxTransferCount);
    EXPECT_EQ(run.dictionary.size(), kRecordSize * kMaxTransferCount);
}

TEST(CsvImportTest, OpeningTheCsvFile)
{
    const fs::path dir = testfiles::freshDir("import-open");
    std::ifstream in;
    std::int64_t size = -1;
    EXPECT_EQ(openCsvForReading(dir / "none.csv", in, size), Error::FileNotFound);
    EXPECT_EQ(openCsvForReading(dir / "no-folder" / "x.csv", in, size), Error::PathNotFound);
    EXPECT_EQ(openCsvForReading(dir, in, size), Error::PermissionDenied);
    testfiles::writeBytes(dir / "x.csv", "abc");
    EXPECT_EQ(openCsvForReading(dir / "x.csv", in, size), Error::None);
    EXPECT_EQ(size, 3);
}
