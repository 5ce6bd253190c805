// Print, Print Preview and Export as PDF, read back with poppler's tools;
// the zoom and the status bar.

#include "wkvxtest.h"

#include "printing.h"
#include "textcount.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextLayout>
#include <QUrl>
#include <QWheelEvent>

using namespace wkvx;
using wkvxtest::FrameTest;
using wkvxtest::select;

namespace {

// A letter page with two-inch left and one-inch top margins, bold text and a table.
const QByteArray kLetter =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Liberation Serif;}}\\paperw12240\\paperh15840\\margl2880\\margr1440"
    "\\margt1440\\margb1440\n"
    "\\pard Hello {\\b printed} world\\par\n"
    "\\trowd\\cellx3000\\cellx6000\\intbl first cell\\cell second cell\\cell\\row\n"
    "\\pard After the table\\par}";

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfText(const QString& pdf) { return run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}); }

// Where the first word of the PDF starts, in points from the page's top left.
QPointF firstWordAt(const QString& pdf)
{
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\""));
    const QRegularExpressionMatch m = word.match(html);
    return m.hasMatch() ? QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QPointF(-1, -1);
}

// Prints to a PDF file instead of a printer; Cancel when told.
class PdfPrintDialogs : public PrintDialogs {
public:
    explicit PdfPrintDialogs(QString file) : file_(std::move(file)) { setPrintDialogs(this); }
    ~PdfPrintDialogs() override { setPrintDialogs(nullptr); }
    bool choosePrinter(QWidget*, QPrinter* printer) override
    {
        ++chosen;
        marginsShown = printer->pageLayout().margins(QPageLayout::Point);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file_);
        return !cancel;
    }
    void preview(QWidget*, QPrinter* printer, const std::function<void(QPrinter*)>& paint) override
    {
        ++previewed;
        marginsShown = printer->pageLayout().margins(QPageLayout::Point);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file_);
        paint(printer);
    }
    bool cancel = false;
    int chosen = 0;
    int previewed = 0;
    QMarginsF marginsShown;

private:
    QString file_;
};

class PrintTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        ASSERT_FALSE(run(QStringLiteral("pdftotext"), {QStringLiteral("-v")}).startsWith(QLatin1Char('<')))
            << "pdftotext (poppler-utils) is needed";
        writeFile(path("letter.rtf"), kLetter);
        frame->loadNewDoc(path("letter.rtf"));
    }
    // A status-bar label once the count has caught up with the typing.
    static QString settled(const QLabel* label, const QString& expected)
    {
        (void)QTest::qWaitFor([&] { return label->text() == expected; }, 2000);
        return label->text();
    }
};

}  // namespace

TEST_F(PrintTest, ExportAsPdfHoldsTheTextOnTheDocumentsPageAndMargins)
{
    dialogs.fileNames = {path("letter")};
    frame->mnuFilePdf->trigger();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].title, QStringLiteral("Export as PDF"));
    EXPECT_EQ(dialogs.asked[0].filter, QStringLiteral("PDF document(*.pdf)|*.pdf"));
    const QString pdf = path("letter.pdf");
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(rec.messages.empty());
    const QString text = pdfText(pdf).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("Hello printed world"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("first cell"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("second cell"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("After the table"))) << text.toStdString();
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("612 x 792 pts")));
    const QPointF at = firstWordAt(pdf);
    EXPECT_NEAR(at.x(), 144, 3);
    EXPECT_NEAR(at.y(), 72, 6);

    // The page is the document's: saving keeps it for the next print.
    dialogs.fileNames = {path("again.rtf")};
    frame->mnuSave->trigger();
    EXPECT_TRUE(readFile(path("again.rtf")).contains("\\margl2880"));

    // Exporting nowhere says why and writes nothing; a cancelled dialog does nothing.
    dialogs.fileNames = {path("no such folder/x.pdf")};
    frame->mnuFilePdf->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_TRUE(rec.lastText().contains(QStringLiteral("Path not found"))) << rec.lastText().toStdString();
    frame->mnuFilePdf->trigger();
    EXPECT_EQ(rec.messages.size(), 1u);
}

