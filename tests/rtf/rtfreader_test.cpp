// Reader tests: each group feeds small RTF texts and checks the document's
// text, structure and formatting as a word processor would show them.
#include "rtfdocument.h"
#include "rtflists.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QUrl>
#include <QElapsedTimer>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

#include "documentimages.h"

using namespace kvx::rtf;

namespace {

QString textOf(const QByteArray& rtf, RtfReadResult* result = nullptr)
{
    QTextDocument doc;
    const RtfReadResult r = readRtf(rtf, &doc);
    if (result)
        *result = r;
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    return plainText(doc);
}

// The character format at the first occurrence of needle.
QTextCharFormat formatAt(QTextDocument& doc, const QString& needle)
{
    const QTextCursor found = doc.find(needle);
    EXPECT_FALSE(found.isNull()) << needle.toStdString();
    QTextCursor c(&doc);
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

QTextTable* firstTable(const QTextDocument& doc)
{
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (auto t = qobject_cast<QTextTable*>(it.currentFrame()))
            return t;
    }
    return nullptr;
}

} // namespace

TEST(RtfReaderText, ParagraphsLinesTabsAndTheTrailingParagraph)
{
    EXPECT_EQ(textOf("{\\rtf1 one\\par two\\line three\\tab four\\par}"), QString("one\ntwo\nthree\tfour\n"));
    // Text after the last \par is a paragraph; an empty one is not.
    EXPECT_EQ(textOf("{\\rtf1 a\\par b}"), QString("a\nb\n"));
    EXPECT_EQ(textOf("{\\rtf1 a\\par\\par}"), QString("a\n\n"));
    // Line ends in the file are not text; a backslash before one is \par.
    EXPECT_EQ(textOf("{\\rtf1 a\r\nb\\\nc}"), QString("ab\nc\n"));
    // \sect, \page and \column end a paragraph with text but add no empty one.
    EXPECT_EQ(textOf("{\\rtf1 a\\page b\\par\\sect c\\column d\\par}"), QString("a\nb\nc\nd\n"));
    // An empty document still has its one empty paragraph.
    EXPECT_EQ(textOf("{\\rtf1}"), QString("\n"));
}

TEST(RtfReaderText, ControlSymbolsAndSpecialCharacters)
{
    EXPECT_EQ(textOf("{\\rtf1 \\\\ \\{x\\} a\\~b c\\-d e\\_f}"),
              QString::fromUtf8("\\ {x} a\u00A0b c\u00ADd e\u2011f\n"));
    EXPECT_EQ(textOf("{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\emspace\\enspace}"),
              QString::fromUtf8("\u2014\u2013\u2022\u2018\u2019\u201C\u201D\u2003\u2002\n"));
    // A delimiting space belongs to the control word; a second one is text.
    EXPECT_EQ(textOf("{\\rtf1 \\b  x\\b0}"), QString(" x\n"));
    // Unknown control words are ignored, their text kept.
    EXPECT_EQ(textOf("{\\rtf1 a\\foo12 b\\Unknown-5 c}"), QString("abc\n"));
}

TEST(RtfReaderCodePages, HexEscapesFollowTheDocumentAndFontCodePage)
{
    EXPECT_EQ(textOf("{\\rtf1\\ansi \\'80\\'93x\\'94 \\'e9\\'ff}"), QString::fromUtf8("€“x” éÿ\n"));
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1250 \\'b9\\'9c\\'e6}"), QString::fromUtf8("ąść\n"));
    // A font's charset overrides the document's code page.
    EXPECT_EQ(textOf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}\\f1 \\'cf\\'f0\\f0 \\'cf}"),
              QString::fromUtf8("Пр\u00CF\n"));
    // Double-byte code pages join the lead byte with the next byte.
    EXPECT_EQ(textOf("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 \\'82\\'a0\\'83A}"),
              QString::fromUtf8("あア\n"));
    // A trail byte that is a backslash or a brace comes escaped; it is still a
    // trail byte, and a backslash after a whole character is a backslash.
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg950 \\'a5\\\\\\'a5\\{\\'a5\\}\\\\x}"), QString::fromUtf8("功叻囚\\x\n"));
    EXPECT_EQ(textOf("{\\rtf1\\mac \\'d1\\'a5}"), QString::fromUtf8("—•\n"));
    // The Symbol font's characters live in U+F000..U+F0FF.
    EXPECT_EQ(textOf("{\\rtf1{\\fonttbl{\\f2\\fcharset2 Symbol;}}{\\f2 a\\'b7}b}"),
              QString::fromUtf8("\uF061\uF0B7b\n"));
}

