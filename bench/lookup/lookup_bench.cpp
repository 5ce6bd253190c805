// Filling the results grid and the complete list for a full dictionary
// (32,767 entries), against the bare store scan they are built on.

#include "frmR2.h"
#include "frmViewAll.h"

#include "dictstore/dictionary.h"
#include "dictstore/paths.h"

#include "msgbox.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using dictstore::Field;

namespace {

void writeFullDictionary()
{
    fs::create_directories(dictstore::dictionaryPath().parent_path());
    std::ofstream out(dictstore::dictionaryPath(), std::ios::binary | std::ios::trunc);
    for (std::int64_t n = 1; n <= dictstore::kMaxKavixRecords; ++n) {
        const std::string id = std::to_string(n);
        dictstore::WordRecord r;
        dictstore::assignField(r, Field::Word, "word" + id);
        dictstore::assignField(r, Field::Meaning, "the meaning of entry number " + id);
        dictstore::assignField(r, Field::PartOfSpeech, "noun");
        dictstore::assignField(r, Field::Pronu, "WURD-" + id);
        dictstore::assignField(r, Field::Synonym1, "synonym" + id);
        dictstore::assignField(r, Field::Usage, "A sentence that uses word" + id + " well.");
        dictstore::assignField(r, Field::Antonym1, "antonym" + id);
        out.write(r.bytes.data(), static_cast<std::streamsize>(r.bytes.size()));
    }
}

void BM_BareScan(benchmark::State& state)
{
    for (auto _ : state) {
        dictstore::Dictionary dict;
        std::int64_t count = 0;
        dict.openForReading(dictstore::dictionaryPath());
        dict.readAll([&count](const dictstore::WordRecord&, std::int64_t) {
            ++count;
            return dictstore::Error::None;
        });
        dict.close();
        benchmark::DoNotOptimize(count);
    }
}

// Everything the grid does while it opens for an empty key: all entries.
void BM_ResultsGridAll(benchmark::State& state)
{
    const kavix::SearchRequest search;
    for (auto _ : state) {
        kavix::frmR2 grid(search);
        if (grid.results()->entryCount() != dictstore::kMaxKavixRecords)
            state.SkipWithError("the grid did not list every entry");
    }
}

void BM_CompleteList(benchmark::State& state)
{
    for (auto _ : state) {
        kavix::frmViewAll list;
        if (list.words()->rowCount() != dictstore::kMaxKavixRecords + 1)
            state.SkipWithError("the list did not hold every entry");
    }
}

// Opening as the user sees it: filled, shown and painted once.
void BM_ResultsGridShown(benchmark::State& state)
{
    const kavix::SearchRequest search;
    for (auto _ : state) {
        kavix::frmR2 grid(search);
        grid.show();
        benchmark::DoNotOptimize(grid.grab());
    }
}

void BM_CompleteListShown(benchmark::State& state)
{
    for (auto _ : state) {
        kavix::frmViewAll list;
        list.show();
        benchmark::DoNotOptimize(list.grab());
    }
}

BENCHMARK(BM_BareScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResultsGridAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompleteList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResultsGridShown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompleteListShown)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // A scratch home of its own, and no display needed.
    char home[] = "/tmp/lexivane-bench-XXXXXX";
    if (!::mkdtemp(home))
        return 1;
    ::setenv("HOME", home, 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    int messages = 0;
    lexi::setMessageHandler([&messages](const lexi::Message&) {
        ++messages;
        return lexi::MsgAnswer::Ok;
    });
    writeFullDictionary();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(home);
    return messages == 0 ? 0 : 2;
}