TEST_F(PrintTest, PicturesArePrintedToo)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    writeFile(path("picture.rtf"), "{\\rtf1\\ansi Before {\\pict\\pngblip\\picw40\\pich30 " + png.data().toHex()
                                       + "} after\\par}");
    frame->loadNewDoc(path("picture.rtf"));
    dialogs.fileNames = {path("picture.pdf")};
    frame->mnuFilePdf->trigger();
    EXPECT_TRUE(pdfText(path("picture.pdf")).simplified().contains(QStringLiteral("Before after")));
    const QStringList images = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path("picture.pdf")})
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // A heading of two lines, then one line per picture.
    EXPECT_EQ(images.size(), 3) << images.join(QLatin1Char('\n')).toStdString();

    // Copied into another document, the picture goes along.
    text()->selectAll();
    frame->mnuEditCopy->trigger();
    frame->mnuFileNew->trigger();
    frame->mnuEditPaste->trigger();
    QString name;
    for (auto it = text()->document()->begin().begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            name = it.fragment().charFormat().toImageFormat().name();
    ASSERT_FALSE(name.isEmpty());
    EXPECT_FALSE(text()->document()->resource(QTextDocument::ImageResource, QUrl(name)).isNull());
    dialogs.fileNames = {path("pasted.pdf")};
    frame->mnuFilePdf->trigger();
    EXPECT_EQ(run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path("pasted.pdf")})
                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                  .size(),
              3);
}

TEST_F(PrintTest, ADocumentWithoutAPageGetsTheUsualMarginsAndLongTextGoesOnToMorePages)
{
    frame->mnuFileNew->trigger();
    QString para;
    for (int i = 0; i < 120; ++i)
        para += QStringLiteral("line %1\n").arg(i);
    text()->setPlainText(para + QStringLiteral("the last line"));
    dialogs.fileNames = {path("long.pdf")};
    frame->mnuFilePdf->trigger();
    const QString info = run(QStringLiteral("pdfinfo"), {path("long.pdf")});
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    ASSERT_TRUE(pages.hasMatch()) << info.toStdString();
    EXPECT_GE(pages.captured(1).toInt(), 2);
    const QString all = pdfText(path("long.pdf"));
    EXPECT_TRUE(all.contains(QStringLiteral("line 0")));
    EXPECT_TRUE(all.contains(QStringLiteral("line 119")));
    EXPECT_TRUE(all.contains(QStringLiteral("the last line")));
    EXPECT_NEAR(firstWordAt(path("long.pdf")).x(), 90, 3);
}