TEST(RtfReaderCodePages, CodePagesWhoseLettersAreOtherBytesAreRefused)
{
    // EBCDIC (933, 37) and UTF-16 (1200) are no code pages RTF text can be in:
    // a marker's bytes and the body's ASCII would read differently.
    for (const char* cpg : {"933", "37", "1200"}) {
        SCOPED_TRACE(cpg);
        RtfReadResult result;
        EXPECT_EQ(textOf(QByteArray("{\\rtf1\\ansicpg") + cpg + " ab\\'e9}", &result), QString::fromUtf8("abé\n"));
        EXPECT_TRUE(result.warnings.join(' ').contains("not supported"));
        EXPECT_EQ(textOf(QByteArray("{\\rtf1{\\fonttbl{\\f1\\cpg") + cpg + " F;}}\\f1 ab\\'e9}"), QString::fromUtf8("abé\n"));
    }
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg1251 \\'c0b}"), QString::fromUtf8("Аb\n"));

    // found by fuzzing: the marker's level text was read in the code page, the body's ASCII as ASCII
    const QByteArray rtf("{\\rtf{\\fonttbl}\\listtext\\ls1a\\ansicpg933\x01" "9");
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc).ok);
    QTextDocument back;
    ASSERT_TRUE(readRtf(writeRtf(doc), &back).ok);
    EXPECT_EQ(plainText(back).toStdString(), plainText(doc).toStdString());
    EXPECT_EQ(plainText(doc).toStdString(), "    a9 \n");
}

TEST(RtfReaderCodePages, UnicodeEscapesSkipTheirFallback)
{
    EXPECT_EQ(textOf("{\\rtf1 [\\u915G] [\\u8364\\'80] [\\u-3913 ?]}"), QString::fromUtf8("[Γ] [€] [\uF0B7]\n"));
    EXPECT_EQ(textOf("{\\rtf1\\uc2 \\u12354\\'82\\'a0!\\uc0 \\u12354!}"), QString::fromUtf8("あ!あ!\n"));
    // A fallback is cut short by the end of its group.
    EXPECT_EQ(textOf("{\\rtf1\\uc3 {\\u915 a}bc}"), QString::fromUtf8("Γbc\n"));
    // Surrogate pairs arrive as two escapes.
    EXPECT_EQ(textOf("{\\rtf1 \\u-10179?\\u-8704?}"), QString::fromUtf8("\U0001F600\n"));
    // Characters QTextDocument uses for structure never enter as text.
    EXPECT_EQ(textOf("{\\rtf1 a\\u8233?b\\u-560?c\\u0?d}"), QString::fromUtf8("a\uFFFDb\uFFFDcd\n"));
}

TEST(RtfReaderDestinations, NonBodyTextIsSkippedAndFieldResultsKept)
{
    const QByteArray rtf =
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
        "{\\stylesheet{\\s1 Heading;}}{\\info{\\title T}{\\author A}}{\\header H\\par}{\\footer F}"
        "{\\*\\generator Gen;}{\\*\\unknowndest hidden {\\b nested}}"
        "A{\\footnote\\chftn note}B{\\pict\\pngblip 89504e47}C"
        "{\\pict\\bin6 }{}{\\}}D"
        "{\\field{\\*\\fldinst HYPERLINK \"https://example.org/\"}{\\fldrslt link}}"
        "{\\field{\\*\\fldinst SYMBOL 183 \\\\f \"Symbol\"}{\\fldrslt }}"
        "{\\super\\chftn}{\\*\\footnote x}{\\footnote\\ftnalt end}{\\upr{[G]}{\\*\\ud{[\\u915?]}}}}";
    // A note shows as its number where it stands; \\chftn before it is the
    // same number. Endnotes count in roman numerals.
    EXPECT_EQ(textOf(rtf), QString::fromUtf8("A1BCDlink\u00B72i[G][Γ]\n"));

    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc).ok);
    const QTextCharFormat link = formatAt(doc, "link");
    EXPECT_TRUE(link.isAnchor());
    EXPECT_EQ(link.anchorHref(), QString("https://example.org/"));
}

