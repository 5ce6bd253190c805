// Writer and round-trip tests: what the writer produces must be plain RTF that
// other word processors accept, and must read back with the same text and the
// same formatting for everything the word processor can set.
#include "rtfdocument.h"
#include "rtffile.h"
#include "rtflists.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QUrl>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

#include "documentimages.h"
#include "permissions.h"

using namespace kvx::rtf;

namespace {

struct Style {
    QString family = "Times New Roman";
    double points = 12;
    bool bold = false, italic = false, underline = false, strike = false;
    QColor color;
};

QTextCharFormat toFormat(const Style& s)
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList{s.family});
    f.setFontPointSize(s.points);
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    f.setFontStrikeOut(s.strike);
    if (s.color.isValid())
        f.setForeground(s.color);
    return f;
}

// One line per character: the character and every property the word
// processor can set, so that two documents compare in full.
QStringList describe(const QTextDocument& doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        out << QString("block align=%1").arg(a == Qt::AlignLeft || a == 0 ? 1 : int(a));
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QTextCharFormat f = frag.charFormat();
            const QColor color = f.foreground().style() == Qt::NoBrush ? QColor() : f.foreground().color();
            for (QChar c : frag.text()) {
                out << QString("%1 %2 %3 b%4 i%5 u%6 s%7 %8")
                           .arg(int(c.unicode()), 4, 16, QChar(u'0'))
                           .arg(f.fontFamilies().toStringList().value(0))
                           .arg(f.fontPointSize())
                           .arg(f.fontWeight() >= QFont::DemiBold)
                           .arg(f.fontItalic())
                           .arg(f.fontUnderline())
                           .arg(f.fontStrikeOut())
                           .arg(color.isValid() ? color.name() : QString("auto"));
            }
        }
    }
    return out;
}

QStringList roundTrip(const QTextDocument& doc, QByteArray* rtfOut = nullptr)
{
    const QByteArray rtf = writeRtf(doc);
    if (rtfOut)
        *rtfOut = rtf;
    QTextDocument back;
    const RtfReadResult r = readRtf(rtf, &back);
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(r.warnings.isEmpty()) << r.warnings.join("; ").toStdString();
    return describe(back);
}

} // namespace

TEST(RtfWriter, EveryFormatTheWordProcessorSetsSurvivesARoundTrip)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    const std::pair<Qt::Alignment, Style> paragraphs[] = {
        {Qt::AlignLeft, Style{}},
        {Qt::AlignHCenter, Style{"Arial", 18, true, false, false, false, QColor(200, 0, 0)}},
        {Qt::AlignRight, Style{"Courier New", 9.5, false, true, true, false, QColor(0, 128, 255)}},
        {Qt::AlignLeft, Style{"DejaVu Sans", 72, true, true, true, true, QColor(0, 0, 0)}},
    };
    bool first = true;
    for (const auto& [align, style] : paragraphs) {
        QTextBlockFormat bf;
        bf.setAlignment(align);
        if (first)
            c.setBlockFormat(bf);
        else
            c.insertBlock(bf);
        first = false;
        c.insertText("Plain and ", toFormat(Style{}));
        c.insertText("styled text", toFormat(style));
        Style strike;
        strike.strike = true;
        strike.family = "Liberation Serif";
        c.insertText(" struck", toFormat(strike));
    }
    const QStringList before = describe(doc);
    EXPECT_EQ(roundTrip(doc), before);
}

