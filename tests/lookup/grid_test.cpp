// The results grid: rows, columns, titles and failures.

#include "lookupfixture.h"

#include "frmR2.h"

#include <QHeaderView>
#include <QTableView>

using namespace lookuptest;
using kavix::frmR2;
using kavix::frmSearch;

namespace {

const QString kGridError = QStringLiteral("Word Not found!!!, Please check the spelling.");

class ResultsGridTest : public LookupTest {
protected:
    frmR2* grid(const QString& letters, std::initializer_list<QCheckBox* frmSearch::*> ticks = {})
    {
        frmSearch* d = newDialog();
        return lookUp<frmR2>(d, false, letters, ticks);
    }

    static QString cell(frmR2* g, int row, int column)
    {
        return g->MSFlexGridResults->model()->index(row, column).data().toString();
    }
    static QString title(frmR2* g, int column)
    {
        return g->MSFlexGridResults->model()->headerData(column, Qt::Horizontal).toString();
    }
    static QStringList column(frmR2* g, int c)
    {
        QStringList out;
        for (int r = 0; r < g->MSFlexGridResults->model()->rowCount(); ++r)
            out << cell(g, r, c);
        return out;
    }
};

TEST_F(ResultsGridTest, ListsMatchesInFileOrderThenOneEmptyRow)
{
    writeDictionary({
        entry("Happen", "occur", {{Field::Synonym2, "befall"}, {Field::Usage, "It happens."}}),
        entry("h", "the letter"),
        entry("zebra", "animal"),
        entry("  hat ", "headwear", {{Field::PartOfSpeech, "noun"}}),
    });
    frmR2* g = grid("hA");
    ASSERT_NE(g, nullptr);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(g->windowTitle(), "Results");
    EXPECT_EQ(column(g, 0), QStringList({"Happen", "hat", ""}));
    EXPECT_EQ(column(g, 3), QStringList({"occur", "headwear", ""}));
    EXPECT_EQ(g->MSFlexGridResults->model()->columnCount(), 11);

    // Unchosen columns are hidden and untitled, but hold their data.
    QHeaderView* header = g->MSFlexGridResults->horizontalHeader();
    EXPECT_FALSE(header->isHidden());
    EXPECT_EQ(title(g, 0), "Word");
    EXPECT_EQ(title(g, 3), "Meaning");
    EXPECT_EQ(g->MSFlexGridResults->columnWidth(0), lexi::twips(1500));
    EXPECT_EQ(g->MSFlexGridResults->columnWidth(3), lexi::twips(1500));
    for (int c : {1, 2, 4, 5, 6, 7, 8, 9, 10}) {
        EXPECT_TRUE(g->MSFlexGridResults->isColumnHidden(c)) << c;
        EXPECT_TRUE(title(g, c).isEmpty()) << c;
    }
    EXPECT_EQ(cell(g, 0, 5), "befall");
    EXPECT_EQ(cell(g, 0, 10), "It happens.");
    EXPECT_EQ(cell(g, 1, 1), "noun");
    EXPECT_EQ(g->MSFlexGridResults->currentIndex(), g->MSFlexGridResults->model()->index(0, 0));
}

TEST_F(ResultsGridTest, AllBoxesShowElevenTitledColumns)
{
    writeDictionary({entry("alpha", "first", {{Field::Pronu, "AL-fa"}, {Field::Antonym3, "omega"}})});
    frmR2* g = grid("a", {&frmSearch::chkSelAll});
    const QStringList titles = {"Word",      "Type",      "Pronounciation", "Meaning",   "Synonym 1",      "Synonym 2",
                                "Synonym 3", "Antonym 1", "Antonym 2",      "Antonym 3", "Sample Sentence"};
    int total = 0;
    for (int c = 0; c < 11; ++c) {
        EXPECT_EQ(title(g, c), titles[c]);
        EXPECT_FALSE(g->MSFlexGridResults->isColumnHidden(c)) << c;
        total += g->MSFlexGridResults->columnWidth(c);
    }
    EXPECT_EQ(total, 10 * lexi::twips(1500) + lexi::twips(2500));
    EXPECT_GT(total, g->MSFlexGridResults->viewport()->width()) << "the grid scrolls sideways";
    EXPECT_EQ(cell(g, 0, 2), "AL-fa");
    EXPECT_EQ(cell(g, 0, 9), "omega");
}

TEST_F(ResultsGridTest, SpacesListEverythingAndNoMatchIsNoFailure)
{
    writeDictionary({entry("b", "bee"), entry("a", "ay"), entry("", "blank")});
    EXPECT_EQ(column(grid(" "), 0), QStringList({"b", "a", "", ""}));
    EXPECT_EQ(column(grid("q"), 0), QStringList({""}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ResultsGridTest, ErrorsEndTheFillWithTheGridsMessage)
{
    frmR2* missing = grid("a");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], kGridError);
    EXPECT_EQ(missing->MSFlexGridResults->model()->rowCount(), 1);
    EXPECT_EQ(title(missing, 0), "Word");

}

}  // namespace
