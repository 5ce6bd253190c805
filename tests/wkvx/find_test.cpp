// Find and Replace in the document, driven through the menu, its keys and
// the dialog's buttons.

#include "wkvxtest.h"

#include "a11ycheck.h"
#include "frmFind.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace wkvx;
using wkvxtest::FrameTest;
using wkvxtest::select;

namespace {

class FindTest : public FrameTest {
protected:
    frmFind* openFind()
    {
        QTest::keyClick(text(), Qt::Key_H, Qt::ControlModifier);
        return frame->findDialog();
    }
    static void setFind(frmFind* f, const QString& find, const QString& replace = {})
    {
        f->txtFind->clear();
        QTest::keyClicks(f->txtFind, find);
        f->txtReplace->clear();
        QTest::keyClicks(f->txtReplace, replace);
    }
    int selectionStart() const { return text()->textCursor().selectionStart(); }
};

}  // namespace

TEST_F(FindTest, CtrlHOpensTheDialogOnTheSelectionAndF3FindsOnWithWrapping)
{
    type(QStringLiteral("The cat sat. the CAT ran. Cathy left."));
    select(text(), 4, 7);
    frmFind* find = openFind();
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isVisible());
    EXPECT_FALSE(find->isModal());
    EXPECT_EQ(find->windowTitle(), QStringLiteral("Find and Replace"));
    EXPECT_EQ(find->txtFind->text(), QStringLiteral("cat"));
    EXPECT_EQ(lexitest::accessibilityProblems(find), QStringList());

    // Any case by default, and words inside words too.
    find->cmdFindNext->click();
    EXPECT_EQ(selectionStart(), 17);
    QTest::keyClick(text(), Qt::Key_F3);
    EXPECT_EQ(text()->selText(), QStringLiteral("Cat"));
    EXPECT_EQ(selectionStart(), 26);
    QTest::keyClick(text(), Qt::Key_F3);
    EXPECT_EQ(selectionStart(), 4);
    EXPECT_TRUE(find->lblStatus->text().contains(QStringLiteral("end of the document")));
    QTest::keyClick(text(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(selectionStart(), 26);
    EXPECT_TRUE(find->lblStatus->text().contains(QStringLiteral("start of the document")));
    QTest::keyClick(text(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(selectionStart(), 17);

    // Match case and whole words narrow it down.
    find->chkMatchCase->setChecked(true);
    setFind(find, QStringLiteral("CAT"));
    select(text(), 0, 0);
    find->cmdFindNext->click();
    EXPECT_EQ(selectionStart(), 17);
    find->cmdFindNext->click();
    EXPECT_EQ(selectionStart(), 17);
    find->chkMatchCase->setChecked(false);
    find->chkWholeWords->setChecked(true);
    setFind(find, QStringLiteral("cat"));
    select(text(), 18, 18);
    find->cmdFindNext->click();
    EXPECT_EQ(selectionStart(), 4);

    // Text that is nowhere leaves the selection and says so.
    setFind(find, QStringLiteral("dog"));
    find->cmdFindNext->click();
    EXPECT_EQ(selectionStart(), 4);
    EXPECT_EQ(find->lblStatus->text(), QStringLiteral("\"dog\" was not found."));
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("The cat sat. the CAT ran. Cathy left."));

    // Closed, F3 goes on with the same search.
    setFind(find, QStringLiteral("sat"));
    QTest::keyClick(find, Qt::Key_Escape);
    EXPECT_FALSE(find->isVisible());
    select(text(), 0, 0);
    QTest::keyClick(text(), Qt::Key_F3);
    EXPECT_EQ(text()->selText(), QStringLiteral("sat"));
    EXPECT_FALSE(find->isVisible());
}

TEST_F(FindTest, F3BeforeAnySearchOpensTheDialog)
{
    type(QStringLiteral("words"));
    QTest::keyClick(text(), Qt::Key_F3);
    ASSERT_NE(frame->findDialog(), nullptr);
    EXPECT_TRUE(frame->findDialog()->isVisible());
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("words"));
}

TEST_F(FindTest, ReplaceChangesTheFoundMatchAndReplaceAllIsOneUndoStepWithACount)
{
    type(QStringLiteral("red fish, Red fish, redder fish"));
    frmFind* find = openFind();
    setFind(find, QStringLiteral("red"), QStringLiteral("blue"));
    find->chkWholeWords->setChecked(true);
    select(text(), 0, 0);

    // The first press finds, the next replaces what was found and finds on.
    find->cmdReplace->click();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("red fish, Red fish, redder fish"));
    EXPECT_EQ(selectionStart(), 0);
    find->cmdReplace->click();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("blue fish, Red fish, redder fish"));
    EXPECT_EQ(text()->selText(), QStringLiteral("Red"));
    QTest::keyClick(text(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("red fish, Red fish, redder fish"));

    // Replace All: every whole word, any case, one message with the count.
    find->cmdReplaceAll->click();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("blue fish, blue fish, redder fish"));
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.lastText(), QStringLiteral("2 replacements made."));
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("Kavix Writer"));
    EXPECT_EQ(find->lblStatus->text(), QStringLiteral("2 replacements made."));
    frame->mnuEditUndo->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("red fish, Red fish, redder fish"));
    frame->mnuEditRedo->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("blue fish, blue fish, redder fish"));

    // A replacement that holds the text found does not go on for ever, and
    // an empty replacement deletes.
    find->chkWholeWords->setChecked(false);
    setFind(find, QStringLiteral("fish"), QStringLiteral("fishes fish"));
    find->cmdReplaceAll->click();
    EXPECT_EQ(text()->toPlainText(),
              QStringLiteral("blue fishes fish, blue fishes fish, redder fishes fish"));
    EXPECT_EQ(rec.lastText(), QStringLiteral("3 replacements made."));
    setFind(find, QStringLiteral(" fishes"));
    find->cmdReplaceAll->click();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("blue fish, blue fish, redder fish"));
    setFind(find, QStringLiteral("whale"), QStringLiteral("x"));
    find->cmdReplaceAll->click();
    EXPECT_EQ(rec.lastText(), QStringLiteral("0 replacements made."));
    EXPECT_FALSE(active()->hasChanges() && !text()->document()->isUndoAvailable());
}

TEST_F(FindTest, TheDialogWorksOnTheDocumentActiveWhenAButtonIsPressed)
{
    type(QStringLiteral("one two"));
    frmFind* find = openFind();
    setFind(find, QStringLiteral("two"), QStringLiteral("2"));
    frame->mnuFileNew->trigger();
    type(QStringLiteral("two two"));
    find->cmdReplaceAll->click();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("2 2"));
    EXPECT_EQ(frame->documents().first()->rtfText->toPlainText(), QStringLiteral("one two"));

    // With no document the dialog says so and nothing breaks.
    for (frmChild* doc : frame->documents()) {
        doc->rtfText->document()->setModified(false);
        doc->close();
    }
    EXPECT_FALSE(find->findNext());
    EXPECT_EQ(find->replaceAll(), 0);
    EXPECT_EQ(find->lblStatus->text(), QStringLiteral("No document is open."));
    EXPECT_FALSE(frame->mnuEditReplace->isEnabled());
}
