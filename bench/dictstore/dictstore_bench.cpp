// Full scans of a 32,767-record dictionary against reading its bytes in one
// call and against a naive reader that makes one system call per record.
// LEXIVANE_BENCH_DICTIONARY names a real dictionary file to scan instead
// (the installed default one, say).

#include "dictstore/dictionary.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char* givenDictionary()
{
    const char* given = std::getenv("LEXIVANE_BENCH_DICTIONARY");
    return given && *given ? given : nullptr;
}

const std::filesystem::path& dictionaryFile()
{
    static const std::filesystem::path path = [] {
        if (const char* given = givenDictionary())
            return std::filesystem::path(given);
        const auto p = std::filesystem::temp_directory_path() / ("lexivane-bench-" + std::to_string(::getpid()) + ".kvx");
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        dictstore::WordRecord r;
        for (int i = 0; i < 32767; ++i) {
            dictstore::assignField(r, dictstore::Field::Word, "word" + std::to_string(i * 7919 % 100000));
            dictstore::assignField(r, dictstore::Field::Meaning, "meaning of entry " + std::to_string(i));
            dictstore::assignField(r, dictstore::Field::Synonym1, "synonym" + std::to_string(i));
            out.write(r.bytes.data(), static_cast<std::streamsize>(r.bytes.size()));
        }
        return p;
    }();
    return path;
}

void BM_ReadFileInOneCall(benchmark::State& state)
{
    const auto size = std::filesystem::file_size(dictionaryFile());
    std::vector<char> buffer(size);
    for (auto _ : state) {
        const int fd = ::open(dictionaryFile().c_str(), O_RDONLY);
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        ::close(fd);
        benchmark::DoNotOptimize(got);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

void BM_FindByWordMissing(benchmark::State& state)
{
    for (auto _ : state) {
        dictstore::Dictionary d;
        d.openForReading(dictionaryFile());
        std::optional<dictstore::Match> m;
        d.findByWord("not-in-the-dictionary", m);
        benchmark::DoNotOptimize(m);
    }
}

void BM_FindByStartingLettersEmptyKey(benchmark::State& state)
{
    for (auto _ : state) {
        dictstore::Dictionary d;
        d.openForReading(dictionaryFile());
        std::int64_t matches = 0;
        d.findByStartingLetters("", [&](const dictstore::WordRecord&, std::int64_t) {
            ++matches;
            return dictstore::Error::None;
        });
        benchmark::DoNotOptimize(matches);
    }
}

void BM_ReadAllInOrder(benchmark::State& state)
{
    for (auto _ : state) {
        dictstore::Dictionary d;
        d.openForReading(dictionaryFile());
        std::int64_t seen = 0;
        d.readAll([&](const dictstore::WordRecord& r, std::int64_t) {
            seen += r.bytes[0];
            return dictstore::Error::None;
        });
        benchmark::DoNotOptimize(seen);
    }
}

// What the store would cost reading one record per system call.
void BM_NaiveFindByWordOneReadPerRecord(benchmark::State& state)
{
    const std::string key = "not-in-the-dictionary";
    for (auto _ : state) {
        const int fd = ::open(dictionaryFile().c_str(), O_RDONLY);
        dictstore::WordRecord r;
        bool found = false;
        while (::read(fd, r.bytes.data(), r.bytes.size()) == static_cast<ssize_t>(r.bytes.size())) {
            if (dictstore::trimSpaces(r.raw(dictstore::Field::Word)) == key) {
                found = true;
                break;
            }
        }
        ::close(fd);
        benchmark::DoNotOptimize(found);
    }
}

BENCHMARK(BM_ReadFileInOneCall)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindByWordMissing)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindByStartingLettersEmptyKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadAllInOrder)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NaiveFindByWordOneReadPerRecord)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    dictionaryFile();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!givenDictionary())  // never the file it was given
        std::filesystem::remove(dictionaryFile());
    return 0;
}
