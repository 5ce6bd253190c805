#include "guitest.h"

#include "faults.h"
#include "frmAdd.h"

#include "folders.h"

#include <QDir>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

using namespace kavix;
using dictstore::Field;

namespace {

std::string fileBytes()
{
    std::ifstream in(dictstore::dictionaryPath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class AddFormTest : public ::testing::Test {
protected:
    void SetUp() override { guitest::freshRoot(); }

    // Types into a box the way a user does: every key is pressed and released.
    static void type(QWidget* box, const QString& text)
    {
        box->setFocus();
        QTest::keyClicks(box, text);
    }

    static bool enabledAll(const std::vector<QWidget*>& ws)
    {
        return std::all_of(ws.begin(), ws.end(), [](QWidget* w) { return w->isEnabled(); });
    }

    static bool disabledAll(const std::vector<QWidget*>& ws)
    {
        return std::none_of(ws.begin(), ws.end(), [](QWidget* w) { return w->isEnabled(); });
    }

    // What only a meaning unlocks.
    static std::vector<QWidget*> details(frmAdd& f)
    {
        return {f.txtSentence, f.txtPro,      f.txtSyn[0],  f.txtSyn[1], f.txtSyn[2], f.txtAnto[0],
                f.txtAnto[1],  f.txtAnto[2], f.cboPOSp,    f.cmdAdd,    f.cmdClear};
    }

    guitest::MessageRecorder rec;
};

TEST_F(AddFormTest, StartsInWordEntryAndCreatesTheFile)
{
    frmAdd f;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Add New Word"));
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_TRUE(f.dictionaryOpen());
    EXPECT_TRUE(std::filesystem::exists(dictstore::dictionaryPath()));
    EXPECT_TRUE(f.txtWord->isEnabled());
    EXPECT_TRUE(f.cmdCancel->isEnabled());
    EXPECT_TRUE(disabledAll({f.cmdCheck, f.txtMeaning}));
    EXPECT_TRUE(disabledAll(details(f)));
    EXPECT_EQ(f.cboPOSp->count(), 4);
    EXPECT_EQ(f.cboPOSp->itemText(2), QStringLiteral("adjective"));

    type(f.txtWord, QStringLiteral("x"));
    EXPECT_TRUE(f.cmdCheck->isEnabled());
    EXPECT_TRUE(f.cmdCheck->isDefault());
    QTest::keyClick(f.txtWord, Qt::Key_Backspace);
    EXPECT_FALSE(f.cmdCheck->isEnabled());
}

TEST_F(AddFormTest, CheckRefusesAWordAlreadyStoredInAnyCaseOrSpacing)
{
    guitest::writeDictionary({guitest::record("happy", "glad")});
    frmAdd f;
    type(f.txtWord, QStringLiteral("  Happy "));
    QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Word entry already exists!!!, please enter a different value"));
    EXPECT_EQ(rec.messages[0].icon, lexi::MsgIcon::Critical);
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("Lexivane"));
    EXPECT_EQ(f.txtWord->text(), QString());
    EXPECT_FALSE(f.txtMeaning->isEnabled());
    EXPECT_FALSE(f.cmdCheck->isEnabled());
}

TEST_F(AddFormTest, MeaningOpensAndLocksTheRest)
{
    frmAdd f;
    f.show();
    type(f.txtWord, QStringLiteral("new"));
    QTest::keyClick(f.txtWord, Qt::Key_Return);  // Check is the default button
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Not found. You can add safely this word to the dictionary."));
    EXPECT_EQ(rec.messages[0].icon, lexi::MsgIcon::None);
    EXPECT_TRUE(f.txtMeaning->isEnabled());
    EXPECT_TRUE(f.cmdCheck->isEnabled());
    EXPECT_TRUE(disabledAll(details(f)));
    // Tab leads from the word to the meaning just opened.
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.txtWord->setFocus();
    // The key goes down in the word box and comes up in the meaning box.
    QTest::keyPress(f.txtWord, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), f.txtMeaning);
    QTest::keyRelease(f.txtMeaning, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.txtMeaning);

    type(f.txtMeaning, QStringLiteral(" "));  // one space is a meaning
    EXPECT_TRUE(enabledAll(details(f)));
    EXPECT_TRUE(f.cmdAdd->isDefault());
    EXPECT_FALSE(f.cmdCheck->isDefault());

    QTest::keyClick(f.txtMeaning, Qt::Key_Backspace);
    EXPECT_TRUE(disabledAll(details(f)));
    EXPECT_TRUE(f.txtMeaning->isEnabled());
    EXPECT_TRUE(f.cmdCheck->isEnabled());
}

TEST_F(AddFormTest, AddWritesTheRecordByteForByteAndYesKeepsTheForm)
{
    frmAdd f;
    f.show();
    type(f.txtWord, QStringLiteral("joyful"));
    QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
    type(f.txtMeaning, QStringLiteral("full of joy"));
    f.cboPOSp->setFocus();
    QTest::keyClicks(f.cboPOSp, QStringLiteral("adjective phrase long"));  // 21 characters, 15 kept
    type(f.txtSentence, QStringLiteral("a joyful day"));
    type(f.txtSyn[0], QStringLiteral("glad"));
    type(f.txtSyn[2], QStringLiteral("merry"));
    type(f.txtAnto[1], QStringLiteral("sad"));
    type(f.txtPro, QStringLiteral("JOY-ful"));
    rec.answers = {lexi::MsgAnswer::Yes, lexi::MsgAnswer::Yes};
    QTest::keyClick(f.txtPro, Qt::Key_Return);  // Add is the default button

    // The cut part of speech is shown before it is stored.
    ASSERT_EQ(rec.messages.size(), 3u);
    EXPECT_TRUE(rec.messages[1].text.contains(QStringLiteral("\nPart of Speech: adjective phras\n")));
    EXPECT_EQ(rec.messages[2].text, QStringLiteral("joyful added successfully to the dictionary, Want to add another ?"));
    EXPECT_EQ(rec.messages[2].title, QStringLiteral("Added New Word!"));
    EXPECT_EQ(rec.messages[2].buttons, lexi::MsgButtons::YesNo);

    dictstore::WordRecord expected;
    dictstore::assignField(expected, Field::Word, "joyful");
    dictstore::assignField(expected, Field::Meaning, "full of joy");
    dictstore::assignField(expected, Field::PartOfSpeech, "adjective phras");
    dictstore::assignField(expected, Field::Usage, "a joyful day");
    dictstore::assignField(expected, Field::Synonym1, "glad");
    dictstore::assignField(expected, Field::Synonym3, "merry");
    dictstore::assignField(expected, Field::Antonym2, "sad");
    dictstore::assignField(expected, Field::Pronu, "JOY-ful");
    EXPECT_EQ(fileBytes(), std::string(expected.bytes.begin(), expected.bytes.end()));

    // Yes: cleared and ready for the next word.
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.dictionaryOpen());
    EXPECT_EQ(f.txtWord->text(), QString());
    EXPECT_EQ(f.txtSyn[0]->text(), QString());
    EXPECT_EQ(f.cboPOSp->currentText(), QString());
    EXPECT_TRUE(disabledAll(details(f)));
    EXPECT_FALSE(f.txtMeaning->isEnabled());
}

