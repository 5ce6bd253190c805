// Opening a 10 MB RTF file into a document window, shown and painted, with
// spelling as you type on and off; typing into a 100-page document with
// spelling on and off, each key handled, checked and painted; finding,
// replacing and counting in the 10 MB document.
// Build with -DLEXIVANE_BENCH=ON -DCMAKE_BUILD_TYPE=Release; runs offscreen
// unless a platform is chosen.
#include "MDImain.h"
#include "findtext.h"
#include "frmChild.h"
#include "richtextbox.h"
#include "textcount.h"
#include "spellhighlighter.h"
#include "spelling.h"

#include "rtfwriter.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
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

QString writeSample(const QString& name, int paragraphs)
{
    static QTemporaryDir dir;
    QTextDocument doc;
    writeReport(doc, paragraphs);
    const QByteArray rtf = kvx::rtf::writeRtf(doc);
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(rtf) != rtf.size())
        qFatal("cannot write the sample");
    return f.fileName();
}

const QString& sampleFile()
{
    static const QString path = [] {
        constexpr qsizetype target = 10 * 1024 * 1024;
        QTextDocument probe;
        writeReport(probe, 1000);
        const qsizetype perThousand = kvx::rtf::writeRtf(probe).size();
        return writeSample(QStringLiteral("report.rtf"), int(target * 1000 / perThousand) + 100);
    }();
    return path;
}

// About 50,000 words: a hundred pages of 500 words.
const QString& hundredPages()
{
    static const QString path = writeSample(QStringLiteral("hundred-pages.rtf"), 1150);
    return path;
}

void setSpelling(wkvx::MDImain& frame, bool on)
{
    frame.spelling()->mnuViewSpelling->setChecked(on);
    if (on != frame.spelling()->asYouType())
        qFatal("spelling cannot be turned %s (is hunspell-en-us installed?)", on ? "on" : "off");
}

// Runs the event loop until the document's background check is done.
qint64 settleSpelling(QTextEdit* box)
{
    QElapsedTimer t;
    t.start();
    QCoreApplication::processEvents();
    while (const wkvx::SpellHighlighter* h = wkvx::SpellHighlighter::of(box)) {
        if (!h->waiting())
            break;
        QCoreApplication::processEvents();
    }
    return t.elapsed();
}

void BM_OpenIntoDocumentWindow(benchmark::State& state)
{
    const QString& file = sampleFile();
    wkvx::MDImain frame;
    setSpelling(frame, state.range(0) != 0);
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
BENCHMARK(BM_OpenIntoDocumentWindow)->ArgName("spelling")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(5)->UseRealTime();

// As above, and the first turns of the event loop that follow: the screen's
// paragraphs checked and painted again. The rest is checked later, in the
// background; how long that takes is the counter background_s.
void BM_OpenCheckShownAndPaint(benchmark::State& state)
{
    const QString& file = sampleFile();
    wkvx::MDImain frame;
    const bool spelling = state.range(0) != 0;
    setSpelling(frame, spelling);
    frame.show();
    QCoreApplication::processEvents();
    double background = 0;
    for (auto _ : state) {
        wkvx::frmChild* doc = frame.loadNewDoc(file);
        doc->showMaximized();
        benchmark::DoNotOptimize(frame.grab().isNull());
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        benchmark::DoNotOptimize(frame.grab().isNull());
        state.PauseTiming();
        background = double(settleSpelling(doc->rtfText)) / 1000;
        doc->rtfText->document()->setModified(false);
        doc->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["background_s"] = background;
}
BENCHMARK(BM_OpenCheckShownAndPaint)->ArgName("spelling")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(5)->UseRealTime();

// One key typed in the middle of a document: handled, checked, laid out
// and painted. Sentences with mistakes in them, so that words are marked and
// unmarked as they are typed.
void typeInto(benchmark::State& state, const QString& file, bool settled)
{
    wkvx::MDImain frame;
    setSpelling(frame, state.range(0) != 0);
    frame.show();
    wkvx::frmChild* doc = frame.loadNewDoc(file);
    doc->showMaximized();
    wkvx::RichTextBox* box = doc->rtfText;
    box->setFocus();
    if (settled)
        settleSpelling(box);
    QTextCursor c(box->document()->findBlockByNumber(box->document()->blockCount() / 2));
    c.movePosition(QTextCursor::EndOfBlock);
    box->setTextCursor(c);
    box->ensureCursorVisible();
    QCoreApplication::processEvents();
    const QString typed = QStringLiteral(" Ths quick brwn fox jumps over teh lazy dog, and the writer keeps typing.");
    qsizetype n = 0;
    double slowest = 0;
    for (auto _ : state) {
        QElapsedTimer key;
        key.start();
        const QChar ch = typed[n++ % typed.size()];
        const int code = ch == QLatin1Char(' ') ? int(Qt::Key_Space) : int(ch.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
        QCoreApplication::processEvents();
        box->viewport()->repaint();
        slowest = std::max(slowest, double(key.nsecsElapsed()) / 1e6);
    }
    state.counters["slowest_ms"] = slowest;
    const wkvx::SpellHighlighter* h = wkvx::SpellHighlighter::of(box);
    state.counters["still_checking"] = h && h->waiting() ? 1 : 0;
    box->document()->setModified(false);
}

// A 100-page document, checked all through before the typing starts.
void BM_TypeIntoHundredPages(benchmark::State& state) { typeInto(state, hundredPages(), true); }
BENCHMARK(BM_TypeIntoHundredPages)->ArgName("spelling")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();

// The 10 MB document just opened: the typing shares the event loop with the
// background check of the rest.
void BM_TypeWhileTheRestIsChecked(benchmark::State& state) { typeInto(state, sampleFile(), false); }
BENCHMARK(BM_TypeWhileTheRestIsChecked)->ArgName("spelling")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();

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
    // A scratch home: recovery copies of the typed-into document go there,
    // never into the user's own Lexivane folder.
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", QFile::encodeName(home.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
