#include "exportfixture.h"

#include <QGroupBox>

using namespace exporttest;

namespace {

const QString kSure = QStringLiteral(
    "To import a file into kavix dictionary, make SURE this is THE ORDER OF FIELDS :word, meaning, partofspeech, "
    "samplesentence, synonym123, antonym123, pronun");

}  // namespace

TEST_F(UtilityTest, FirstPageOpensOnExportAndEnterExports)
{
    guitest::writeDictionary({guitest::record("happy", "glad")});
    frmIntro intro;
    intro.show();
    EXPECT_EQ(intro.windowTitle(), QStringLiteral("Lexivane Exporting Utility"));
    EXPECT_EQ(intro.Frame1->title(), QStringLiteral("Introduction"));
    EXPECT_TRUE(intro.Label1->text().startsWith(QStringLiteral("Welcome to import-export utility! You can export")));
    EXPECT_TRUE(intro.Label1->text().endsWith(QStringLiteral("used to import list into kavix. Choose an option:")));
    EXPECT_FALSE(intro.Label1->text().contains(QLatin1Char('\n')));
    EXPECT_TRUE(intro.OptExport->isChecked());
    EXPECT_FALSE(intro.optImport->isChecked());
    EXPECT_EQ(intro.OptExport->text(), QStringLiteral("&Export to CSV"));
    EXPECT_EQ(intro.optImport->text(), QStringLiteral("&Import from CSV"));
    EXPECT_EQ(intro.cmdNext->text(), QStringLiteral("&Next >"));
    EXPECT_TRUE(intro.cmdNext->isDefault());
    expectAccessible(&intro);

    QTest::keyClick(&intro, Qt::Key_Return);
    EXPECT_FALSE(intro.isVisible());
    result = intro.resultWindow();
    auto* exported = qobject_cast<frmExport*>(result.data());
    ASSERT_TRUE(exported);
    EXPECT_TRUE(exported->isVisible());
    EXPECT_EQ(exported->windowTitle(), QStringLiteral("Export result"));
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_TRUE(std::filesystem::exists("dictionary.csv"));
}

TEST_F(UtilityTest, ImportAnsweredNoEndsWithoutAskingForAFile)
{
    frmIntro intro;
    intro.show();
    chooseImport(intro);
    rec.answers.push_back(lexi::MsgAnswer::No);
    QTest::mouseClick(intro.cmdNext, Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].text, kSure);
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("Sure to continue?"));
    EXPECT_EQ(rec.messages[0].buttons, lexi::MsgButtons::YesNo);
    EXPECT_EQ(rec.messages[0].icon, lexi::MsgIcon::None);
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_FALSE(intro.isVisible());
    EXPECT_EQ(intro.resultWindow(), nullptr);
}

TEST_F(UtilityTest, ImportWithoutANameStaysOnTheFirstPage)
{
    frmIntro intro;
    intro.show();
    chooseImport(intro);
    dialogs.answer.clear();  // nothing typed, or the box cancelled
    QTest::mouseClick(intro.cmdNext, Qt::LeftButton);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0][0], QStringLiteral("Enter the filename excluding extension(.csv)"));
    EXPECT_EQ(dialogs.asked[0][1], QStringLiteral("File to be imported"));
    EXPECT_EQ(dialogs.asked[0][2], QString());
    EXPECT_TRUE(intro.isVisible());
    EXPECT_EQ(intro.resultWindow(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(dictstore::dictionaryPath()));

    // The user may choose again: a name opens the import of name.csv.
    writeBytes("words.csv", "");
    dialogs.answer = QStringLiteral("words");
    QTest::mouseClick(intro.cmdNext, Qt::LeftButton);
    EXPECT_EQ(intro.inFile, QStringLiteral("words"));
    result = intro.resultWindow();
    auto* imported = qobject_cast<frmImport*>(result.data());
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->lblSource->text(), QStringLiteral("words.csv"));
    EXPECT_FALSE(intro.isVisible());
}

TEST_F(UtilityTest, CancelAndEscapeCloseTheFirstPage)
{
    frmIntro intro;
    intro.show();
    QTest::mouseClick(intro.cmdCancel, Qt::LeftButton);
    EXPECT_FALSE(intro.isVisible());

    frmIntro again;
    again.show();
    QTest::keyClick(&again, Qt::Key_Escape);
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(again.resultWindow(), nullptr);
    EXPECT_TRUE(rec.messages.empty());
}
