#include "writingtest.h"

#include "frmReplace.h"
#include "kavixtools.h"
#include "thesaurus.h"
#include "wordmenu.h"

#include "wkvxfixture.h"

#include "dictstore/wordrecord.h"

#include <QListWidget>
#include <QPushButton>
#include <QLineEdit>

using namespace wkvx;
using wkvxtest::WritingTest;
using wkvxtest::shownItems;
using wkvxtest::texts;

namespace {

using dictstore::Field;

dictstore::WordRecord entry(const std::string& word, std::vector<std::string> syn, std::vector<std::string> ant)
{
    dictstore::WordRecord r = guitest::record(word, "the meaning of " + word);
    const Field synFields[] = {Field::Synonym1, Field::Synonym2, Field::Synonym3};
    const Field antFields[] = {Field::Antonym1, Field::Antonym2, Field::Antonym3};
    for (std::size_t i = 0; i < syn.size(); ++i)
        dictstore::assignField(r, synFields[i], syn[i]);
    for (std::size_t i = 0; i < ant.size(); ++i)
        dictstore::assignField(r, antFields[i], ant[i]);
    return r;
}

class WordMenuTest : public WritingTest {
protected:
    void SetUp() override
    {
        WritingTest::SetUp();
        if (IsSkipped())
            return;
        guitest::writeDictionary({
            entry("runner", {"athlete"}, {}),
            entry("run", {"race", "dash"}, {"walk"}),
            entry("happy", {"glad", "cheerful", ""}, {"sad"}),
            entry("Happy", {"duplicate"}, {}),
            entry("mouse", {"rodent"}, {}),
            entry("ugly", {}, {}),
        });
    }
    QMenu* submenu(const char* name) const
    {
        const QList<QAction*> found = shownItems(frame->mnuEdit, QLatin1String(name));
        return found.isEmpty() ? nullptr : found.first()->menu();
    }
};

}  // namespace

TEST_F(WordMenuTest, TheDictionaryFindsTheWordOrItsBaseForm)
{
    EXPECT_EQ(findInThesaurus(QStringLiteral("Running"))->word, QStringLiteral("run"));
    EXPECT_EQ(findInThesaurus(QStringLiteral("runs"))->word, QStringLiteral("run"));
    // The word itself before a base form, the first entry of a word stored twice.
    EXPECT_EQ(findInThesaurus(QStringLiteral("runner"))->word, QStringLiteral("runner"));
    EXPECT_EQ(findInThesaurus(QStringLiteral("HAPPY"))->synonyms, (QStringList{"glad", "cheerful"}));
    EXPECT_EQ(findInThesaurus(QStringLiteral("mice"))->word, QStringLiteral("mouse"));
    EXPECT_FALSE(findInThesaurus(QStringLiteral("zebra")));
    EXPECT_FALSE(findInThesaurus(QString()));
    // Reading never makes a dictionary that is not there.
    std::filesystem::remove(dictstore::dictionaryPath());
    EXPECT_FALSE(findInThesaurus(QStringLiteral("run")));
    EXPECT_FALSE(std::filesystem::exists(dictstore::dictionaryPath()));
}

TEST_F(WordMenuTest, ASuggestionReplacesTheWordInOneUndoStep)
{
    setText(QStringLiteral("We saw teh  dog."));
    QTextCursor c = text()->textCursor();
    c.setPosition(0);
    c.setPosition(2, QTextCursor::KeepAnchor);
    text()->setTextCursor(c);
    rightClickOn(QStringLiteral("teh"));
    const QList<QAction*> suggestions = shownItems(frame->mnuEdit, QStringLiteral("mnuSuggestion"));
    ASSERT_FALSE(suggestions.isEmpty());
    EXPECT_LE(suggestions.size(), Spelling::kMostSuggestions);
    EXPECT_EQ(frame->mnuEdit->actions().first(), suggestions.first());
    // The menu keeps the selection for its own commands.
    EXPECT_EQ(text()->selText(), QStringLiteral("We"));
    EXPECT_EQ(frame->mnuEdit->defaultAction(), frame->mnuEditCopy);
    QAction* the = nullptr;
    for (QAction* a : suggestions)
        if (a->text() == QLatin1String("the"))
            the = a;
    ASSERT_NE(the, nullptr) << texts(suggestions).join(',').toStdString();
    // Chosen as a user does: the menu closes, then the item runs.
    frame->mnuEdit->hide();
    the->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("We saw the  dog."));
    EXPECT_TRUE(wkvxtest::marks(block(0)).isEmpty());
    EXPECT_TRUE(text()->document()->isModified());
    text()->undo();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("We saw teh  dog."));
    // The items were the menu's for this word only.
    QCoreApplication::processEvents();
    EXPECT_TRUE(shownItems(frame->mnuEdit, QStringLiteral("mnuSuggestion")).isEmpty());
    EXPECT_EQ(frame->mnuEdit->actions().first(), frame->mnuEditUndo);
}

