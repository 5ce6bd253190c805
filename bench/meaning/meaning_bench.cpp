// Finding words by their meaning over a full dictionary (32,767 entries):
// the default dictionary's 30,000 entries and, to fill it, inflected words
// with the meanings of their bases.

#include "dictstore/csvreader.h"
#include "dictstore/dictionary.h"
#include "dictstore/meaningsearch.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using dictstore::Field;

namespace {

std::vector<dictstore::WordRecord> fullDictionary()
{
    std::vector<dictstore::WordRecord> base;
    std::ifstream in(fs::path(LEXIVANE_DATA_DIR) / "dictionary.csv", std::ios::binary);
    dictstore::CsvReader csv(in);
    while (!csv.atEnd()) {
        dictstore::CsvRecord values;
        if (dictstore::readCsvRecord(csv, values) != dictstore::Error::None)
            break;
        base.push_back(dictstore::recordFromImportValues(values));
    }
    std::vector<dictstore::WordRecord> all = base;
    for (const char* suffix : {"s", "ed", "ing"}) {
        for (const auto& r : base) {
            if (all.size() >= static_cast<std::size_t>(dictstore::kMaxKavixRecords))
                return all;
            dictstore::WordRecord copy = r;
            dictstore::assignField(copy, Field::Word, r.trimmed(Field::Word) + suffix);
            all.push_back(copy);
        }
    }
    return all;
}

const dictstore::MeaningIndex& fullIndex()
{
    static const dictstore::MeaningIndex index(fullDictionary());
    return index;
}

const char* const kDescriptions[] = {
    "very tired", "a doctor for animals", "lasting a very short time", "a person who writes books",
    "to walk slowly without a goal", "the opposite of friend", "not brave",
    "a place where animals are kept for people to see",
};

// One description against the built index, as the grid asks it.
void BM_SearchOneDescription(benchmark::State& state)
{
    const dictstore::MeaningIndex& index = fullIndex();
    if (index.size() != static_cast<std::size_t>(dictstore::kMaxKavixRecords))
        state.SkipWithError("the dictionary is not full");
    std::size_t i = 0;
    for (auto _ : state) {
        auto hits = index.search(kDescriptions[i++ % std::size(kDescriptions)]);
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_SearchOneDescription)->Unit(benchmark::kMillisecond);

// Indexing the entries already in memory.
void BM_BuildIndex(benchmark::State& state)
{
    const std::vector<dictstore::WordRecord> records = fullDictionary();
    for (auto _ : state) {
        dictstore::MeaningIndex index(records);
        benchmark::DoNotOptimize(index.size());
    }
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);

const fs::path& fullFile()
{
    static const fs::path file = [] {
        const fs::path p = fs::temp_directory_path() / ("lexivane-meaning-bench-" + std::to_string(::getpid()) + ".kvx");
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        for (const auto& r : fullDictionary())
            out.write(r.bytes.data(), static_cast<std::streamsize>(r.bytes.size()));
        return p;
    }();
    return file;
}

// The first look-up as a grid window makes it: open the file, read and
// index every entry, search, close.
void BM_FirstLookUpFromTheFile(benchmark::State& state)
{
    for (auto _ : state) {
        dictstore::Dictionary dict;
        dict.openForReading(fullFile());
        dictstore::MeaningIndex index({});
        dictstore::MeaningIndex::load(dict, index);
        auto hits = index.search("lasting a very short time");
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_FirstLookUpFromTheFile)->Unit(benchmark::kMillisecond);

// Every later look-up in the same run: the file is read again and, being
// unchanged, finds its index made.
void BM_LaterLookUpFromTheFile(benchmark::State& state)
{
    std::shared_ptr<const dictstore::MeaningIndex> index;
    for (auto _ : state) {
        dictstore::Dictionary dict;
        dict.openForReading(fullFile());
        dictstore::MeaningIndex::loadShared(dict, index);
        auto hits = index->search("lasting a very short time");
        if (!index || index->size() != static_cast<std::size_t>(dictstore::kMaxKavixRecords))
            state.SkipWithError("the dictionary was not read");
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_LaterLookUpFromTheFile)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove(fullFile(), ignored);
    return 0;
}