TEST_F(AddFormTest, NoClosesTheFormAndItsHandle)
{
    frmAdd f;
    f.show();
    type(f.txtWord, QStringLiteral("a"));
    QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
    type(f.txtMeaning, QStringLiteral("first letter"));
    rec.answers.push_back(lexi::MsgAnswer::No);
    QTest::mouseClick(f.cmdAdd, Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(f.dictionaryOpen());
    EXPECT_EQ(f.txtWord->text(), QString());
    EXPECT_EQ(fileBytes().size(), dictstore::kRecordSize);
}

TEST_F(AddFormTest, EscAndCancelCloseTheHandle)
{
    {
        frmAdd f;
        f.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        QTest::keyClick(f.txtWord, Qt::Key_Escape);
        EXPECT_FALSE(f.isVisible());
        EXPECT_FALSE(f.dictionaryOpen());
    }
    {
        frmAdd f;
        f.show();
        QTest::mouseClick(f.cmdCancel, Qt::LeftButton);
        EXPECT_FALSE(f.dictionaryOpen());
    }
    {
        frmAdd f;
        f.show();
        f.close();  // the window's close box
        EXPECT_FALSE(f.dictionaryOpen());
    }
}

TEST_F(AddFormTest, AWordIsCheckedAsItWillBeStoredCutToThirtyCharacters)
{
    const QString thirty = QString(30, QLatin1Char('b'));
    guitest::writeDictionary({guitest::record(thirty.toStdString())});
    frmAdd f;
    type(f.txtWord, thirty + QStringLiteral("c"));
    QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
    EXPECT_EQ(rec.lastText(), QStringLiteral("Word entry already exists!!!, please enter a different value"));
    EXPECT_FALSE(f.txtMeaning->isEnabled());
    EXPECT_EQ(fileBytes().size(), dictstore::kRecordSize);
}

TEST_F(AddFormTest, TheWordIsCheckedAgainAtAddSoAChangeAfterCheckAddsNoDuplicate)
{
    guitest::writeDictionary({guitest::record("happy")});
    frmAdd f;
    type(f.txtWord, QStringLiteral("hap"));
    QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
    type(f.txtMeaning, QStringLiteral("m"));
    type(f.txtWord, QStringLiteral("PY"));
    ASSERT_TRUE(f.cmdAdd->isEnabled());
    const std::size_t before = rec.messages.size();
    QTest::mouseClick(f.cmdAdd, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), before + 1);
    EXPECT_EQ(rec.lastText(), QStringLiteral("Word entry already exists!!!, please enter a different value"));
    EXPECT_EQ(fileBytes().size(), dictstore::kRecordSize);
    // What was typed stays, to be corrected.
    EXPECT_EQ(f.txtWord->text(), QStringLiteral("hapPY"));
    EXPECT_EQ(f.txtMeaning->text(), QStringLiteral("m"));

    // A word changed to one not yet there is added as it stands.
    f.txtWord->setText(QStringLiteral("hapless"));
    QTest::mouseClick(f.cmdAdd, Qt::LeftButton);
    EXPECT_EQ(rec.lastText(), QStringLiteral("hapless added successfully to the dictionary, Want to add another ?"));
    EXPECT_EQ(fileBytes().substr(dictstore::kRecordSize, 7), "hapless");
}