TEST(RtfReaderFormatting, CharacterPropertiesBecomeCharFormats)
{
    const QByteArray rtf =
        "{\\rtf1\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1 Courier New;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "plain {\\b bold} {\\i italic} {\\ul under}{\\ulnone nou} {\\strike gone} {\\f1\\fs20 small}"
        " {\\cf1 red} {\\highlight2 marked} {\\super up} {\\b\\i\\plain reset} {\\b\\b0 off}}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc).ok);
    EXPECT_EQ(formatAt(doc, "plain").fontFamilies().toStringList(), QStringList{"Times New Roman"});
    EXPECT_EQ(formatAt(doc, "plain").fontPointSize(), 12.0);
    EXPECT_EQ(formatAt(doc, "bold").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(doc, "italic").fontItalic());
    EXPECT_TRUE(formatAt(doc, "under").fontUnderline());
    EXPECT_FALSE(formatAt(doc, "nou").fontUnderline());
    EXPECT_TRUE(formatAt(doc, "gone").fontStrikeOut());
    EXPECT_EQ(formatAt(doc, "small").fontFamilies().toStringList(), QStringList{"Courier New"});
    EXPECT_EQ(formatAt(doc, "small").fontPointSize(), 10.0);
    EXPECT_EQ(formatAt(doc, "red").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(doc, "marked").background().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatAt(doc, "up").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatAt(doc, "reset").fontWeight(), QFont::Normal);
    EXPECT_FALSE(formatAt(doc, "reset").fontItalic());
    EXPECT_EQ(formatAt(doc, "off").fontWeight(), QFont::Normal);
    EXPECT_EQ(formatAt(doc, "plain").foreground().style(), Qt::NoBrush);
}

TEST(RtfReaderFormatting, ParagraphPropertiesApplyToTheParagraphTheyEnd)
{
    const QByteArray rtf = "{\\rtf1 \\qc centred\\par\\pard\\qr right\\par\\pard left\\par"
                           "\\pard\\qj\\li1440\\ri720\\fi-360\\sb240\\sa120 just\\par"
                           "{\\pard\\qc grouped\\par}after\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc).ok);
    auto block = [&](int n) { return doc.findBlockByNumber(n).blockFormat(); };
    EXPECT_EQ(block(0).alignment(), Qt::AlignHCenter);
    EXPECT_EQ(block(1).alignment(), Qt::AlignRight);
    EXPECT_EQ(block(2).alignment(), Qt::AlignLeft);
    EXPECT_EQ(block(3).alignment(), Qt::AlignJustify);
    EXPECT_DOUBLE_EQ(block(3).leftMargin(), 96.0);
    EXPECT_DOUBLE_EQ(block(3).rightMargin(), 48.0);
    EXPECT_DOUBLE_EQ(block(3).textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(block(3).topMargin(), 16.0);
    EXPECT_DOUBLE_EQ(block(3).bottomMargin(), 8.0);
    // Paragraph properties set inside a group end with it.
    EXPECT_EQ(block(4).alignment(), Qt::AlignHCenter);
    EXPECT_EQ(block(5).alignment(), Qt::AlignJustify);
}

TEST(RtfReaderStructure, ListMarkersAreTextOfListParagraphsOnly)
{
    const QByteArray rtf =
        "{\\rtf1{\\fonttbl{\\f3\\fcharset2 Symbol;}}Intro\\par"
        "{\\listtext\\pard\\plain\\f3 \\'b7\\tab}\\pard\\ls1\\li720 first\\par"
        "{\\listtext 2.\\tab}\\pard\\ls1\\ilvl1\\li1440 second\\par"
        "{\\pntext\\f3 \\'b7\\tab}\\pard{\\*\\pn\\pnlvlblt\\pnf3{\\pntxtb \\'b7}}old\\par"
        "{\\listtext 9.\\tab}\\pard stale\\par"
        "{\\listtext 3.\\tab}{\\pntext 3.\\tab}\\pard\\ls2 both\\par}";
    EXPECT_EQ(textOf(rtf), QString::fromUtf8("Intro\n    • first\n        2. second\n    • old\nstale\n    3. both\n"));
    // LibreOffice's headings: an outline level without a number keeps the
    // indent; its OpenSymbol bullet U+F095 is a plain bullet.
    EXPECT_EQ(textOf("{\\rtf1 {\\listtext\\pard\\plain \\tab}\\ls1\\ilvl1 Heading\\par"
                     "{\\listtext\\u61589\\'3f\\tab}\\pard\\ls2 item\\par}"),
              QString::fromUtf8("           Heading\n    • item\n"));
}

TEST(RtfReaderStructure, Word95NumberingWithoutMarkersIsNumberedByTheReader)
{
    const QByteArray rtf =
        "{\\rtf1{\\fonttbl{\\f3\\fcharset2 Symbol;}}"
        "{\\*\\pn\\pnlvlbody\\pndec\\pnstart3{\\pntxta .}}one\\par"
        "{\\listtext  \\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}two\\par"
        "{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart4{\\pntxtb (}{\\pntxta )}}roman\\par"
        "{\\*\\pn\\pnlvlblt\\pnf3{\\pntxtb \\'b7}}dot\\par"
        "\\pard plain\\par{\\*\\pn\\pnlvlbody\\pnlcltr\\pnstart2{\\pntxta )}}letter\\par}";
    EXPECT_EQ(textOf(rtf), QString::fromUtf8("    3. one\n    4. two\n    (IV) roman\n    • dot\nplain\n    b) letter\n"));
}

TEST(RtfReaderStructure, TablesBecomeRealTables)
{
    const QByteArray rtf =
        "{\\rtf1 \\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl a\\cell b\\par b2\\cell c\\cell\\row"
        "\\trowd\\cellx1000\\pard\\intbl {\\b d}\\cell\\row\\pard after\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc).ok);
    EXPECT_EQ(plainText(doc), QString("a\nb\nb2\nc\nd\nafter\n"));
    QTextTable* table = firstTable(doc);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 3);
    EXPECT_EQ(table->cellAt(1, 0).firstCursorPosition().block().text(), QString("d"));
    EXPECT_TRUE(table->cellAt(1, 1).format().boolProperty(PaddingCellProperty));
    EXPECT_EQ(formatAt(doc, "d").fontWeight(), QFont::Bold);

    // Text before and after, a row whose writer forgot \intbl, a final table.
    EXPECT_EQ(textOf("{\\rtf1 x\\par\\trowd\\cellx900\\cellx1800\\pard\\intbl p\\cell\\pard q\\cell\\row}"),
              QString("x\np\nq\n\n"));
    // Without \\intbl a row definition makes the table; with neither, a
    // stray cell mark is no table at all.
    EXPECT_EQ(textOf("{\\rtf1 \\trowd\\cellx1000\\cellx2000 a\\cell b\\cell\\row\\pard after\\par}"),
              QString("a\nb\nafter\n"));
    EXPECT_EQ(textOf("{\\rtf1 Y\\cell Z\\par}"), QString("YZ\n"));
    // Nested table cells are paragraphs of their outer cell.
    EXPECT_EQ(textOf("{\\rtf1\\trowd\\cellx5000\\pard\\intbl\\itap2 n1\\nestcell n2\\nestcell"
                     "{\\*\\nesttableprops\\trowd\\cellx900\\cellx1800\\nestrow}{\\nonesttables\\par}"
                     "\\pard\\intbl outer\\cell\\row\\pard\\par}"),
              QString("n1\nn2\nouter\n\n"));
}

