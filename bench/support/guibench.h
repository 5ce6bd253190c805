#pragma once

// Runs the registered benchmarks in a scratch home of their own, with no
// display needed and every message box counted: a benchmark that met one
// fails the run.

#include "msgbox.h"

#include "dictstore/dictionary.h"
#include "dictstore/paths.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace guibench {

// A full dictionary (32,767 entries) of made-up entries, entry n with the
// word wordOf(n).
template <typename WordOf>
void writeFullDictionary(WordOf wordOf)
{
    using dictstore::Field;
    std::filesystem::create_directories(dictstore::dictionaryPath().parent_path());
    std::ofstream out(dictstore::dictionaryPath(), std::ios::binary | std::ios::trunc);
    for (std::int64_t n = 1; n <= dictstore::kMaxKavixRecords; ++n) {
        const std::string id = std::to_string(n);
        const std::string word = wordOf(n);
        dictstore::WordRecord r;
        dictstore::assignField(r, Field::Word, word);
        dictstore::assignField(r, Field::Meaning, "the meaning of entry number " + id);
        dictstore::assignField(r, Field::PartOfSpeech, "noun");
        dictstore::assignField(r, Field::Pronu, "WURD-" + id);
        dictstore::assignField(r, Field::Synonym1, "synonym" + id);
        dictstore::assignField(r, Field::Usage, "A sentence that uses " + word + " well.");
        dictstore::assignField(r, Field::Antonym1, "antonym" + id);
        out.write(r.bytes.data(), static_cast<std::streamsize>(r.bytes.size()));
    }
}

// The store's scan alone, the floor of every look-up: the dictionary opened
// as the form under test opens it, every record read.
inline void bareScan(benchmark::State& state, bool forUpdate = false)
{
    for (auto _ : state) {
        dictstore::Dictionary dict;
        std::int64_t count = 0;
        if (forUpdate)
            dict.openForUpdate(dictstore::dictionaryPath());
        else
            dict.openForReading(dictstore::dictionaryPath());
        dict.readAll([&count](const dictstore::WordRecord&, std::int64_t) {
            ++count;
            return dictstore::Error::None;
        });
        benchmark::DoNotOptimize(count);
    }
}

// Message boxes met by the benchmarks so far.
inline int& messageCount()
{
    static int count = 0;
    return count;
}

// Counts every message box and answers it; a benchmark that expects one
// installs its own handler and calls this again when it is done.
inline void countMessages()
{
    lexi::setMessageHandler([](const lexi::Message&) {
        ++messageCount();
        return lexi::MsgAnswer::Ok;
    });
}

// prepare runs once the home and the application exist (to write the
// dictionary the benchmarks read).
inline int run(int argc, char** argv, void (*prepare)())
{
    char home[] = "/tmp/lexivane-bench-XXXXXX";
    if (!::mkdtemp(home))
        return 1;
    ::setenv("HOME", home, 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    countMessages();
    prepare();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    lexi::setMessageHandler({});
    std::filesystem::remove_all(home);
    return messageCount() == 0 ? 0 : 2;
}

}  // namespace guibench
