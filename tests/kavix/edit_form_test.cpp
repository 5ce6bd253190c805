#include "guitest.h"
#include "permissions.h"

#include "faults.h"
#include "frmEdit.h"

#include "folders.h"

#include <QDir>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <sys/stat.h>
#include <unistd.h>

using namespace kavix;
using dictstore::Field;

namespace {

const QString kNotFound = QStringLiteral("Not found. Please spell the word correctly.");

std::string fileBytes()
{
    std::ifstream in(dictstore::dictionaryPath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string bytesOf(const dictstore::WordRecord& r) { return {r.bytes.begin(), r.bytes.end()}; }

dictstore::WordRecord happy()
{
    dictstore::WordRecord r = guitest::record("happy", "feeling pleasure");
    dictstore::assignField(r, Field::PartOfSpeech, "pronoun");
    dictstore::assignField(r, Field::Pronu, "HAP-ee");
    dictstore::assignField(r, Field::Synonym1, "glad");
    dictstore::assignField(r, Field::Synonym2, "cheerful");
    dictstore::assignField(r, Field::Usage, "a happy child");
    dictstore::assignField(r, Field::Antonym3, "sad");
    return r;
}

class EditFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        guitest::freshRoot();
        guitest::writeDictionary({guitest::record("first", "one"), happy(), guitest::record("last", "three")});
    }

    static void type(QWidget* box, const QString& text)
    {
        box->setFocus();
        QTest::keyClicks(box, text);
    }

    // Types a word and clicks Search.
    static void search(frmEdit& f, const QString& word)
    {
        f.txtWord->selectAll();
        type(f.txtWord, word);
        QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
    }

    static std::vector<QWidget*> details(frmEdit& f)
    {
        return {f.txtMeaning, f.cboPOSp,    f.txtSentence, f.txtSyn[0], f.txtSyn[1],
                f.txtSyn[2],  f.txtAnto[0], f.txtAnto[1],  f.txtAnto[2], f.txtPro};
    }

    EditMemory memory;
    guitest::MessageRecorder rec;
};

TEST_F(EditFormTest, OpensWithOnlyTheWordBoxAndSaveAsTheDisabledDefault)
{
    frmEdit f(memory);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Edit an Existing word"));
    EXPECT_EQ(f.cmdCheck->text(), QStringLiteral("&Search"));
    EXPECT_EQ(f.cmdEdit->text(), QStringLiteral("&Save"));
    EXPECT_EQ(f.lblAnto->text(), QStringLiteral("An&tonyms : "));
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_TRUE(f.dictionaryOpen());
    EXPECT_TRUE(f.txtWord->isEnabled());
    EXPECT_TRUE(f.cmdCancel->isEnabled());
    EXPECT_FALSE(f.cmdCheck->isEnabled());
    EXPECT_FALSE(f.cmdEdit->isEnabled());
    EXPECT_TRUE(f.cmdEdit->isDefault());
    for (QWidget* w : details(f))
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();

    type(f.txtWord, QStringLiteral(" "));  // a space is text
    EXPECT_TRUE(f.cmdCheck->isEnabled());
    EXPECT_TRUE(f.cmdCheck->isDefault());
    EXPECT_FALSE(f.cmdEdit->isDefault());
    EXPECT_FALSE(f.cmdEdit->isEnabled());
}

TEST_F(EditFormTest, SearchFillsEveryBoxTrimmedAndRemembersTheRecord)
{
    frmEdit f(memory);
    f.show();
    type(f.txtWord, QStringLiteral("HAPPY "));
    QTest::keyClick(f.txtWord, Qt::Key_Return);  // Search is the default
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_EQ(memory.record, 2);
    EXPECT_EQ(f.txtWord->text(), QStringLiteral("happy"));
    EXPECT_EQ(f.txtMeaning->text(), QStringLiteral("feeling pleasure"));
    EXPECT_EQ(f.cboPOSp->currentText(), QStringLiteral("pronoun"));
    EXPECT_EQ(f.txtPro->text(), QStringLiteral("HAP-ee"));
    EXPECT_EQ(f.txtSentence->text(), QStringLiteral("a happy child"));
    EXPECT_EQ(f.txtSyn[1]->text(), QStringLiteral("cheerful"));
    EXPECT_EQ(f.txtSyn[2]->text(), QString());
    EXPECT_EQ(f.txtAnto[2]->text(), QStringLiteral("sad"));
    for (QWidget* w : details(f))
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(f.cmdEdit->isEnabled());
}

TEST_F(EditFormTest, TheDefaultButtonFollowsTheWordAndMeaningBoxes)
{
    frmEdit f(memory);
    search(f, QStringLiteral("happy"));
    // Once an entry is shown, Enter saves.
    EXPECT_TRUE(f.cmdEdit->isDefault());
    EXPECT_FALSE(f.cmdCheck->isDefault());
    type(f.txtWord, QStringLiteral("x"));
    EXPECT_TRUE(f.cmdEdit->isDefault()) << "both boxes hold text: Enter saves";
    EXPECT_FALSE(f.cmdCheck->isDefault());

    f.txtMeaning->selectAll();
    QTest::keyClick(f.txtMeaning, Qt::Key_Delete);
    EXPECT_FALSE(f.cmdEdit->isEnabled());
    EXPECT_FALSE(f.cmdEdit->isDefault());
    type(f.txtWord, QStringLiteral("y"));
    EXPECT_TRUE(f.cmdCheck->isDefault());

    type(f.txtMeaning, QStringLiteral("m"));
    EXPECT_TRUE(f.cmdEdit->isDefault());
    f.txtWord->selectAll();
    QTest::keyClick(f.txtWord, Qt::Key_Backspace);
    EXPECT_FALSE(f.cmdCheck->isEnabled());
    EXPECT_FALSE(f.cmdEdit->isEnabled());
    EXPECT_FALSE(f.cmdCheck->isDefault() || f.cmdEdit->isDefault());
}

TEST_F(EditFormTest, SaveRenamesInPlaceWritingEveryFieldPaddedOrCut)
{
    {
        frmEdit f(memory);
        f.show();
        search(f, QStringLiteral("happy"));
        f.txtWord->selectAll();
        type(f.txtWord, QStringLiteral("joyful"));
        f.txtMeaning->selectAll();
        type(f.txtMeaning, QString(45, QLatin1Char('m')));
        f.txtSyn[0]->clear();
        f.cboPOSp->lineEdit()->selectAll();
        type(f.cboPOSp, QStringLiteral("adjective"));
        type(f.txtPro, QStringLiteral(" "));  // kept untrimmed
        QTest::keyClick(f.txtPro, Qt::Key_Return);  // Save is the default now
        // The cut meaning is shown and Save goes on when the answer is Yes.
        ASSERT_EQ(rec.messages.size(), 2u);
        EXPECT_TRUE(rec.messages[0].text.contains(QStringLiteral("\nMeaning: ") + QString(40, QLatin1Char('m')) +
                                                  QLatin1Char('\n')));
        EXPECT_EQ(rec.messages[0].buttons, lexi::MsgButtons::YesNo);
        EXPECT_EQ(rec.messages[1].text, QStringLiteral("Edited record successfully"));
        EXPECT_EQ(rec.messages[1].title, QStringLiteral("Lexivane"));
        EXPECT_EQ(rec.messages[1].icon, lexi::MsgIcon::None);
        EXPECT_FALSE(f.isVisible());
        EXPECT_FALSE(f.dictionaryOpen());
    }
    dictstore::WordRecord expected = happy();
    dictstore::assignField(expected, Field::Word, "joyful");
    dictstore::assignField(expected, Field::Meaning, std::string(45, 'm'));
    dictstore::assignField(expected, Field::Synonym1, "");
    dictstore::assignField(expected, Field::PartOfSpeech, "adjective");
    dictstore::assignField(expected, Field::Pronu, "HAP-ee ");
    EXPECT_EQ(fileBytes(), bytesOf(guitest::record("first", "one")) + bytesOf(expected) +
                               bytesOf(guitest::record("last", "three")));
    // The saved record's meaning, cut to its 40 bytes.
    EXPECT_EQ(fileBytes().substr(dictstore::kRecordSize + 30, 49), std::string(40, 'm') + "adjective");

    frmEdit again(memory);
    search(again, QStringLiteral("happy"));
    EXPECT_EQ(rec.lastText(), kNotFound);
    EXPECT_EQ(memory.record, 2);
    search(again, QStringLiteral("JOYFUL"));
    EXPECT_EQ(again.cboPOSp->currentText(), QStringLiteral("adjective"));
}

TEST_F(EditFormTest, AFailedSearchLeavesNothingForSaveToWriteOverTheEarlierEntry)
{
    const std::string before = fileBytes();
    frmEdit f(memory);
    f.show();
    search(f, QStringLiteral("happy"));
    EXPECT_EQ(memory.record, 2);
    search(f, QStringLiteral("nosuchwordxyz"));
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, kNotFound);
    // The boxes no longer show an entry, so there is nothing to save.
    EXPECT_EQ(f.txtWord->text(), QStringLiteral("nosuchwordxyz"));
    EXPECT_EQ(f.txtMeaning->text(), QString());
    EXPECT_EQ(f.txtSyn[1]->text(), QString());
    EXPECT_FALSE(f.cmdEdit->isEnabled());
    for (QWidget* w : details(f))
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    QTest::keyClick(f.txtWord, Qt::Key_Return);
    QTest::mouseClick(f.cmdEdit, Qt::LeftButton);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_NE(rec.lastText(), QStringLiteral("Edited record successfully"));

