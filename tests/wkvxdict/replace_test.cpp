#include "wkvxfixture.h"

#include "frmReplace.h"
#include "kavixtools.h"

#include "folders.h"

#include "a11ycheck.h"
#include "filefaults.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <filesystem>

using namespace wkvxtest;
using wkvx::frmReplace;

namespace {

const QString kNotFound = QStringLiteral(
    "The word you're looking may not be existing in kavix. Check for leading and trailing whitespaces in the selection ");

class ReplaceTest : public WkvxTest {
protected:
    void SetUp() override
    {
        WkvxTest::SetUp();
        tools = std::make_unique<wkvx::KavixTools>(frame.get(), activeText());
        guitest::writeDictionary({
            entry("sad", "feeling sorrow", {{Field::Synonym1, "unhappy"}, {Field::Antonym1, "happy"}}),
            entry("  happy ", "feeling joy",
                  {{Field::Synonym1, "glad"}, {Field::Synonym2, " cheerful "}, {Field::Synonym3, "Content"},
                   {Field::Antonym1, "sad"}, {Field::Antonym3, "gloomy"}}),
            entry("lone", "by itself", {{Field::Synonym1, "sole"}, {Field::Synonym2, "single"}}),
            entry("HAPPY", "a later entry", {{Field::Synonym1, "merry"}}),
        });
    }

    // Selects `selected` in the document and chooses the menu command.
    frmReplace* lookUp(const QString& text, const QString& selected)
    {
        setDocument(text, selected);
        tools->findSelection();
        return tools->replaceDialog();
    }

    QStringList items(const QListWidget* list) const
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    std::unique_ptr<wkvx::KavixTools> tools;
};

TEST_F(ReplaceTest, TheFirstStoredEntryIsShownForTheSelectionTrimmedOfSpaces)
{
    frmReplace* d = lookUp(QStringLiteral("I am  Happy  today"), QStringLiteral(" Happy "));
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(d->isModal());
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Replace with"));
    EXPECT_EQ(d->txtFind->text(), QStringLiteral("happy"));
    EXPECT_EQ(d->lblMeaning->text(), QStringLiteral("feeling joy"));
    EXPECT_EQ(items(d->lstSyno), (QStringList{"glad", "cheerful", "Content"}));
    EXPECT_EQ(items(d->lstAnto), (QStringList{"sad", "", "gloomy"}));

    clickRow(d->lstSyno, 1);
    QTest::mouseClick(d->cmdSyno, Qt::LeftButton);
    // The selected spaces stay around the word; the dictionary's case is used.
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("I am  cheerful  today"));
    EXPECT_FALSE(d->isVisible());
}

TEST_F(ReplaceTest, SpacesSelectedWithTheWordKeepTheWordsAroundItApart)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("happy "), QStringLiteral("I am glad with it")},
        {QStringLiteral(" happy"), QStringLiteral("I am glad with it")},
        {QStringLiteral("happy"), QStringLiteral("I am glad with it")},
    };
    for (const auto& [selected, result] : cases) {
        SCOPED_TRACE(selected.toStdString());
        frmReplace* d = lookUp(QStringLiteral("I am happy with it"), selected);
        ASSERT_NE(d, nullptr);
        clickRow(d->lstSyno, 0);
        QTest::keyClick(d->lstSyno, Qt::Key_Return);
        EXPECT_EQ(doc->toPlainText(), result);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(ReplaceTest, OnlySpacesAreTrimmedSoALineBreakIsNotFound)
{
    setDocument(QStringLiteral("happy\nnext line"));
    QTextCursor c(doc->document());
    c.setPosition(0);
    c.setPosition(6, QTextCursor::KeepAnchor);
    doc->setTextCursor(c);
    tools->findSelection();
    EXPECT_EQ(tools->replaceDialog(), nullptr);
    ASSERT_EQ(rec.messages.size(), 1u);
    // The word without its line break is one edit away.
    EXPECT_EQ(rec.messages[0].text, kNotFound + QStringLiteral("\nDid you mean: happy"));
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("Kavix Writer"));
    EXPECT_EQ(rec.messages[0].icon, lexi::MsgIcon::Information);
    EXPECT_EQ(rec.messages[0].buttons, lexi::MsgButtons::Ok);

    lookUp(QStringLiteral("a happy\tday"), QStringLiteral("happy\t"));
    EXPECT_EQ(rec.messages.size(), 2u);
    lookUp(QStringLiteral("lonely"), QStringLiteral("lon"));
    EXPECT_EQ(rec.messages.size(), 3u);
    EXPECT_EQ(tools->replaceDialog(), nullptr);
}

