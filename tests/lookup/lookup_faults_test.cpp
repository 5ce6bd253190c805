// Faults users met in the look-up forms: a list that swallowed the click on
// Go, Go that ignored a paste, a page failure that read as a spelling error,
// a meaning that could not be read, cards stacked on one another.

#include "lookupfixture.h"

#include "frmR2.h"
#include "frmResult.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTableView>

using namespace lookuptest;
using kavix::frmR2;
using kavix::frmResult;
using kavix::frmSearch;

namespace {

// The list of matching words, wherever it lives, while it shows.
QAbstractItemView* shownWordList()
{
    for (QWidget* w : QApplication::allWidgets()) {
        auto* view = qobject_cast<QAbstractItemView*>(w);
        if (view && view->isVisible() && view->accessibleName() == QLatin1String("Matching words"))
            return view;
    }
    return nullptr;
}

QRect globalRect(const QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

// Whether a screen reader walking the dialog's tree meets the object.
bool inAccessibleTree(QAccessibleInterface* node, QObject* target, int depth = 0)
{
    if (!node || depth > 12)
        return false;
    if (node->object() == target)
        return true;
    for (int i = 0; i < node->childCount(); ++i) {
        if (inAccessibleTree(node->child(i), target, depth + 1))
            return true;
    }
    return false;
}

class LookupFaultsTest : public LookupTest {
protected:
    void SetUp() override
    {
        LookupTest::SetUp();
        std::vector<dictstore::WordRecord> records = {
            entry("happy", "feeling or showing pleasure or joy", {{Field::Synonym1, "glad"}}),
            entry("glad", "pleased"),
        };
        for (int i = 0; i < 20; ++i)
            records.push_back(entry("hap" + std::to_string(i), "filler"));
        writeDictionary(records);
    }

    frmSearch* exactDialog()
    {
        frmSearch* d = newDialog();
        QTest::mouseClick(d->optExact, Qt::LeftButton);
        QApplication::setActiveWindow(d);
        d->txtExact->setFocus();
        return d;
    }
};

TEST_F(LookupFaultsTest, OneClickOnGoRunsTheLookUpWhileTheListShows)
{
    frmSearch* d = exactDialog();
    QTest::keyClicks(d->txtExact, "happy");
    ASSERT_NE(shownWordList(), nullptr) << "the list offers happy";
    QTest::mouseClick(d->cmdSearch, Qt::LeftButton);
    auto* card = qobject_cast<frmResult*>(d->lastResult());
    ASSERT_NE(card, nullptr) << "the click went to Go";
    EXPECT_EQ(card->txtWord->text().trimmed(), "happy");
    EXPECT_EQ(shownWordList(), nullptr);
}

TEST_F(LookupFaultsTest, TheListCoversNoButtonAndAScreenReaderFindsIt)
{
    frmSearch* d = exactDialog();
    QTest::keyClicks(d->txtExact, "h");
    QAbstractItemView* list = shownWordList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->model()->rowCount(), 12);
    for (QWidget* b : {static_cast<QWidget*>(d->cmdSearch), static_cast<QWidget*>(d->cmdCancel)})
        EXPECT_FALSE(globalRect(list).intersects(globalRect(b))) << b->objectName().toStdString();
    EXPECT_TRUE(globalRect(d).contains(globalRect(list))) << "the list stays inside the dialog";
    EXPECT_TRUE(inAccessibleTree(QAccessible::queryAccessibleInterface(d), list));
    // Every row can still be reached.
    for (int i = 0; i < 12; ++i)
        QTest::keyClick(d->txtExact, Qt::Key_Down);
    EXPECT_EQ(d->txtExact->text(), "hap10");
}

TEST_F(LookupFaultsTest, AnyChangeOfTheTextEnablesGo)
{
    frmSearch* d = exactDialog();
    QGuiApplication::clipboard()->setText(QStringLiteral("happy"));
    d->txtExact->paste();  // what a middle click or the context menu does
    EXPECT_EQ(d->txtExact->text(), "happy");
    EXPECT_TRUE(d->cmdSearch->isEnabled());
    d->txtExact->clear();
    EXPECT_FALSE(d->cmdSearch->isEnabled());

    QTest::mouseClick(d->optBeg, Qt::LeftButton);
    d->txt2letter->insert(QStringLiteral("g"));
    EXPECT_TRUE(d->cmdSearch->isEnabled());
    // Switching options still waits for the user, as before.
    QTest::mouseClick(d->optExact, Qt::LeftButton);
    EXPECT_FALSE(d->cmdSearch->isEnabled());
}

TEST_F(LookupFaultsTest, APageThatCannotBeWrittenIsReportedAsSuchAndTheCardShows)
{
    frmSearch* d = newDialog();
    auto* card = lookUp<frmResult>(d, true, "happy", {&frmSearch::chkSaveSearch});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_FALSE(messages[0].contains("spelled")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("saved-search page")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("Path not found")) << messages[0].toStdString();
    EXPECT_EQ(card->txtWord->text().trimmed(), "happy");

    // A stored word no file may be named after.
    makeSavedFolder();
    writeDictionary({entry("and/or", "either or both")});
    messages.clear();
    d->show();
    card = lookUp<frmResult>(d, true, "and/or");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("saved-search page")) << messages[0].toStdString();
    EXPECT_EQ(card->txtMeaning->text().trimmed(), "either or both");
}