    // A search that finds an entry opens it again.
    search(f, QStringLiteral("happy"));
    EXPECT_EQ(f.txtSyn[1]->text(), QStringLiteral("cheerful"));
    EXPECT_TRUE(f.cmdEdit->isEnabled());

    // Also when the meaning box was emptied first (Save was off already).
    f.txtMeaning->selectAll();
    QTest::keyClick(f.txtMeaning, Qt::Key_Delete);
    ASSERT_FALSE(f.cmdEdit->isEnabled());
    search(f, QStringLiteral("nosuchwordxyz"));
    EXPECT_EQ(f.txtSyn[1]->text(), QString());
    EXPECT_FALSE(f.txtMeaning->isEnabled());
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(EditFormTest, AfterASearchByMouseEnterInAnotherBoxSavesWhatWasTyped)
{
    frmEdit f(memory);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    search(f, QStringLiteral("happy"));
    f.txtSyn[2]->setFocus();
    QTest::keyClicks(f.txtSyn[2], QStringLiteral("joyous"));
    QTest::keyClick(f.txtSyn[2], Qt::Key_Return);
    EXPECT_EQ(rec.lastText(), QStringLiteral("Edited record successfully"));
    dictstore::WordRecord expected = happy();
    dictstore::assignField(expected, Field::Synonym3, "joyous");
    EXPECT_EQ(fileBytes().substr(dictstore::kRecordSize, dictstore::kRecordSize), bytesOf(expected));
}

TEST_F(EditFormTest, DuplicatesLoadAndRewriteOnlyTheFirst)
{
    guitest::writeDictionary({guitest::record("twin", "first"), guitest::record("twin", "second")});
    frmEdit f(memory);
    search(f, QStringLiteral("twin"));
    EXPECT_EQ(f.txtMeaning->text(), QStringLiteral("first"));
    f.txtMeaning->setText(QStringLiteral("changed"));
    QTest::mouseClick(f.cmdEdit, Qt::LeftButton);
    EXPECT_EQ(fileBytes(), bytesOf(guitest::record("twin", "changed")) + bytesOf(guitest::record("twin", "second")));
}

TEST_F(EditFormTest, TheRememberedRecordOutlivesTheWindow)
{
    {
        frmEdit f(memory);
        search(f, QStringLiteral("last"));
    }
    frmEdit f(memory);
    EXPECT_EQ(memory.record, 3);
    EXPECT_FALSE(f.cmdEdit->isEnabled()) << "Save needs a search in this opening";
    EXPECT_TRUE(f.txtMeaning->text().isEmpty());
}

TEST_F(EditFormTest, AFailedRewriteSaysWhyKeepsTheBoxesAndLeavesTheFileAlone)
{
    frmEdit f(memory);
    f.show();
    search(f, QStringLiteral("last"));
    f.txtMeaning->setText(QStringLiteral("kept"));

    // Another program shortened the file since the search.
    std::filesystem::resize_file(dictstore::dictionaryPath(), 2 * dictstore::kRecordSize);
    const std::string shortened = fileBytes();
    QTest::mouseClick(f.cmdEdit, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("The entry was not saved. Input past end of file."));
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("Lexivane"));
    EXPECT_EQ(fileBytes(), shortened);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.dictionaryOpen());
    EXPECT_EQ(f.txtWord->text(), QStringLiteral("last"));
    EXPECT_EQ(f.txtMeaning->text(), QStringLiteral("kept"));

    // The file is gone: not written into the void, not made again.
    search(f, QStringLiteral("happy"));
    std::filesystem::remove(dictstore::dictionaryPath());
    QTest::mouseClick(f.cmdEdit, Qt::LeftButton);
    EXPECT_EQ(rec.lastText(), QStringLiteral("The entry was not saved. File not found: the dictionary was removed or replaced since this "
                                             "form opened."));
    EXPECT_FALSE(std::filesystem::exists(dictstore::dictionaryPath()));
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.txtWord->text(), QStringLiteral("happy"));
}