TEST_F(ReplaceTest, ReplaceButtonsWantANonBlankLineAndStayOpenUntilThen)
{
    frmReplace* d = lookUp(QStringLiteral("so happy"), QStringLiteral("happy"));
    ASSERT_NE(d, nullptr);
    QTest::mouseClick(d->cmdSyno, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Choose a synonym to insert"));
    EXPECT_EQ(rec.messages[0].icon, lexi::MsgIcon::Exclamation);
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("Kavix Writer"));

    clickRow(d->lstAnto, 1);  // a blank antonym
    QTest::mouseClick(d->cmdAnto, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_EQ(rec.messages[1].text, QStringLiteral("Choose an antonym to insert"));
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("so happy"));

    clickRow(d->lstAnto, 2);
    QTest::mouseClick(d->cmdAnto, Qt::LeftButton);
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("so gloomy"));
    EXPECT_EQ(rec.messages.size(), 2u);
}

TEST_F(ReplaceTest, NotFoundOffersNearWordsAndBaseFormsAfterTheMessage)
{
    guitest::writeDictionary({entry("sad", "feeling sorrow", {}), entry("  happy ", "feeling joy", {}),
                              entry("HAPPY", "a later entry", {}), entry("mouse", "a small rodent", {}),
                              entry("run", "move fast", {})});
    // A transposition, an irregular plural, an irregular verb form (three
    // edits from its base) and a word near nothing.
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral(" Hpapy "), QStringLiteral("\nDid you mean: happy")},
        {QStringLiteral("mice"), QStringLiteral("\nDid you mean: mouse")},
        {QStringLiteral("running"), QStringLiteral("\nDid you mean: run")},
        {QStringLiteral("xylophone"), QString()},
    };
    for (const auto& [selected, offered] : cases) {
        SCOPED_TRACE(selected.toStdString());
        rec.messages.clear();
        EXPECT_EQ(lookUp(QStringLiteral("a") + selected + QStringLiteral("b"), selected), nullptr);
        ASSERT_EQ(rec.messages.size(), 1u);
        EXPECT_EQ(rec.messages[0].text, kNotFound + offered);
        EXPECT_EQ(rec.messages[0].icon, lexi::MsgIcon::Information);
    }
}

TEST_F(ReplaceTest, ALookUpWhileTheDialogIsOpenShowsOnlyTheNewEntry)
{
    frmReplace* d = lookUp(QStringLiteral("happy and lone"), QStringLiteral("happy"));
    ASSERT_NE(d, nullptr);
    clickRow(d->lstSyno, 0);
    EXPECT_EQ(lookUp(QStringLiteral("happy and lone"), QStringLiteral("lone")), d);
    EXPECT_EQ(d->txtFind->text(), QStringLiteral("lone"));
    EXPECT_EQ(d->lblMeaning->text(), QStringLiteral("by itself"));
    EXPECT_EQ(items(d->lstSyno), (QStringList{"sole", "single", ""}));
    EXPECT_EQ(items(d->lstAnto), (QStringList{"", "", ""}));
    // Nothing of the earlier entry stays chosen either.
    QTest::mouseClick(d->cmdSyno, Qt::LeftButton);
    EXPECT_EQ(rec.lastText(), QStringLiteral("Choose a synonym to insert"));
    rec.messages.clear();

    // Not found: the open dialog stays as it is.
    lookUp(QStringLiteral("nothing"), QStringLiteral("nothing"));
    EXPECT_EQ(rec.lastText(), kNotFound);
    EXPECT_EQ(d->txtFind->text(), QStringLiteral("lone"));
    EXPECT_EQ(d->lstSyno->count(), 3);

    // Closed, the next look-up starts a new one.
    QPointer<frmReplace> old = d;
    QTest::keyClick(d->lstSyno, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull());
    frmReplace* fresh = lookUp(QStringLiteral("sad"), QStringLiteral("sad"));
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(items(fresh->lstSyno), (QStringList{"unhappy", "", ""}));
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("sad"));
}

TEST_F(ReplaceTest, EnterDoesNothingUntilAListIsClickedThenPressesItsButton)
{
    frmReplace* d = lookUp(QStringLiteral("very happy"), QStringLiteral("happy"));
    ASSERT_NE(d, nullptr);
    for (QPushButton* b : {d->cmdSyno, d->cmdAnto, d->cmdCancel, d->cmdFindAgain})
        EXPECT_FALSE(b->isDefault()) << b->objectName().toStdString();
    QTest::keyClick(d->focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("very happy"));
    EXPECT_TRUE(rec.messages.empty());

    clickRow(d->lstSyno, 0);
    EXPECT_TRUE(d->cmdSyno->isDefault());
    clickRow(d->lstAnto, 0);
    EXPECT_TRUE(d->cmdAnto->isDefault());
    EXPECT_FALSE(d->cmdSyno->isDefault());
    clickRow(d->lstSyno, 2);
    QTest::keyClick(d->lstSyno, Qt::Key_Return);
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("very Content"));
    EXPECT_FALSE(d->isVisible());
}

