#include "wkvxfixture.h"

#include "frmInsert.h"
#include "kavixtools.h"

#include "a11ycheck.h"

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

TEST_F(InsertTest, AMissingDictionaryIsCreatedEmptyAndAMissingFolderLeavesTheListEmpty)
{
    std::filesystem::remove(dictstore::dictionaryPath());
    type(dialog->txtSearchTerm, QStringLiteral("h"));
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_TRUE(std::filesystem::exists(dictstore::dictionaryPath()));

    std::filesystem::remove_all(dictstore::dictionaryPath().parent_path());
    type(dialog->txtSearchTerm, QStringLiteral(" "));
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(dictstore::dictionaryPath().parent_path()));
    EXPECT_TRUE(rec.messages.empty());
    QTest::mouseClick(dialog->cmdInsert, Qt::LeftButton);
    EXPECT_FALSE(dialog && dialog->isVisible());
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