TEST_F(EditFormTest, SavingIntoAReadOnlyFileSaysWhyAndKeepsTheBoxes)
{
    if (!lexitest::permissionsBind())
        GTEST_SKIP() << lexitest::kRootSkip;
    frmEdit f(memory);
    f.show();
    search(f, QStringLiteral("happy"));
    f.txtMeaning->setText(QStringLiteral("changed"));
    const std::string before = fileBytes();
    std::filesystem::permissions(dictstore::dictionaryPath(), std::filesystem::perms::owner_read);
    QTest::mouseClick(f.cmdEdit, Qt::LeftButton);
    std::filesystem::permissions(dictstore::dictionaryPath(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.lastText(), QStringLiteral("The entry was not saved. Permission denied: the dictionary, or its disk, is read-only."));
    EXPECT_EQ(fileBytes(), before);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.txtMeaning->text(), QStringLiteral("changed"));
}

TEST_F(EditFormTest, ASecondSearchMovesSaveToTheRecordItFound)
{
    frmEdit f(memory);
    search(f, QStringLiteral("first"));
    search(f, QStringLiteral("last"));
    EXPECT_EQ(f.txtMeaning->text(), QStringLiteral("three"));
    f.txtMeaning->setText(QStringLiteral("changed"));
    QTest::mouseClick(f.cmdEdit, Qt::LeftButton);
    EXPECT_EQ(rec.lastText(), QStringLiteral("Edited record successfully"));
    EXPECT_EQ(fileBytes(), bytesOf(guitest::record("first", "one")) + bytesOf(happy()) +
                               bytesOf(guitest::record("last", "changed")));
}

