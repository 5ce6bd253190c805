// What a file holds that the document does not show (headers, footers,
// notes, page settings, style sheet, information, section breaks) comes back
// when the document is saved, and edits that make a kept part inconsistent
// leave it out with a warning.
#include "rtfdocument.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace kvx::rtf;

namespace {

// Word's shape: tables, style sheet, information, document and section
// settings, headers and footers, three kinds of note marks, a second
// section in landscape.
const char kDocument[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff3\\deflang1033"
    "{\\fonttbl{\\f3\\froman\\fcharset0 Times New Roman;}{\\f7\\fswiss\\fcharset0 Arial;}"
    "{\\f9\\fnil\\fcharset204 Cyrillic Sans;}}\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\n"
    "{\\stylesheet{\\ql \\f3\\fs24 \\snext0 Normal;}{\\s1\\ql \\sb240\\b\\f7\\fs32 \\sbasedon0 \\snext0 heading 1;}"
    "{\\s15\\f3\\fs20 \\sbasedon0 footnote text;}{\\*\\cs16 \\super footnote reference;}}\n"
    "{\\info{\\title Kept Parts}{\\author Lexivane Tests}}\n"
    "\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1417\\margb1134\\widowctrl\\ftnbj\\aenddoc\n"
    "{\\*\\ftnsep \\pard\\plain \\chftnsep \\par}\n"
    "\\sectd\\pgwsxn11906\\pghsxn16838\\linex0\\headery709\\footery709\\endnhere\n"
    "{\\header \\pard\\plain \\qc\\f3\\fs20 First header\\par}\n"
    "{\\footer \\pard\\plain \\qr\\f3\\fs20 Page footer\\par}\n"
    "\\pard\\plain \\s1\\sb240\\b\\f7\\fs32 Chapter\\par\n"
    "\\pard\\plain \\f3\\fs24 Auto{\\cs16\\super \\chftn}{\\footnote \\pard\\plain \\s15\\f3\\fs20 {\\cs16\\super \\chftn} First note.}"
    " bare{\\footnote \\pard\\plain \\s15\\f3\\fs20 Bare note.}"
    " own{\\cs16\\super *{\\footnote \\pard\\plain \\s15\\f3\\fs20 {\\cs16\\super *} Starred note.}}"
    " end{\\cs16\\super \\chftn}{\\footnote\\ftnalt \\pard\\plain \\s15\\f3\\fs20 {\\cs16\\super \\chftn} End note.}.\\par\n"
    "\\sect\\sectd\\sbkpage\\pgwsxn16838\\pghsxn11906\\lndscpsxn\n"
    "{\\header \\pard\\plain \\qc\\f3\\fs20 Landscape header\\par}\n"
    "\\pard\\plain \\f3\\fs24 {\\cf2 Second} section.\\par\n"
    "}\n";

struct Written {
    QByteArray rtf;
    QStringList warnings;
};

Written write(const QTextDocument& doc)
{
    Written w;
    w.rtf = writeRtf(doc, &w.warnings);
    return w;
}

void read(const QByteArray& rtf, QTextDocument& doc)
{
    const RtfReadResult r = readRtf(rtf, &doc);
    ASSERT_TRUE(r.ok);
    ASSERT_TRUE(r.warnings.isEmpty()) << r.warnings.join("; ").toStdString();
}

QTextCursor find(QTextDocument& doc, const QString& text)
{
    QTextCursor c = doc.find(text);
    EXPECT_FALSE(c.isNull()) << text.toStdString();
    return c;
}

} // namespace

TEST(RtfKeptParts, OpenThenSaveGivesBackWhatIsNotShownInItsPlace)
{
    QTextDocument doc;
    read(kDocument, doc);
    // Marks stay in the text: an automatic number once, the bare note's
    // number, the file's own mark without a number, the endnote's roman.
    EXPECT_EQ(plainText(doc).toStdString(), "Chapter\nAuto1 bare2 own* endi.\nSecond section.\n");

    const Written saved = write(doc);
    EXPECT_TRUE(saved.warnings.isEmpty());
    const QByteArray& rtf = saved.rtf;
    for (const char* part : {
             "{\\fonttbl{\\f3\\froman\\fcharset0 Times New Roman;}{\\f7\\fswiss\\fcharset0 Arial;}",
             "{\\stylesheet{\\ql \\f3\\fs24 \\snext0 Normal;}",
             "{\\info{\\title Kept Parts}{\\author Lexivane Tests}}",
             "\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1417\\margb1134",
             "{\\*\\ftnsep \\pard\\plain \\chftnsep \\par}",
             "\\sectd\\pgwsxn11906\\pghsxn16838\\linex0\\headery709\\footery709\\endnhere",
             "{\\header \\pard\\plain \\qc\\f3\\fs20 First header\\par}{\\footer \\pard\\plain \\qr\\f3\\fs20 Page footer\\par}",
             "\\chftn}{\\footnote \\pard\\plain \\s15\\f3\\fs20 {\\cs16\\super \\chftn} First note.}",
             "\\chftn}{\\footnote \\pard\\plain \\s15\\f3\\fs20 Bare note.}",
             " *{\\footnote \\pard\\plain \\s15\\f3\\fs20 {\\cs16\\super *} Starred note.}}",
             "\\chftn}{\\footnote\\ftnalt \\pard\\plain \\s15\\f3\\fs20 {\\cs16\\super \\chftn} End note.}",
             "\\sect\\sectd\\sbkpage\\pgwsxn16838\\pghsxn11906\\lndscpsxn{\\header \\pard\\plain \\qc\\f3\\fs20 Landscape header\\par}",
             "\\pard\\s1\\ql",
         }) {
        EXPECT_TRUE(rtf.contains(part)) << part << "\n" << rtf.toStdString();
    }
    // The break ends the paragraph before it, as \sect does.
    EXPECT_FALSE(rtf.contains("\\par\n\\sect"));
    // Runs use the file's own font and colour numbers, which the kept parts use.
    EXPECT_TRUE(rtf.contains("{\\f7\\fs32\\b Chapter}"));
    EXPECT_TRUE(rtf.contains("\\cf2 Second}"));

    // Reading the saved file keeps the same parts; saving again changes nothing.
    QTextDocument back;
    read(rtf, back);
    EXPECT_EQ(plainText(back), plainText(doc));
    const KeptParts a = keptParts(doc), b = keptParts(back);
    EXPECT_EQ(a.styleSheet, b.styleSheet);
    EXPECT_EQ(a.info, b.info);
    EXPECT_EQ(a.documentFormat, b.documentFormat);
    EXPECT_EQ(a.firstSection, b.firstSection);
    EXPECT_EQ(b.notes, 4);
    EXPECT_EQ(b.sections, 1);
    EXPECT_EQ(write(back).rtf, rtf);
}

TEST(RtfKeptParts, EditsKeepNotesAndBreaksWhereTheyBelongAndDropOrphans)
{
    QTextDocument doc;
    read(kDocument, doc);

    // Text typed right after a mark takes the mark's format but is text.
    QTextCursor c = find(doc, "Auto1");
    c.clearSelection();
    c.insertText("23");
    // Splitting the second section's paragraph gives two paragraphs of one section.
    c = find(doc, "Second");
    c.clearSelection();
    c.insertBlock();
    Written w = write(doc);
    EXPECT_TRUE(w.warnings.isEmpty());
    EXPECT_EQ(w.rtf.count("First note."), 1);
    EXPECT_EQ(w.rtf.count("\\sect\\sectd"), 1);
    QTextDocument back;
    read(w.rtf, back);
    EXPECT_EQ(plainText(back).toStdString(), "Chapter\nAuto123 bare2 own* endi.\nSecond\n section.\n");

    // Deleting a mark drops its note, and the save says so.
    c = find(doc, "own*");
    c.setPosition(c.position() - 1);
    c.deleteChar();
    w = write(doc);
    EXPECT_FALSE(w.rtf.contains("Starred note."));
    EXPECT_TRUE(w.rtf.contains("Bare note."));
    EXPECT_EQ(w.warnings, QStringList{"A footnote whose mark was deleted or changed was left out."});

    // So does deleting the paragraphs of a section with its break.
    c = find(doc, "Second");
    c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    c.movePosition(QTextCursor::StartOfBlock, QTextCursor::MoveAnchor);
    c.setPosition(c.block().previous().previous().position() + c.block().previous().previous().length() - 1);
    c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    w = write(doc);
    EXPECT_FALSE(w.rtf.contains("Landscape header"));
    EXPECT_TRUE(w.rtf.contains("First header"));
    EXPECT_EQ(w.warnings.size(), 2) << w.warnings.join("; ").toStdString();
}

TEST(RtfKeptParts, TextInAFontOfAnotherCodePageGoesAsUnicode)
{
    QTextDocument doc;
    read("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil Plain;}{\\f1\\fnil\\fcharset0 Western;}}"
         "\\pard\\f0 \\'c6\\f1 \\'e9\\par}",
         doc);
    ASSERT_EQ(plainText(doc).toStdString(), "\u0416\u00e9\n");
    const QByteArray rtf = write(doc).rtf;
    // The kept parts keep the document's code page for their bytes; the
    // text goes as Unicode, which needs none.
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1251\\deff0"));
    EXPECT_TRUE(rtf.contains("\\u1046?")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\u233?"));
    QTextDocument back;
    read(rtf, back);
    EXPECT_EQ(plainText(back), plainText(doc));
}

TEST(RtfKeptParts, DocumentsNotReadFromRtfKeepNothingAndReadingResetsWhatWasKept)
{
    QTextDocument doc;
    read(kDocument, doc);
    EXPECT_FALSE(keptParts(doc).isEmpty());
    read("{\\rtf1\\ansi plain\\par}", doc);
    EXPECT_TRUE(keptParts(doc).isEmpty());
    QTextDocument typed;
    QTextCursor(&typed).insertText("typed");
    const QByteArray rtf = write(typed).rtf;
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl{\\f0\\fnil\\fcharset0 "));
    EXPECT_FALSE(rtf.contains("\\sect"));
}

TEST(RtfKeptParts, LettersInAKeptSymbolFontStayLetters)
{
    // Read before the font table named the font a symbol font, the letters
    // are letters; written back after that table they must stay so.
    QTextDocument doc;
    read("{\\rtf1\\ansi{\\f1 Plain text here}{\\fonttbl{\\f0 Times;}{\\f1\\fcharset2 Symbol;}}\\par}", doc);
    ASSERT_EQ(plainText(doc).toStdString(), "Plain text here\n");
    QTextDocument back;
    read(write(doc).rtf, back);
    EXPECT_EQ(plainText(back), plainText(doc));
}

TEST(RtfKeptParts, StrayAndPlainMarksSurviveASaveAsTheyRead)
{
    // A \chftn whose note never comes keeps its number as text; plain text
    // before a note in a superscript group is no mark of its own.
    for (const char* rtf : {"{\\rtf1{\\chftn\\par\\r{\\footnote a}{\\footnote b}\\par}}",
                            "{\\rtf1\\super{\\plain*}{\\footnote a}\\par}"}) {
        SCOPED_TRACE(rtf);
        QTextDocument doc;
        ASSERT_TRUE(readRtf(QByteArray(rtf), &doc).ok);
        QTextDocument back;
        read(write(doc).rtf, back);
        EXPECT_EQ(plainText(back).toStdString(), plainText(doc).toStdString());
        EXPECT_EQ(write(back).rtf.count("{\\footnote"), 2 - QByteArray(rtf).count("plain"));
    }
}

TEST(RtfKeptParts, ANoteNumberIsNoMarkOfTheNoteAfterIt)
{
    // found by fuzzing: the first note's number, superscript in the group
    // around both notes, was read as the second note's own mark, which left
    // the first note without one and numbered the notes otherwise once saved
    for (const char* rtf : {"{\\rtf{\\super\\c{\\footnote}{\\footnote}}{\\footnote}",
                            "{\\rtf1{\\super{\\footnote a}{\\footnote b}}\\par}"}) {
        SCOPED_TRACE(rtf);
        QTextDocument doc;
        ASSERT_TRUE(readRtf(QByteArray(rtf), &doc).ok);
        const QString text = plainText(doc);
        EXPECT_TRUE(text.startsWith("12")) << text.toStdString();
        const Written written = write(doc);
        EXPECT_EQ(written.rtf.count("{\\footnote"), QByteArray(rtf).count("{\\footnote"));
        QTextDocument back;
        read(written.rtf, back);
        EXPECT_EQ(plainText(back).toStdString(), text.toStdString());
    }
}

TEST(RtfKeptParts, LaterFontAndColourTablesOnlyAddWhatTheFirstLacks)
{
    // Text already read in a font or colour keeps it: a later table that
    // redefined it would make the saved file, which has one table, read
    // otherwise.
    const char* const damaged[] = {
        // found by fuzzing: an unkept first table, then one making font 3 a symbol font
        "{\\rtf\\deff3{\\fonttbl{\\f3q\\fcharset}{{{{}}}}{{\\i{}}}}0{\\fonttbl\\;\\f3\\fcharset2W}",
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}a{\\fonttbl{\\f0\\fcharset2 Symbol;}{\\f5\\fcharset2 Symbol;}}"
        "{\\f0 abc}{\\f5 abc}\\par}",
        // found by fuzzing: a colour table opened after a font name, in a later font table
        "{\\rtf1{\\fonttbl{\\f0 Times;}}{\\fonttbl{\\f1 Name\\colortbl;}}Body\\par}",
        // a \fonttbl inside the table is the same table
        "{\\rtf1{\\fonttbl{\\f0\\fr\\fonttbl oman\\fcharset0 Times;}{\\f1\\fcharset2 Symbol;}}{\\f1 abc}\\par}",
    };
    for (const char* rtf : damaged) {
        SCOPED_TRACE(rtf);
        QTextDocument doc;
        ASSERT_TRUE(readRtf(QByteArray(rtf), &doc).ok);
        const QByteArray written = write(doc).rtf;
        EXPECT_EQ(written.count("{\\fonttbl"), 1);
        QTextDocument back;
        read(written, back);
        EXPECT_EQ(plainText(back).toStdString(), plainText(doc).toStdString());
    }

    QTextDocument doc;
    read("{\\rtf1\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}{\\cf1 a}"
         "{\\fonttbl{\\f0\\fcharset2 Symbol;}{\\f5\\fcharset2 Wingdings;}}"
         "{\\colortbl;\\red0\\green255\\blue0;\\red0\\green0\\blue255;}{\\cf1 b}{\\f5\\cf2 c}\\par}",
         doc);
    QTextDocument back;
    read(write(doc).rtf, back);
    for (QTextDocument* d : {&doc, &back}) {
        EXPECT_EQ(plainText(*d).toStdString(), "ab\uf063\n");
        EXPECT_EQ(find(*d, "b").charFormat().fontFamilies().toStringList(), QStringList{"Arial"});
        EXPECT_EQ(find(*d, "b").charFormat().foreground().color(), QColor(255, 0, 0));
        EXPECT_EQ(find(*d, "\uf063").charFormat().foreground().color(), QColor(0, 0, 255));
    }
}

TEST(RtfKeptParts, NotesInAListLabelTakeNoNumber)
{
    // The label is made again from the list when saved, so a note or mark in
    // it would leave the notes after it numbered otherwise on reading back.
    const char* const labelled[] = {
        // found by fuzzing
        "{\\rtf{\\listtext{\\t\\footnote\\n}}{\\footnote}",
        "{\\rtf1\\pard{\\*\\pn\\pnlvlblt{\\pntxtb -}}{\\pntext -{\\footnote in label}\\tab}"
        "Item{\\super\\chftn}{\\footnote real}\\par}",
        "{\\rtf1{\\listtext{\\super\\chftn}{\\footnote x}1.\\tab}Item{\\footnote real}\\par}",
    };
    for (const char* rtf : labelled) {
        SCOPED_TRACE(rtf);
        QTextDocument doc;
        ASSERT_TRUE(readRtf(QByteArray(rtf), &doc).ok);
        EXPECT_TRUE(plainText(doc).endsWith("1\n")) << plainText(doc).toStdString();
        const QByteArray written = write(doc).rtf;
        EXPECT_EQ(written.count("{\\footnote"), 1);
        QTextDocument back;
        read(written, back);
        EXPECT_EQ(plainText(back).toStdString(), plainText(doc).toStdString());
    }
}

TEST(RtfKeptParts, NewFontsTakeNumbersTheKeptTableLeftFree)
{
    // found by fuzzing: a kept font numbered 2147483647 left no number after it
    for (const char* rtf : {"{\\rtf1{\\fonttbl{\\f0 Times New Roman;}{\\f2147483647 Arial;}}{\\f2147483647 a}b\\par}",
                            "{\\rtf1{\\fonttbl{\\f2147483647 Arial;}{\\f0 Courier;}}{\\f2147483647 a}b\\par}",
                            "{\\rtf1{\\fonttbl{\\f2147483646 Arial;}}{\\f2147483646 a}b\\par}"}) {
        SCOPED_TRACE(rtf);
        QTextDocument doc;
        read(rtf, doc);
        QTextCursor c(&doc);
        c.movePosition(QTextCursor::End);
        QTextCharFormat other;
        other.setFontFamilies(QStringList{"Noto Sans"});
        c.insertText("c", other);
        const QByteArray out = write(doc).rtf;
        EXPECT_FALSE(out.contains("\\f-")) << out.constData();
        QTextDocument back;
        read(out, back);
        EXPECT_EQ(plainText(back).toStdString(), "abc\n");
        EXPECT_EQ(find(back, "a").charFormat().fontFamilies().toStringList(), QStringList{"Arial"});
        EXPECT_EQ(find(back, "c").charFormat().fontFamilies().toStringList(), QStringList{"Noto Sans"});
        EXPECT_NE(find(back, "b").charFormat().fontFamilies().toStringList(), QStringList{"Arial"});
    }
}
