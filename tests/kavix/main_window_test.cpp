#include "guitest.h"

#include "frmMain.h"
#include "linklabel.h"
#include "startup.h"

#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kavix;

namespace {

QStringList menuLayout(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text() + QLatin1Char('|') + a->shortcut().toString());
    return out;
}

bool underlined(QLabel* l) { return l->font().underline(); }

int mainWindows()
{
    int mains = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        mains += qobject_cast<frmMain*>(w) != nullptr;
    return mains;
}

}  // namespace

TEST(MainWindowTest, MenusInOrderWithShortcuts)
{
    frmMain w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Lexivane"));
    EXPECT_EQ(w.mnuAction->title(), QStringLiteral("&Action"));
    EXPECT_EQ(menuLayout(w.mnuAction),
              (QStringList{"&Look Up for a Word...|F8", "&Edit records...|F9", "-",
                           "&View all existing words...|Shift+F1", "&Add a New Word...|F11", "-", "&Exit|Ctrl+Q"}));
    EXPECT_EQ(menuLayout(w.mnuHelp),
              (QStringList{"&Contents...|F2", "&Index...|", "&Search on web...|Ctrl+W", "-",
                           "&Kavix Word Game...|Shift+Del", "&About...|F1"}));
    EXPECT_EQ(w.lblTasks->text(), QStringLiteral("QUICK TASKS, Click to perform :"));
    EXPECT_EQ(w.lblAdd->text(), QStringLiteral("Add a word to the dictionary...          F11"));
    EXPECT_EQ(w.lblEdit->text(), QStringLiteral("Edit an existing entry...") + QString(24, ' ') + "F9");
    EXPECT_EQ(w.Label1->text(), QStringLiteral("Press F2 any time for help"));
    EXPECT_TRUE(w.mnuActionViewAll->isEnabled());
    EXPECT_TRUE(w.lblEdit->isEnabled());
    EXPECT_TRUE(w.mnuWordGame->isEnabled());
    EXPECT_TRUE(w.mnuActionAdd->isEnabled());
    EXPECT_TRUE(w.lblAdd->isEnabled());
    EXPECT_EQ(w.lblAdd->cursor().shape(), Qt::PointingHandCursor);
}

TEST(MainWindowTest, HoverUnderlineMovesAndStays)
{
    frmMain w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_FALSE(underlined(w.lblLookUp) || underlined(w.lblEdit) || underlined(w.lblAdd));
    QTest::mouseMove(w.lblAdd);
    EXPECT_TRUE(underlined(w.lblAdd));
    QTest::mouseMove(w.lblEdit);
    EXPECT_TRUE(underlined(w.lblEdit));
    EXPECT_FALSE(underlined(w.lblAdd));
    EXPECT_FALSE(underlined(w.lblLookUp));
    // Leaving the labels keeps the last one underlined.
    QTest::mouseMove(w.Label1);
    EXPECT_TRUE(underlined(w.lblEdit));
    EXPECT_EQ(w.lblEdit->font().bold(), true);
}

TEST(MainWindowTest, AddFormOpensOnceOwnedByTheMainWindow)
{
    guitest::MessageRecorder rec;
    guitest::freshRoot();
    frmMain w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::keyClick(&w, Qt::Key_F11);
    ASSERT_NE(w.addForm(), nullptr);
    frmAdd* first = w.addForm();
    EXPECT_EQ(first->parentWidget(), &w);
    EXPECT_TRUE(first->isVisible());
    QTest::mouseClick(w.lblAdd, Qt::LeftButton);
    w.mnuActionAdd->trigger();
    EXPECT_EQ(w.addForm(), first);
    EXPECT_EQ(w.findChildren<frmAdd*>().size(), 1);

    // Closed, it is gone; the next opening builds it afresh.
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.addForm(), nullptr);
    w.mnuActionAdd->trigger();
    EXPECT_NE(w.addForm(), nullptr);
    EXPECT_TRUE(rec.messages.empty());
}

TEST(MainWindowTest, EditFormAndGameOpenOnce)
{
    guitest::MessageRecorder rec;
    guitest::freshRoot();
    guitest::writeDictionary({guitest::record("other"), guitest::record("happy", "glad")});
    frmMain w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::keyClick(&w, Qt::Key_F9);
    ASSERT_NE(w.editForm(), nullptr);
    frmEdit* edit = w.editForm();
    EXPECT_EQ(edit->parentWidget(), &w);
    QTest::mouseClick(w.lblEdit, Qt::LeftButton);
    EXPECT_EQ(w.editForm(), edit);
    EXPECT_EQ(w.findChildren<frmEdit*>().size(), 1);

    // Closed, it is gone; the next opening starts afresh.
    edit->txtWord->setText(QStringLiteral("happy"));
    const QPointer<frmEdit> closed = edit;
    edit->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(w.editForm(), nullptr);
    w.mnuActionViewAll->trigger();
    ASSERT_NE(w.editForm(), nullptr);
    EXPECT_TRUE(w.editForm()->txtWord->text().isEmpty()) << "the boxes come back empty";
    EXPECT_FALSE(w.editForm()->cmdEdit->isEnabled());

    w.mnuWordGame->trigger();
    w.mnuWordGame->trigger();
    ASSERT_NE(w.wordGame(), nullptr);
    EXPECT_EQ(w.findChildren<frmWordGame*>().size(), 1);
    EXPECT_EQ(w.wordGame()->parentWidget(), &w);
    EXPECT_TRUE(rec.messages.empty());
}

