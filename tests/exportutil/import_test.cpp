#include "exportfixture.h"

#include <QGroupBox>
#include <QListWidget>

using namespace exporttest;
using dictstore::Field;

namespace {

// A record as the import must store it, filled field by field.
dictstore::WordRecord entry(std::initializer_list<std::pair<Field, std::string>> fields)
{
    dictstore::WordRecord r;
    for (const auto& [f, text] : fields)
        dictstore::assignField(r, f, text);
    return r;
}

std::string bytesOf(const std::vector<dictstore::WordRecord>& records)
{
    std::string out;
    for (const auto& r : records)
        out.append(r.bytes.data(), r.bytes.size());
    return out;
}

QStringList listed(const frmImport* w)
{
    QStringList out;
    for (int i = 0; i < w->lstRefused->count(); ++i)
        out << w->lstRefused->item(i)->text();
    return out;
}

QString refusal(const QString& word) { return QLatin1Char('\'') + word + QStringLiteral("' already exists; It will not be imported"); }

}  // namespace

TEST_F(UtilityTest, ImportReadsValuesByTheRulesAndCutsFieldsToWidth)
{
    const std::string meaning45 = "a meaning that runs to forty-five characters.";
    ASSERT_EQ(meaning45.size(), 45u);
    writeBytes("words.csv",
               // commas, a semicolon and spaces inside quotes; text after a closing quote dropped
               "\"joy, glee\",\"great; \"\"pleasure\",\"noun\",\"  pure joy \",s1,s2,s3,a1,a2,a3,JOY\r\n"
               // one record over two lines; bare values lose trailing spaces; Windows-1252 text
               "  tired  ,\"" + meaning45 + "\",adj,\"caf\xE9 talk\"\r\n,,\"\",a1,,\"a3\"  junk  ,TY-erd");
    frmImport* w = importThroughIntro(QStringLiteral("words"));
    ASSERT_TRUE(w);
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Import results"));
    EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("2 entry(ies) imported successfully"));
    EXPECT_EQ(w->lblSource->text(), QStringLiteral("words.csv"));
    EXPECT_FALSE(w->fraErrors->isEnabled());
    EXPECT_EQ(dictionaryBytes(),
              bytesOf({entry({{Field::Word, "joy, glee"},
                              {Field::Meaning, "great; "},
                              {Field::PartOfSpeech, "noun"},
                              {Field::Usage, "  pure joy "},
                              {Field::Synonym1, "s1"},
                              {Field::Synonym2, "s2"},
                              {Field::Synonym3, "s3"},
                              {Field::Antonym1, "a1"},
                              {Field::Antonym2, "a2"},
                              {Field::Antonym3, "a3"},
                              {Field::Pronu, "JOY"}}),
                       entry({{Field::Word, "tired"},
                              {Field::Meaning, meaning45.substr(0, 40)},
                              {Field::PartOfSpeech, "adj"},
                              {Field::Usage, "caf\xC3\xA9 talk"},
                              {Field::Antonym1, "a1"},
                              {Field::Antonym3, "a3"},
                              {Field::Pronu, "TY-erd"}})}));
    expectAccessible(w);
}

TEST_F(UtilityTest, ImportRefusesPresentWordsOneMessageEach)
{
    guitest::writeDictionary({guitest::record("happy", "glad")});
    const std::string rest = std::string(10, ',') + "\r\n";
    writeBytes("words.csv", "HAPPY" + rest + "\"  happy  \"" + rest + "new" + rest + "New" + rest + "other" + rest);
    frmImport* w = importThroughIntro(QStringLiteral("words"));
    ASSERT_TRUE(w);
    ASSERT_EQ(rec.messages.size(), 3u);
    EXPECT_EQ(rec.messages[0].text, refusal(QStringLiteral("HAPPY")));
    EXPECT_EQ(rec.messages[1].text, refusal(QStringLiteral("happy")));  // trimmed
    EXPECT_EQ(rec.messages[2].text, refusal(QStringLiteral("New")));    // appended a line earlier
    for (const auto& m : rec.messages) {
        EXPECT_EQ(m.title, QStringLiteral("Import"));
        EXPECT_EQ(m.icon, lexi::MsgIcon::Exclamation);
        EXPECT_EQ(m.buttons, lexi::MsgButtons::Ok);
        EXPECT_EQ(m.checkBoxText, QStringLiteral("Don't ask again for this file"));
    }
    EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("2 entry(ies) imported successfully"));
    EXPECT_EQ(listed(w), (QStringList{QStringLiteral("HAPPY"), QStringLiteral("happy"), QStringLiteral("New")}));
    EXPECT_TRUE(w->lstRefused->isVisibleTo(w));
    EXPECT_EQ(dictionaryBytes(),
              bytesOf({guitest::record("happy", "glad"), guitest::record("new"), guitest::record("other")}));
    expectAccessible(w);
}

