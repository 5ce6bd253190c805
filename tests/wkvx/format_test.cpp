#include "wkvxtest.h"

#include "rtffile.h"

#include "fixedclock.h"

#include <QClipboard>
#include <QDateTime>
#include <QFontDialog>
#include <QFontInfo>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include <optional>

using namespace wkvx;
using wkvxtest::FrameTest;
using wkvxtest::select;

namespace {

QTextCharFormat formatAt(const QTextDocument& doc, int position)
{
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(position + 1);
    return c.charFormat();
}

}  // namespace

TEST_F(FrameTest, BoldTwiceRestoresTheSelectionAndTheCheckMark)
{
    type(QStringLiteral("plain words"));
    select(text(), 0, 5);
    QTest::keyClick(text(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(text()->selBold());
    EXPECT_TRUE(frame->mnuFormatBold->isChecked());
    EXPECT_GE(formatAt(*text()->document(), 0).fontWeight(), QFont::Bold);
    EXPECT_LT(formatAt(*text()->document(), 7).fontWeight(), QFont::DemiBold);
    frame->mnuFormatBold->trigger();
    EXPECT_FALSE(text()->selBold());
    EXPECT_FALSE(frame->mnuFormatBold->isChecked());

    // A partly bold selection becomes bold as a whole.
    select(text(), 0, 2);
    frame->mnuFormatBold->trigger();
    select(text(), 0, 5);
    EXPECT_FALSE(text()->selBold());
    frame->mnuFormatBold->trigger();
    EXPECT_TRUE(text()->selBold());

    select(text(), 6, 11);
    QTest::keyClick(text(), Qt::Key_I, Qt::ControlModifier);
    QTest::keyClick(text(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(frame->mnuFormatItalic->isChecked());
    EXPECT_TRUE(frame->mnuFormatUnderline->isChecked());
    EXPECT_TRUE(formatAt(*text()->document(), 8).fontItalic());
    EXPECT_TRUE(formatAt(*text()->document(), 8).fontUnderline());
    EXPECT_FALSE(formatAt(*text()->document(), 2).fontItalic());

    // Without a selection the style applies to what is typed next.
    QTextCursor c = text()->textCursor();
    c.movePosition(QTextCursor::End);
    text()->setTextCursor(c);
    frame->mnuFormatUnderline->trigger();
    EXPECT_FALSE(frame->mnuFormatUnderline->isChecked());
    type(QStringLiteral(" end"));
    EXPECT_FALSE(formatAt(*text()->document(), 12).fontUnderline());
    EXPECT_TRUE(formatAt(*text()->document(), 12).fontItalic());
}

TEST_F(FrameTest, AlignmentChecksExactlyOneItemAcrossDocuments)
{
    type(QStringLiteral("first\nsecond"));
    select(text(), 2, 8);
    QTest::keyClick(text(), Qt::Key_R, Qt::ControlModifier);
    const QTextDocument* doc1 = text()->document();
    EXPECT_EQ(doc1->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(doc1->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_TRUE(frame->mnuFormatAlignRight->isChecked());
    EXPECT_FALSE(frame->mnuFormatAlignLeft->isChecked());
    EXPECT_FALSE(frame->mnuFormatAlignCenter->isChecked());

    // The marks follow the paragraph at the caret, in whichever document.
    frmChild* first = active();
    frame->mnuFileNew->trigger();
    EXPECT_TRUE(frame->mnuFormatAlignLeft->isChecked());
    EXPECT_FALSE(frame->mnuFormatAlignRight->isChecked());
    frame->mdiArea->setActiveSubWindow(first);
    EXPECT_TRUE(frame->mnuFormatAlignRight->isChecked());
    frame->mdiArea->setActiveSubWindow(frame->documents().last());
    type(QStringLiteral("middle"));
    QTest::keyClick(text(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("middle"));  // Ctrl+K deletes nothing
    EXPECT_EQ(text()->document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_TRUE(frame->mnuFormatAlignCenter->isChecked());
    EXPECT_FALSE(frame->mnuFormatAlignRight->isChecked());
    frame->mnuFormatAlignLeft->trigger();
    EXPECT_TRUE(frame->mnuFormatAlignLeft->isChecked());
    EXPECT_FALSE(frame->mnuFormatAlignCenter->isChecked());
    EXPECT_EQ(doc1->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST_F(FrameTest, DateAndTimeFollowTheSelectedWord)
{
    // The year's last second, in the C locale the test program runs in: the
    // short date, then the long time with its seconds and without a zone.
    std::optional<lexitest::FixedClock> clock;
    clock.emplace(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)));
    const QString stamp = QStringLiteral("31 Dec 2026 23:59:59");
    type(QStringLiteral("Today is"));
    select(text(), 0, 5);
    QTest::keyClick(text(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("Today") + stamp + QStringLiteral(" is"));
    // The caret ends after the date and time.
    EXPECT_EQ(text()->textCursor().position(), 5 + stamp.size());

    // With nothing selected it goes in at the caret, read from the clock again.
    clock.emplace(QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0)));
    frame->mnuFileNew->trigger();
    frame->mnuExtraInsert->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("1 Jan 2027 00:00:00"));
}

TEST_F(FrameTest, CutAndPasteBetweenDocumentsKeepTheFormattingOtherProgramsGetText)
{
    type(QStringLiteral("keep move keep"));
    select(text(), 5, 9);
    frame->mnuFormatBold->trigger();
    QTest::keyClick(text(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("keep  keep"));
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    EXPECT_EQ(copied->text(), QStringLiteral("move"));
    EXPECT_FALSE(copied->hasHtml());
    EXPECT_TRUE(copied->hasFormat(RichTextBox::kRichMimeType));
    frame->mnuFileNew->trigger();
    type(QStringLiteral("[]"));
    select(text(), 1, 1);
    QTest::keyClick(text(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("[move]"));
    EXPECT_EQ(text()->document()->blockCount(), 1);
    EXPECT_GE(formatAt(*text()->document(), 2).fontWeight(), QFont::Bold);
    EXPECT_LT(formatAt(*text()->document(), 0).fontWeight(), QFont::DemiBold);
    // One undo takes the whole paste back.
    QTest::keyClick(text(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("[]"));

    // Several paragraphs, a list among them, keep theirs too.
    frmChild* target = active();
    const QString listFile = path("list.rtf");
    writeFile(listFile, "{\\rtf1\\ansi{\\*\\listtable{\\list\\listid1{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}"
                        "{\\levelnumbers\\'01;}}}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                        "\\pard\\ls1 {\\i first}\\par\\pard\\ls1 second\\par\\pard\\qr right\\par}");
    frame->loadNewDoc(listFile);
    text()->selectAll();
    frame->mnuEditCopy->trigger();
    frame->mdiArea->setActiveSubWindow(target);
    text()->moveCursor(QTextCursor::End);
    frame->mnuEditPaste->trigger();
    const QString pasted = text()->toPlainText();
    EXPECT_TRUE(pasted.contains(QStringLiteral("first"))) << pasted.toStdString();
    QTextBlock last = text()->document()->lastBlock();
    EXPECT_EQ(last.text(), QStringLiteral("right"));
    EXPECT_EQ(last.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_TRUE(formatAt(*text()->document(), int(pasted.indexOf(QStringLiteral("first")))).fontItalic());
    frame->mnuEditUndo->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("[]"));

    // Rich clipboard content from other programs arrives as plain text, and
    // paste replaces the selection.
    auto* mime = new QMimeData;
    mime->setHtml(QStringLiteral("<b>loud</b>"));
    mime->setText(QStringLiteral("loud"));
    QApplication::clipboard()->setMimeData(mime);
    select(text(), 1, 1);
    frame->mnuEditPaste->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("[loud]"));
    EXPECT_LT(formatAt(*text()->document(), 2).fontWeight(), QFont::DemiBold);
    // A stale formatted copy beside newer text is not used.
    mime = new QMimeData;
    mime->setData(RichTextBox::kRichMimeType, "{\\rtf1 {\\b old}\\par}");
    mime->setText(QStringLiteral("new"));
    QApplication::clipboard()->setMimeData(mime);
    select(text(), 1, 5);
    frame->mnuEditPaste->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("[new]"));
    EXPECT_LT(formatAt(*text()->document(), 2).fontWeight(), QFont::DemiBold);

    // Copy or Cut with nothing selected leaves the clipboard alone; lines
    // come out as lines.
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    QTest::keyClick(text(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
    QTest::keyClick(text(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("[new]"));
    text()->moveCursor(QTextCursor::End);
    type(QStringLiteral("\nsecond"));
    text()->selectAll();
    frame->mnuEditCopy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("[new]\nsecond"));
}

TEST_F(FrameTest, CopyAndPasteKeepTheDocumentsCharacters)
{
    const QString bound = QStringLiteral("10\u00A0km\u2011long");
    type(QStringLiteral("a "));
    text()->textCursor().insertText(bound);
    text()->selectAll();
    EXPECT_EQ(text()->selText(), QStringLiteral("a ") + bound);
    QTest::keyClick(text(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("a ") + bound);
    frame->mnuEditPaste->trigger();
    EXPECT_EQ(text()->document()->toRawText(), QStringLiteral("a ") + bound);

    // A table's edges read as line breaks, as in the document's plain text.
    text()->clear();
    QTextCursor c = text()->textCursor();
    c.insertText(QStringLiteral("before"));
    c.insertTable(1, 2);
    c.insertText(QStringLiteral("cell"));
    text()->selectAll();
    EXPECT_EQ(text()->selText(), text()->toPlainText());
    EXPECT_FALSE(text()->selText().contains(QChar(0xFDD0)));
}

TEST_F(FrameTest, FontDialogAppliesItsChoiceAndCancelChangesNothing)
{
    type(QStringLiteral("styled text"));
    select(text(), 0, 6);
    QFont chosen(QStringLiteral("Liberation Sans"));
    chosen.setPointSize(18);
    chosen.setBold(true);
    chosen.setItalic(true);
    chosen.setStrikeOut(true);
    dialogs.fonts = {chosen};
    frame->mnuExtraFonts->trigger();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].kind, QStringLiteral("font"));
    const QTextCharFormat f = formatAt(*text()->document(), 1);
    EXPECT_EQ(f.fontFamilies().toStringList().value(0), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(f.fontPointSize(), 18);
    EXPECT_TRUE(f.fontItalic());
    EXPECT_TRUE(f.fontStrikeOut());
    EXPECT_FALSE(f.fontUnderline());
    EXPECT_GE(f.fontWeight(), QFont::Bold);

    // The dialog starts from the selection's font; cancelled, nothing changes.
    select(text(), 0, 6);
    frame->mnuExtraFonts->trigger();
    EXPECT_EQ(dialogs.fontShown.family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(dialogs.fontShown.pointSize(), 18);
    select(text(), 7, 11);
    frame->mnuExtraFonts->trigger();
    EXPECT_EQ(formatAt(*text()->document(), 1), f);
    EXPECT_NE(formatAt(*text()->document(), 8).fontPointSize(), 18);
    EXPECT_FALSE(text()->document()->isUndoAvailable() && !active()->hasChanges());
}

namespace {

QList<QTextCharFormat> everyCharFormat(const QTextDocument& doc)
{
    QList<QTextCharFormat> out;
    for (int i = 0; i + 1 < doc.characterCount(); ++i)
        out << formatAt(doc, i);
    return out;
}

}  // namespace

TEST_F(FrameTest, FontDialogOpensOnTheSelectionsFontAndAppliesOnlyWhatChanges)
{
    const QString file = path("heading.rtf");
    writeFile(file, "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}}"
                    "\\f1\\fs32\\b Heading\\b0\\par\\f0\\fs24 Body text\\par}");
    dialogs.fileNames = {file};
    frame->mnufileOpen->trigger();
    ASSERT_TRUE(rec.messages.empty()) << rec.lastText().toStdString();
    const QTextDocument& doc = *text()->document();
    const QList<QTextCharFormat> opened = everyCharFormat(doc);

    // Cancelled: the dialog showed the heading's own font.
    select(text(), 0, 7);
    frame->mnuExtraFonts->trigger();
    EXPECT_EQ(dialogs.fontShown.family(), QStringLiteral("Arial"));
    EXPECT_EQ(dialogs.fontShown.pointSize(), 16);
    EXPECT_TRUE(dialogs.fontShown.bold());
    EXPECT_FALSE(dialogs.fontShown.italic());

    // OK on what it showed changes nothing, over the heading and the body.
    text()->selectAll();
    dialogs.fonts = {std::nullopt};
    frame->mnuExtraFonts->trigger();
    dialogs.fonts = {dialogs.fontShown};
    frame->mnuExtraFonts->trigger();
    EXPECT_TRUE(everyCharFormat(doc) == opened) << "the formats changed";
    EXPECT_FALSE(active()->hasChanges());

    // Only the size changed: the heading stays bold Arial, the body plain Times.
    QFont bigger = dialogs.fontShown;
    bigger.setPointSize(20);
    dialogs.fonts = {bigger};
    frame->mnuExtraFonts->trigger();
    const QTextCharFormat heading = formatAt(doc, 2);
    const QTextCharFormat body = formatAt(doc, 10);
    EXPECT_EQ(heading.fontPointSize(), 20);
    EXPECT_EQ(body.fontPointSize(), 20);
    EXPECT_GE(heading.fontWeight(), QFont::Bold);
    EXPECT_LT(body.fontWeight(), QFont::DemiBold);
    EXPECT_EQ(heading.fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
    EXPECT_EQ(body.fontFamilies().toStringList().value(0), QStringLiteral("Times New Roman"));

    // Text in the document's default font shows that font.
    frame->mnuFileNew->trigger();
    type(QStringLiteral("plain"));
    selectAll();
    frame->mnuExtraFonts->trigger();
    EXPECT_EQ(dialogs.fontShown.family(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(dialogs.fontShown.pointSize(), 12);
    EXPECT_FALSE(dialogs.fontShown.bold());
}

TEST_F(FrameTest, TheRealFontDialogShowsTheFontTheTextIsDrawnInAndOkKeepsIt)
{
    if (!guitest::realFontAvailable())
        GTEST_SKIP() << "no real font installed";
    type(QStringLiteral("plain words"));
    selectAll();
    const QList<QTextCharFormat> before = everyCharFormat(*text()->document());
    const QString drawnIn = QFontInfo(text()->selFont()).family();

    lexi::setDialogProvider(nullptr);
    QFont seen;
    int ticks = 0;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* d = qobject_cast<QFontDialog*>(modal)) {
            seen = d->currentFont();
            d->accept();
        } else if (++ticks > 500 && modal) {
            modal->close();  // the watchdog: never hang the suite
        }
    });
    poll.start();
    frame->mnuExtraFonts->trigger();
    poll.stop();
    lexi::setDialogProvider(&dialogs);

    EXPECT_EQ(seen.family(), drawnIn);
    EXPECT_NE(seen.family(), QStringLiteral("Sans Serif"));
    EXPECT_EQ(seen.pointSize(), 12);
    EXPECT_FALSE(seen.bold());
    EXPECT_TRUE(everyCharFormat(*text()->document()) == before) << "the formats changed";
}

TEST_F(FrameTest, FormattingSurvivesSaveAndReopen)
{
    type(QStringLiteral("Bold italic under\nCentred line\nRight line"));
    select(text(), 0, 4);
    frame->mnuFormatBold->trigger();
    select(text(), 5, 11);
    frame->mnuFormatItalic->trigger();
    select(text(), 12, 17);
    frame->mnuFormatUnderline->trigger();
    select(text(), 20, 22);
    frame->mnuFormatAlignCenter->trigger();
    select(text(), 32, 33);
    frame->mnuFormatAlignRight->trigger();
    QFont big(QStringLiteral("Liberation Mono"));
    big.setPointSize(20);
    select(text(), 18, 25);
    dialogs.fonts = {big};
    frame->mnuExtraFonts->trigger();

    dialogs.fileNames = {path("styled.rtf"), path("styled.rtf")};
    frame->mnuSave->trigger();
    frame->mnufileOpen->trigger();
    ASSERT_TRUE(rec.messages.empty()) << rec.lastText().toStdString();
    const QTextDocument& back = *text()->document();
    EXPECT_EQ(back.toPlainText(), QStringLiteral("Bold italic under\nCentred line\nRight line"));
    EXPECT_GE(formatAt(back, 1).fontWeight(), QFont::DemiBold);
    EXPECT_LT(formatAt(back, 6).fontWeight(), QFont::DemiBold);
    EXPECT_TRUE(formatAt(back, 6).fontItalic());
    EXPECT_TRUE(formatAt(back, 13).fontUnderline());
    EXPECT_FALSE(formatAt(back, 6).fontUnderline());
    EXPECT_EQ(formatAt(back, 19).fontFamilies().toStringList().value(0), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(formatAt(back, 19).fontPointSize(), 20);
    EXPECT_EQ(back.findBlockByNumber(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(back.findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(back.findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}
