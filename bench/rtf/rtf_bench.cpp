// Reading and writing a generated 10 MB document, the size of a long book.
// Build with -DLEXIVANE_BENCH=ON -DCMAKE_BUILD_TYPE=Release.
#include "rtfbuilder.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QByteArray>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Paragraphs of running text with the usual mix: font and size changes, bold
// and italic runs, accents as \'hh, \u characters, a table every so often.
QByteArray generate(qsizetype target)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}"
                     "{\\f1\\fswiss Arial;}}{\\colortbl;\\red192\\green0\\blue0;}\n";
    int n = 0;
    while (rtf.size() < target) {
        ++n;
        if (n % 50 == 0) {
            for (int r = 0; r < 3; ++r)
                rtf += "\\trowd\\cellx2000\\cellx4000\\pard\\intbl word\\cell synonym\\cell\\row\n";
            rtf += "\\pard ";
        }
        rtf += "\\pard\\qj\\sa120 {\\f1\\fs28\\b Paragraph " + QByteArray::number(n) + "}\\par\n";
        rtf += "\\pard The quick brown fox jumps over the lazy dog. {\\i Caf\\'e9 na\\'efve} fa\\'e7ade "
               "{\\b\\cf1 bold red} and plain text that runs on for a while to make a line of prose, "
               "with \\ldblquote quotes\\rdblquote  and \\u8212? dashes and \\u12354? kana.\\par\n";
    }
    return rtf + "}";
}

const QByteArray& sample()
{
    static const QByteArray data = generate(10 * 1024 * 1024);
    return data;
}

// Reads data into a new document once per iteration; freeing the document
// is QTextDocument's cost, not the reader's.
void readEach(benchmark::State& state, const QByteArray& data, const kvx::rtf::RtfReadOptions& options = {})
{
    for (auto _ : state) {
        auto doc = std::make_unique<QTextDocument>();
        benchmark::DoNotOptimize(kvx::rtf::readRtf(data, doc.get(), options).ok);
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
}

void BM_ReadRtf(benchmark::State& state)
{
    const QByteArray& data = sample();
    readEach(state, data);
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond)->MinTime(3);

// The same document through each builder: the fast one (where this build has
// it) and the public one every build has.
void BM_ReadRtfWithBuilder(benchmark::State& state)
{
    const auto kind = kvx::rtf::BuilderKind(state.range(0));
    if (kind == kvx::rtf::BuilderKind::Fast && !kvx::rtf::fastBuilderUsable()) {
        state.SkipWithError("the fast builder is not in this build");
        return;
    }
    state.SetLabel(kind == kvx::rtf::BuilderKind::Fast ? "fast builder" : "public builder");
    kvx::rtf::RtfReadOptions options;
    options.builder = kind;
    const QByteArray& data = sample();
    readEach(state, data, options);
}
BENCHMARK(BM_ReadRtfWithBuilder)
    ->Arg(int(kvx::rtf::BuilderKind::Fast))
    ->Arg(int(kvx::rtf::BuilderKind::Public))
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3);

// The same text at 2.5, 5 and 20 MB: the time per byte must stay flat.
void BM_ReadRtfScaling(benchmark::State& state)
{
    const QByteArray data = generate(qsizetype(state.range(0)) * 1024 * 1024 / 4);
    readEach(state, data);
}
BENCHMARK(BM_ReadRtfScaling)->Arg(10)->Arg(20)->Arg(80)->Unit(benchmark::kMillisecond)->MinTime(2);

// Tables nested 30,000 and 100,000 levels deep (a hostile file): reading
// must stay linear, as cells are bounded.
void BM_ReadNestedTables(benchmark::State& state)
{
    const int levels = int(state.range(0));
    QByteArray data = "{\\rtf1\\ansi\n\\trowd\\cellx5000\n";
    for (int d = 2; d <= levels; ++d)
        data += "\\pard\\intbl\\itap" + QByteArray::number(d) + " before\\par\n";
    for (int d = levels; d >= 2; --d)
        data += "\\pard\\intbl\\itap" + QByteArray::number(d) + " after\\nestcell{\\*\\nesttableprops\\trowd\\cellx4000\\nestrow}\n";
    data += "\\pard\\intbl\\itap1 Outer\\cell\\row}";
    readEach(state, data);
}
BENCHMARK(BM_ReadNestedTables)->Arg(30'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_WriteRtf(benchmark::State& state)
{
    QTextDocument doc;
    kvx::rtf::readRtf(sample(), &doc);
    qsizetype written = 0;
    for (auto _ : state) {
        const QByteArray out = kvx::rtf::writeRtf(doc);
        written = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * written);
    state.counters["output_MB"] = double(written) / (1024 * 1024);
}
BENCHMARK(BM_WriteRtf)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace

BENCHMARK_MAIN();