TEST_F(EditFormTest, Record32767IsFoundAndSavedInPlace)
{
    const std::string blanks(dictstore::kRecordSize * 32766, ' ');
    {
        std::ofstream out(dictstore::dictionaryPath(), std::ios::binary | std::ios::trunc);
        out << blanks << bytesOf(guitest::record("edge", "at the limit"));
    }
    frmEdit f(memory);
    search(f, QStringLiteral("edge"));
    EXPECT_TRUE(rec.messages.empty()) << rec.lastText().toStdString();
    EXPECT_EQ(memory.record, 32767);
    EXPECT_EQ(f.txtMeaning->text(), QStringLiteral("at the limit"));
    f.txtMeaning->setText(QStringLiteral("still here"));
    QTest::mouseClick(f.cmdEdit, Qt::LeftButton);
    EXPECT_EQ(rec.lastText(), QStringLiteral("Edited record successfully"));
    EXPECT_EQ(fileBytes(), blanks + bytesOf(guitest::record("edge", "still here")));
}

TEST_F(EditFormTest, AMatchBeyondRecord32767IsNotFound)
{
    {
        std::ofstream out(dictstore::dictionaryPath(), std::ios::binary | std::ios::trunc);
        out << std::string(dictstore::kRecordSize * 32767, ' ') << bytesOf(guitest::record("far", "away"));
    }
    memory.record = 5;
    frmEdit f(memory);
    search(f, QStringLiteral("far"));
    EXPECT_EQ(rec.lastText(), kNotFound);
    EXPECT_EQ(memory.record, 5);
    EXPECT_FALSE(f.txtMeaning->isEnabled());
}

