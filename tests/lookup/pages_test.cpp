// Saved-search pages, compared byte for byte.

#include "lookupfixture.h"

#include "frmR2.h"
#include "frmResult.h"
#include "savedpages.h"

#include <QDateTime>
#include <QLocale>

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

// The foot's date-time is one of the stamps taken around the look-up.
void expectFoot(const std::string& foot, const std::string& before, const std::string& after,
                const QDateTime& from, const QDateTime& to)
{
    ASSERT_EQ(foot.rfind(before, 0), 0u) << foot;
    ASSERT_GE(foot.size(), before.size() + after.size());
    ASSERT_EQ(foot.substr(foot.size() - after.size()), after) << foot;
    const QString stamp = QString::fromLatin1(foot.substr(before.size(), foot.size() - before.size() - after.size()));
    QStringList allowed;
    for (QDateTime t = from.addSecs(-1); t <= to.addSecs(1); t = t.addSecs(1))
        allowed << kavix::savedSearchStamp(t);
    EXPECT_TRUE(allowed.contains(stamp)) << stamp.toStdString();
    const QLocale system = QLocale::system();
    EXPECT_TRUE(stamp.startsWith(system.toString(to.date(), QLocale::ShortFormat) + ' ') ||
                stamp.startsWith(system.toString(from.date(), QLocale::ShortFormat) + ' '))
        << stamp.toStdString();
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

TEST_F(SavedPagesTest, WordPageIsNamedAfterTheStoredWordAndReplacesAnOldOne)
{
    const fs::path page = savedPage("caf\u00e9.htm");
    {
        std::ofstream old(page, std::ios::binary);
        old << std::string(5000, 'x');
    }
    const QDateTime from = QDateTime::currentDateTime();
    saved<kavix::frmResult>(true, "CAF\u00c9 ");
    const QDateTime to = QDateTime::currentDateTime();
    EXPECT_TRUE(messages.empty());
    const auto lines = pageLines(page);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "<html><title>Saved search for caf\xe9</title><body>");
    EXPECT_EQ(lines[1], "<h1>Lexivane generated saved search</h1>");
    EXPECT_EQ(lines[2], kCafeBlock);
    expectFoot(lines[3], "</table><hr>Saved Search at ", "<br>For further help write to " + kLink + "</body></html>",
               from, to);
}

TEST_F(SavedPagesTest, ListPageKeepsTheLettersAsTyped)
{
    const QDateTime from = QDateTime::currentDateTime();
    saved<kavix::frmR2>(false, "Ca");
    const QDateTime to = QDateTime::currentDateTime();
    EXPECT_TRUE(messages.empty());
    const auto lines = pageLines(savedPage("list_Ca.htm"));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "<html><title>Saved search for Ca*</title><body>");
    EXPECT_EQ(lines[1], "<h1><center>Lexivane generated search results</center></h1>");
    EXPECT_EQ(lines[2], kCafeBlock + "</table>");
    EXPECT_EQ(lines[3], kCabinBlock);
    expectFoot(lines[4], "<hr><br><h4>Saved Search at ", "</h4><br>For help mail to " + kLink + "</body></html>", from,
               to);

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
