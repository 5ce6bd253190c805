#include "wkvxtest.h"

#include "rtffile.h"

#include "fixedclock.h"

#include <QClipboard>
#include <QDateTime>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>

#include <optional>

using namespace wkvx;
using wkvxtest::FrameTest;

namespace {

void select(QTextEdit* t, int from, int to)
{
    QTextCursor c = t->textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    t->setTextCursor(c);
}

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

    // The marks belong to the frame: another document does not change them.
    frame->mnuFileNew->trigger();
    EXPECT_TRUE(frame->mnuFormatAlignRight->isChecked());
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

TEST_F(FrameTest, CutInOneDocumentPasteInAnotherMovesOnlyTheText)
{
    type(QStringLiteral("keep move keep"));
    select(text(), 5, 9);
    frame->mnuFormatBold->trigger();
    QTest::keyClick(text(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("keep  keep"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("move"));
    frame->mnuFileNew->trigger();
    type(QStringLiteral("[]"));
    select(text(), 1, 1);
    QTest::keyClick(text(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("[move]"));
    EXPECT_LT(formatAt(*text()->document(), 2).fontWeight(), QFont::DemiBold);

    // Rich clipboard content arrives as plain text, and paste replaces the selection.
    auto* mime = new QMimeData;
    mime->setHtml(QStringLiteral("<b>loud</b>"));
    mime->setText(QStringLiteral("loud"));
    QApplication::clipboard()->setMimeData(mime);
    select(text(), 1, 5);
    frame->mnuEditPaste->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("[loud]"));
    EXPECT_LT(formatAt(*text()->document(), 2).fontWeight(), QFont::DemiBold);

    // Copy with nothing selected puts empty text there; lines come out as lines.
    frame->mnuEditCopy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QString());
    text()->moveCursor(QTextCursor::End);
    type(QStringLiteral("\nsecond"));
    text()->selectAll();
    frame->mnuEditCopy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("[loud]\nsecond"));
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
