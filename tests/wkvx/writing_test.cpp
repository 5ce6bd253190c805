// Undo and redo, save and recent files, close, minimised documents and
// check marks that follow the caret.

#include "wkvxtest.h"

#include "frmInsert.h"
#include "kavixtools.h"
#include "recentfiles.h"
#include "rtffile.h"

#include <QApplication>
#include <QClipboard>
#include <QListView>
#include <QPushButton>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>

using namespace wkvx;
using wkvxtest::FrameTest;
using wkvxtest::select;

namespace {

bool boldAt(const QTextEdit* t, int position)
{
    QTextCursor c(t->document());
    c.setPosition(position + 1);
    return c.charFormat().fontWeight() >= QFont::Bold;
}

QStringList recentItems(QMenu* menu)
{
    emit menu->aboutToShow();
    QStringList out;
    for (QAction* a : menu->actions())
        out << a->text();
    return out;
}

}  // namespace

TEST_F(FrameTest, UndoAndRedoTakeBackEachCommandWholeAndAreEnabledOnlyWhenPossible)
{
    EXPECT_FALSE(frame->mnuEditUndo->isEnabled());
    EXPECT_FALSE(frame->mnuEditRedo->isEnabled());
    type(QStringLiteral("alpha beta"));
    EXPECT_TRUE(frame->mnuEditUndo->isEnabled());
    EXPECT_FALSE(frame->mnuEditRedo->isEnabled());

    // Bold, paste over a selection, date and time, font: one step each.
    select(text(), 0, 5);
    QTest::keyClick(text(), Qt::Key_B, Qt::ControlModifier);
    ASSERT_TRUE(boldAt(text(), 1));
    QTest::keyClick(text(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(boldAt(text(), 1));
    EXPECT_TRUE(frame->mnuEditRedo->isEnabled());
    QTest::keyClick(text(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(boldAt(text(), 1));
    QTest::keyClick(text(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(text(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(boldAt(text(), 1));

    QApplication::clipboard()->setText(QStringLiteral("gamma"));
    select(text(), 6, 10);
    QTest::keyClick(text(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("alpha gamma"));
    frame->mnuEditUndo->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("alpha beta"));

    select(text(), 0, 5);
    frame->mnuExtraInsert->trigger();
    EXPECT_NE(text()->toPlainText(), QStringLiteral("alpha beta"));
    frame->mnuEditUndo->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("alpha beta"));

    QFont big(QStringLiteral("Liberation Serif"));
    big.setPointSize(30);
    big.setItalic(true);
    dialogs.fonts = {big};
    select(text(), 0, 10);
    frame->mnuExtraFonts->trigger();
    frame->mnuEditUndo->trigger();
    QTextCursor c(text()->document());
    c.setPosition(8);
    EXPECT_FALSE(c.charFormat().fontItalic());
    EXPECT_NE(c.charFormat().fontPointSize(), 30);

    // Alignment over two paragraphs.
    text()->moveCursor(QTextCursor::End);
    type(QStringLiteral("\nline"));
    select(text(), 2, 13);
    QTest::keyClick(text(), Qt::Key_R, Qt::ControlModifier);
    ASSERT_EQ(text()->document()->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    frame->mnuEditUndo->trigger();
    for (QTextBlock b = text()->document()->begin(); b.isValid(); b = b.next())
        EXPECT_NE(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_TRUE(text()->toPlainText().endsWith(QStringLiteral("\nline")));
    // The typing goes in the steps the box makes of it.
    for (int i = 0; i < 5 && text()->toPlainText() != QStringLiteral("alpha beta"); ++i)
        frame->mnuEditUndo->trigger();
    ASSERT_EQ(text()->toPlainText(), QStringLiteral("alpha beta"));

    // Cut, and a dictionary word inserted after the selection.
    select(text(), 5, 10);
    frame->mnuEditCut->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("alpha"));
    frame->mnuEditUndo->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("alpha beta"));
    guitest::freshRoot();
    guitest::writeDictionary({guitest::record("moon")});
    select(text(), 0, 5);
    frame->mnuInsertKvx->trigger();
    frmInsert* insert = frame->kavixTools()->insertDialog();
    ASSERT_NE(insert, nullptr);
    QTest::keyClicks(insert->txtSearchTerm, QStringLiteral("mo"));
    insert->lstWords->setCurrentIndex(insert->words()->index(0));
    insert->cmdInsert->click();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("alphamoon beta"));
    frame->mnuEditUndo->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("alpha beta"));

    // The items follow the active document.
    frame->mnuFileNew->trigger();
    EXPECT_FALSE(frame->mnuEditUndo->isEnabled());
    EXPECT_FALSE(frame->mnuEditRedo->isEnabled());
    frame->mdiArea->setActiveSubWindow(frame->documents().first());
    EXPECT_TRUE(frame->mnuEditUndo->isEnabled());
    EXPECT_TRUE(frame->mnuEditRedo->isEnabled());

    // With no document nothing can be undone; a new one starts clean.
    for (frmChild* doc : frame->documents()) {
        doc->rtfText->document()->setModified(false);
        doc->close();
    }
    EXPECT_FALSE(frame->mnuEditUndo->isEnabled());
    frame->mnuFileNew->trigger();
    EXPECT_TRUE(frame->mnuEditCut->isEnabled());
    EXPECT_FALSE(frame->mnuEditUndo->isEnabled());
    EXPECT_FALSE(frame->mnuEditRedo->isEnabled());
}

TEST_F(FrameTest, OpenedFilesStartWithNothingToUndo)
{
    const QString file = path("letter.rtf");
    writeFile(file, "{\\rtf1\\ansi\\margl2000 Dear Sir,\\par}");
    dialogs.fileNames = {file};
    frame->mnufileOpen->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("Dear Sir,"));
    EXPECT_FALSE(frame->mnuEditUndo->isEnabled());
    EXPECT_FALSE(text()->document()->isUndoAvailable());
}

TEST_F(FrameTest, SaveWritesToTheDocumentsOwnFileAndAsksOnlyWithoutOne)
{
    // A new document has no file: Save asks as Save As does.
    type(QStringLiteral("Draft"));
    const QString file = path("draft.rtf");
    dialogs.fileNames = {file};
    frame->mnuFileSave->trigger();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].title, QStringLiteral("Save File As"));
    EXPECT_EQ(active()->fileName(), file);
    EXPECT_EQ(active()->windowTitle(), QStringLiteral("Document1"));

    // From then on it goes to that file without a question.
    type(QStringLiteral(" two"));
    QTest::keyClick(text(), Qt::Key_F12, Qt::ShiftModifier);
    EXPECT_EQ(dialogs.asked.size(), 1u);
    QTextDocument back;
    QString error;
    ASSERT_TRUE(kvx::rtf::loadRtfFile(file, &back, &error));
    EXPECT_EQ(back.toPlainText(), QStringLiteral("Draft two"));
    EXPECT_FALSE(active()->hasChanges());
    // Ctrl+S stays Save As and asks every time.
    dialogs.fileNames = {path("copy.rtf")};
    QTest::keyClick(text(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs.asked.size(), 2u);
    EXPECT_TRUE(QFile::exists(path("copy.rtf")));

    // An opened file is saved in place.
    const QString letter = path("letter.rtf");
    writeFile(letter, "{\\rtf1\\ansi Dear Sir,\\par}");
    dialogs.fileNames = {letter};
    frame->mnufileOpen->trigger();
    text()->moveCursor(QTextCursor::End);
    type(QStringLiteral(" hello"));
    frame->mnuFileSave->trigger();
    EXPECT_EQ(dialogs.asked.size(), 3u);
    ASSERT_TRUE(kvx::rtf::loadRtfFile(letter, &back, &error));
    EXPECT_EQ(back.toPlainText(), QStringLiteral("Dear Sir, hello"));

    // A file that could not be read is not the document's own: saving the
    // empty window over it would lose it.
    const QString damaged = path("locked.rtf");
    writeFile(damaged, "");
    QFile::setPermissions(damaged, QFileDevice::WriteOwner);
    frame->loadNewDoc(damaged);
    QFile::setPermissions(damaged, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!rec.messages.empty()) {
        EXPECT_TRUE(active()->fileName().isEmpty());
        frame->mnuFileSave->trigger();
        EXPECT_EQ(dialogs.asked.size(), 4u);
    }

    // A failed save says why and keeps the changes.
    rec.messages.clear();
    frame->mdiArea->setActiveSubWindow(frame->documents().first());
    type(QStringLiteral("!"));
    active()->setFileName(path("gone/draft.rtf"));
    frame->mnuFileSave->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_TRUE(rec.lastText().contains(QStringLiteral("Path not found"))) << rec.lastText().toStdString();
    EXPECT_TRUE(active()->hasChanges());
}

TEST_F(FrameTest, ClosingAChangedDocumentWithAFileSavesItThere)
{
    const QString letter = path("letter.rtf");
    writeFile(letter, "{\\rtf1\\ansi Dear Sir,\\par}");
    frame->loadNewDoc(letter);
    text()->moveCursor(QTextCursor::End);
    type(QStringLiteral(" more"));
    rec.answers = {lexi::MsgAnswer::Yes};
    QTest::keyClick(text(), Qt::Key_F4, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(captions(), QStringList{"Document1"});
    QTextDocument back;
    QString error;
    ASSERT_TRUE(kvx::rtf::loadRtfFile(letter, &back, &error));
    EXPECT_EQ(back.toPlainText(), QStringLiteral("Dear Sir, more"));

    // Ctrl+F4 closes the active document, and only that one.
    frame->mnuFileNew->trigger();
    QTest::keyClick(frame.get(), Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(captions(), QStringList{"Document1"});
}

TEST_F(FrameTest, RecentFilesKeepTheLastEightAndDropMissingOnesWithAMessage)
{
    EXPECT_EQ(recentItems(frame->mnuFileRecent), QStringList{"(no recent files)"});
    QStringList files;
    for (int i = 1; i <= 9; ++i) {
        files << path(QStringLiteral("f%1.rtf").arg(i));
        writeFile(files.last(), "{\\rtf1\\ansi text " + QByteArray::number(i) + "\\par}");
        dialogs.fileNames = {files.last()};
        frame->mnufileOpen->trigger();
    }
    // Newest first, the oldest gone, and kept in the test's own settings.
    QStringList expected;
    for (int i = 9; i >= 2; --i)
        expected << QStringLiteral("&%1 ").arg(10 - i) + files[i - 1];
    EXPECT_EQ(recentItems(frame->mnuFileRecent), expected);
    EXPECT_TRUE(QFileInfo(path("settings/Lexivane/wkvx.conf")).isFile());

    // A saved file goes first; opening one again moves it up, not twice.
    const QString saved = path("saved.rtf");
    dialogs.fileNames = {saved};
    frame->mnuSave->trigger();
    EXPECT_EQ(RecentFiles::files().value(0), saved);
    EXPECT_EQ(RecentFiles::files().size(), RecentFiles::kMaxFiles);

    // Choosing a file that is already open brings its window forward.
    const int windows = frame->documents().size();
    emit frame->mnuFileRecent->aboutToShow();
    frame->mnuFileRecent->actions().at(3)->trigger();  // f7
    EXPECT_EQ(frame->documents().size(), windows);
    EXPECT_EQ(active()->fileName(), files[6]);
    // A file that is not open opens.
    for (frmChild* doc : frame->documents())
        if (doc->fileName() == files[8])
            doc->close();
    emit frame->mnuFileRecent->aboutToShow();
    const int index = RecentFiles::files().indexOf(files[8]);
    ASSERT_GE(index, 0);
    frame->mnuFileRecent->actions().at(index)->trigger();
    EXPECT_EQ(active()->fileName(), files[8]);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("text 9"));
    EXPECT_TRUE(rec.messages.empty());

    // A file gone since: a message, and it leaves the list.
    QFile::remove(files[4]);
    emit frame->mnuFileRecent->aboutToShow();
    frame->mnuFileRecent->actions().at(RecentFiles::files().indexOf(files[4]))->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_TRUE(rec.lastText().contains(files[4]));
    EXPECT_FALSE(RecentFiles::files().contains(files[4]));
    EXPECT_EQ(RecentFiles::files().size(), RecentFiles::kMaxFiles - 1);
}

TEST_F(FrameTest, CheckMarksFollowTheTextAtTheCaret)
{
    type(QStringLiteral("plain bold plain"));
    select(text(), 6, 10);
    frame->mnuFormatBold->trigger();
    QTextCursor c = text()->textCursor();
    c.setPosition(2);
    text()->setTextCursor(c);
    EXPECT_FALSE(frame->mnuFormatBold->isChecked());
    QTest::keyClick(text(), Qt::Key_End);
    EXPECT_FALSE(frame->mnuFormatBold->isChecked());
    c.setPosition(8);
    text()->setTextCursor(c);
    EXPECT_TRUE(frame->mnuFormatBold->isChecked());
    select(text(), 7, 9);
    EXPECT_TRUE(frame->mnuFormatBold->isChecked());
    select(text(), 0, 9);
    EXPECT_FALSE(frame->mnuFormatBold->isChecked());

    // Another document shows its own text's marks.
    c.setPosition(8);
    text()->setTextCursor(c);
    frame->mnuFileNew->trigger();
    EXPECT_FALSE(frame->mnuFormatBold->isChecked());
    frame->mdiArea->setActiveSubWindow(frame->documents().first());
    EXPECT_TRUE(frame->mnuFormatBold->isChecked());
}

TEST_F(FrameTest, AMinimisedDocumentTakesNoTyping)
{
    type(QStringLiteral("first"));
    frmChild* first = active();
    frame->mnuFileNew->trigger();
    frmChild* second = active();
    second->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(active(), first);
    if (QWidget* focus = QApplication::focusWidget())
        QTest::keyClicks(focus, QStringLiteral("x"));
    EXPECT_TRUE(second->rtfText->toPlainText().isEmpty());

    // With every document minimised, typing goes nowhere.
    first->showMinimized();
    QCoreApplication::processEvents();
    QWidget* focus = QApplication::focusWidget();
    EXPECT_NE(focus, first->rtfText);
    EXPECT_NE(focus, second->rtfText);
    if (focus)
        QTest::keyClicks(focus, QStringLiteral("y"));
    EXPECT_FALSE(first->rtfText->toPlainText().contains(QLatin1Char('y')));
    EXPECT_TRUE(second->rtfText->toPlainText().isEmpty());
}
