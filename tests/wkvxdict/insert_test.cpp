#include "wkvxfixture.h"

#include "frmInsert.h"
#include "kavixtools.h"

#include "a11ycheck.h"
#include "filefaults.h"

#include "folders.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTextCharFormat>

#include <filesystem>

using namespace wkvxtest;
using wkvx::frmInsert;

namespace {

class InsertTest : public WkvxTest {
protected:
    void SetUp() override
    {
        WkvxTest::SetUp();
        guitest::writeDictionary({entry("hat"), entry("  Happy"), entry("h"), entry("ah"), entry("HAZE"), entry("moon"),
                                  entry(""), entry("ham  "), entry("hat"), entry("mop")});
        dialog = new frmInsert(frame.get(), activeText());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
    }

    QStringList listed() const { return rows(dialog->lstWords); }

    const QStringList haWords{"hat", "Happy", "HAZE", "ham", "hat"};
    QPointer<frmInsert> dialog;
};

TEST_F(InsertTest, ListsTheWordsBeginningWithTheKeyInFileOrderWhateverItsCase)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Insert a Word"));
    EXPECT_TRUE(listed().isEmpty());
    type(dialog->txtSearchTerm, QStringLiteral("ha"));
    // Trimmed, duplicates kept; "h" is shorter than the key, "ah" does not begin with it.
    EXPECT_EQ(listed(), haWords);

    dialog->txtSearchTerm->clear();
    type(dialog->txtSearchTerm, QStringLiteral("HA"));
    EXPECT_EQ(listed(), haWords);

    dialog->txtSearchTerm->clear();
    type(dialog->txtSearchTerm, QStringLiteral(" ha  "));
    EXPECT_EQ(listed(), haWords);
    EXPECT_TRUE(dialog->lstWords->selectionModel()->selectedIndexes().isEmpty());
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(InsertTest, DeletingTheLastLetterEmptiesTheListAndSpacesListEveryWord)
{
    type(dialog->txtSearchTerm, QStringLiteral("h"));
    EXPECT_EQ(listed().size(), 6);
    QTest::keyClick(dialog->txtSearchTerm, Qt::Key_Backspace);
    EXPECT_TRUE(listed().isEmpty());

    // Not empty: every record, the blank word as a blank row.
    type(dialog->txtSearchTerm, QStringLiteral("  "));
    EXPECT_EQ(listed(), (QStringList{"hat", "Happy", "h", "ah", "HAZE", "moon", "", "ham", "hat", "mop"}));
}

TEST_F(InsertTest, EveryKeyReleaseRereadsTheFileAndClearsTheChoice)
{
    type(dialog->txtSearchTerm, QStringLiteral("mo"));
    clickRow(dialog->lstWords, 1);
    EXPECT_EQ(dialog->listText(), QStringLiteral("mop"));

    guitest::writeDictionary({entry("moth"), entry("moon")});
    dialog->txtSearchTerm->setFocus();
    QTest::keyClick(dialog->txtSearchTerm, Qt::Key_Left);
    EXPECT_EQ(listed(), (QStringList{"moth", "moon"}));
    EXPECT_TRUE(dialog->listText().isEmpty());

    // Shift alone is a key release too.
    guitest::writeDictionary({entry("mole")});
    QTest::keyClick(dialog->txtSearchTerm, Qt::Key_Shift);
    EXPECT_EQ(listed(), QStringList{"mole"});

    // A held key rebuilds once, when it comes up, not on each repeat.
    guitest::writeDictionary({entry("most")});
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(dialog->txtSearchTerm, &repeat);
    EXPECT_EQ(listed(), QStringList{"mole"});
}

TEST_F(InsertTest, EnterPutsTheChosenWordAfterTheSelectionAndCloses)
{
    setDocument(QStringLiteral("a big sky"), QStringLiteral("big"));
    type(dialog->txtSearchTerm, QStringLiteral("mo"));
    clickRow(dialog->lstWords, 0);
    QTest::keyClick(dialog->lstWords, Qt::Key_Return);
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("a bigmoon sky"));
    EXPECT_FALSE(dialog && dialog->isVisible());
}

