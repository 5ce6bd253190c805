// Suggestions for a word not found and the type-ahead list, on a full
// dictionary (32,767 entries): the default dictionary's 30,000 words and
// inflections of them, so lengths and letters are those of real words.

#include "frmResult.h"
#include "frmSearch.h"

#include "dictstore/csvreader.h"
#include "dictstore/dictionary.h"
#include "dictstore/paths.h"
#include "dictstore/suggest.h"

#include "guibench.h"
#include "msgbox.h"

#include <QApplication>
#include <QListWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using dictstore::Field;

namespace {

std::vector<std::string> fullWordList()
{
    std::vector<std::string> base;
    std::ifstream in(fs::path(LEXIVANE_DATA_DIR) / "dictionary.csv", std::ios::binary);
    dictstore::CsvReader csv(in);
    std::string value;
    for (int i = 0; csv.next(value) == dictstore::Error::None; ++i) {
        if (i % 11 == 0)
            base.push_back(value);
    }
    std::vector<std::string> words;
    std::set<std::string> seen;
    auto add = [&](const std::string& w) {
        if (words.size() < static_cast<std::size_t>(dictstore::kMaxKavixRecords) && seen.insert(w).second)
            words.push_back(w);
    };
    for (const std::string& w : base)
        add(w);
    for (const char* suffix : {"s", "ed", "ing", "er", "ly", "ness", "est", "ful"}) {
        for (const std::string& w : base)
            add(w + suffix);
    }
    return words;
}

dictstore::WordIndex& fullIndex()
{
    static dictstore::WordIndex index = [] {
        dictstore::WordIndex i;
        dictstore::Dictionary dict;
        dict.openForReading(dictstore::dictionaryPath());
        i.load(dict);
        return i;
    }();
    return index;
}

// Missing 8-letter words: a misspelling with a close word, an inflection
// whose base is held, and letters with no word near them (the whole scan).
const char* const kMissing[] = {"recieved", "studying", "qzxwvplk"};

void BM_Suggestions(benchmark::State& state)
{
    const dictstore::WordIndex& index = fullIndex();
    const char* word = kMissing[state.range(0)];
    state.SetLabel(word);
    dictstore::Morphology::shipped();
    std::size_t found = 0;
    for (auto _ : state) {
        const auto s = index.suggestions(word);
        found = s.size();
        benchmark::DoNotOptimize(s.data());
    }
    state.counters["suggestions"] = static_cast<double>(found);
}

// What a card that found nothing adds: reading the words and suggesting.
void BM_SuggestionsFromFile(benchmark::State& state)
{
    const char* word = kMissing[state.range(0)];
    state.SetLabel(word);
    for (auto _ : state) {
        dictstore::Dictionary dict;
        dict.openForReading(dictstore::dictionaryPath());
        std::vector<std::string> out;
        dictstore::suggestionsFor(dict, word, out);
        benchmark::DoNotOptimize(out.data());
    }
}

// The whole card for a missing word: search, suggestions, controls.
void BM_CardNotFound(benchmark::State& state)
{
    kavix::SearchRequest search;
    search.exactWord = QString::fromLatin1(kMissing[state.range(0)]);
    state.SetLabel(kMissing[state.range(0)]);
    // The card's "Word not found" message is expected here, answered at once.
    lexi::setMessageHandler([](const lexi::Message&) { return lexi::MsgAnswer::Ok; });
    for (auto _ : state) {
        kavix::frmResult card(search);
        if (card.cmdSuggest.empty() && state.range(0) != 2)
            state.SkipWithError("no suggestions");
    }
    guibench::countMessages();
}

void BM_TypeAheadOneLetter(benchmark::State& state)
{
    const dictstore::WordIndex& index = fullIndex();
    for (auto _ : state) {
        const auto list = index.startingWith("t");
        benchmark::DoNotOptimize(list.data());
    }
}

// A letter typed into the look-up dialog's word box, until the list shows.
void BM_TypeAheadInDialog(benchmark::State& state)
{
    kavix::frmSearch dialog;
    dialog.show();
    dialog.optExact->setChecked(true);
    QApplication::setActiveWindow(&dialog);
    dialog.txtExact->setFocus();
    for (auto _ : state) {
        dialog.txtExact->clear();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_T, Qt::NoModifier, QStringLiteral("t"));
        QApplication::sendEvent(dialog.txtExact, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_T, Qt::NoModifier, QStringLiteral("t"));
        QApplication::sendEvent(dialog.txtExact, &release);
        if (dialog.lstWords->count() != 12)
            state.SkipWithError("the list does not hold twelve words");
    }
}

// The store's scan alone, which the index is read with.
void BM_BareScan(benchmark::State& state) { guibench::bareScan(state); }

// Reading the word index, as the dialog does when it is shown.
void BM_WordIndexLoad(benchmark::State& state)
{
    for (auto _ : state) {
        dictstore::WordIndex index;
        dictstore::Dictionary dict;
        dict.openForReading(dictstore::dictionaryPath());
        index.load(dict);
        // Words that differ only in letter case are kept once.
        if (index.size() < 32000)
            state.SkipWithError("the index lost words");
    }
}

BENCHMARK(BM_Suggestions)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SuggestionsFromFile)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardNotFound)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeAheadOneLetter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeAheadInDialog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordIndexLoad)->Unit(benchmark::kMillisecond);

}  // namespace

// The default dictionary's words, with inflections, make the full dictionary realistic.
void prepare()
{
    static const std::vector<std::string> words = fullWordList();
    if (words.size() != static_cast<std::size_t>(dictstore::kMaxKavixRecords)) {
        std::fprintf(stderr, "suggest_bench: the word list holds %zu words\n", words.size());
        std::exit(3);
    }
    guibench::writeFullDictionary([](std::int64_t n) { return words[static_cast<std::size_t>(n - 1)]; });
}

int main(int argc, char** argv) { return guibench::run(argc, argv, prepare); }
