// The complete list: numbering, failures and the resize formulas.

#include "lookupfixture.h"

#include "frmViewAll.h"

#include <QGroupBox>
#include <QListView>

using namespace lookuptest;
using kavix::frmViewAll;

namespace {

QStringList lines(QAbstractItemModel* model)
{
    QStringList out;
    for (int r = 0; r < model->rowCount(); ++r)
        out << model->index(r, 0).data().toString();
    return out;
}

class CompleteListTest : public LookupTest {
protected:
    frmViewAll* open()
    {
        auto* w = new frmViewAll;
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->show();
        return w;
    }
};

TEST_F(CompleteListTest, NumbersWordsAndMeaningsInFileOrder)
{
    writeDictionary({entry("zebra", "striped animal"), entry(" apple ", ""), entry("mango", "fruit")});
    frmViewAll* w = open();
    EXPECT_EQ(w->windowTitle(), "Complete List");
    EXPECT_EQ(lines(w->lstWord->model()), QStringList({"WORD", "1. zebra", "2. apple", "3. mango"}));
    EXPECT_EQ(lines(w->lstMeaning->model()), QStringList({"MEANING", "1. striped animal", "2. ", "3. fruit"}));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(w->focusWidget(), w->lstWord);

    QTest::keyClick(w->lstWord, Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(CompleteListTest, MissingOrEmptyDictionary)
{
    frmViewAll* missing = open();
    EXPECT_EQ(messages, std::vector<QString>{"File not found"});
    EXPECT_EQ(lines(missing->lstWord->model()), QStringList({"WORD"}));
    EXPECT_EQ(lines(missing->lstMeaning->model()), QStringList({"MEANING"}));

    messages.clear();
    writeDictionary({});
    EXPECT_EQ(lines(open()->lstWord->model()), QStringList({"WORD"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(CompleteListTest, TheSixteenBitCounterStopsAfter32767Entries)
{
    std::vector<dictstore::WordRecord> records(32767, entry("w", "m"));
    writeDictionary(records);
    EXPECT_EQ(open()->words()->rowCount(), 32768);
    EXPECT_TRUE(messages.empty()) << "a full dictionary lists without a fault";

    records.push_back(entry("one too many", "m"));
    writeDictionary(records);
    frmViewAll* w = open();
    EXPECT_EQ(messages, std::vector<QString>{"Overflow"});
    EXPECT_EQ(w->words()->rowCount(), 32768);
    EXPECT_EQ(w->meanings()->index(32767).data().toString(), "32767. m");
}

TEST_F(CompleteListTest, LayoutFollowsTheWindowSize)
{
    writeDictionary({entry("a", "b")});
    frmViewAll* w = open();
    auto check = [w] {
        const QSize outer = w->size() + lexi::frameExtra(w);
        const int W = lexi::toTwips(outer.width());
        const int H = lexi::toTwips(outer.height());
        const int frameWidth = W - 380;
        EXPECT_EQ(w->Frame->width(), lexi::twips(frameWidth));
        EXPECT_EQ(w->Frame->height(), lexi::twips(H - 900));
        EXPECT_EQ(w->cmdClose->pos(), QPoint(lexi::twips(W - 1300), lexi::twips(H - 760)));
        EXPECT_EQ(w->lstWord->geometry(),
                  QRect(lexi::twips(120), lexi::twips(220), lexi::twips(frameWidth / 2 - 60), lexi::twips(H - 1320)));
        EXPECT_EQ(w->lstMeaning->geometry(), QRect(lexi::twips(frameWidth / 2 - 60 - 120 + 200), lexi::twips(220),
                                                   lexi::twips(frameWidth / 2 - 60), lexi::twips(H - 1320)));
    };
    check();
    const QRect before = w->lstMeaning->geometry();
    w->resize(w->size() + QSize(60, 30));
    check();
    EXPECT_NEAR(w->lstMeaning->width() - before.width(), 30, 1);

    // Far too small: the window keeps a size where everything is usable.
    w->resize(10, 10);
    EXPECT_GE(w->lstWord->width(), 40);
    EXPECT_GE(w->lstWord->height(), 20);
    EXPECT_TRUE(w->rect().contains(w->cmdClose->geometry()));
}

}  // namespace