TEST_F(EditFormTest, WithoutTheDictionaryEverySearchFailsAndNothingIsMade)
{
    std::filesystem::remove_all(dictstore::lexivaneRoot());
    frmEdit f(memory);
    ASSERT_EQ(rec.messages.size(), 1u);
    const QString cause = QDir::toNativeSeparators(lexi::dictionaryFile()) + QStringLiteral(": Path not found");
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Unknown error!!! Can't open dictionary\n\n") + cause);
    EXPECT_FALSE(f.dictionaryOpen());
    // The search says why it cannot look, not that the word is misspelt.
    search(f, QStringLiteral("happy"));
    EXPECT_EQ(rec.lastText(), QStringLiteral("The dictionary could not be opened, so nothing can be found in it.\n\n") + cause);
    EXPECT_FALSE(f.cmdEdit->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(dictstore::lexivaneRoot()));
}

TEST_F(EditFormTest, EscAndCancelWriteNothingAndLetGoOfTheFile)
{
    const std::string before = fileBytes();
    {
        frmEdit f(memory);
        f.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        search(f, QStringLiteral("happy"));
        f.txtMeaning->setText(QStringLiteral("changed"));
        QTest::keyClick(f.txtMeaning, Qt::Key_Escape);
        EXPECT_FALSE(f.isVisible());
        EXPECT_FALSE(f.dictionaryOpen());
    }
    {
        frmEdit f(memory);
        f.show();
        QTest::mouseClick(f.cmdCancel, Qt::LeftButton);
        EXPECT_FALSE(f.dictionaryOpen());
    }
    EXPECT_EQ(fileBytes(), before);
}

}  // namespace

TEST_F(EditFormTest, APipeForADictionaryIsNamedAsTheCauseAndNeverWaitedOn)
{
    std::filesystem::remove(dictstore::dictionaryPath());
    ASSERT_EQ(::mkfifo(dictstore::dictionaryPath().c_str(), 0644), 0);
    frmEdit f(memory);
    ASSERT_EQ(rec.messages.size(), 1u);
    const QString cause = QDir::toNativeSeparators(lexi::dictionaryFile()) + QStringLiteral(": Not a regular file (a pipe or a device)");
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Unknown error!!! Can't open dictionary\n\n") + cause);
    search(f, QStringLiteral("happy"));
    EXPECT_TRUE(rec.lastText().endsWith(cause));
    EXPECT_FALSE(f.cmdEdit->isEnabled());
}

TEST_F(EditFormTest, OnAReadOnlyDiskEntriesAreFoundAndSaveSaysWhyItCannotWrite)
{
    const std::filesystem::path db = dictstore::dictionaryPath().parent_path();
    faults::ScratchDisk disk(db, "64k");
    if (!disk.mounted())
        GTEST_SKIP() << faults::kNeedsRootSkip;
    guitest::writeDictionary({happy()});
    const std::string before = fileBytes();
    ASSERT_TRUE(disk.makeReadOnly());
    {
        frmEdit f(memory);
        ASSERT_EQ(rec.messages.size(), 1u);
        EXPECT_TRUE(rec.messages[0].text.startsWith(QStringLiteral(
            "The dictionary cannot be written (Permission denied): entries can be looked up, but changes cannot be "
            "saved.")));
        search(f, QStringLiteral("happy"));
        EXPECT_EQ(f.txtMeaning->text(), QStringLiteral("feeling pleasure"));
        f.txtMeaning->setText(QStringLiteral("changed"));
        QTest::mouseClick(f.cmdEdit, Qt::LeftButton);
        EXPECT_EQ(rec.lastText(),
                  QStringLiteral("The entry was not saved. Permission denied: the dictionary, or its disk, is read-only."));
        EXPECT_EQ(f.txtMeaning->text(), QStringLiteral("changed"));
    }
    EXPECT_EQ(fileBytes(), before);
}