TEST_F(AddFormTest, TextThatCannotBeStoredAsTypedIsShownAsItWillBeBeforeItIsStored)
{
    frmAdd f;
    const QString typed = QStringLiteral("\u03A9mega\u2605\u00F1o");  // Omega, a star, n with tilde
    // As an input method gives it: the key events carry no such letters.
    f.txtWord->setText(typed);
    QTest::keyClick(f.txtWord, Qt::Key_End);
    QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
    type(f.txtMeaning, QString(45, QLatin1Char('m')));
    type(f.txtSyn[1], QStringLiteral("fine"));

    // No: nothing stored, the form as it was.
    rec.answers = {lexi::MsgAnswer::No};
    rec.messages.clear();
    QTest::mouseClick(f.cmdAdd, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1u);
    const lexi::Message& asked = rec.messages[0];
    EXPECT_EQ(asked.buttons, lexi::MsgButtons::YesNo);
    EXPECT_TRUE(asked.text.contains(QStringLiteral("Word: ?mega?\u00F1o\n"))) << asked.text.toStdString();
    EXPECT_TRUE(asked.text.contains(QStringLiteral("Meaning: ") + QString(40, QLatin1Char('m')) + QLatin1Char('\n')));
    EXPECT_FALSE(asked.text.contains(QStringLiteral("Synonym"))) << "a field stored as typed is not listed";
    EXPECT_EQ(fileBytes().size(), 0u);
    EXPECT_EQ(f.txtWord->text(), typed);

    // Yes: stored so, and the confirmation names the word as stored.
    rec.answers = {lexi::MsgAnswer::Yes, lexi::MsgAnswer::Yes};
    QTest::mouseClick(f.cmdAdd, Qt::LeftButton);
    EXPECT_EQ(rec.lastText(), QStringLiteral("?mega?\u00F1o added successfully to the dictionary, Want to add another ?"));
    EXPECT_EQ(fileBytes().substr(0, 8), "?mega?\xF1o");
}

TEST_F(AddFormTest, FullDictionaryRefusesTheAppend)
{
    {
        std::ofstream out(dictstore::dictionaryPath(), std::ios::binary);
        const std::string blank(dictstore::kRecordSize * 32767, ' ');
        out << blank;
    }
    frmAdd f;
    type(f.txtWord, QStringLiteral("overflow"));
    QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
    type(f.txtMeaning, QStringLiteral("m"));
    type(f.txtSyn[0], QStringLiteral("kept"));
    QTest::mouseClick(f.cmdAdd, Qt::LeftButton);
    EXPECT_EQ(rec.lastText(), QStringLiteral(" Unable to add the word. The dictionary already holds 32,767 entries, "
                                             "the most kavix can handle."));
    EXPECT_EQ(std::filesystem::file_size(dictstore::dictionaryPath()), dictstore::kRecordSize * 32767);
    // The form keeps what was typed.
    EXPECT_EQ(f.txtWord->text(), QStringLiteral("overflow"));
    EXPECT_EQ(f.txtSyn[0]->text(), QStringLiteral("kept"));
}

TEST_F(AddFormTest, MissingFolderIsReportedAndNothingIsWritten)
{
    std::filesystem::remove_all(dictstore::lexivaneRoot());
    frmAdd f;
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Unable to open the dictionary, kindly contact designer for help\n\n") +
                                        QDir::toNativeSeparators(lexi::dictionaryFile()) +
                                        QStringLiteral(": Path not found"));
    EXPECT_FALSE(f.dictionaryOpen());
    EXPECT_TRUE(f.txtWord->isEnabled());
    type(f.txtWord, QStringLiteral("word"));
    QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
    EXPECT_EQ(rec.messages.size(), 2u);
    EXPECT_FALSE(f.txtMeaning->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(dictstore::lexivaneRoot()));
}

