// Saved-search pages: their bytes, and what a browser shows of them.

#include "lookupfixture.h"

#include "frmR2.h"
#include "frmResult.h"
#include "savedpages.h"

#include "fixedclock.h"

#include <QDateTime>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

using namespace lookuptest;
using kavix::frmSearch;

namespace {

const std::string kLink = "<a href='mailto:support@lexivane.example.org'>Lexivane support</a>";

// The page's lines without their CR LF; fails when a line lacks one.
std::vector<std::string> pageLines(const fs::path& page)
{
    const std::string bytes = readBytes(page);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "a line without CR LF: " << bytes.substr(start);
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << "bare LF in the page";
    return lines;
}

// A page as a browser shows it: its title, its headings and, for every
// table, its rows as label and value.
struct ShownPage {
    QString title;
    QStringList headings;
    std::vector<std::vector<std::pair<QString, QString>>> tables;
};

QString cellText(QTextTable* t, int row, int column)
{
    const QTextTableCell cell = t->cellAt(row, column);
    if (!cell.isValid())
        return {};
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selectedText().replace(QChar(0xA0), QLatin1Char(' ')).trimmed();
}

ShownPage shownPage(const fs::path& page)
{
    const std::string bytes = readBytes(page);
    QTextDocument doc;
    doc.setHtml(QString::fromLatin1(bytes.data(), qsizetype(bytes.size())));
    ShownPage shown;
    shown.title = doc.metaInformation(QTextDocument::DocumentTitle);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() > 0)
            shown.headings << b.text().trimmed();
    }
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        std::vector<std::pair<QString, QString>> rows;
        for (int r = 0; r < table->rows(); ++r)
            rows.emplace_back(cellText(table, r, 0), cellText(table, r, 1));
        shown.tables.push_back(rows);
    }
    return shown;
}

class SavedPagesTest : public LookupTest {
protected:
    void SetUp() override
    {
        LookupTest::SetUp();
        makeSavedFolder();
        writeDictionary({
            entry("caf\u00e9", "a small <b>restaurant</b> & bar",
                  {{Field::PartOfSpeech, "noun"},
                   {Field::Pronu, "ka-FAY"},
                   {Field::Synonym1, "bistro"},
                   {Field::Usage, "We met at the caf\u00e9."},
                   {Field::Antonym1, "home"},
                   {Field::Antonym2, "x"},
                   {Field::Antonym3, "y"}}),
            entry("Cabin", "small house", {{Field::Synonym2, "hut"}, {Field::Synonym3, "shack"}}),
            entry("a/b", "slash"),
        });
    }

    template <typename Window>
    Window* saved(bool exact, const QString& text)
    {
        return lookUp<Window>(newDialog(), exact, text, {&frmSearch::chkSaveSearch});
    }
};

// Expected blocks, spelled out piece by piece.
const std::string kCafeBlock =
    "<h2>caf\xe9</h2><hr><br><table><tr><td><i>Meaning : </i></td><td>a small &lt;b&gt;restaurant&lt;/b&gt; &amp; bar"
    "</td></tr><tr><td><i>Part of Speech: </i></td><td>noun</td></tr>"
    "<tr><td><i>Example: </i></td><td>We met at the caf\xe9.</td></tr>"
    "<tr><td><i>Synonyms: </i></td><td>bistro</td></tr> <tr><td>&nbsp;</td><td>  </td><tr><td>&nbsp;</td><td> </td>"
    "<tr><td><i>Antonyms :</i></td><td>home</td><tr><td>&nbsp;</td><td>x</td></tr><tr><td>&nbsp;</td><td>y</td></tr>"
    "<tr><td><i>Pronunciation: </i></td><td>ka-FAY</td></tr>";
const std::string kCabinBlock =
    "<h2>Cabin</h2><hr><br><table><tr><td><i>Meaning : </i></td><td>small house</td></tr>"
    "<tr><td><i>Part of Speech: </i></td><td></td></tr><tr><td><i>Example: </i></td><td></td></tr>"
    "<tr><td><i>Synonyms: </i></td><td></td></tr> <tr><td>&nbsp;</td><td> hut </td><tr><td>&nbsp;</td><td> shack</td>"
    "<tr><td><i>Antonyms :</i></td><td></td><tr><td>&nbsp;</td><td></td></tr><tr><td>&nbsp;</td><td></td></tr>"
    "<tr><td><i>Pronunciation: </i></td><td></td></tr></table>";

// The foot's stamp, read from a clock set to a year's last second, in the C
// locale and the time zone the test program runs in.
const QDateTime kStampTime(QDate(2026, 12, 31), QTime(23, 59, 59));
const std::string kStamp = "31 Dec 2026 23:59:59 UTC";

using Rows = std::vector<std::pair<QString, QString>>;