TEST(RtfReaderBroken, EmptyIsAnErrorAndTextThatIsNotRtfIsReadAsText)
{
    QTextDocument doc;
    doc.setPlainText("old");
    RtfReadResult r = readRtf(QByteArray("  \r\n"), &doc);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(doc.isEmpty());
    EXPECT_FALSE(readRtf(QByteArray("x"), nullptr).ok);
    // Anything else that does not begin with {\rtf is Windows-1252 text, one
    // paragraph per line whatever the line ends, control characters dropped.
    EXPECT_EQ(textOf("Hello, world", &r), QString("Hello, world\n"));
    EXPECT_FALSE(r.warnings.isEmpty());
    EXPECT_EQ(textOf("  indented\r\n\r\nCaf\xe9 \x93{\\rt}\x94\rlast\x01\tline\n"),
              QString::fromUtf8("  indented\n\nCafé “{\\rt}”\nlast\tline\n"));
    EXPECT_EQ(textOf("{\\rt"), QString("{\\rt\n"));
    // UTF-8 when a byte order mark says so.
    EXPECT_EQ(textOf("\xEF\xBB\xBFna\xC3\xAFve"), QString::fromUtf8("naïve\n"));
    // A byte order mark and white space before the header are tolerated.
    EXPECT_EQ(textOf("\xEF\xBB\xBF \n{\\rtf1 ok}"), QString("ok\n"));
}