TEST_F(WordMenuTest, SynonymsAndAntonymsOfTheBaseFormKeepCaseAndSpaces)
{
    setText(QStringLiteral("They were  Running  home, HAPPY and happy."));
    rightClickOn(QStringLiteral("Running"));
    EXPECT_TRUE(shownItems(frame->mnuEdit, QStringLiteral("mnuSuggestion")).isEmpty());
    QMenu* syn = submenu("mnuSynonyms");
    QMenu* ant = submenu("mnuAntonyms");
    ASSERT_NE(syn, nullptr);
    ASSERT_NE(ant, nullptr);
    EXPECT_EQ(syn->title(), QStringLiteral("S&ynonyms of \u201Crun\u201D"));
    EXPECT_EQ(texts(syn->actions()), (QStringList{"Race", "Dash"}));
    EXPECT_EQ(texts(ant->actions()), QStringList{"Walk"});
    frame->mnuEdit->hide();
    syn->actions().at(1)->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("They were  Dash  home, HAPPY and happy."));
    text()->undo();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("They were  Running  home, HAPPY and happy."));
    QCoreApplication::processEvents();

    rightClickOn(QStringLiteral("HAPPY"));
    EXPECT_EQ(texts(submenu("mnuSynonyms")->actions()), (QStringList{"GLAD", "CHEERFUL"}));
    QAction* sad = submenu("mnuAntonyms")->actions().first();
    frame->mnuEdit->hide();
    sad->trigger();
    rightClickOn(QStringLiteral("happy"));
    QAction* glad = submenu("mnuSynonyms")->actions().first();
    frame->mnuEdit->hide();
    glad->trigger();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("They were  Running  home, SAD and glad."));
    QCoreApplication::processEvents();

    // An entry without synonyms or antonyms offers neither list.
    setText(QStringLiteral("ugly"));
    rightClickOn(QStringLiteral("ugly"));
    EXPECT_EQ(submenu("mnuSynonyms"), nullptr);
    EXPECT_EQ(submenu("mnuAntonyms"), nullptr);
    EXPECT_EQ(shownItems(frame->mnuEdit, QStringLiteral("mnuLookUpWord")).size(), 1);
    closeMenu();
}

TEST_F(WordMenuTest, BlankSpaceOffersOnlyTheEditMenu)
{
    setText(QStringLiteral("happy\n\nend"));
    QTextCursor c(block(1));
    QTest::mouseClick(text()->viewport(), Qt::RightButton, {}, text()->cursorRect(c).center());
    ASSERT_TRUE(frame->mnuEdit->isVisible());
    EXPECT_EQ(frame->mnuEdit->actions().first(), frame->mnuEditUndo);
    closeMenu();
    // Far right of a line's last word is not the word.
    c = QTextCursor(block(0));
    c.movePosition(QTextCursor::EndOfBlock);
    QPoint p = text()->cursorRect(c).center();
    p.rx() += 200;
    QTest::mouseClick(text()->viewport(), Qt::RightButton, {}, p);
    EXPECT_EQ(frame->mnuEdit->actions().first(), frame->mnuEditUndo);
    closeMenu();
}

TEST_F(WordMenuTest, LookUpInKavixOpensReplaceWithOnTheWord)
{
    setText(QStringLiteral("The dog is running fast."));
    rightClickOn(QStringLiteral("running"));
    QAction* lookUp = shownItems(frame->mnuEdit, QStringLiteral("mnuLookUpWord")).value(0);
    ASSERT_NE(lookUp, nullptr);
    EXPECT_EQ(lookUp->text(), QStringLiteral("&Look up in Kavix\tShift+F7"));
    frame->mnuEdit->hide();
    lookUp->trigger();
    frmReplace* replace = frame->kavixTools()->replaceDialog();
    ASSERT_NE(replace, nullptr);
    EXPECT_EQ(replace->txtFind->text(), QStringLiteral("run"));
    EXPECT_EQ(text()->selText(), QStringLiteral("running"));
    // Its replace goes to the word.
    wkvxtest::clickRow(replace->lstSyno, 1);
    replace->cmdSyno->click();
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("The dog is dash fast."));

    // Shift+F7 does the same for the word at the caret.
    frame->activateWindow();
    text()->setFocus();
    setText(QStringLiteral("A happy dog."));
    QTextCursor c = text()->textCursor();
    c.setPosition(4);
    text()->setTextCursor(c);
    QTest::keyClick(text(), Qt::Key_F7, Qt::ShiftModifier);
    replace = frame->kavixTools()->replaceDialog();
    ASSERT_NE(replace, nullptr);
    EXPECT_EQ(replace->txtFind->text(), QStringLiteral("happy"));
    EXPECT_EQ(text()->selText(), QStringLiteral("happy"));
    replace->close();

    // A word the dictionary lacks gets the look-up's own message.
    c.setPosition(9);
    text()->setTextCursor(c);
    QTest::keyClick(text(), Qt::Key_F7, Qt::ShiftModifier);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_TRUE(rec.lastText().startsWith(QStringLiteral("The word you're looking may not be existing in kavix.")));
    // And no word at all says so.
    c.setPosition(text()->toPlainText().size());
    text()->setTextCursor(c);
    QTest::keyClick(text(), Qt::Key_Return);
    QTest::keyClick(text(), Qt::Key_F7, Qt::ShiftModifier);
    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_EQ(rec.lastText(), QStringLiteral("There is no word at the caret to look up in Kavix."));
}
