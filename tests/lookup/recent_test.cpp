// The word box remembers the words last looked up, newest first, from one
// run to the next.

#include "lookupfixture.h"

#include "frmR2.h"
#include "frmResult.h"
#include "recentwords.h"

#include <QAction>
#include <QListWidget>
#include <QSettings>

using namespace lookuptest;
using kavix::frmResult;
using kavix::frmSearch;
using kavix::RecentWords;

namespace {

class RecentWordsTest : public LookupTest {
protected:
    void SetUp() override
    {
        LookupTest::SetUp();
        writeDictionary({entry("happy", "glad"), entry("sad", "unhappy"), entry("Apple", "fruit")});
    }

    static QStringList listed(frmSearch* d)
    {
        QStringList out;
        for (int r = 0; r < d->lstWords->count(); ++r)
            out << d->lstWords->item(r)->text();
        return out;
    }
};

TEST_F(RecentWordsTest, GoRemembersTheWordNewestFirstAndKeepsTwenty)
{
    frmSearch* d = newDialog();
    for (const char* w : {"happy", " sad ", "zebra", "HAPPY"}) {
        d->show();
        lookUp<frmResult>(d, true, w);
    }
    EXPECT_EQ(RecentWords::load(), QStringList({"HAPPY", "zebra", "sad"}))
        << "trimmed, one copy in any letter case, a word not found too";
    // The letters search is no word looked up.
    d->show();
    lookUp<kavix::frmR2>(d, false, "a");
    EXPECT_EQ(RecentWords::load().size(), 3);

    for (int i = 0; i < 30; ++i)
        RecentWords::remember(QStringLiteral("w%1").arg(i));
    const QStringList kept = RecentWords::load();
    ASSERT_EQ(kept.size(), RecentWords::kMost);
    EXPECT_EQ(kept.first(), "w29");
    EXPECT_EQ(kept.last(), "w10");
    RecentWords::remember(QStringLiteral("   "));
    EXPECT_EQ(RecentWords::load().first(), "w29");
}

TEST_F(RecentWordsTest, TheDropDownOffersThemAndTakesOne)
{
    RecentWords::remember(QStringLiteral("sad"));
    RecentWords::remember(QStringLiteral("happy"));
    frmSearch* d = newDialog();
    QApplication::setActiveWindow(d);
    EXPECT_FALSE(d->txtExact->isEnabled()) << "the box is as designed until its option is chosen";
    d->cmdRecent->trigger();
    EXPECT_FALSE(d->lstWords->isVisible());

    QTest::mouseClick(d->optExact, Qt::LeftButton);
    d->cmdRecent->trigger();
    ASSERT_TRUE(d->lstWords->isVisible());
    EXPECT_EQ(d->lstWords->accessibleName(), "Recent words");
    EXPECT_EQ(listed(d), QStringList({"happy", "sad"}));
    EXPECT_FALSE(d->cmdSearch->isEnabled());
    QTest::keyClick(d->txtExact, Qt::Key_Down);
    QTest::keyClick(d->txtExact, Qt::Key_Down);
    QTest::keyClick(d->txtExact, Qt::Key_Return);
    EXPECT_EQ(d->txtExact->text(), "sad");
    EXPECT_FALSE(d->lstWords->isVisible());
    EXPECT_TRUE(d->cmdSearch->isEnabled());

    // From the keyboard: Alt+Down, or Down in an empty box.
    QTest::keyClick(d->txtExact, Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(d->lstWords->isVisible());
    QTest::keyClick(d->txtExact, Qt::Key_Escape);
    d->txtExact->clear();
    QTest::keyClick(d->txtExact, Qt::Key_Down);
    EXPECT_TRUE(d->lstWords->isVisible());
    // Typing offers the dictionary's words again.
    QTest::keyClicks(d->txtExact, "a");
    EXPECT_EQ(d->lstWords->accessibleName(), "Matching words");
    EXPECT_EQ(listed(d), QStringList({"Apple"}));
}

TEST_F(RecentWordsTest, TheyAreKeptFromOneRunToTheNext)
{
    frmSearch* first = newDialog();
    lookUp<frmResult>(first, true, "happy");
    delete first;
    // What a later run reads: the file on disk.
    QSettings onDisk(RecentWords::storeFile(), QSettings::IniFormat);
    EXPECT_EQ(onDisk.value("lookup/recentWords").toStringList(), QStringList({"happy"}));
    EXPECT_TRUE(RecentWords::storeFile().startsWith(QString::fromStdString(
        dictstore::lexivaneRoot().parent_path().string())));

    frmSearch* next = newDialog();
    QTest::mouseClick(next->optExact, Qt::LeftButton);
    next->cmdRecent->trigger();
    EXPECT_EQ(listed(next), QStringList({"happy"}));
}

}  // namespace
