// Filling the results grid and the complete list for a full dictionary
// (32,767 entries), against the bare store scan they are built on.

#include "frmR2.h"
#include "frmViewAll.h"

#include "dictstore/dictionary.h"
#include "dictstore/paths.h"

#include "guibench.h"

#include <QApplication>

#include <string>

namespace {

void writeFullDictionary()
{
    guibench::writeFullDictionary([](std::int64_t n) { return "word" + std::to_string(n); });
}

void BM_BareScan(benchmark::State& state) { guibench::bareScan(state); }

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

int main(int argc, char** argv) { return guibench::run(argc, argv, writeFullDictionary); }