TEST(RtfReaderBroken, DamagedFilesGiveWhatCouldBeRead)
{
    RtfReadResult r;
    EXPECT_EQ(textOf("{\\rtf1 one\\par {\\b two", &r), QString("one\ntwo\n"));
    EXPECT_FALSE(r.warnings.isEmpty());
    EXPECT_EQ(textOf("{\\rtf1 a}} trailing {junk", &r), QString("a\n"));
    EXPECT_FALSE(r.warnings.isEmpty());
    // Truncated inside a control word, a hex escape and a \u fallback.
    EXPECT_EQ(textOf("{\\rtf1 a\\par b\\pa"), QString("a\nb\n"));
    EXPECT_EQ(textOf("{\\rtf1 a\\'4"), QString("a\n"));
    EXPECT_EQ(textOf("{\\rtf1 a\\u915"), QString::fromUtf8("aΓ\n"));
    EXPECT_EQ(textOf("{\\rtf1 a\\"), QString("a\n"));
    // An invalid hex escape is dropped with its two characters, as word
    // processors read it; braces and backslashes after it stay structure.
    EXPECT_EQ(textOf("{\\rtf1 x\\'zzy\\'4gz\\'3?w{\\'}v\\'\\b u}", &r), QString("xyzwvu\n"));
    EXPECT_FALSE(r.warnings.isEmpty());
    // Huge parameters are clamped.
    QTextDocument doc;
    ASSERT_TRUE(readRtf(QByteArray("{\\rtf1\\fs999999999999999999 big\\uc99999999999 \\u99999999999 x\\li-99999999999 y\\par}"), &doc).ok);
    EXPECT_LE(formatAt(doc, "big").fontPointSize(), 1638.0);
    EXPECT_GT(formatAt(doc, "big").fontPointSize(), 0.0);
}

TEST(RtfReaderBroken, BinaryLengthsPastTheEndAndBracesInsideBinaryData)
{
    RtfReadResult r;
    EXPECT_EQ(textOf("{\\rtf1 a{\\pict\\bin2147483647 xyz}b}", &r), QString("a\n"));
    EXPECT_FALSE(r.warnings.isEmpty());
    EXPECT_EQ(textOf("{\\rtf1 a\\bin2147483647 xyz}"), QString("a\n"));
    EXPECT_EQ(textOf("{\\rtf1 a\\bin-5 b}"), QString("ab\n"));
    // Binary data may hold braces and backslashes that are not RTF.
    EXPECT_EQ(textOf("{\\rtf1 a{\\pict\\bin4 }{\\\\}b{\\*\\x\\bin3 {{{}c}"), QString("abc\n"));
}

TEST(RtfReaderBroken, DeepNestingAndWideTablesStayBounded)
{
    for (const int depth : {100000, 1000000}) {
        QByteArray rtf = "{\\rtf1 a";
        rtf += QByteArray(depth, '{') + "\\b deep" + QByteArray(depth, '}') + " tail}";
        QElapsedTimer timer;
        timer.start();
        RtfReadResult r;
        EXPECT_EQ(textOf(rtf, &r), QString("adeep tail\n"));
        EXPECT_FALSE(r.warnings.isEmpty());
        EXPECT_LT(timer.elapsed(), 5000);
        // The same depth with no closing braces at all.
        EXPECT_EQ(textOf("{\\rtf1 " + QByteArray(depth, '{') + "x"), QString("x\n"));
    }

    QByteArray wide = "{\\rtf1\\trowd\\pard\\intbl ";
    for (int i = 0; i < 20000; ++i)
        wide += "c\\cell ";
    wide += "\\row\\trowd\\pard\\intbl z\\cell\\row}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(wide, &doc).ok);
    QTextTable* table = firstTable(doc);
    ASSERT_NE(table, nullptr);
    EXPECT_LE(table->columns(), 64);
    EXPECT_EQ(plainText(doc).count('c'), 20000);

    // One wide row, then many one-cell rows: padding them all would turn
    // 270 kB into a million cells; the text comes through all the same.
    QByteArray padded = "{\\rtf1\\trowd\\pard\\intbl " + QByteArray("c\\cell ").repeated(64) + "\\row\n";
    padded += QByteArray("\\intbl x\\cell\\row\n").repeated(15000) + "}";
    QElapsedTimer timer;
    timer.start();
    RtfReadResult r;
    const QString text = textOf(padded, &r);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(text.count('x'), 15000);
    EXPECT_FALSE(r.warnings.isEmpty());
}

TEST(RtfReaderBroken, ManyTableRowsReadInLinearTime)
{
    auto build = [](int rows) {
        QByteArray rtf = "{\\rtf1 ";
        for (int i = 0; i < rows; ++i)
            rtf += "\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row\n";
        return rtf + "}";
    };
    QTextDocument small, large;
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(readRtf(build(2000), &small).ok);
    const qint64 t1 = std::max<qint64>(timer.restart(), 1);
    ASSERT_TRUE(readRtf(build(20000), &large).ok);
    const qint64 t2 = timer.elapsed();
    EXPECT_EQ(firstTable(large)->rows(), 20000);
    // Ten times the rows may not cost a hundred times the time.
    EXPECT_LT(t2, std::max<qint64>(t1 * 40, 2000)) << t1 << " ms vs " << t2 << " ms";
}

