#include "exportfixture.h"

#include <QDir>
#include <QGroupBox>

using namespace exporttest;
using dictstore::Field;

namespace {

const std::string kHeader = "\"word\",\"meaning\",\"partofspeech\",\"usage\",\"antonym1\",\"antonym2\",\"antonym3\","
                            "\"synonym1\",\"synonym2\",\"synonym3\",\"pronu\"\r\n";

dictstore::WordRecord happy()
{
    dictstore::WordRecord r;
    dictstore::assignField(r, Field::Word, "happy");
    dictstore::assignField(r, Field::Meaning, " glad, merry ");
    dictstore::assignField(r, Field::PartOfSpeech, "adjective");
    dictstore::assignField(r, Field::Pronu, "HAP-ee");
    dictstore::assignField(r, Field::Synonym1, "glad");
    dictstore::assignField(r, Field::Synonym2, "cheerful");
    dictstore::assignField(r, Field::Usage, "a \"happy\" day; \tall");
    dictstore::assignField(r, Field::Antonym1, "sad");
    dictstore::assignField(r, Field::Antonym2, "unhappy");
    dictstore::assignField(r, Field::Antonym3, "down");
    return r;
}

}  // namespace

TEST_F(UtilityTest, ExportWritesEveryRecordByteForByte)
{
    guitest::writeDictionary({happy(), guitest::record("  caf\xC3\xA9 ")});
    writeBytes("dictionary.csv", "an older export, replaced without asking");
    frmExport* w = exportThroughIntro();
    ASSERT_TRUE(w);
    EXPECT_EQ(readBytes("dictionary.csv"),
              kHeader +
                  "\"happy\",\"glad, merry\",\"adjective\",\"a \"happy\" day; \tall\",\"sad\",\"unhappy\",\"down" +
                  std::string(26, ' ') + "\",\"glad\",\"cheerful\",\"\",\"HAP-ee\"\r\n" + "\"caf\xE9\",\"\",\"\",\"\",\"\",\"\",\"" +
                  std::string(30, ' ') + "\",\"\",\"\",\"\",\"\"\r\n");
    EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("2 entry(ies) exported successfully"));
    EXPECT_EQ(w->lblDestination->text(), QStringLiteral("dictionary.csv"));
    EXPECT_EQ(w->lblSource->text(), QDir::toNativeSeparators(lexi::qpath(dictstore::dictionaryPath())) +
                                        QStringLiteral(" (default)"));
    // Where the file went, in full.
    EXPECT_TRUE(w->lblFullPath->text().endsWith(QDir::toNativeSeparators(QDir::current().absoluteFilePath(
        QStringLiteral("dictionary.csv")))));
    EXPECT_FALSE(w->fraErrors->isEnabled());
    EXPECT_FALSE(w->txtErrors->isEnabled());
    EXPECT_EQ(w->txtErrors->text(), QString());
    EXPECT_FALSE(w->lstRefused->isVisibleTo(w));
    expectAccessible(w);
    // The dictionary is not changed by an export.
    EXPECT_EQ(dictionaryBytes().size(), 2 * dictstore::kRecordSize);
}

TEST_F(UtilityTest, EmptyDictionaryExportsTheHeaderOnly)
{
    guitest::writeDictionary({});
    frmExport* w = exportThroughIntro();
    ASSERT_TRUE(w);
    EXPECT_EQ(readBytes("dictionary.csv"), kHeader);
    EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("0 entry(ies) exported successfully"));
}

TEST_F(UtilityTest, ExportErrorsLeaveAnExistingCsvAlone)
{
    writeBytes("dictionary.csv", "keep me");
    {
        frmExport* w = exportThroughIntro();  // no dictionary at all
        ASSERT_TRUE(w);
        EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("error occurred, see details following"));
        EXPECT_TRUE(w->fraErrors->isEnabled());
        EXPECT_TRUE(w->txtErrors->isEnabled());
        EXPECT_EQ(w->txtErrors->text(), QStringLiteral("exportUtility4KavixFile not found"));
        expectAccessible(w);
        // OK closes the window, and with it the program.
        QTest::mouseClick(w->cmdOK, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(result.isNull());
    }
    EXPECT_EQ(readBytes("dictionary.csv"), "keep me");

    // The 16-bit count: one record more than it holds ends the export.
    guitest::writeDictionary(std::vector<dictstore::WordRecord>(32768, happy()));
    frmExport* w = exportThroughIntro();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->txtErrors->text(), QStringLiteral("exportUtility4KavixOverflow"));
    EXPECT_EQ(readBytes("dictionary.csv"), "keep me");
    EXPECT_TRUE(rec.messages.empty());
}