TEST_F(LookupFaultsTest, AGridWhosePageFailsStillListsEveryMatch)
{
    frmSearch* d = newDialog();
    auto* grid = lookUp<frmR2>(d, false, "ha", {&frmSearch::chkSaveSearch});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_FALSE(messages[0].contains("spelling")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("Path not found")) << messages[0].toStdString();
    EXPECT_EQ(grid->results()->entryCount(), 21);

    // "?" in the letters, and a page that fails part-way (a full disk).
    makeSavedFolder();
    messages.clear();
    d->show();
    d->sliLetter->setValue(3);
    grid = lookUp<frmR2>(d, false, "h?");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("saved-search page")) << messages[0].toStdString();
    std::vector<dictstore::WordRecord> many;
    for (int i = 0; i < 200; ++i)
        many.push_back(entry("a" + std::to_string(i), "meaning " + std::to_string(i)));
    writeDictionary(many);
    fs::create_symlink("/dev/full", savedPage("list_a.htm"));
    messages.clear();
    d->show();
    grid = lookUp<frmR2>(d, false, "a");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("Disk full")) << messages[0].toStdString();
    EXPECT_EQ(grid->results()->entryCount(), 200);
}

TEST_F(LookupFaultsTest, TheWholeMeaningCanBeRead)
{
    const std::string meaning = "feeling or showing pleasure or joy";
    frmSearch* d = newDialog();
    auto* card = lookUp<frmResult>(d, true, "happy");
    ASSERT_LT(card->txtMeaning->width(), card->txtMeaning->fontMetrics().horizontalAdvance(qs(meaning)))
        << "the box is narrower than the meaning";
    EXPECT_EQ(card->txtMeaning->toolTip(), qs(meaning));

    d->show();
    auto* grid = lookUp<frmR2>(d, false, "ha");
    const QModelIndex cell = grid->results()->index(0, 3);
    ASSERT_LT(grid->MSFlexGridResults->columnWidth(3),
              grid->MSFlexGridResults->fontMetrics().horizontalAdvance(qs(meaning)));
    EXPECT_TRUE(cell.data(Qt::ToolTipRole).toString().startsWith(qs(meaning) + '\n'));
}

TEST_F(LookupFaultsTest, EscClosesACardAndAGrid)
{
    frmSearch* d = newDialog();
    QPointer<frmResult> card = lookUp<frmResult>(d, true, "happy");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(card));
    QTest::keyClick(card->cmdView, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(card.isNull() || !card->isVisible());

    d->show();
    QPointer<frmR2> grid = lookUp<frmR2>(d, false, "h");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid));
    QTest::keyClick(grid->MSFlexGridResults, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(grid.isNull() || !grid->isVisible());
}

TEST_F(LookupFaultsTest, ANewCardOpensOffsetFromTheLast)
{
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    frmSearch* d = newDialog(&owner);
    auto* first = lookUp<frmResult>(d, true, "happy");
    d->show();
    auto* second = lookUp<frmResult>(d, true, "glad");
    d->show();
    auto* third = lookUp<frmResult>(d, true, "happy");
    EXPECT_NE(second->pos(), first->pos());
    EXPECT_NE(third->pos(), second->pos());
    EXPECT_NE(third->pos(), first->pos());
    // Once the earlier card is closed its place is free again.
    first->close();
    second->close();
    third->close();
    d->show();
    auto* again = lookUp<frmResult>(d, true, "happy");
    EXPECT_EQ(again->pos(), first->pos());
}

}  // namespace