TEST(RtfReaderOptions, LibreOfficeSpacesOnlyForMicrosoftFilesAndOnlyOnRequest)
{
    const QByteArray rtf = "{\\rtf1\\ansi a   b\\par  lead\\par trail  \\par {\\b p} {\\i  q}\\par}";
    QTextDocument doc;
    RtfReadOptions lo;
    lo.libreOfficeSpaces = true;
    ASSERT_TRUE(readRtf(rtf, &doc, lo).ok);
    EXPECT_EQ(plainText(doc), QString::fromUtf8("a\u2006 \u2006 \u2006 b\n lead\ntrail\u2006 \u2006 \np  q\n"));
    // Text in a double-byte font, where bytes and ASCII interleave.
    ASSERT_TRUE(readRtf("{\\rtf1{\\fonttbl{\\f1\\fcharset128 M;}}\\f1 \\'82\\'a0 - x  \\'82\\'a0}", &doc, lo).ok);
    EXPECT_EQ(plainText(doc), QString::fromUtf8("あ - x\u2006 \u2006 あ\n"));
    ASSERT_TRUE(readRtf("{\\rtf1{\\*\\generator Microsoft Word 11;}a  b}", &doc, lo).ok);
    EXPECT_EQ(plainText(doc), QString::fromUtf8("a\u2006 \u2006 b\n"));
    ASSERT_TRUE(readRtf("{\\rtf1{\\*\\generator Lexivane;}a  b}", &doc, lo).ok);
    EXPECT_EQ(plainText(doc), QString("a  b\n"));
    ASSERT_TRUE(readRtf(rtf, &doc).ok);
    EXPECT_EQ(plainText(doc), QString("a   b\n lead\ntrail  \np  q\n"));
}

namespace {

// A Word-style list table: list 1 numbered on three levels, list 2 bulleted
// in Symbol, Courier New and Wingdings, list 3 a one-level list, and \ls4
// the first list again with its own format for level 0.
const char* const kListTable =
    "{\\fonttbl{\\f0 Times New Roman;}{\\f1\\fcharset2 Symbol;}{\\f2 Courier New;}{\\f3\\fcharset2 Wingdings;}}"
    "{\\*\\listtable"
    "{\\list{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}"
    "{\\listlevel\\levelnfc4\\levelstartat1\\levelfollow1{\\leveltext\\'04\\'00.\\'01);}{\\levelnumbers\\'01\\'03;}}"
    "{\\listlevel\\levelnfc1\\levellegal1\\levelstartat2\\levelfollow2{\\leveltext\\'05\\'00.\\'01.\\'02;}{\\levelnumbers\\'01\\'03\\'05;}}"
    "\\listid10}"
    "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}{\\levelnumbers;}\\f1}"
    "{\\listlevel\\levelnfc23{\\leveltext\\'01o;}{\\levelnumbers;}\\f2}"
    "{\\listlevel\\levelnfc23{\\leveltext\\'01\\'d8;}{\\levelnumbers;}\\f3}\\listid20}"
    "{\\list\\listsimple{\\listlevel\\levelnfc3\\levelstartat3{\\leveltext\\'03(\\'00);}{\\levelnumbers\\'02;}}\\listid30}}"
    "{\\*\\listoverridetable{\\listoverride\\listid10\\ls1}{\\listoverride\\listid20\\ls2}{\\listoverride\\listid30\\ls3}"
    "{\\listoverride\\listid10\\listoverridecount1{\\lfolevel\\listoverrideformat{\\listlevel\\levelnfc2"
    "{\\leveltext\\'02\\'00:;}{\\levelnumbers\\'01;}}}\\ls4}}";

} // namespace

TEST(RtfReaderLists, MarkersComeFromTheListTableWithTheirCounters)
{
    const QByteArray rtf = QByteArray("{\\rtf1") + kListTable
        + "\\pard\\ls1 one\\par"
          "{\\listtext 7.\\tab}\\pard\\ls1 two, listtext ignored\\par"
          "\\pard\\ls1\\ilvl1 sub\\par\\pard\\ls1\\ilvl1 sub\\par"
          "\\pard\\ls1\\ilvl2 legal\\par"
          "\\pard\\ls1 three\\par\\pard\\ls1\\ilvl1 restarted\\par"
          "\\pard\\ls4 same list, own format\\par"
          "\\pard\\ls3\\ilvl5 simple list\\par"
          "\\pard\\ls9 {\\listtext 42.\\tab}unknown list\\par}";
    EXPECT_EQ(textOf(rtf).toStdString(),
              "    1. one\n    2. two, listtext ignored\n        2.a) sub\n        2.b) sub\n"
              "            2.2.II legal\n    3. three\n        3.a) restarted\n    iv: same list, own format\n"
              "                        (C) simple list\n    42. unknown list\n");
}