TEST_F(UtilityTest, DontAskAgainEndsTheMessagesButNotTheRefusals)
{
    guitest::writeDictionary({guitest::record("a"), guitest::record("b"), guitest::record("c")});
    writeBytes("words.csv", "a,,,,,,,,,,\r\nb,,,,,,,,,,\r\nnew,,,,,,,,,,\r\nc,,,,,,,,,,\r\nA,,,,,,,,,,\r\n");
    lexi::setMessageHandler([this](const lexi::Message& m) {
        rec.messages.push_back(m);
        if (m.title == QStringLiteral("Import") && rec.messages.size() == 3 && m.checked)
            *m.checked = true;  // ticked at the second refusal
        return m.buttons == lexi::MsgButtons::Ok ? lexi::MsgAnswer::Ok : lexi::MsgAnswer::Yes;
    });
    frmImport* w = importThroughIntro(QStringLiteral("words"));
    ASSERT_TRUE(w);
    ASSERT_EQ(rec.messages.size(), 2u);
    EXPECT_EQ(rec.messages[1].text, refusal(QStringLiteral("b")));
    EXPECT_EQ(listed(w), (QStringList{"a", "b", "c", "A"}));
    EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("1 entry(ies) imported successfully"));
    EXPECT_EQ(dictionaryBytes().size(), 4 * dictstore::kRecordSize);
}

TEST_F(UtilityTest, TwelveValuesShiftTheRestAndAShortLastRecordFails)
{
    guitest::writeDictionary({guitest::record("kept")});
    const std::string ten(10, ',');
    writeBytes("words.csv", "one" + ten + ",extra\r\ntwo" + ten + "\r\nthree" + ten + "\r\n");
    frmImport* w = importThroughIntro(QStringLiteral("words"));
    ASSERT_TRUE(w);
    // "extra" starts the second record, which takes "two" as its meaning;
    // the third starts with the last value of "two"'s line, so "three" is its
    // meaning, and one value is left over at the end.
    EXPECT_EQ(w->lblSource->text(), QStringLiteral("Error! See description"));
    EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("Failed to import!"));
    EXPECT_TRUE(w->fraErrors->isEnabled());
    EXPECT_TRUE(w->txtErrors->isEnabled());
    EXPECT_EQ(w->txtErrors->text(), QStringLiteral("Input past end of file (line 3 of words.csv)"));
    EXPECT_EQ(dictionaryBytes(), bytesOf({guitest::record("kept"), guitest::record("one"),
                                          entry({{Field::Word, "extra"}, {Field::Meaning, "two"}}),
                                          guitest::record("", "three")}));
    expectAccessible(w);
}

TEST_F(UtilityTest, EmptyAndMissingFilesAppendNothing)
{
    guitest::writeDictionary({guitest::record("kept")});
    const std::string before = dictionaryBytes();
    writeBytes("words.csv", "\r\n  \r\n");
    frmImport* w = importThroughIntro(QStringLiteral("words"));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("0 entry(ies) imported successfully"));
    EXPECT_FALSE(w->lstRefused->isVisibleTo(w));

    w = importThroughIntro(QStringLiteral("no such words"));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->lblSource->text(), QStringLiteral("Error! See description"));
    EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("Failed to import!"));
    EXPECT_EQ(w->txtErrors->text(), QStringLiteral("File not found"));
    EXPECT_TRUE(w->lblFullPath->text().endsWith(QStringLiteral("no such words.csv")));
    EXPECT_EQ(dictionaryBytes(), before);

    // Without the dictionary's folder nothing can be opened.
    std::filesystem::remove_all(dictstore::dictionaryPath().parent_path());
    w = importThroughIntro(QStringLiteral("words"));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->txtErrors->text(), QStringLiteral("Path not found"));
    EXPECT_TRUE(rec.messages.empty());
}