TEST_F(SavedPagesTest, WordPageIsNamedAfterTheStoredWordAndReplacesAnOldOne)
{
    const fs::path page = savedPage("caf\u00e9.htm");
    {
        std::ofstream old(page, std::ios::binary);
        old << std::string(5000, 'x');
    }
    {
        const lexitest::FixedClock clock(kStampTime);
        saved<kavix::frmResult>(true, "CAF\u00c9 ");
    }
    EXPECT_TRUE(messages.empty());
    const auto lines = pageLines(page);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "<html><title>Saved search for caf\xe9</title><body>");
    EXPECT_EQ(lines[1], "<h1>Lexivane generated saved search</h1>");
    EXPECT_EQ(lines[3], "</table><hr>Saved Search at " + kStamp + "<br>For further help write to " + kLink +
                            "</body></html>");

    // What a browser shows: every field beside its label, the meaning's
    // markup as text.
    const ShownPage shown = shownPage(page);
    EXPECT_EQ(shown.title, QStringLiteral("Saved search for caf\u00e9"));
    EXPECT_EQ(shown.headings, (QStringList{"Lexivane generated saved search", "caf\u00e9"}));
    ASSERT_EQ(shown.tables.size(), 1u);
    const Rows expected = {{"Meaning :", "a small <b>restaurant</b> & bar"},
                           {"Part of Speech:", "noun"},
                           {"Example:", "We met at the caf\u00e9."},
                           {"Synonyms:", "bistro"},
                           {"", ""},
                           {"", ""},
                           {"Antonyms :", "home"},
                           {"", "x"},
                           {"", "y"},
                           {"Pronunciation:", "ka-FAY"}};
    EXPECT_EQ(shown.tables[0], expected);
}

// Markup in a stored word or value is shown as typed, in the title, the
// heading and the table of either page.
TEST_F(SavedPagesTest, MarkupInAWordOrValueIsShownAsText)
{
    writeDictionary({entry("&lt;R&D&gt;", "<i>research</i> & <b>development</b>",
                           {{Field::Synonym2, "a<b"}, {Field::Antonym3, "&amp;"}, {Field::Pronu, "R > D"}})});
    saved<kavix::frmResult>(true, "&lt;r&d&gt;");
    saved<kavix::frmR2>(false, "&lt;");
    EXPECT_TRUE(messages.empty());
    const Rows expected = {{"Meaning :", "<i>research</i> & <b>development</b>"},
                           {"Part of Speech:", ""},
                           {"Example:", ""},
                           {"Synonyms:", ""},
                           {"", "a<b"},
                           {"", ""},
                           {"Antonyms :", ""},
                           {"", ""},
                           {"", "&amp;"},
                           {"Pronunciation:", "R > D"}};

    const ShownPage word = shownPage(savedPage("&lt;R&D&gt;.htm"));
    EXPECT_EQ(word.title, QStringLiteral("Saved search for &lt;R&D&gt;"));
    EXPECT_EQ(word.headings, (QStringList{"Lexivane generated saved search", "&lt;R&D&gt;"}));
    ASSERT_EQ(word.tables.size(), 1u);
    EXPECT_EQ(word.tables[0], expected);

    const ShownPage list = shownPage(savedPage("list_&lt;.htm"));
    EXPECT_EQ(list.title, QStringLiteral("Saved search for &lt;*"));
    ASSERT_GE(list.headings.size(), 2);
    EXPECT_EQ(list.headings[1], QStringLiteral("&lt;R&D&gt;"));
    ASSERT_EQ(list.tables.size(), 1u);
    EXPECT_EQ(list.tables[0], expected);
}

TEST_F(SavedPagesTest, ListPageKeepsTheLettersAsTyped)
{
    {
        const lexitest::FixedClock clock(kStampTime);
        saved<kavix::frmR2>(false, "Ca");
    }
    EXPECT_TRUE(messages.empty());
    const auto lines = pageLines(savedPage("list_Ca.htm"));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "<html><title>Saved search for Ca*</title><body>");
    EXPECT_EQ(lines[1], "<h1><center>Lexivane generated search results</center></h1>");
    EXPECT_EQ(lines[2], kCafeBlock + "</table>");
    EXPECT_EQ(lines[3], kCabinBlock);
    EXPECT_EQ(lines[4], "<hr><br><h4>Saved Search at " + kStamp + "</h4><br>For help mail to " + kLink + "</body></html>");

    // No match still writes head and foot; a single space names "list_.htm".
    saved<kavix::frmR2>(false, "zz");
    EXPECT_EQ(pageLines(savedPage("list_zz.htm")).size(), 3u);
    saved<kavix::frmR2>(false, " ");
    EXPECT_EQ(pageLines(savedPage("list_.htm")).size(), 6u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SavedPagesTest, NamesThatWouldLeaveTheFolderAreRefused)
{
    auto* card = saved<kavix::frmResult>(true, "a/b");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], kavix::pageFailureMessage("a/b.htm", dictstore::Error::BadFileName));
    EXPECT_EQ(card->txtMeaning->text().trimmed(), "slash");

    messages.clear();
    saved<kavix::frmR2>(false, "?");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], kavix::pageFailureMessage("list_?.htm", dictstore::Error::BadFileName));

    EXPECT_TRUE(fs::is_empty(dictstore::savedSearchesPath()));
    for (const QString& bad : {QStringLiteral("a\\b"), QStringLiteral("a:b"), QStringLiteral("a*"),
                               QStringLiteral("\"q\""), QStringLiteral("<a>"), QStringLiteral("a|b"),
                               QStringLiteral("tab\there"), QStringLiteral("..\\x")})
        EXPECT_FALSE(kavix::acceptablePageName(bad)) << bad.toStdString();
    EXPECT_TRUE(kavix::acceptablePageName(QStringLiteral("caf\u00e9 au lait.htm")));
}

}  // namespace