TEST(RtfWriter, EveryCharacterSurvivesARoundTrip)
{
    QString text = "ASCII \\ { } \t tab";
    for (char16_t c = 0xA0; c <= 0xFF; ++c)
        text += QChar(c);
    text += QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ ąść Привет Γειά שלום 日本語 한국어 \U0001F600 \u2028next line");
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(text, toFormat(Style{}));
    c.insertBlock();
    c.insertBlock();  // an empty paragraph, then one more with text
    c.insertText("end", toFormat(Style{}));

    QByteArray rtf;
    EXPECT_EQ(roundTrip(doc, &rtf), describe(doc));
    // Windows-1252 characters go out as \'hh, the rest as \uN with a fallback;
    // the file itself is 7-bit.
    EXPECT_TRUE(rtf.contains("\\'80")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\u26085?"));
    EXPECT_TRUE(rtf.contains("\\u-10179?\\u-8704?"));
    for (char b : rtf)
        ASSERT_LT(static_cast<unsigned char>(b), 0x80);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    EXPECT_TRUE(rtf.contains("{\\fonttbl"));
    EXPECT_TRUE(rtf.contains("{\\colortbl;"));
}

TEST(RtfWriter, ReadDocumentsWriteBackTheSameText)
{
    // Tables (with a short row), list markers, hyperlinks, super/subscript,
    // highlight and indents read from a file come back from a second round.
    const QByteArray rtf =
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green255\\blue0;}"
        "Before\\par\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\par b2\\cell\\row"
        "\\trowd\\cellx1000\\pard\\intbl c\\cell\\row"
        "{\\listtext 1.\\tab}\\pard\\ls1\\li720 item\\par{\\listtext 2.\\tab}\\pard\\ls1\\ilvl1 sub\\par"
        "\\pard\\li720\\fi-360 see {\\field{\\*\\fldinst HYPERLINK \"https://example.org/\"}{\\fldrslt here}} "
        "H{\\sub 2}O x{\\super 2} {\\highlight1 marked}\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc).ok);
    const QString text = plainText(doc);
    EXPECT_EQ(text, QString("Before\na\nb\nb2\nc\n    1. item\n        2. sub\nsee here H2O x2 marked\n"));

    QTextDocument back;
    ASSERT_TRUE(readRtf(writeRtf(doc), &back).ok);
    EXPECT_EQ(plainText(back), text);
    QTextCursor link = back.find("here");
    link.setPosition(link.selectionStart() + 1);
    EXPECT_EQ(link.charFormat().anchorHref(), QString("https://example.org/"));
    QTextCursor sub = back.find("2O");
    sub.setPosition(sub.selectionStart() + 1);
    EXPECT_EQ(sub.charFormat().verticalAlignment(), QTextCharFormat::AlignSubScript);
    const QTextBlock last = back.lastBlock();
    EXPECT_DOUBLE_EQ(last.blockFormat().leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(last.blockFormat().textIndent(), -24.0);
}

TEST(RtfWriter, ListsGoOutAsListTableListsThatRestartWhereTheFileRestarted)
{
    const QByteArray rtf =
        "{\\rtf1 {\\listtext (iv)\\tab}\\pard\\ls1 r1\\par{\\listtext (v)\\tab}\\pard\\ls1 r2\\par"
        "{\\listtext a)\\tab}\\pard\\ls1\\ilvl1 sub\\par{\\listtext (vi)\\tab}\\pard\\ls1 r3\\par"
        "{\\listtext a)\\tab}\\pard\\ls1\\ilvl1 sub again\\par"
        "{\\listtext b)\\tab}\\pard\\ls2 x\\par{\\listtext 1.\\tab}\\pard\\ls3 n1\\par"
        "\\pard gap\\par{\\listtext 1.\\tab}\\pard\\ls3 n1 again\\par"
        "{\\listtext \\u8226?\\tab}\\pard\\ls4 dot\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc).ok);
    const QByteArray out = writeRtf(doc);
    // Five runs of markers that follow on: (iv)-(vi) with its sub-items,
    // b), 1., after the gap 1. again, and the bullet.
    EXPECT_TRUE(out.contains("{\\*\\listtable")) << out.constData();
    EXPECT_TRUE(out.contains("\\ls5\\ilvl0"));
    EXPECT_FALSE(out.contains("\\ls6"));
    EXPECT_TRUE(out.contains("\\levelnfc2\\leveljc0\\levelfollow0\\levelstartat4{\\leveltext\\'03(\\'00);}"));
    QTextDocument back;
    ASSERT_TRUE(readRtf(out, &back).ok);
    EXPECT_EQ(plainText(back), plainText(doc));
    EXPECT_EQ(plainText(back), QString::fromUtf8("    (iv) r1\n    (v) r2\n        a) sub\n    (vi) r3\n        a) sub again\n"
                                                 "    b) x\n    1. n1\ngap\n    1. n1 again\n    • dot\n"));
}

TEST(RtfWriter, OutlineNumbersGoOutAsNumbersOfTheLevelsAbove)
{
    // "2.1." under "2." is a number of two levels for readers that number
    // lists themselves; "7.1." under "2." is not and stays a marker of its own,
    // as do "4.01" and "04.2", which a level's plain numbers would not give.
    const QByteArray rtf =
        "{\\rtf1 {\\listtext 1.\\tab}\\pard\\ls1 a\\par{\\listtext 2.\\tab}\\pard\\ls1 b\\par"
        "{\\listtext 2.1.\\tab}\\pard\\ls1\\ilvl1 b1\\par{\\listtext 2.2.\\tab}\\pard\\ls1\\ilvl1 b2\\par"
        "{\\listtext i)\\tab}\\pard\\ls1\\ilvl2 b2i\\par{\\listtext 3.\\tab}\\pard\\ls1 c\\par"
        "{\\listtext 3.1.\\tab}\\pard\\ls1\\ilvl1 c1\\par{\\listtext 7.1.\\tab}\\pard\\ls1\\ilvl1 odd\\par"
        "{\\listtext 09.\\tab}\\pard\\ls2 zero\\par{\\listtext 10.\\tab}\\pard\\ls2 ten\\par"
        "{\\listtext 007\\tab}\\pard\\ls2 agent\\par{\\listtext iiii.\\tab}\\pard\\ls2 tally\\par"
        "{\\listtext 99999)\\tab}\\pard\\ls2 big\\par{\\listtext 0.\\tab}\\pard\\ls2 nought\\par"
        "{\\listtext 0.\\tab}\\pard\\ls2 nought again\\par"
        "{\\listtext 4.\\tab}\\pard\\ls3 d\\par{\\listtext 4.01\\tab}\\pard\\ls3\\ilvl1 zero\\par"
        "{\\listtext 04.2\\tab}\\pard\\ls3\\ilvl1 zero above\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc).ok);
    const QByteArray out = writeRtf(doc);
    EXPECT_TRUE(out.contains("{\\leveltext\\'04\\'00.\\'01.;}{\\levelnumbers\\'01\\'03;}\\levellegal1")) << out.constData();
    EXPECT_TRUE(out.contains("\\levelnfc2")) << "a list from i) counts in roman numerals";
    EXPECT_TRUE(out.contains("\\levelnfc22")) << "09. counts with a leading zero";
    QTextDocument back;
    ASSERT_TRUE(readRtf(out, &back).ok);
    EXPECT_EQ(plainText(back).toStdString(),
              "    1. a\n    2. b\n        2.1. b1\n        2.2. b2\n            i) b2i\n    3. c\n        3.1. c1\n"
              "        7.1. odd\n    09. zero\n    10. ten\n    007 agent\n    iiii. tally\n"
              "    99999) big\n    0. nought\n    0. nought again\n    4. d\n        4.01 zero\n        04.2 zero above\n");
}

TEST(RtfWriter, PicturesGoOutAtTheirSizeAndComeBackTheSame)
{
    // A PNG read from a file, a JPEG, an image the word processor inserted as
    // a QImage, and a metafile shown as a placeholder.
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png, jpeg;
    QBuffer pngBuffer(&png), jpegBuffer(&jpeg);
    pngBuffer.open(QIODevice::WriteOnly);
    jpegBuffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(red.save(&pngBuffer, "PNG"));
    const bool haveJpeg = red.save(&jpegBuffer, "JPEG");
    const QByteArray rtf = "{\\rtf1 a{\\pict\\pngblip\\picwgoal600\\pichgoal300 " + png.toHex() + "}b"
        + (haveJpeg ? "{\\pict\\jpegblip\\picwgoal900\\pichgoal450 " + jpeg.toHex() + "}" : QByteArray())
        + "c{\\pict\\emfblip\\picw100\\pich50\\picwgoal1500\\pichgoal750 0001feff}d\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc).ok);
    QTextCursor cursor(&doc);
    cursor.movePosition(QTextCursor::End);
    doc.addResource(QTextDocument::ImageResource, QUrl("inserted.png"), red.scaled(10, 10));
    QTextImageFormat inserted;
    inserted.setName("inserted.png");
    cursor.insertImage(inserted);

    const QByteArray out = writeRtf(doc);
    EXPECT_EQ(out.count("{\\pict"), haveJpeg ? 4 : 3);
    QTextDocument back;
    ASSERT_TRUE(readRtf(out, &back).ok);
    EXPECT_EQ(plainText(back), QString("abcd\n"));
    const auto before = rtftest::images(doc);
    const auto after = rtftest::images(back);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(after[i].property(PictureDataProperty), before[i].property(PictureDataProperty));
        EXPECT_EQ(after[i].property(PictureHeaderProperty), before[i].property(PictureHeaderProperty));
        const QVariant data = back.resource(QTextDocument::ImageResource, QUrl(after[i].name()));
        if (before[i].hasProperty(PictureDataProperty)) {
            EXPECT_DOUBLE_EQ(after[i].width(), 100.0);
            EXPECT_DOUBLE_EQ(after[i].height(), 50.0);
            continue;
        }
        // Read pictures keep their bytes; the inserted one became a PNG of its pixels.
        if (i + 1 < after.size()) {
            EXPECT_EQ(data.toByteArray(), doc.resource(QTextDocument::ImageResource, QUrl(before[i].name())).toByteArray());
        }
        QImage image;
        ASSERT_TRUE(image.loadFromData(data.toByteArray()));
        EXPECT_EQ(image.size(), i + 1 < after.size() ? QSize(40, 20) : QSize(10, 10));
        EXPECT_DOUBLE_EQ(after[i].width(), i + 1 < after.size() ? 40.0 * (i == 0 ? 1 : 1.5) : 10.0);
    }
    // The other pictures were checked; say that the JPEG one was not.
    if (!haveJpeg)
        GTEST_SKIP() << "Qt's JPEG image plugin (imageformats/libqjpeg, in libqt6gui6) is not installed";
}