// Export, then import into an empty dictionary: the same entries back, byte
// for byte. Importing the same file again refuses every word.
TEST_F(UtilityTest, ExportThenImportGivesBackTheSameDictionary)
{
    std::vector<dictstore::WordRecord> records = {
        entry({{Field::Word, "happy"},
               {Field::Meaning, "glad, merry; content"},
               {Field::PartOfSpeech, "adjective"},
               {Field::Pronu, "HAP-ee"},
               {Field::Synonym1, "glad"},
               {Field::Synonym3, "merry"},
               {Field::Usage, "a happy day"},
               {Field::Antonym1, "sad"},
               {Field::Antonym3, "unhappy"}}),
        entry({{Field::Word, "word"}, {Field::Meaning, "a unit of language"}}),
        entry({{Field::Word, "caf\xC3\xA9"}, {Field::Usage, "line one\r\nline two"}, {Field::Antonym2, "x"}}),
        entry({}),
    };
    guitest::writeDictionary(records);
    const std::string original = dictionaryBytes();
    ASSERT_TRUE(exportThroughIntro());
    std::filesystem::rename("dictionary.csv", "words.csv");

    guitest::writeDictionary({});
    frmImport* w = importThroughIntro(QStringLiteral("words"));
    ASSERT_TRUE(w);
    EXPECT_TRUE(rec.messages.empty());
    EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("4 entry(ies) imported successfully"));
    EXPECT_EQ(dictionaryBytes(), original);

    w = importThroughIntro(QStringLiteral("words"));
    ASSERT_TRUE(w);
    ASSERT_EQ(rec.messages.size(), 4u);  // one per entry, none for the header
    EXPECT_EQ(rec.messages[0].text, refusal(QStringLiteral("happy")));
    EXPECT_EQ(rec.messages[1].text, refusal(QStringLiteral("word")));
    EXPECT_EQ(rec.messages[3].text, refusal(QString()));
    EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("0 entry(ies) imported successfully"));
    EXPECT_EQ(dictionaryBytes(), original);
}

TEST_F(UtilityTest, BinaryDataIsRefusedWithItsLineBeforeAnythingIsAppended)
{
    guitest::writeDictionary({guitest::record("kept")});
    const std::string before = dictionaryBytes();
    std::string bytes = "one,,,,,,,,,,\r\ntwo,,,,,,,,,,\r\n";
    for (int i = 0; i < 4096; ++i)
        bytes += static_cast<char>((i * 37) & 0xFF);
    writeBytes("words.csv", bytes);
    frmImport* w = importThroughIntro(QStringLiteral("words"));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("Failed to import!"));
    EXPECT_EQ(w->txtErrors->text(),
              QStringLiteral("Not a text file: line 3 of words.csv holds bytes that are not text. Nothing was imported."));
    EXPECT_EQ(dictionaryBytes(), before);
}

TEST_F(UtilityTest, TheImportStopsAtTheLargestDictionaryKavixCanUseAndSaysSo)
{
    // All but two of the records kavix can number.
    const auto full = dictstore::kMaxKavixRecords * static_cast<std::int64_t>(dictstore::kRecordSize);
    guitest::writeDictionary({});
    std::filesystem::resize_file(dictstore::dictionaryPath(), full - 2 * dictstore::kRecordSize);
    writeBytes("words.csv", "a,,,,,,,,,,\r\nb,,,,,,,,,,\r\nc,,,,,,,,,,\r\n");
    frmImport* w = importThroughIntro(QStringLiteral("words"));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->txtErrors->text(),
              QStringLiteral("Dictionary full: it now holds 32,767 entries, the most kavix can use. The import "
                             "stopped at line 3 of words.csv after 2 entry(ies)."));
    EXPECT_EQ(static_cast<std::int64_t>(std::filesystem::file_size(dictstore::dictionaryPath())), full);

    w = importThroughIntro(QStringLiteral("words"));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->txtErrors->text(), QStringLiteral("Dictionary full: it already holds 32,767 entries, the most "
                                                   "kavix can use. Nothing was imported."));
    EXPECT_EQ(static_cast<std::int64_t>(std::filesystem::file_size(dictstore::dictionaryPath())), full);
}

TEST_F(UtilityTest, AnotherWriterIsNamedAndNothingIsReportedImported)
{
    guitest::writeDictionary({guitest::record("kept")});
    const std::string before = dictionaryBytes();
    writeBytes("words.csv", "a,,,,,,,,,,\r\n");
    dictstore::Dictionary other;
    ASSERT_EQ(other.openForUpdate(dictstore::dictionaryPath()), dictstore::Error::None);
    ASSERT_EQ(other.holdWriteLock(), dictstore::Error::None);
    frmImport* w = importThroughIntro(QStringLiteral("words"));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("Failed to import!"));
    EXPECT_TRUE(w->txtErrors->text().startsWith(QStringLiteral("File in use by another program: another program is "
                                                                "writing to the dictionary.")));
    EXPECT_EQ(dictionaryBytes(), before);
}

TEST_F(UtilityTest, AUtf8FileIsStoredInWindows1252)
{
    guitest::writeDictionary({});
    writeBytes("words.csv", "\xEF\xBB\xBFna\xC3\xAFve,\"a caf\xC3\xA9\",,,,,,,,,\r\n");
    frmImport* w = importThroughIntro(QStringLiteral("words"));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->lblSuccess->text(), QStringLiteral("1 entry(ies) imported successfully"));
    EXPECT_EQ(dictionaryBytes(), bytesOf({entry({{Field::Word, "na\xC3\xAFve"}, {Field::Meaning, "a caf\xC3\xA9"}})}));
    EXPECT_EQ(dictionaryBytes().substr(0, 5), "na\xEFve");
}
