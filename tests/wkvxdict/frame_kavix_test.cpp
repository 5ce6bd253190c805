// The "&KavixTools" commands in the word processor's frame, from the keys.

#include "wkvxtest.h"

#include "frmInsert.h"
#include "frmReplace.h"
#include "kavixtools.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>

using wkvxtest::FrameTest;

namespace {

class KavixToolsTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        guitest::freshRoot();
        dictstore::WordRecord happy = guitest::record("happy", "feeling joy");
        dictstore::assignField(happy, dictstore::Field::Synonym1, "glad");
        dictstore::assignField(happy, dictstore::Field::Antonym1, "sad");
        guitest::writeDictionary({guitest::record("quick"), happy, guitest::record("quiet")});
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }

    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(text(), Qt::Key(k), mods); }
};

TEST_F(KavixToolsTest, CtrlFReplacesTheSelectedWordAndF9InsertsAWord)
{
    type(QStringLiteral("I am happy"));
    QTextCursor c = text()->textCursor();
    c.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
    text()->setTextCursor(c);
    key(Qt::Key_F, Qt::ControlModifier);
    wkvx::frmReplace* replace = frame->kavixTools()->replaceDialog();
    ASSERT_NE(replace, nullptr);
    EXPECT_EQ(replace->parentWidget(), frame.get());
    EXPECT_EQ(replace->txtFind->text(), QStringLiteral("happy"));
    replace->lstSyno->setCurrentRow(0);
    QTest::mouseClick(replace->cmdSyno, Qt::LeftButton);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("I am glad"));

    // A second document: the word goes where the caret is when Insert is pressed.
    QTest::keyClick(text(), Qt::Key_F9);
    wkvx::frmInsert* insert = frame->kavixTools()->insertDialog();
    ASSERT_NE(insert, nullptr);
    EXPECT_EQ(insert->parentWidget(), frame.get());
    QTest::keyClicks(insert->txtSearchTerm, QStringLiteral("qu"));
    EXPECT_EQ(insert->words()->rowCount(), 2);
    frame->mnuFileNew->trigger();
    ASSERT_EQ(frame->documents().size(), 2);
    frame->mnuInsertKvx->trigger();
    EXPECT_EQ(frame->kavixTools()->insertDialog(), insert);
    EXPECT_EQ(insert->txtSearchTerm->text(), QStringLiteral("qu"));
    insert->lstWords->setCurrentIndex(insert->words()->index(1, 0));
    QTest::mouseClick(insert->cmdInsert, Qt::LeftButton);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("quiet"));
    EXPECT_EQ(frame->documents().first()->rtfText->toPlainText(), QStringLiteral("I am glad"));
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(KavixToolsTest, WithEveryDocumentClosedTheDialogsLeaveTheProgramRunning)
{
    type(QStringLiteral("happy"));
    text()->selectAll();
    frame->mnuFindKvx->trigger();
    frame->mnuInsertKvx->trigger();
    wkvx::frmReplace* replace = frame->kavixTools()->replaceDialog();
    wkvx::frmInsert* insert = frame->kavixTools()->insertDialog();
    ASSERT_NE(replace, nullptr);
    ASSERT_NE(insert, nullptr);

    rec.answers = {lexi::MsgAnswer::No};  // do not save the changes
    frame->documents().first()->close();
    rec.messages.clear();
    ASSERT_EQ(frame->activeText(), nullptr);
    EXPECT_FALSE(frame->mnuFindKvx->isEnabled());

    replace->lstSyno->setCurrentRow(0);
    QTest::mouseClick(replace->cmdSyno, Qt::LeftButton);
    EXPECT_EQ(rec.lastText(), QStringLiteral("No document is open to put the word in."));
    EXPECT_TRUE(replace->isVisible());

    QTest::keyClicks(insert->txtSearchTerm, QStringLiteral("q"));
    insert->lstWords->setCurrentIndex(insert->words()->index(0, 0));
    QTest::mouseClick(insert->cmdInsert, Qt::LeftButton);
    EXPECT_FALSE(insert->isVisible());

    frame->kavixTools()->findSelection();
    EXPECT_EQ(rec.lastText(), QStringLiteral("The word you're looking may not be existing in kavix. No document is open"));
    EXPECT_EQ(rec.messages.back().title, QStringLiteral("Kavix Writer"));
    EXPECT_TRUE(frame->isVisible());
}

}  // namespace