TEST_F(AddFormTest, ALookUpHandleStaysUsableWhileTheFormAppends)
{
    guitest::writeDictionary({guitest::record("alpha")});
    dictstore::Dictionary reader;
    ASSERT_EQ(reader.openForReading(dictstore::dictionaryPath()), dictstore::Error::None);
    {
        frmAdd f;
        type(f.txtWord, QStringLiteral("beta"));
        QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
        type(f.txtMeaning, QStringLiteral("second"));
        rec.answers = {lexi::MsgAnswer::Ok, lexi::MsgAnswer::No};
        QTest::mouseClick(f.cmdAdd, Qt::LeftButton);
    }
    std::optional<dictstore::Match> m;
    ASSERT_EQ(reader.findByWord("BETA", m), dictstore::Error::None);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->number, 2);
}

}  // namespace

namespace {

// Types a word and a meaning and presses Add; returns the last message.
QString addWord(frmAdd& f, guitest::MessageRecorder& rec, const QString& word)
{
    f.txtWord->setFocus();
    QTest::keyClicks(f.txtWord, word);
    QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
    f.txtMeaning->setFocus();
    QTest::keyClicks(f.txtMeaning, QStringLiteral("a meaning"));
    QTest::mouseClick(f.cmdAdd, Qt::LeftButton);
    return rec.lastText();
}

}  // namespace

TEST_F(AddFormTest, AFullDiskIsNamedAndNothingIsWritten)
{
    guitest::writeDictionary({guitest::record("alpha")});
    frmAdd f;
    const faults::FileSizeLimit limit(dictstore::kRecordSize + 100);
    EXPECT_EQ(addWord(f, rec, QStringLiteral("beta")),
              QStringLiteral(" Unable to add the word. Disk full: there is no room left for the dictionary to grow."));
    EXPECT_EQ(fileBytes().size(), dictstore::kRecordSize);
    EXPECT_EQ(f.txtWord->text(), QStringLiteral("beta"));
}

TEST_F(AddFormTest, AReadOnlyDiskIsNamedAndCheckStillWorks)
{
    const std::filesystem::path db = dictstore::dictionaryPath().parent_path();
    faults::ScratchDisk disk(db, "64k");
    if (!disk.mounted())
        GTEST_SKIP() << faults::kNeedsRootSkip;
    guitest::writeDictionary({guitest::record("alpha")});
    ASSERT_TRUE(disk.makeReadOnly());
    {
        frmAdd f;
        ASSERT_EQ(rec.messages.size(), 1u);
        EXPECT_TRUE(rec.messages[0].text.startsWith(
            QStringLiteral("The dictionary cannot be written (Permission denied): words can be checked, but none can "
                           "be added.")));
        type(f.txtWord, QStringLiteral("ALPHA"));
        QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
        EXPECT_EQ(rec.lastText(), QStringLiteral("Word entry already exists!!!, please enter a different value"));
        EXPECT_EQ(addWord(f, rec, QStringLiteral("beta")),
                  QStringLiteral(" Unable to add the word. Permission denied: the dictionary, or its disk, is read-only."));
    }
    EXPECT_EQ(fileBytes().size(), dictstore::kRecordSize);
}

TEST_F(AddFormTest, WhileAnotherProgramWritesTheAddSaysSoAndWritesNothing)
{
    guitest::writeDictionary({guitest::record("alpha")});
    dictstore::Dictionary importer;
    ASSERT_EQ(importer.openForUpdate(dictstore::dictionaryPath()), dictstore::Error::None);
    ASSERT_EQ(importer.holdWriteLock(), dictstore::Error::None);
    frmAdd f;
    EXPECT_EQ(addWord(f, rec, QStringLiteral("beta")),
              QStringLiteral(" Unable to add the word. File in use by another program: another program (an import, "
                             "perhaps) is writing to the dictionary. Try again when it has finished."));
    EXPECT_EQ(fileBytes().size(), dictstore::kRecordSize);

    importer.releaseWriteLock();
    rec.answers = {lexi::MsgAnswer::Yes};
    QTest::mouseClick(f.cmdAdd, Qt::LeftButton);
    EXPECT_EQ(rec.lastText(), QStringLiteral("beta added successfully to the dictionary, Want to add another ?"));
    EXPECT_EQ(fileBytes().size(), 2 * dictstore::kRecordSize);
}
