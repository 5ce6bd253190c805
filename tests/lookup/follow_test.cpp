// Following one word to the next: from a card's synonym or antonym, and from
// a grid's row, to that word's card.

#include "lookupfixture.h"

#include "frmR2.h"
#include "frmResult.h"

#include <QMainWindow>
#include <QTableView>

using namespace lookuptest;
using kavix::frmR2;
using kavix::frmResult;
using kavix::frmSearch;

namespace {

class FollowWordTest : public LookupTest {
protected:
    void SetUp() override
    {
        LookupTest::SetUp();
        writeDictionary({
            entry("happy", "feeling joy",
                  {{Field::Synonym1, "glad"}, {Field::Synonym2, "joyfull"}, {Field::Antonym1, "sad"}}),
            entry("glad", "pleased", {{Field::Synonym1, "happy"}}),
            entry("sad", "unhappy"),
            entry("joyful", "full of joy"),
        });
        owner = new QMainWindow;  // TearDown deletes every window
        owner->show();
        dialog = newDialog(owner);
    }

    template <typename W>
    static frmResult* follow(W* from, auto signal, auto act)
    {
        frmResult* opened = nullptr;
        const auto c = QObject::connect(from, signal, [&opened](QWidget* w) { opened = qobject_cast<frmResult*>(w); });
        act();
        QObject::disconnect(c);
        return opened;
    }

    QMainWindow* owner = nullptr;
    frmSearch* dialog = nullptr;
};

TEST_F(FollowWordTest, DoubleClickOrEnterOnASynonymOpensItsCard)
{
    frmResult* card = lookUp<frmResult>(dialog, true, "happy", {&frmSearch::chkSyn, &frmSearch::chkAnto});
    ASSERT_NE(card, nullptr);
    EXPECT_TRUE(card->txtSyn[0]->toolTip().contains(frmResult::kFollowHint));
    frmResult* glad = follow(card, &frmResult::wordFollowed,
                             [&] { QTest::mouseDClick(card->txtSyn[0], Qt::LeftButton); });
    ASSERT_NE(glad, nullptr);
    EXPECT_EQ(glad->txtWord->text().trimmed(), "glad");
    EXPECT_EQ(glad->parentWidget(), owner);
    EXPECT_TRUE(glad->txtSyn[0]->isVisibleTo(glad)) << "the same rows as the card it came from";
    EXPECT_TRUE(card->isVisible()) << "the first card stays";

    card->txtAnto[0]->setFocus();
    frmResult* sad = follow(card, &frmResult::wordFollowed, [&] { QTest::keyClick(card->txtAnto[0], Qt::Key_Return); });
    ASSERT_NE(sad, nullptr);
    EXPECT_EQ(sad->txtMeaning->text().trimmed(), "unhappy");
    EXPECT_TRUE(messages.empty());

    // A synonym the dictionary does not hold: the not-found card and its offer.
    frmResult* missing =
        follow(card, &frmResult::wordFollowed, [&] { QTest::mouseDClick(card->txtSyn[1], Qt::LeftButton); });
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(missing->txtWord->text().isEmpty());
    ASSERT_FALSE(missing->cmdSuggest.empty());
    EXPECT_EQ(missing->cmdSuggest[0]->text(), "joyful");

    // An empty box leads nowhere.
    EXPECT_EQ(follow(card, &frmResult::wordFollowed, [&] { QTest::mouseDClick(card->txtSyn[2], Qt::LeftButton); }),
              nullptr);
}

TEST_F(FollowWordTest, DoubleClickOrEnterOnAGridRowOpensItsCard)
{
    frmR2* grid = lookUp<frmR2>(dialog, false, "g", {&frmSearch::chkSyn});
    ASSERT_NE(grid, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid));
    QTableView* table = grid->MSFlexGridResults;
    const QRect cell = table->visualRect(grid->results()->index(0, 3));
    frmResult* glad = follow(grid, &frmR2::rowOpened,
                             [&] {
                                 // A view takes a double-click on the cell its first click pressed.
                                 QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
                                 QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
                             });
    ASSERT_NE(glad, nullptr);
    EXPECT_EQ(glad->txtWord->text().trimmed(), "glad");
    EXPECT_EQ(glad->txtSyn[0]->text().trimmed(), "happy");
    EXPECT_TRUE(glad->txtSyn[0]->isVisibleTo(glad));

    table->setFocus();
    table->setCurrentIndex(grid->results()->index(0, 0));
    frmResult* byKey = follow(grid, &frmR2::rowOpened, [&] { QTest::keyClick(table, Qt::Key_Return); });
    ASSERT_NE(byKey, nullptr);
    EXPECT_EQ(byKey->txtMeaning->text().trimmed(), "pleased");
    // The empty last row opens nothing.
    table->setCurrentIndex(grid->results()->index(1, 0));
    EXPECT_EQ(follow(grid, &frmR2::rowOpened, [&] { QTest::keyClick(table, Qt::Key_Return); }), nullptr);
    EXPECT_TRUE(messages.empty());
}

}  // namespace
