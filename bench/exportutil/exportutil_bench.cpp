// The utility's two operations at the dictionary's full size: importing
// 32,767 new words into an empty dictionary (with the word index, against
// re-reading the dictionary for every line, run on smaller files and fitted
// to n squared), and exporting 32,767 records.

#include "dictstore/csvtransfer.h"
#include "dictstore/dictionary.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kFull = dictstore::kMaxTransferCount;

const fs::path& folder()
{
    static const fs::path dir = [] {
        const fs::path d = fs::temp_directory_path() / ("lexivane-exportutil-bench-" + std::to_string(::getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// n lines of new words, each line a full entry in the import's order.
fs::path wordsFile(std::int64_t n)
{
    const fs::path p = folder() / ("words-" + std::to_string(n) + ".csv");
    if (fs::exists(p))
        return p;
    std::ofstream out(p, std::ios::binary);
    for (std::int64_t i = 0; i < n; ++i) {
        out << "\"word" << i * 7919 % 1000003 << "\",\"the meaning of entry number " << i
            << "\",\"noun\",\"a sample sentence that uses the word\",\"syn" << i << "\",\"\",\"\",\"ant" << i
            << "\",\"\",\"\",\"WURD-" << i << "\"\r\n";
    }
    return p;
}

void importInto(benchmark::State& state, std::int64_t n, dictstore::ImportLookup lookup)
{
    const fs::path csv = wordsFile(n);
    const fs::path dictionary = folder() / "import.kvx";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(dictionary);
        state.ResumeTiming();
        dictstore::Dictionary dict;
        dict.openForUpdate(dictionary);
        std::ifstream in(csv, std::ios::binary);
        const auto result =
            dictstore::importCsv(dict, in, static_cast<std::int64_t>(fs::file_size(csv)), {}, lookup);
        if (result.error != dictstore::Error::None || result.count != n)
            state.SkipWithError("import failed");
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_ImportWithIndex(benchmark::State& state) { importInto(state, kFull, dictstore::ImportLookup::Index); }

void BM_ImportReReadPerLine(benchmark::State& state)
{
    importInto(state, state.range(0), dictstore::ImportLookup::ReReadPerLine);
    state.SetComplexityN(state.range(0));
}

void BM_Export(benchmark::State& state)
{
    const fs::path dictionary = folder() / "export.kvx";
    {
        std::ofstream out(dictionary, std::ios::binary | std::ios::trunc);
        dictstore::WordRecord r;
        for (std::int64_t i = 0; i < kFull; ++i) {
            dictstore::assignField(r, dictstore::Field::Word, "word" + std::to_string(i));
            dictstore::assignField(r, dictstore::Field::Meaning, "the meaning of entry number " + std::to_string(i));
            dictstore::assignField(r, dictstore::Field::Usage, "a sample sentence that uses the word");
            dictstore::assignField(r, dictstore::Field::Synonym1, "syn" + std::to_string(i));
            dictstore::assignField(r, dictstore::Field::Antonym3, "ant" + std::to_string(i));
            out.write(r.bytes.data(), static_cast<std::streamsize>(r.bytes.size()));
        }
    }
    const fs::path csv = folder() / "dictionary.csv";
    for (auto _ : state) {
        const auto result = dictstore::exportDictionary(dictionary, csv);
        if (result.error != dictstore::Error::None || result.count != kFull)
            state.SkipWithError("export failed");
    }
    state.SetItemsProcessed(state.iterations() * kFull);
}

}  // namespace

BENCHMARK(BM_ImportWithIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportReReadPerLine)
    ->RangeMultiplier(2)
    ->Range(512, 4096)
    ->Complexity(benchmark::oNSquared)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(folder(), ignored);
    return 0;
}