TEST(RtfReaderLists, BulletsAreTheGlyphOfTheParagraphsOwnLevel)
{
    // The \listtext is wrong or missing; the level decides, its symbol font
    // turned into the Unicode character the glyph is.
    const QByteArray rtf = QByteArray("{\\rtf1") + kListTable
        + "{\\listtext 1.\\tab}\\pard\\ls2 symbol\\par"
          "{\\listtext\\f1 \\'b7\\tab}\\pard\\ls2\\ilvl1 courier\\par"
          "\\pard\\ls2\\ilvl2 wingdings\\par"
          "\\pard\\ls2\\ilvl7 beyond the last level\\par"
          "{\\listtext\\f1 \\'b7\\u66 ?\\tab}\\pard\\ls9 listtext in Symbol\\par}";
    EXPECT_EQ(textOf(rtf).toStdString(),
              "    \u2022 symbol\n        o courier\n            \u27a2 wingdings\n"
              "                                \u27a2 beyond the last level\n"
              "    \u2022B listtext in Symbol\n");
    // A marker of 59 characters or more: the ';' that ends \levelnumbers is
    // not the offset 59.
    const QString long58 = QString(58, QLatin1Char('x'));
    EXPECT_EQ(textOf("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext\\'3c" + long58.toLatin1()
                     + "yz;}{\\levelnumbers;}}\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                       "\\pard\\ls1 body\\par}"),
              "    " + long58 + "yz body\n");
    // A line break in a level's text stays one, as it does in \listtext.
    EXPECT_EQ(textOf("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext\\'03a\\line b;}{\\levelnumbers;}}"
                     "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\pard\\ls1 x\\par"
                     "{\\listtext a\\line b\\tab}\\pard\\ls7 y\\par}"),
              QString::fromUtf8("    a b x\n    a b y\n"));
    EXPECT_EQ(symbolGlyph(SymbolFont::Wingdings, 0xF0A7), char16_t(0x25AA));
    EXPECT_EQ(symbolGlyph(SymbolFont::Wingdings, 0xFC), char16_t(0x2713));
    EXPECT_EQ(symbolGlyph(SymbolFont::Symbol, 0xF0B7), char16_t(0x2022));
    EXPECT_EQ(symbolGlyph(SymbolFont::Symbol, 'a'), char16_t(0x03B1));
    EXPECT_EQ(symbolGlyph(SymbolFont::None, 'o'), char16_t('o'));
    EXPECT_EQ(symbolFontKind("Wingdings 2", false), SymbolFont::Wingdings);
    EXPECT_EQ(symbolFontKind("Marlett", true), SymbolFont::Symbol);
    EXPECT_EQ(formatListNumber(1994, 1), QString("MCMXCIV"));
    EXPECT_EQ(formatListNumber(28, 4), QString("bb"));  // letters repeat past "z"
    EXPECT_EQ(formatListNumber(53, 3), QString("AAA"));
    EXPECT_EQ(formatListNumber(12, 5), QString("12th"));
    EXPECT_EQ(formatListNumber(22, 5), QString("22nd"));
}

TEST(RtfReaderCodePages, EachByteInTheCodePageOfItsOwnFont)
{
    const QByteArray fonts =
        "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset0 Times New Roman;}{\\f1\\fcharset128 MS Mincho;}"
        "{\\f2 No Charset;}{\\f3\\fcharset204 Arial Cyr;}}";
    // A Western font is Windows-1252 even in a Japanese document; a font
    // without a character set follows the document.
    EXPECT_EQ(textOf(fonts + "\\f0 caf\\'e9 {\\f2 \\'93\\'fa}}"), QString::fromUtf8("café 日\n"));
    // \hich, \dbch and \loch with \af or \f pick the font of the bytes after them.
    EXPECT_EQ(textOf(fonts + "\\loch\\af0\\hich\\af0\\dbch\\af1 {r\\hich\\af0 \\'e9\\loch\\af0 sum\\'e9 "
                             "\\dbch\\f1 \\'93\\'fa\\'96\\'7b\\loch\\f3  \\'cf\\'f0}}"),
              QString::fromUtf8("résumé 日本 Пр\n"));
    // \plain forgets them.
    EXPECT_EQ(textOf(fonts + "\\f2\\hich\\af3 \\'cf{\\plain\\f2\\hich \\'93\\'fa}}"), QString::fromUtf8("П日\n"));
}