TEST_F(InsertTest, TheSelectionKeepsItsOwnFormatting)
{
    setDocument(QStringLiteral("a big sky"));
    QTextCursor c(doc->document());
    c.setPosition(2);
    c.setPosition(4, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.mergeCharFormat(bold);  // "bi" bold, "g" not
    c.setPosition(2);
    c.setPosition(5, QTextCursor::KeepAnchor);
    doc->setTextCursor(c);
    type(dialog->txtSearchTerm, QStringLiteral("moo"));
    clickRow(dialog->lstWords, 0);
    QTest::mouseClick(dialog->cmdInsert, Qt::LeftButton);
    ASSERT_EQ(doc->toPlainText(), QStringLiteral("a bigmoon sky"));
    auto boldAt = [this](int position) {
        QTextCursor at(doc->document());
        at.setPosition(position + 1);
        return at.charFormat().fontWeight() == QFont::Bold;
    };
    EXPECT_TRUE(boldAt(2));
    EXPECT_TRUE(boldAt(3));
    EXPECT_FALSE(boldAt(4));
    EXPECT_EQ(doc->textCursor().position(), 9);
}

TEST_F(InsertTest, InsertWritesToTheDocumentActiveAtTheClick)
{
    setDocument(QStringLiteral("one "));
    QTextEdit other(frame.get());
    other.setPlainText(QStringLiteral("two "));
    other.moveCursor(QTextCursor::End);
    type(dialog->txtSearchTerm, QStringLiteral("haz"));
    clickRow(dialog->lstWords, 0);
    active = &other;
    QTest::mouseClick(dialog->cmdInsert, Qt::LeftButton);
    EXPECT_EQ(other.toPlainText(), QStringLiteral("two HAZE"));
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("one "));
}

TEST_F(InsertTest, InsertWithoutAChoiceOrWithoutADocumentChangesNothingAndCloses)
{
    setDocument(QStringLiteral("keep this"), QStringLiteral("this"));
    type(dialog->txtSearchTerm, QStringLiteral("ha"));
    QTest::mouseClick(dialog->cmdInsert, Qt::LeftButton);
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("keep this"));
    EXPECT_FALSE(dialog && dialog->isVisible());

    auto* again = new frmInsert(frame.get(), activeText());
    again->show();
    active = nullptr;
    type(again->txtSearchTerm, QStringLiteral("ha"));
    clickRow(again->lstWords, 0);
    QTest::mouseClick(again->cmdInsert, Qt::LeftButton);
    EXPECT_FALSE(again->isVisible());
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("keep this"));
    delete again;
}

TEST_F(InsertTest, CancelAndEscCloseWithoutTouchingTheDocument)
{
    setDocument(QStringLiteral("text"), QStringLiteral("text"));
    type(dialog->txtSearchTerm, QStringLiteral("ha"));
    clickRow(dialog->lstWords, 0);
    QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
    EXPECT_FALSE(dialog && dialog->isVisible());

    auto* again = new frmInsert(frame.get(), activeText());
    again->show();
    type(again->txtSearchTerm, QStringLiteral("ha"));
    clickRow(again->lstWords, 0);
    QTest::keyClick(again->lstWords, Qt::Key_Escape);
    EXPECT_FALSE(again->isVisible());
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("text"));
    delete again;
}

TEST_F(InsertTest, EnterInsertsTheOnlyMatchOrTheRowTheKeyboardIsOn)
{
    setDocument(QStringLiteral("the "));
    type(dialog->txtSearchTerm, QStringLiteral("moo"));
    ASSERT_EQ(listed(), QStringList{"moon"});
    QTest::keyClick(dialog->txtSearchTerm, Qt::Key_Return);
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("the moon"));
    EXPECT_FALSE(dialog && dialog->isVisible());

    // Tab into the list: the keyboard stands on its first row.
    auto* again = new frmInsert(frame.get(), activeText());
    again->show();
    again->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(again));
    type(again->txtSearchTerm, QStringLiteral("mo"));
    ASSERT_EQ(rows(again->lstWords), (QStringList{"moon", "mop"}));
    QTest::keyClick(again->txtSearchTerm, Qt::Key_Tab);
    ASSERT_TRUE(again->lstWords->hasFocus());
    // On screen the focus arriving makes the first row current, framed but
    // not selected; offscreen it does not, so it is done as Qt does it.
    if (!again->lstWords->currentIndex().isValid())
        again->lstWords->selectionModel()->setCurrentIndex(again->words()->index(0, 0), QItemSelectionModel::NoUpdate);
    ASSERT_TRUE(again->lstWords->selectionModel()->selectedIndexes().isEmpty());
    QTest::keyClick(again->lstWords, Qt::Key_Return);
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("the moonmoon"));
    EXPECT_FALSE(again->isVisible());
    delete again;
}

