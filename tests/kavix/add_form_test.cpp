#include "guitest.h"

#include "frmAdd.h"

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
    rec.answers.push_back(lexi::MsgAnswer::Yes);
    QTest::keyClick(f.txtPro, Qt::Key_Return);  // Add is the default button

    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_EQ(rec.messages[1].text, QStringLiteral("joyful added successfully to the dictionary, Want to add another ?"));
    EXPECT_EQ(rec.messages[1].title, QStringLiteral("Added New Word!"));
    EXPECT_EQ(rec.messages[1].buttons, lexi::MsgButtons::YesNo);

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

TEST_F(AddFormTest, LongWordIsCutAndAddedAsADuplicate)
{
    const QString thirty = QString(30, QLatin1Char('b'));
    guitest::writeDictionary({guitest::record(thirty.toStdString())});
    frmAdd f;
    type(f.txtWord, thirty + QStringLiteral("c"));
    QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
    EXPECT_TRUE(f.txtMeaning->isEnabled());  // not found
    type(f.txtMeaning, QStringLiteral("m"));
    rec.answers = {lexi::MsgAnswer::Ok, lexi::MsgAnswer::Yes};
    QTest::mouseClick(f.cmdAdd, Qt::LeftButton);
    const std::string bytes = fileBytes();
    ASSERT_EQ(bytes.size(), 2 * dictstore::kRecordSize);
    EXPECT_EQ(bytes.substr(dictstore::kRecordSize, 30), std::string(30, 'b'));
}

TEST_F(AddFormTest, AWordChangedAfterCheckIsAddedAsItStands)
{
    frmAdd f;
    type(f.txtWord, QStringLiteral("one"));
    QTest::mouseClick(f.cmdCheck, Qt::LeftButton);
    type(f.txtMeaning, QStringLiteral("m"));
    type(f.txtWord, QStringLiteral("two"));
    EXPECT_TRUE(f.cmdAdd->isEnabled());
    QTest::mouseClick(f.cmdAdd, Qt::LeftButton);
    EXPECT_EQ(fileBytes().substr(0, 6), "onetwo");
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
    EXPECT_EQ(rec.lastText(),
              QStringLiteral(" Unable to add the word. Either the word already exist or its meaning is not set."));
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
    EXPECT_EQ(rec.messages[0].text, QStringLiteral("Unable to open the dictionary, kindly contact designer for help"));
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
