// The look-up dialog's rules, and how the main window opens it.

#include "lookupfixture.h"

#include "frmMain.h"
#include "frmResult.h"
#include "frmViewAll.h"
#include "linklabel.h"

#include <QLabel>
#include <QSlider>

using namespace lookuptest;
using kavix::frmSearch;

namespace {

class SearchDialogTest : public LookupTest {};

TEST_F(SearchDialogTest, StartsWithNothingChosenAndGoDisabled)
{
    frmSearch* d = newDialog();
    EXPECT_EQ(d->windowTitle(), "Word List Look Up");
    EXPECT_FALSE(d->cmdSearch->isEnabled());
    EXPECT_FALSE(d->txtExact->isEnabled());
    EXPECT_FALSE(d->txt2letter->isEnabled());
    EXPECT_FALSE(d->optExact->isChecked());
    EXPECT_FALSE(d->optBeg->isChecked());
    EXPECT_EQ(d->lblletter->text(), "1");
    EXPECT_EQ(d->focusWidget(), d->chkSyn);
    EXPECT_EQ(d->chkSaveSearch->text(),
              "Sa&ve Results to a separate html file (in folder  kavixHOME\\SavedSearches\\)");
    for (QCheckBox* c : {d->chkSyn, d->chkAnto, d->chkPro, d->chkEg, d->chkPOSp, d->chkSelAll, d->chkSaveSearch})
        EXPECT_FALSE(c->isChecked()) << c->objectName().toStdString();

    QTest::mouseClick(d->optBeg, Qt::LeftButton);
    QTest::keyClicks(d->txt2letter, "abc");
    EXPECT_EQ(d->txt2letter->text(), "a") << "the letters box starts at one character";
}

TEST_F(SearchDialogTest, GoNeedsAKeyReleaseInTheChosenBox)
{
    frmSearch* d = newDialog();
    QTest::mouseClick(d->optExact, Qt::LeftButton);
    EXPECT_TRUE(d->txtExact->isEnabled());
    EXPECT_FALSE(d->sliLetter->isEnabled());
    EXPECT_FALSE(d->cmdSearch->isEnabled());
    QTest::keyClicks(d->txtExact, "ab");
    EXPECT_TRUE(d->cmdSearch->isEnabled());

    QTest::mouseClick(d->optBeg, Qt::LeftButton);
    EXPECT_FALSE(d->cmdSearch->isEnabled());
    EXPECT_FALSE(d->txtExact->isEnabled());
    EXPECT_EQ(d->txtExact->text(), "ab") << "the disabled box keeps its text";
    EXPECT_TRUE(d->sliLetter->isEnabled());
    QTest::keyClicks(d->txt2letter, "x");
    EXPECT_TRUE(d->cmdSearch->isEnabled());
    QTest::keyClick(d->txt2letter, Qt::Key_Backspace);
    EXPECT_FALSE(d->cmdSearch->isEnabled());

    // Back to the word box: its old text is there, but Go waits for a key.
    QTest::mouseClick(d->optExact, Qt::LeftButton);
    EXPECT_FALSE(d->cmdSearch->isEnabled());
    QTest::keyClick(d->txtExact, Qt::Key_End);
    EXPECT_TRUE(d->cmdSearch->isEnabled());

    d->txtExact->clear();
    QTest::keyClicks(d->txtExact, "  ");
    EXPECT_TRUE(d->cmdSearch->isEnabled()) << "spaces count as text";
}

TEST_F(SearchDialogTest, SliderSetsLabelAndLimitWithoutCuttingText)
{
    frmSearch* d = newDialog();
    QTest::mouseClick(d->optBeg, Qt::LeftButton);
    d->sliLetter->setValue(3);
    EXPECT_EQ(d->lblletter->text(), "3");
    QTest::keyClicks(d->txt2letter, "abcd");
    EXPECT_EQ(d->txt2letter->text(), "abc");

    d->sliLetter->setValue(1);
    EXPECT_EQ(d->lblletter->text(), "1");
    EXPECT_EQ(d->txt2letter->text(), "abc") << "a lower limit does not cut the text";
    QTest::keyClicks(d->txt2letter, "d");
    EXPECT_EQ(d->txt2letter->text(), "abc") << "but it stops further typing";
    QTest::keyClick(d->txt2letter, Qt::Key_Backspace);
    QTest::keyClicks(d->txt2letter, "x");
    EXPECT_EQ(d->txt2letter->text(), "ab");

    QTest::keyClick(d->sliLetter, Qt::Key_Right);
    EXPECT_EQ(d->lblletter->text(), "2");
}

TEST_F(SearchDialogTest, SelectAllSetsAndClearsTheFiveBoxes)
{
    frmSearch* d = newDialog();
    const auto five = {d->chkSyn, d->chkAnto, d->chkPOSp, d->chkEg, d->chkPro};
    QTest::mouseClick(d->chkSyn, Qt::LeftButton);
    QTest::mouseClick(d->chkSelAll, Qt::LeftButton);
    for (QCheckBox* c : five)
        EXPECT_TRUE(c->isChecked()) << c->objectName().toStdString();
    QTest::mouseClick(d->chkAnto, Qt::LeftButton);
    EXPECT_TRUE(d->chkSelAll->isChecked()) << "a box changed by hand leaves Select All alone";
    QTest::mouseClick(d->chkSelAll, Qt::LeftButton);
    for (QCheckBox* c : five)
        EXPECT_FALSE(c->isChecked()) << c->objectName().toStdString();
    EXPECT_FALSE(d->chkSaveSearch->isChecked());
}

class MainWindowLookUpTest : public LookupTest {
protected:
    void SetUp() override
    {
        LookupTest::SetUp();
        writeDictionary({entry("happy", "feeling joy")});
        main = new kavix::frmMain;
        main->show();
    }

