// Looking a word up by its meaning: the dialog's third choice, the grid it
// opens, its saved page and the command line's "/m".

#include "lookupfixture.h"

#include "cmdline.h"
#include "frmR2.h"
#include "frmResult.h"

#include <QGroupBox>
#include <QTableView>

using namespace lookuptest;
using kavix::frmR2;
using kavix::frmSearch;

namespace {

class MeaningLookUpTest : public LookupTest {
protected:
    void SetUp() override
    {
        LookupTest::SetUp();
        writeDictionary({
            entry("short", "having little length"),
            entry("brief", "of short duration", {{Field::Synonym1, "short"}}),
            entry("fleeting", "lasting a very short time", {{Field::PartOfSpeech, "adjective"}}),
            entry("tired", "needing rest", {{Field::Synonym1, "weary"}}),
            entry("weary", "worn out after effort"),
        });
    }

    static QStringList words(frmR2* g)
    {
        QStringList out;
        for (int r = 0; r < g->results()->entryCount(); ++r)
            out << g->results()->index(r, 0).data().toString();
        return out;
    }

    frmR2* byMeaning(frmSearch* d, const QString& text, std::initializer_list<QCheckBox* frmSearch::*> ticks = {})
    {
        QTest::mouseClick(d->optMeaning, Qt::LeftButton);
        d->txtMeaning->clear();
        QTest::keyClicks(d->txtMeaning, text);
        for (auto tick : ticks)
            QTest::mouseClick(d->*tick, Qt::LeftButton);
        QTest::mouseClick(d->cmdSearch, Qt::LeftButton);
        return qobject_cast<frmR2*>(d->lastResult());
    }
};

TEST_F(MeaningLookUpTest, TheThirdChoiceHasItsOwnBoxAndFollowsTheDialogsRules)
{
    frmSearch* d = newDialog();
    EXPECT_EQ(d->optMeaning->text(), "Has a meaning like");
    EXPECT_FALSE(d->txtMeaning->isEnabled());
    QTest::mouseClick(d->optMeaning, Qt::LeftButton);
    EXPECT_TRUE(d->txtMeaning->isEnabled());
    EXPECT_FALSE(d->txtExact->isEnabled());
    EXPECT_FALSE(d->txt2letter->isEnabled());
    EXPECT_FALSE(d->sliLetter->isEnabled());
    EXPECT_FALSE(d->cmdSearch->isEnabled());
    QTest::keyClicks(d->txtMeaning, "x");
    EXPECT_TRUE(d->cmdSearch->isEnabled());
    QTest::mouseClick(d->optExact, Qt::LeftButton);
    EXPECT_FALSE(d->txtMeaning->isEnabled());
    EXPECT_EQ(d->txtMeaning->text(), "x") << "the disabled box keeps its text";
    EXPECT_FALSE(d->cmdSearch->isEnabled());

    // Everything still fits: the new row sits inside its frame, above the
    // save box and the buttons.
    const QRect row = d->txtMeaning->geometry().translated(d->fraSrchExp->pos());
    EXPECT_TRUE(d->fraSrchExp->geometry().contains(row));
    EXPECT_LT(row.bottom(), d->chkSaveSearch->geometry().top());
    EXPECT_TRUE(d->rect().contains(d->cmdCancel->geometry()));
}

TEST_F(MeaningLookUpTest, GoListsTheBestMatchesFirst)
{
    frmSearch* d = newDialog();
    frmR2* g = byMeaning(d, "lasting a short time", {&frmSearch::chkPOSp});
    ASSERT_NE(g, nullptr);
    EXPECT_TRUE(messages.empty());
    const QStringList found = words(g);
    ASSERT_GE(found.size(), 2);
    EXPECT_EQ(found[0], "fleeting");
    EXPECT_TRUE(found.contains("brief"));
    EXPECT_FALSE(found.contains("short")) << "the description's own word";
    EXPECT_EQ(g->results()->index(0, 3).data().toString(), "lasting a very short time");
    // The meanings are what the user chooses by: wider than in a list by letters.
    EXPECT_GT(g->MSFlexGridResults->columnWidth(3), 2 * g->MSFlexGridResults->columnWidth(0));
    EXPECT_EQ(g->results()->index(0, 1).data().toString(), "adjective");
    EXPECT_FALSE(g->MSFlexGridResults->isColumnHidden(1));

    d->show();
    EXPECT_EQ(words(byMeaning(d, "very tired")), QStringList({"weary"}));
    d->show();
    EXPECT_TRUE(words(byMeaning(d, "zzz qqq")).isEmpty());
    EXPECT_TRUE(messages.empty()) << "no match is no failure";
}

TEST_F(MeaningLookUpTest, TheSavedPageListsWhatTheGridShows)
{
    makeSavedFolder();
    frmSearch* d = newDialog();
    frmR2* g = byMeaning(d, " very tired ", {&frmSearch::chkSaveSearch});
    ASSERT_EQ(words(g), QStringList({"weary"}));
    EXPECT_TRUE(messages.empty());
    const std::string page = readBytes(savedPage("meaning_very tired.htm"));
    EXPECT_EQ(page.rfind("<html><title>Saved search for a meaning like very tired</title><body>\r\n", 0), 0u) << page;
    EXPECT_NE(page.find("<h2>weary</h2>"), std::string::npos);

    d->show();
    byMeaning(d, "short/long", {});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("meaning_short/long.htm")) << messages[0].toStdString();
}

TEST_F(MeaningLookUpTest, TheCommandLineTakesSlashM)
{
    makeSavedFolder();
    auto* g = qobject_cast<frmR2*>(kavix::runCommandLine(QStringLiteral("/m lasting a short time")));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->parentWidget(), nullptr);
    EXPECT_EQ(words(g).value(0), "fleeting");
    EXPECT_TRUE(g->MSFlexGridResults->isColumnHidden(1)) << "word and meaning only";
    EXPECT_TRUE(fs::is_empty(dictstore::savedSearchesPath()));

    auto* empty = qobject_cast<frmR2*>(kavix::runCommandLine(QStringLiteral("/m")));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->results()->entryCount(), 0);
    // Not the meaning form: looked up as words.
    EXPECT_NE(qobject_cast<kavix::frmResult*>(kavix::runCommandLine(QStringLiteral("/mnt"))), nullptr);
    EXPECT_NE(qobject_cast<kavix::frmResult*>(kavix::runCommandLine(QStringLiteral("/M tired"))), nullptr);
}

}  // namespace
