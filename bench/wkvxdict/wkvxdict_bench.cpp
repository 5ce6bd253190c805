// One key release in "Insert a Word" on a full dictionary (32,767 entries):
// the file read and the list rebuilt, against the bare scans it rests on.

#include "frmInsert.h"

#include "dictstore/dictionary.h"
#include "dictstore/paths.h"

#include "guibench.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>

#include <string>

namespace {

// Words start with every letter in turn, so one letter matches 1 in 26.
void writeFullDictionary()
{
    guibench::writeFullDictionary(
        [](std::int64_t n) { return std::string(1, static_cast<char>('a' + n % 26)) + "word" + std::to_string(n); });
}

const char* keyFor(std::int64_t arg) { return arg == 0 ? "q" : "  "; }
std::int64_t expectedRows(std::int64_t arg) { return arg == 0 ? 1260 : dictstore::kMaxKavixRecords; }

// Opened for update, as the Kavix tools open it.
void BM_BareScan(benchmark::State& state) { guibench::bareScan(state, true); }

// The store's scan by starting letters alone, counting the matches.
void BM_BareStartingLetters(benchmark::State& state)
{
    for (auto _ : state) {
        dictstore::Dictionary dict;
        std::int64_t count = 0;
        dict.openForUpdate(dictstore::dictionaryPath());
        dict.findByStartingLetters(keyFor(state.range(0)), [&count](const dictstore::WordRecord&, std::int64_t) {
            ++count;
            return dictstore::Error::None;
        });
        if (count != expectedRows(state.range(0)))
            state.SkipWithError("the scan found the wrong number of words");
    }
}

// A key release as the text box receives it: scan and list rebuilt.
void BM_KeyRelease(benchmark::State& state)
{
    wkvx::frmInsert dialog(nullptr, [] { return nullptr; });
    dialog.txtSearchTerm->setText(QString::fromLatin1(keyFor(state.range(0))));
    for (auto _ : state) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Q, Qt::NoModifier);
        QApplication::sendEvent(dialog.txtSearchTerm, &release);
        if (dialog.words()->rowCount() != expectedRows(state.range(0)))
            state.SkipWithError("the list holds the wrong number of words");
    }
}

// The same with the dialog on screen and the list painted afterwards.
void BM_KeyReleasePainted(benchmark::State& state)
{
    wkvx::frmInsert dialog(nullptr, [] { return nullptr; });
    dialog.show();
    dialog.txtSearchTerm->setText(QString::fromLatin1(keyFor(state.range(0))));
    for (auto _ : state) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Q, Qt::NoModifier);
        QApplication::sendEvent(dialog.txtSearchTerm, &release);
        benchmark::DoNotOptimize(dialog.lstWords->viewport()->grab());
    }
}

// Argument 0: the one-letter key "q"; 1: a key of spaces, every word.
BENCHMARK(BM_BareScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareStartingLetters)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyRelease)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyReleasePainted)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return guibench::run(argc, argv, writeFullDictionary); }