    frmSearch* openDialog()
    {
        main->mnuActionSearch->trigger();
        return main->searchDialog();
    }

    kavix::frmMain* main = nullptr;
};

TEST_F(MainWindowLookUpTest, GoHidesTheDialogWhichReturnsAsLeft)
{
    EXPECT_TRUE(main->mnuActionSearch->isEnabled());
    EXPECT_TRUE(main->lblLookUp->isEnabled());
    frmSearch* d = openDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(openDialog(), d) << "F8 twice opens one dialog";

    QTest::mouseClick(d->chkPro, Qt::LeftButton);
    auto* first = lookUp<kavix::frmResult>(d, true, "happy");
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(first->parentWidget(), main);
    EXPECT_TRUE(first->isVisible());

    EXPECT_EQ(openDialog(), d);
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(d->optExact->isChecked());
    EXPECT_EQ(d->txtExact->text(), "happy");
    EXPECT_TRUE(d->chkPro->isChecked());
    EXPECT_TRUE(d->cmdSearch->isEnabled());

    // Enter is Go; each Go opens a new window with a new search.
    QTest::keyClick(d->txtExact, Qt::Key_Return);
    auto* second = qobject_cast<kavix::frmResult*>(d->lastResult());
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_TRUE(first->isVisible());
}

TEST_F(MainWindowLookUpTest, CancelAndEscDiscardTheDialog)
{
    QPointer<frmSearch> d = openDialog();
    QTest::mouseClick(d->optExact, Qt::LeftButton);
    QTest::keyClicks(d->txtExact, "happy");
    QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(d.isNull());

    d = openDialog();
    EXPECT_FALSE(d->optExact->isChecked()) << "a new dialog starts afresh";
    EXPECT_TRUE(d->txtExact->text().isEmpty());
    QTest::keyClick(d, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(d.isNull());
}

TEST_F(MainWindowLookUpTest, ViewAllOpensOneCompleteList)
{
    ASSERT_TRUE(main->mnuViewAll->isEnabled());
    main->mnuViewAll->trigger();
    kavix::frmViewAll* list = main->completeList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->parentWidget(), main);
    main->mnuViewAll->trigger();
    EXPECT_EQ(main->completeList(), list);
    EXPECT_EQ(list->words()->rowCount(), 2);
}

}  // namespace