TEST_F(PrintTest, PrintAndPreviewDrawTheDocumentOnTheChosenPrinter)
{
    PdfPrintDialogs printer(path("printed.pdf"));
    printer.cancel = true;
    frame->mnuFilePrint->trigger();
    EXPECT_EQ(printer.chosen, 1);
    EXPECT_FALSE(QFile::exists(path("printed.pdf")));
    // The dialog starts on the document's margins.
    EXPECT_NEAR(printer.marginsShown.left(), 144, 0.5);
    EXPECT_NEAR(printer.marginsShown.top(), 72, 0.5);

    printer.cancel = false;
    QTest::keyClick(text(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(printer.chosen, 2);
    EXPECT_TRUE(pdfText(path("printed.pdf")).contains(QStringLiteral("Hello printed world")));
    QFile::remove(path("printed.pdf"));

    frame->mnuFilePreview->trigger();
    EXPECT_EQ(printer.previewed, 1);
    EXPECT_TRUE(pdfText(path("printed.pdf")).contains(QStringLiteral("After the table")));
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(PrintTest, ZoomIsPerDocumentAndChangesOnlyTheView)
{
    const QByteArray saved = [&] {
        dialogs.fileNames = {path("at100.rtf")};
        frame->mnuSave->trigger();
        return readFile(path("at100.rtf"));
    }();
    const qreal height100 = text()->document()->documentLayout()->documentSize().height();
    EXPECT_EQ(settled(frame->lblZoom, QStringLiteral("100%")), QStringLiteral("100%"));

    QTest::keyClick(text(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(text()->zoom(), 110);
    QTest::keyClick(text(), Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(text()->zoom(), 125);
    EXPECT_EQ(frame->lblZoom->text(), QStringLiteral("125%"));
    EXPECT_GT(text()->document()->documentLayout()->documentSize().height(), height100 * 1.15);

    // Ctrl and the wheel zoom too; the wheel alone scrolls.
    QWheelEvent up(QPointF(10, 10), text()->viewport()->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, 120),
                   Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(text()->viewport(), &up);
    EXPECT_EQ(text()->zoom(), 150);
    QWheelEvent plain(QPointF(10, 10), text()->viewport()->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(text()->viewport(), &plain);
    EXPECT_EQ(text()->zoom(), 150);

    // What is saved and printed does not change with the zoom.
    EXPECT_FALSE(active()->hasChanges());
    dialogs.fileNames = {path("zoomed.rtf"), path("zoomed.pdf")};
    frame->mnuSave->trigger();
    EXPECT_EQ(readFile(path("zoomed.rtf")), saved);
    frame->mnuFilePdf->trigger();
    EXPECT_NEAR(firstWordAt(path("zoomed.pdf")).x(), 144, 3);
    EXPECT_NEAR(firstWordAt(path("zoomed.pdf")).y(), 72, 6);

    // Another document has its own zoom.
    frmChild* zoomed = active();
    frame->mnuFileNew->trigger();
    EXPECT_EQ(text()->zoom(), 100);
    EXPECT_EQ(frame->lblZoom->text(), QStringLiteral("100%"));
    QTest::keyClick(text(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(text()->zoom(), 90);
    frame->mdiArea->setActiveSubWindow(zoomed);
    EXPECT_EQ(frame->lblZoom->text(), QStringLiteral("150%"));
    QTest::keyClick(text(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(text()->zoom(), 100);
    EXPECT_NEAR(text()->document()->documentLayout()->documentSize().height(), height100, 1);

    // At the ends of the scale the zoom stays.
    for (int i = 0; i < 30; ++i)
        frame->mnuViewZoomOut->trigger();
    EXPECT_EQ(text()->zoom(), 50);
    // Typing and clicking still land where the text is shown.
    QTest::keyClick(text(), Qt::Key_Plus, Qt::ControlModifier);
    text()->moveCursor(QTextCursor::End);
    QTest::keyClicks(text(), QStringLiteral(" end"));
    EXPECT_TRUE(text()->toPlainText().endsWith(QStringLiteral("After the table end")));
}

TEST_F(PrintTest, StatusBarCountsWordsAndCharactersOfTheDocumentOrSelectionAndShowsTheLine)
{
    frame->mnuFileNew->trigger();
    type(QStringLiteral("One two, three."));
    EXPECT_EQ(settled(frame->lblCount, QStringLiteral("3 words, 15 characters")), QStringLiteral("3 words, 15 characters"));
    EXPECT_EQ(frame->lblLine->text(), QStringLiteral("Line 1"));
    select(text(), 4, 7);
    EXPECT_EQ(settled(frame->lblCount, QStringLiteral("Selected: 1 word, 3 characters")),
              QStringLiteral("Selected: 1 word, 3 characters"));
    text()->moveCursor(QTextCursor::End);
    type(QStringLiteral("\n\nLast line"));
    EXPECT_EQ(settled(frame->lblCount, QStringLiteral("5 words, 24 characters")), QStringLiteral("5 words, 24 characters"));
    EXPECT_EQ(settled(frame->lblLine, QStringLiteral("Line 3")), QStringLiteral("Line 3"));

    // A paragraph wrapped in the window counts its lines as shown.
    text()->clear();
    const QString longLine = QStringLiteral("word ").repeated(200);
    type(longLine + QStringLiteral("\nnext"));
    const int wrapped = text()->document()->firstBlock().layout()->lineCount();
    ASSERT_GT(wrapped, 1);
    EXPECT_EQ(settled(frame->lblLine, QStringLiteral("Line %1").arg(wrapped + 1)), QStringLiteral("Line %1").arg(wrapped + 1));

    // The other document shows its own counts.
    frame->mdiArea->setActiveSubWindow(frame->documents().at(1));
    ASSERT_EQ(active()->fileName(), path("letter.rtf"));
    EXPECT_EQ(frame->lblCount->text(), QStringLiteral("10 words, 55 characters"));
}

TEST(TextCountTest, WordsAreRunsBetweenSpacesWithALetterOrDigit)
{
    EXPECT_EQ(countText(u"it's a well-known fact \u2014 42.").words, 5);
    EXPECT_EQ(countText(u"it's a well-known fact \u2014 42.").characters, 28);
    EXPECT_EQ(countText(u"  \t ").words, 0);
    EXPECT_EQ(countText(u"one\u2029two\u2028three").words, 3);
    EXPECT_EQ(countText(u"one\u2029two\u2028three").characters, 11);
    EXPECT_EQ(countText(u"\ufffc picture").words, 1);
}

TEST(TextCountTest, ARepeatedCountSeesEveryEditAsAFreshCountDoes)
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("one two\nthree\nfour five six"));
    DocumentCounter counter;
    auto same = [&] {
        const TextCount fresh = countDocument(doc);
        const TextCount again = counter.count(doc);
        return fresh.words == again.words && fresh.characters == again.characters;
    };
    EXPECT_EQ(counter.count(doc).words, 6);
    QTextCursor c(doc.findBlockByNumber(1));
    c.insertText(QStringLiteral("and more "));
    EXPECT_TRUE(same());
    EXPECT_EQ(counter.count(doc).words, 8);
    c.select(QTextCursor::BlockUnderCursor);
    c.removeSelectedText();
    EXPECT_TRUE(same());
    c.insertBlock();
    c.insertText(QStringLiteral("new words here"));
    EXPECT_TRUE(same());
    doc.undo();
    EXPECT_TRUE(same());
    doc.undo();
    EXPECT_TRUE(same());
    QTextDocument other;
    other.setPlainText(QStringLiteral("elsewhere"));
    EXPECT_EQ(counter.count(other).words, 1);
    EXPECT_TRUE(same());
}