TEST_F(InsertTest, AMissingDictionaryIsCreatedEmptyAndOneThatCannotBeReadSaysWhyOnce)
{
    std::filesystem::remove(dictstore::dictionaryPath());
    type(dialog->txtSearchTerm, QStringLiteral("h"));
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_TRUE(std::filesystem::exists(dictstore::dictionaryPath()));
    EXPECT_TRUE(rec.messages.empty());

    // A folder where the file should be: said once for all the keys typed.
    std::filesystem::remove(dictstore::dictionaryPath());
    std::filesystem::create_directory(dictstore::dictionaryPath());
    type(dialog->txtSearchTerm, QStringLiteral("at"));
    EXPECT_TRUE(listed().isEmpty());
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text,
              QStringLiteral("The dictionary %1 cannot be read: Permission denied").arg(lexi::dictionaryFile()));
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("Kavix Writer"));
    EXPECT_EQ(rec.messages[0].icon, lexi::MsgIcon::Exclamation);

    // Readable again, then its folder gone: that is said too.
    std::filesystem::remove(dictstore::dictionaryPath());
    guitest::writeDictionary({entry("hat")});
    QTest::keyClick(dialog->txtSearchTerm, Qt::Key_Backspace);
    QTest::keyClick(dialog->txtSearchTerm, Qt::Key_Backspace);
    EXPECT_EQ(listed(), QStringList{"hat"});
    std::filesystem::remove_all(dictstore::dictionaryPath().parent_path());
    type(dialog->txtSearchTerm, QStringLiteral("a"));
    EXPECT_TRUE(listed().isEmpty());
    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_TRUE(rec.lastText().endsWith(QStringLiteral(": Path not found"))) << rec.lastText().toStdString();
    EXPECT_FALSE(std::filesystem::exists(dictstore::dictionaryPath().parent_path()));
    QTest::mouseClick(dialog->cmdInsert, Qt::LeftButton);
    EXPECT_FALSE(dialog && dialog->isVisible());
}

TEST_F(InsertTest, AReadOnlyDictionaryIsListed)
{
    filefaults::ReadOnlyFolder readOnly(lexi::qpath(dictstore::dictionaryPath().parent_path()));
    ASSERT_TRUE(readOnly.ok());
    type(dialog->txtSearchTerm, QStringLiteral("ha"));
    EXPECT_EQ(listed(), haWords);
    EXPECT_TRUE(rec.messages.empty()) << rec.lastText().toStdString();
}

TEST_F(InsertTest, TheMenuCommandKeepsOneDialogAndBringsItBackAsItWas)
{
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    wkvx::KavixTools tools(frame.get(), activeText());
    tools.insertWord();
    frmInsert* first = tools.insertDialog();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    type(first->txtSearchTerm, QStringLiteral("mo"));

    tools.insertWord();
    EXPECT_EQ(tools.insertDialog(), first);
    EXPECT_EQ(first->txtSearchTerm->text(), QStringLiteral("mo"));
    EXPECT_EQ(rows(first->lstWords), (QStringList{"moon", "mop"}));
    EXPECT_EQ(frame->findChildren<frmInsert*>().size(), 1);

    // Closed, it ends; the next one starts empty.
    QPointer<frmInsert> closed = first;
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    tools.insertWord();
    ASSERT_NE(tools.insertDialog(), nullptr);
    EXPECT_TRUE(tools.insertDialog()->txtSearchTerm->text().isEmpty());
    EXPECT_TRUE(rows(tools.insertDialog()->lstWords).isEmpty());
}

TEST_F(InsertTest, AScreenReaderFindsTheWindowAndNamesItsControls)
{
    type(dialog->txtSearchTerm, QStringLiteral("ha"));
    EXPECT_EQ(lexitest::accessibilityProblems(dialog), QStringList());
    EXPECT_TRUE(dialog->cmdInsert->isDefault());
    EXPECT_EQ(dialog->lstWords->model()->index(1, 0).data(Qt::AccessibleTextRole).toString(), QStringLiteral("Happy"));
}

}  // namespace