TEST_F(ReplaceTest, FindAgainAndCancelLeaveTheDocumentAlone)
{
    frmReplace* d = lookUp(QStringLiteral("happy"), QStringLiteral("happy"));
    ASSERT_NE(d, nullptr);
    clickRow(d->lstSyno, 0);
    QTest::mouseClick(d->cmdFindAgain, Qt::LeftButton);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->lstSyno->count(), 3);
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("happy"));
    QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("happy"));
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(ReplaceTest, TheReplacementGoesToTheDocumentActiveAtTheClick)
{
    frmReplace* d = lookUp(QStringLiteral("happy"), QStringLiteral("happy"));
    ASSERT_NE(d, nullptr);
    QTextEdit other(frame.get());
    other.setPlainText(QStringLiteral("a  b"));
    QTextCursor c(other.document());
    c.setPosition(2);
    other.setTextCursor(c);
    active = &other;
    clickRow(d->lstSyno, 0);
    QTest::mouseClick(d->cmdSyno, Qt::LeftButton);
    EXPECT_EQ(other.toPlainText(), QStringLiteral("a glad b"));
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("happy"));
}

TEST_F(ReplaceTest, WithNoDocumentTheProgramRunsOnAndSaysSo)
{
    frmReplace* d = lookUp(QStringLiteral("happy"), QStringLiteral("happy"));
    ASSERT_NE(d, nullptr);
    active = nullptr;
    clickRow(d->lstSyno, 0);
    QTest::mouseClick(d->cmdSyno, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("No document is open to put the word in."));
    EXPECT_TRUE(d->isVisible());

    tools->findSelection();
    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_EQ(rec.messages[1].text,
              QStringLiteral("The word you're looking may not be existing in kavix. No document is open"));
    EXPECT_EQ(rec.messages[1].icon, lexi::MsgIcon::Information);
    EXPECT_EQ(d->lstSyno->count(), 3);

    // A document opened now takes the choice still standing.
    active = doc;
    QTest::mouseClick(d->cmdSyno, Qt::LeftButton);
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("glad"));
}

TEST_F(ReplaceTest, EmptyOrMissingDictionaryIsNotFoundAndAMissingFolderIsAnError)
{
    guitest::writeDictionary({});
    lookUp(QStringLiteral("happy"), QStringLiteral("happy"));
    EXPECT_EQ(rec.lastText(), kNotFound);

    std::filesystem::remove(dictstore::dictionaryPath());
    lookUp(QStringLiteral("happy"), QStringLiteral("happy"));
    EXPECT_EQ(rec.lastText(), kNotFound);
    EXPECT_TRUE(std::filesystem::exists(dictstore::dictionaryPath()));
    EXPECT_EQ(std::filesystem::file_size(dictstore::dictionaryPath()), 0u);

    std::filesystem::remove_all(dictstore::dictionaryPath().parent_path());
    lookUp(QStringLiteral("happy"), QStringLiteral("happy"));
    ASSERT_EQ(rec.messages.size(), 3u);
    EXPECT_EQ(rec.messages[2].text,
              QStringLiteral("The word you're looking may not be existing in kavix. Path not found"));
    EXPECT_EQ(rec.messages[2].icon, lexi::MsgIcon::Information);
    EXPECT_EQ(rec.messages[2].title, QStringLiteral("Kavix Writer"));
    EXPECT_EQ(tools->replaceDialog(), nullptr);
}

TEST_F(ReplaceTest, AReadOnlyDictionaryIsReadAndAnUnreadableOneSaysWhy)
{
    {
        filefaults::ReadOnlyFolder readOnly(lexi::qpath(dictstore::dictionaryPath().parent_path()));
        ASSERT_TRUE(readOnly.ok());
        frmReplace* d = lookUp(QStringLiteral("so happy"), QStringLiteral("happy"));
        EXPECT_TRUE(rec.messages.empty()) << rec.lastText().toStdString();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->txtFind->text(), QStringLiteral("happy"));
        d->close();
    }
    // Missing where it cannot be made: it is not there.
    std::filesystem::remove(dictstore::dictionaryPath());
    {
        filefaults::ReadOnlyFolder readOnly(lexi::qpath(dictstore::dictionaryPath().parent_path()));
        lookUp(QStringLiteral("so happy"), QStringLiteral("happy"));
        EXPECT_EQ(rec.lastText(), QStringLiteral("The word you're looking may not be existing in kavix. File not found"));
    }
    EXPECT_FALSE(std::filesystem::exists(dictstore::dictionaryPath()));
}

TEST_F(ReplaceTest, AScreenReaderFindsTheWindowAndNamesItsControls)
{
    frmReplace* d = lookUp(QStringLiteral("happy"), QStringLiteral("happy"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(lexitest::accessibilityProblems(d), QStringList());
    EXPECT_EQ(d->lblFind->buddy(), d->txtFind);
}

}  // namespace