TEST(RtfFile, SaveAndLoadReportErrorsAsValues)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QTextDocument doc;
    QTextCursor(&doc).insertText("Saved text");
    QString error;
    const QString path = dir.filePath("letter.rtf");
    ASSERT_TRUE(saveRtfFile(path, doc, &error)) << error.toStdString();

    // Saving replaces an existing file.
    QTextDocument other;
    QTextCursor(&other).insertText("Second");
    ASSERT_TRUE(saveRtfFile(path, other, &error));
    QTextDocument loaded;
    ASSERT_TRUE(loadRtfFile(path, &loaded, &error)) << error.toStdString();
    EXPECT_EQ(plainText(loaded), QString("Second\n"));

    // A damaged file loads with what could be read, and says what was wrong.
    QFile cut(dir.filePath("cut.rtf"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write("{\\rtf1 kept text\\par {\\b and more");
    cut.close();
    QStringList warnings;
    ASSERT_TRUE(loadRtfFile(cut.fileName(), &loaded, &error, {}, &warnings));
    EXPECT_EQ(plainText(loaded), QString("kept text\nand more\n"));
    EXPECT_EQ(warnings.size(), 1);

    EXPECT_FALSE(loadRtfFile(dir.filePath("missing.rtf"), &loaded, &error));
    EXPECT_EQ(error, QString("File not found"));
    EXPECT_FALSE(loadRtfFile(dir.filePath("no/such/dir/x.rtf"), &loaded, &error));
    EXPECT_EQ(error, QString("Path not found"));
    EXPECT_FALSE(saveRtfFile(dir.filePath("no/such/dir/x.rtf"), doc, &error));
    EXPECT_EQ(error, QString("Path not found"));
    EXPECT_FALSE(loadRtfFile(dir.path(), &loaded, &error));
    EXPECT_FALSE(error.isEmpty());

    QFile text(dir.filePath("plain.rtf"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just words\r\nCaf\xe9");
    text.close();
    // Not RTF at all: read as Windows-1252 text, with a warning.
    warnings.clear();
    EXPECT_TRUE(loadRtfFile(text.fileName(), &loaded, &error, {}, &warnings));
    EXPECT_TRUE(warnings.join(' ').contains("plain text")) << warnings.join(' ').toStdString();
    EXPECT_EQ(plainText(loaded), QString::fromUtf8("just words\nCafé\n"));
}

TEST(RtfFile, AFileWeMayNotReadOrWriteSaysPermissionDeniedAndStaysWhole)
{
    if (!lexitest::permissionsBind())
        GTEST_SKIP() << lexitest::kRootSkip;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QTextDocument doc;
    QTextCursor(&doc).insertText("Second");
    QString error;
    const QString path = dir.filePath("letter.rtf");
    ASSERT_TRUE(saveRtfFile(path, doc, &error)) << error.toStdString();
    QTextDocument loaded;

    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
    EXPECT_FALSE(loadRtfFile(path, &loaded, &error));
    EXPECT_EQ(error, QString("Permission denied"));

    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    QTextDocument other;
    QTextCursor(&other).insertText("Replaced");
    EXPECT_FALSE(saveRtfFile(path, other, &error));
    EXPECT_EQ(error, QString("Permission denied"));
    ASSERT_TRUE(loadRtfFile(path, &loaded, &error));
    EXPECT_EQ(plainText(loaded), QString("Second\n"));
}

TEST(RtfWriter, ThePageAFileAsksForIsReadAndWrittenBack)
{
    QTextDocument doc;
    ASSERT_TRUE(readRtf("{\\rtf1\\ansi\\paperw11906\\paperh16838\\margl1134\\margr1701\\margt567\\margb-5 Text\\par}",
                        &doc)
                    .ok);
    const QTextFrameFormat page = doc.rootFrame()->frameFormat();
    EXPECT_EQ(page.intProperty(PaperWidthProperty), 11906);
    EXPECT_EQ(page.intProperty(PaperHeightProperty), 16838);
    EXPECT_EQ(page.intProperty(PageMarginLeftProperty), 1134);
    EXPECT_EQ(page.intProperty(PageMarginRightProperty), 1701);
    EXPECT_EQ(page.intProperty(PageMarginTopProperty), 567);
    // A negative margin is damage and is left out.
    EXPECT_FALSE(page.hasProperty(PageMarginBottomProperty));
    // Reading the page is nothing the user could undo.
    EXPECT_FALSE(doc.isUndoAvailable());
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("Text"));

    const QByteArray out = writeRtf(doc);
    EXPECT_TRUE(out.contains("\\paperw11906\\paperh16838\\margl1134\\margr1701\\margt567")) << out.constData();
    // The settings come back as they were read, damage and all.
    EXPECT_TRUE(out.contains("\\margb-5"));
    QTextDocument back;
    ASSERT_TRUE(readRtf(out, &back).ok);
    EXPECT_EQ(back.rootFrame()->frameFormat().intProperty(PageMarginLeftProperty), 1134);

    // A document that kept no settings of its own writes the page its root
    // frame gives.
    QTextDocument made;
    made.setPlainText(QStringLiteral("x"));
    made.rootFrame()->setFrameFormat(page);
    const QByteArray madeOut = writeRtf(made);
    EXPECT_TRUE(madeOut.contains("\\paperw11906\\paperh16838\\margl1134\\margr1701\\margt567")) << madeOut.constData();
    EXPECT_FALSE(madeOut.contains("\\margb"));

    // A document that never had a page writes none.
    QTextDocument plain;
    plain.setPlainText(QStringLiteral("x"));
    EXPECT_FALSE(writeRtf(plain).contains("\\margl"));
}

TEST(RtfWriter, LetterMarkersPastZAreNumbersAndOtherLettersText)
{
    // "aa." after "z." counts on as a letter number; "ab." is no number.
    QByteArray rtf = "{\\rtf1";
    for (const char* label : {"y.", "z.", "aa.", "bb.", "ab."})
        rtf += QByteArray("\\pard\\ls9\\ilvl0 {\\listtext ") + label + "\\tab}item\\par";
    rtf += "}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc).ok);
    const QByteArray out = writeRtf(doc);
    EXPECT_TRUE(out.contains("\\levelnfc4")) << out.toStdString();
    QTextDocument back;
    ASSERT_TRUE(readRtf(out, &back).ok);
    EXPECT_EQ(plainText(back).toStdString(), "    y. item\n    z. item\n    aa. item\n    bb. item\n    ab. item\n");
}

TEST(RtfWriter, MarkersInSymbolFontsReadBackAsTheSameCharacters)
{
    // Markers of 200 characters or more go back as \listtext. A symbol font
    // shows a marker's bytes as glyphs even by its name alone, so neither
    // another font's letters nor a glyph's own Unicode may go in it as bytes.
    const QByteArray longText(200, 'x');
    const QByteArray marked[] = {
        // found by fuzzing (style names of a damaged file read into a marker), made small
        "{\\rtf1{\\fonttbl{\\f1 Symbol;}}\\ls1\\listtext\\f1 pr ab\\f Heading 3;" + longText,
        "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f2\\fcharseT2 Wingdings;}}\\pard\\ls2{\\listtext\\f2 \\'6c\\tab"
        "{\\f0 Heading 3;}" + longText + "}Body\\par}",
        // glyphs that are Latin-1 characters at other bytes: \'b4 is the sign
        // U+00D7, \'d3 the copyright sign
        "{\\rtf1{\\fonttbl{\\f1 Symbol;}}\\pard\\ls1{\\listtext\\f1 \\'b4\\'d3 {\\}}1" + longText + "\\tab}Body\\par}",
        // a symbol font by its character set, given after its code page
        "{\\rtf1{\\fonttbl{\\f0 Times;}{\\f1\\cpg1252\\fcharset2 Pi;}}\\pard\\ls1{\\listtext\\f1 a{\\f0 a}\\u72?"
        + longText + "}Body\\par}",
    };
    for (const QByteArray& rtf : marked) {
        SCOPED_TRACE(rtf.constData());
        QTextDocument doc;
        ASSERT_TRUE(readRtf(rtf, &doc).ok);
        const QString text = plainText(doc);
        ASSERT_GT(text.size(), 200);
        const QByteArray out = writeRtf(doc);
        QTextDocument back;
        ASSERT_TRUE(readRtf(out, &back).ok);
        EXPECT_EQ(plainText(back).toStdString(), text.toStdString());
        EXPECT_EQ(plainText(back).count(QChar(0x03B1)), text.count(QChar(0x03B1)));
    }

    // Each part of a marker keeps its font; a glyph goes as its byte, for
    // readers without Unicode too.
    QTextDocument doc;
    ASSERT_TRUE(readRtf(marked[0], &doc).ok);
    const QByteArray out = writeRtf(doc);
    EXPECT_TRUE(out.contains("\\u-3999\\'61")) << out.constData();
    QTextDocument back;
    ASSERT_TRUE(readRtf(out, &back).ok);
    EXPECT_EQ(back.find(QString(QChar(0x03B1))).charFormat().fontFamilies().toStringList(), QStringList{"Symbol"});
    EXPECT_NE(back.find("Heading").charFormat().fontFamilies().toStringList(), QStringList{"Symbol"});
}

TEST(RtfWriter, EverySymbolGlyphHasTheByteThatShowsIt)
{
    for (const SymbolFont font : {SymbolFont::Symbol, SymbolFont::Wingdings}) {
        for (int b = 0x20; b <= 0xFF; ++b) {
            const char16_t glyph = symbolGlyph(font, char16_t(0xF000 + b));
            const int back = symbolByte(font, glyph);
            ASSERT_GE(back, 0x20) << b;
            EXPECT_EQ(symbolGlyph(font, char16_t(0xF000 + back)), glyph) << b;
        }
    }
    // The bullet is the byte other readers show as one.
    EXPECT_EQ(symbolByte(SymbolFont::Symbol, 0x2022), 0xB7);
    EXPECT_EQ(symbolByte(SymbolFont::Wingdings, 0x2022), 0x9F);
    EXPECT_EQ(symbolByte(SymbolFont::Symbol, 'H'), -1);
    EXPECT_EQ(symbolByte(SymbolFont::None, 'a'), -1);
}
