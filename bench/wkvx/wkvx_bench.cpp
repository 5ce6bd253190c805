// Opening a 10 MB RTF file into a document window, shown and painted, and
// finding, replacing and counting in it.
// Build with -DLEXIVANE_BENCH=ON -DCMAKE_BUILD_TYPE=Release; runs offscreen
// unless a platform is chosen.
#include "MDImain.h"
#include "findtext.h"
#include "frmChild.h"
#include "richtextbox.h"
#include "textcount.h"

#include "rtfwriter.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <benchmark/benchmark.h>

namespace {

// A long report as a word processor would save it: headings, paragraphs
// with bold, italic, underlined and coloured runs in two fonts, centred and
// right-aligned lines, and a small table now and then.
void writeReport(QTextDocument& doc, int paragraphs)
{
    QTextCursor c(&doc);
    QTextCharFormat body;
    body.setFontFamilies(QStringList{QStringLiteral("Times New Roman")});
    body.setFontPointSize(12);
    QTextCharFormat heading = body;
    heading.setFontFamilies(QStringList{QStringLiteral("Arial")});
    heading.setFontPointSize(16);
    heading.setFontWeight(QFont::Bold);
    QTextCharFormat italic = body;
    italic.setFontItalic(true);
    QTextCharFormat red = body;
    red.setForeground(QColor(192, 0, 0));
    red.setFontUnderline(true);
    for (int n = 1; n <= paragraphs; ++n) {
        QTextBlockFormat block;
        block.setAlignment(n % 7 == 0 ? Qt::AlignHCenter : n % 11 == 0 ? Qt::AlignRight : Qt::AlignJustify);
        if (n > 1)
            c.insertBlock(block);
        else
            c.setBlockFormat(block);
        if (n % 40 == 1) {
            c.insertText(QStringLiteral("Chapter %1").arg(n / 40 + 1), heading);
            continue;
        }
        c.insertText(QStringLiteral("The quick brown fox jumps over the lazy dog in paragraph %1. ").arg(n), body);
        c.insertText(QStringLiteral("Café, naïve façade and déjà vu "), italic);
        c.insertText(QStringLiteral("stand out in red"), red);
        c.insertText(QStringLiteral(" while plain text runs on for a while to make a few lines of prose — "
                                    "with \u201Cquotes\u201D and an ellipsis\u2026"),
                     body);
        if (n % 200 == 0) {
            QTextTable* t = c.insertTable(3, 2);
            for (int r = 0; r < 3; ++r) {
                t->cellAt(r, 0).firstCursorPosition().insertText(QStringLiteral("word"), body);
                t->cellAt(r, 1).firstCursorPosition().insertText(QStringLiteral("synonym"), body);
            }
            c.movePosition(QTextCursor::End);
        }
    }
}

const QString& sampleFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        constexpr qsizetype target = 10 * 1024 * 1024;
        QTextDocument probe;
        writeReport(probe, 1000);
        const qsizetype perThousand = kvx::rtf::writeRtf(probe).size();
        QTextDocument doc;
        writeReport(doc, int(target * 1000 / perThousand) + 100);
        const QByteArray rtf = kvx::rtf::writeRtf(doc);
        QFile f(dir.filePath(QStringLiteral("report.rtf")));
        if (!f.open(QIODevice::WriteOnly) || f.write(rtf) != rtf.size())
            qFatal("cannot write the sample");
        return f.fileName();
    }();
    return path;
}

void BM_OpenIntoDocumentWindow(benchmark::State& state)
{
    const QString& file = sampleFile();
    wkvx::MDImain frame;
    frame.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        wkvx::frmChild* doc = frame.loadNewDoc(file);
        doc->showMaximized();
        // Painted: the frame's picture holds the document window.
        benchmark::DoNotOptimize(frame.grab().isNull());
        state.PauseTiming();
        if (doc->rtfText->document()->isEmpty())
            state.SkipWithError("the document did not load");
        doc->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["file_MB"] = double(QFile(file).size()) / (1024 * 1024);
    for (wkvx::frmChild* d : frame.documents())
        d->rtfText->document()->setModified(false);
}
BENCHMARK(BM_OpenIntoDocumentWindow)->Unit(benchmark::kMillisecond)->MinTime(5)->UseRealTime();

// The 10 MB document open in a shown window, for the commands that work on
// the whole of it.
struct OpenReport {
    wkvx::MDImain frame;
    wkvx::frmChild* doc = nullptr;
    OpenReport()
    {
        frame.show();
        doc = frame.loadNewDoc(sampleFile());
        doc->showMaximized();
        QCoreApplication::processEvents();
    }
    ~OpenReport()
    {
        for (wkvx::frmChild* d : frame.documents())
            d->rtfText->document()->setModified(false);
    }
};

// Find Next for a word that stands only at the very end: one pass over
// the whole document.
void BM_FindNextAcrossTheDocument(benchmark::State& state)
{
    OpenReport open;
    wkvx::RichTextBox* box = open.doc->rtfText;
    QTextCursor end(box->document());
    end.movePosition(QTextCursor::End);
    end.insertText(QStringLiteral(" zebra"));
    const wkvx::FindOptions options{QStringLiteral("zebra"), false, true};
    for (auto _ : state) {
        const QTextCursor found = wkvx::findMatch(box->document(), QTextCursor(box->document()), options, false);
        if (found.isNull())
            state.SkipWithError("not found");
    }
}
BENCHMARK(BM_FindNextAcrossTheDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

// Replace All of a word in every paragraph (some 25,000 replacements), as
// one undo step, laid out and painted again.
void BM_ReplaceAllInTheDocument(benchmark::State& state)
{
    OpenReport open;
    wkvx::RichTextBox* box = open.doc->rtfText;
    int replaced = 0;
    bool forth = true;
    for (auto _ : state) {
        const wkvx::FindOptions options{forth ? QStringLiteral("fox") : QStringLiteral("cat"), true, true};
        replaced = wkvx::replaceAll(box->document(), options, forth ? QStringLiteral("cat") : QStringLiteral("fox"));
        benchmark::DoNotOptimize(open.frame.grab().isNull());
        forth = !forth;
    }
    state.counters["replacements"] = replaced;
}
BENCHMARK(BM_ReplaceAllInTheDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

// The status bar's count of the whole document, done once typing pauses.
void BM_CountWordsAndLine(benchmark::State& state)
{
    OpenReport open;
    wkvx::RichTextBox* box = open.doc->rtfText;
    QTextCursor end(box->document());
    end.movePosition(QTextCursor::End);
    wkvx::DocumentCounter counter;
    counter.count(*box->document());
    int n = 0;
    for (auto _ : state) {
        // One key typed in the middle, then the count.
        state.PauseTiming();
        QTextCursor middle(box->document()->findBlockByNumber(box->document()->blockCount() / 2));
        middle.insertText(++n % 2 ? QStringLiteral("x ") : QStringLiteral("y "));
        state.ResumeTiming();
        benchmark::DoNotOptimize(counter.count(*box->document()).words);
        benchmark::DoNotOptimize(wkvx::visualLine(end));
    }
}
BENCHMARK(BM_CountWordsAndLine)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