TEST(MainWindowTest, IndexOnlyShowsItsMessage)
{
    guitest::MessageRecorder rec;
    frmMain w;
    const int windowsBefore = QApplication::topLevelWidgets().size();
    w.mnuHelpIndex->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0].icon, lexi::MsgIcon::Exclamation);
    EXPECT_EQ(rec.messages[0].title, QStringLiteral("Lexivane"));
    EXPECT_TRUE(rec.messages[0].text.contains(QLatin1String(lexi::kSupportEmail)));
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
}

TEST(MainWindowTest, AboutOpensOnceAndExitCloses)
{
    frmMain w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::keyClick(&w, Qt::Key_F1);
    QTest::keyClick(&w, Qt::Key_F1);
    ASSERT_NE(w.aboutBox(), nullptr);
    EXPECT_EQ(w.findChildren<lexi::frmAbout*>().size(), 1);
    EXPECT_EQ(w.aboutBox()->windowTitle(), QStringLiteral("About Lexivane"));
    w.mnuActionExit->trigger();
    EXPECT_FALSE(w.isVisible());
}

TEST(StartupTest, SplashThenExactlyOneMainWindow)
{
    Startup startup;
    startup.run(QString());
    ASSERT_NE(startup.splash(), nullptr);
    EXPECT_TRUE(startup.splash()->isVisible());
    EXPECT_EQ(startup.mainWindow(), nullptr);
    // A key, then the closing signalled once more (the timer's turn coming
    // as well): still one main window.
    lexi::frmSplash* splash = startup.splash();
    QTest::keyClick(splash, Qt::Key_Space);
    ASSERT_NE(startup.mainWindow(), nullptr);
    frmMain* main = startup.mainWindow();
    EXPECT_TRUE(main->isVisible());
    emit splash->closed();
    EXPECT_EQ(startup.mainWindow(), main);
    EXPECT_EQ(mainWindows(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(startup.splash(), nullptr);
}

TEST(StartupTest, TheSplashTimerFiringOpensTheMainWindow)
{
    Startup startup;
    startup.run(QString());
    ASSERT_NE(startup.splash(), nullptr);
    ASSERT_NE(startup.splash()->Timer1, nullptr);
    startup.splash()->Timer1->start(20);
    ASSERT_TRUE(guitest::eventually([&] { return startup.mainWindow() != nullptr; }));
    EXPECT_TRUE(startup.mainWindow()->isVisible());
    EXPECT_TRUE(guitest::eventually([&] { return startup.splash() == nullptr; })) << "the splash goes once it closed";
    EXPECT_EQ(mainWindows(), 1);
}

TEST(StartupTest, CommandLineIsJoinedUntrimmed)
{
    char prog[] = "kavix";
    char a[] = "-style";
    char b[] = "";
    char c[] = "x";
    char* none[] = {prog};
    char* args[] = {prog, a, b, c};
    EXPECT_EQ(commandLineFrom(1, none), QString());
    EXPECT_EQ(commandLineFrom(4, args), QStringLiteral("-style  x"));
}

TEST(MainWindowTest, LinkLabelsAreReachedWithTabAndPressedByKeyOrScreenReader)
{
    guitest::MessageRecorder rec;
    guitest::freshRoot();
    frmMain w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.lblLookUp->setFocus();
    ASSERT_TRUE(w.lblLookUp->hasFocus());
    QTest::keyClick(w.focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(w.focusWidget(), w.lblEdit);
    QTest::keyClick(w.focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(w.focusWidget(), w.lblAdd);

    // Enter, or Space, on the focused link does what a click does.
    QTest::keyClick(w.lblAdd, Qt::Key_Return);
    ASSERT_NE(w.addForm(), nullptr);
    w.addForm()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::keyClick(w.lblLookUp, Qt::Key_Space);
    EXPECT_NE(w.searchDialog(), nullptr);

    // A screen reader meets a named link it can press.
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(w.lblEdit);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Name), QStringLiteral("Edit an existing entry... F9"));
    EXPECT_TRUE(link->state().focusable);
    QAccessibleActionInterface* actions = link->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    EXPECT_EQ(w.editForm(), nullptr);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_NE(w.editForm(), nullptr);
}

TEST(MainWindowTest, WithoutADictionaryTheGameSaysHowToInstallOneAndStaysClosed)
{
    guitest::MessageRecorder rec;
    guitest::freshRoot();
    frmMain w;
    w.show();
    w.mnuWordGame->trigger();
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_TRUE(rec.messages[0].text.contains(QStringLiteral("lexivane-setup"))) << rec.messages[0].text.toStdString();
    EXPECT_EQ(w.wordGame(), nullptr);
    EXPECT_TRUE(w.findChildren<frmWordGame*>().isEmpty());

    // After the set-up the game opens.
    guitest::writeDictionary({guitest::record("happy", "glad")});
    w.mnuWordGame->trigger();
    ASSERT_NE(w.wordGame(), nullptr);
    EXPECT_TRUE(w.wordGame()->isVisible());
    EXPECT_EQ(w.wordGame()->lblMeaning->text(), QStringLiteral("glad"));
}