namespace {

QByteArray pngBytes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

TEST(RtfReaderPictures, PngAndJpegAreImagesAtTheirSizeOthersAPlaceholder)
{
    const QByteArray png = pngBytes(40, 20);
    const QByteArray rtf = "{\\rtf1 a{\\*\\shppict{\\pict\\pngblip\\picwgoal600\\pichgoal300\\picscalex50 " + png.toHex()
        + "}}{\\nonshppict{\\pict\\wmetafile8 0102}}b{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png
        + "}c{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal0 {\\*\\blipuid 00ff}0a0B 0c}d\\par}";
    QTextDocument doc;
    ASSERT_TRUE(readRtf(rtf, &doc).ok);
    // Pictures have no text.
    EXPECT_EQ(plainText(doc), QString("abcd\n"));
    const auto found = rtftest::images(doc);
    ASSERT_EQ(found.size(), 3u);
    // Goals in twips, scaled; without them the picture's own pixels.
    EXPECT_DOUBLE_EQ(found[0].width(), 20.0);
    EXPECT_DOUBLE_EQ(found[0].height(), 20.0);
    EXPECT_DOUBLE_EQ(found[1].width(), 40.0);
    EXPECT_DOUBLE_EQ(found[1].height(), 20.0);
    for (int i = 0; i < 2; ++i) {
        QImage image;
        EXPECT_TRUE(image.loadFromData(doc.resource(QTextDocument::ImageResource, QUrl(found[i].name())).toByteArray()));
        EXPECT_EQ(image.size(), QSize(40, 20));
    }
    // A metafile: a box of its size (hundredths of a millimetre) that keeps
    // its data for the writer.
    EXPECT_DOUBLE_EQ(found[2].width(), 96.0);
    EXPECT_DOUBLE_EQ(found[2].height(), 48.0);
    EXPECT_FALSE(doc.resource(QTextDocument::ImageResource, QUrl(found[2].name())).value<QImage>().isNull());
    EXPECT_EQ(found[2].property(PictureDataProperty).toByteArray(), QByteArray("\x0a\x0b\x0c"));
    EXPECT_EQ(found[2].property(PictureHeaderProperty).toByteArray(), QByteArray("\\wmetafile8\\picw2540\\pich1270"));
}

namespace {

// Tables nested levels deep as word processors write them: each level's
// cell starts with a paragraph, holds the next level and ends with one.
QByteArray nestedTables(int levels)
{
    QByteArray rtf = "{\\rtf1\\ansi\n\\trowd\\cellx5000\n";
    for (int d = 2; d <= levels; ++d)
        rtf += "\\pard\\intbl\\itap" + QByteArray::number(d) + " before" + QByteArray::number(d) + "\\par\n";
    for (int d = levels; d >= 2; --d)
        rtf += "\\pard\\intbl\\itap" + QByteArray::number(d) + " after" + QByteArray::number(d)
            + "\\nestcell{\\*\\nesttableprops\\trowd\\cellx4000\\nestrow}\n";
    rtf += "\\pard\\intbl\\itap1 Outer cell\\cell\\row\n\\pard After the table\\par}";
    return rtf;
}

} // namespace

TEST(RtfReaderTables, DeepNestingKeepsEveryParagraphInOrderWithCellsOfBoundedLength)
{
    for (const int levels : {30'000, 100'000}) {
        SCOPED_TRACE(levels);
        QTextDocument doc;
        const RtfReadResult r = readRtf(nestedTables(levels), &doc);
        ASSERT_TRUE(r.ok);
        ASSERT_EQ(r.warnings.size(), 1);
        EXPECT_TRUE(r.warnings[0].contains("read as paragraphs")) << r.warnings[0].toStdString();
        // Qt lays a cell out whole: no cell may hold the whole file.
        int tables = 0;
        for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
            if (auto* t = qobject_cast<QTextTable*>(it.currentFrame())) {
                ++tables;
                const QTextTableCell cell = t->cellAt(0, 0);
                const int blocks = cell.lastCursorPosition().block().blockNumber()
                    - cell.firstCursorPosition().block().blockNumber() + 1;
                EXPECT_LE(blocks, 2048);
            }
        }
        EXPECT_EQ(tables, 1);
        const QStringList lines = plainText(doc).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 2 * (levels - 1) + 2);
        EXPECT_EQ(lines[0], "before2");
        EXPECT_EQ(lines[levels - 2], "before" + QString::number(levels));
        EXPECT_EQ(lines[levels - 1], "after" + QString::number(levels));
        EXPECT_EQ(lines[2 * levels - 3], "after2");
        EXPECT_EQ(lines.back(), "After the table");
    }
}
