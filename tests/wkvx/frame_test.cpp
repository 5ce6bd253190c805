#include "wkvxtest.h"

#include "a11ycheck.h"
#include "startup.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include "twips.h"

using namespace wkvx;
using wkvxtest::FrameTest;

namespace {

QStringList menuLayout(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            out << QStringLiteral("-");
        else
            out << a->text() + QLatin1Char('|') + a->shortcut().toString() + (a->menu() ? QStringLiteral(">") : QString());
    }
    return out;
}

}  // namespace

TEST_F(FrameTest, MenusCaptionsAndShortcuts)
{
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Kavix Writer"));
    QStringList bar;
    for (QAction* a : frame->menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&Edit", "&View", "&KavixTools", "E&xtra"}));
    // The original items keep their captions, shortcuts and order; the
    // writer's commands stand among them on keys they leave free.
    EXPECT_EQ(menuLayout(frame->mnuFile),
              (QStringList{"&New...|Ctrl+N", "&Open...|Ctrl+O", "Recent &Files|>", "&Close|Ctrl+F4", "-",
                           "&Save|Shift+F12", "&Save As...|Ctrl+S", "-", "Print Pre&view...|", "&Print...|Ctrl+P",
                           "&Export as PDF...|", "-", "E&xit|"}));
    EXPECT_EQ(menuLayout(frame->mnuEdit),
              (QStringList{"&Undo|Ctrl+Z", "&Redo|Ctrl+Y", "-", "Cu&t|Ctrl+X", "&Copy|Ctrl+C", "-", "&Paste|Ctrl+V",
                           "&Font...|", "Insert Date and &Time|Ctrl+D", "&Format|>", "-",
                           "Find and R&eplace...|Ctrl+H", "Find &Next|F3", "Find Pre&vious|Shift+F3"}));
    EXPECT_EQ(frame->mnuEditRedo->shortcuts().value(1), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EXPECT_EQ(menuLayout(frame->mnuView), (QStringList{"Zoom &In|Ctrl++", "Zoom &Out|Ctrl+-", "&Actual Size|Ctrl+0", "-",
                                            "Check Spelling as You Type|"}));
    EXPECT_EQ(menuLayout(frame->mnuEditFormat),
              (QStringList{"&Bold|Ctrl+B", "&Italic|Ctrl+I", "&Underline|Ctrl+U", "-", "Align &Left|Ctrl+L",
                           "Align &Mid|Ctrl+K", "Align &Right|Ctrl+R"}));
    EXPECT_EQ(menuLayout(frame->mnuKavix),
              (QStringList{"&Insert a word...|F9", "-", "&Find selected word in kavix...|Ctrl+F", "-",
                           "Check &Spelling...|F7", "&Look up in Kavix|Shift+F7"}));
    EXPECT_EQ(menuLayout(frame->mnuExtra), (QStringList{"&Windows|>", "-", "&About...|F1"}));
    // Names as the forms use them.
    for (const char* name : {"mnuFileNew", "mnufileOpen", "mnuFileBar1", "mnuSave", "mnuFileExit", "mnuEditCut",
                             "mnuEditCopy", "mnuEditBar", "mnuEditPaste", "mnuExtraFonts", "mnuExtraInsert",
                             "mnuEditFormat", "mnuFormatBold", "mnuformatBar1", "mnuFormatAlignCenter",
                             "mnuInsertKvx", "mnuKavixBar", "mnuFindKvx", "mnuWindows", "mnuExtraBar",
                             "mnuExtraAbout"})
        EXPECT_NE(frame->findChild<QAction*>(QLatin1String(name)), nullptr) << name;
    // The check marks show the empty document: plain text, aligned left.
    for (QAction* a : frame->mnuEditFormat->actions())
        EXPECT_EQ(a->isChecked(), a == frame->mnuFormatAlignLeft) << a->text().toStdString();
}

TEST_F(FrameTest, CaptionsCountEveryWindowCreated)
{
    EXPECT_EQ(captions(), QStringList{"Document1"});
    EXPECT_EQ(text()->objectName(), QStringLiteral("rtfText"));
    const QString file = path("letter.rtf");
    writeFile(file, "{\\rtf1\\ansi Dear Sir,\\par}");
    dialogs.fileNames = {file};
    frame->mnufileOpen->trigger();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].kind, QStringLiteral("open"));
    EXPECT_EQ(dialogs.asked[0].title, QStringLiteral("Open an existing rtf"));
    EXPECT_EQ(dialogs.asked[0].filter, QStringLiteral("Rich text format(*.rtf)|*.rtf"));
    EXPECT_EQ(active()->windowTitle(), file);
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("Dear Sir,"));
    frame->mnuFileNew->trigger();
    EXPECT_EQ(captions(), (QStringList{"Document1", file, "Document3"}));
    EXPECT_EQ(active()->windowTitle(), QStringLiteral("Document3"));

    // Closing windows never lowers the count.
    frame->documents().first()->close();
    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(active()->windowTitle(), QStringLiteral("Document4"));
    EXPECT_EQ(frame->newDocCount(), 4);

    // A cancelled Open does nothing.
    frame->mnufileOpen->trigger();
    EXPECT_EQ(frame->documents().size(), 3);
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(FrameTest, LastDocumentClosedDisablesTheDocumentCommands)
{
    const QList<QAction*> documentCommands{frame->mnuSave, frame->mnuEdit->menuAction(), frame->mnuEditCopy,
                                           frame->mnuFormatBold, frame->mnuKavix->menuAction(),
                                           frame->mnuInsertKvx, frame->mnuFindKvx, frame->mnuExtraInsert,
                                           frame->mnuExtraFonts};
    const QList<QAction*> always{frame->mnuFileNew, frame->mnufileOpen, frame->mnuFileExit,
                                 frame->mnuExtra->menuAction(), frame->mnuWindows->menuAction(),
                                 frame->mnuExtraAbout};
    frame->mnuFileNew->trigger();
    frame->documents().first()->close();
    for (QAction* a : documentCommands)
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    frame->documents().first()->close();
    EXPECT_TRUE(frame->documents().isEmpty());
    EXPECT_EQ(frame->activeText(), nullptr);
    for (QAction* a : documentCommands)
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    for (QAction* a : always)
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    // A disabled command's shortcut does nothing either.
    QTest::keyClick(frame.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.asked.empty());

    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(captions(), QStringList{"Document3"});
    for (QAction* a : documentCommands)
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(FrameTest, WindowListActivatesTheChosenDocument)
{
    frame->mnuFileNew->trigger();
    frame->mnuFileNew->trigger();
    emit frame->mnuWindows->aboutToShow();
    QStringList items;
    for (QAction* a : frame->mnuWindows->actions())
        items << a->text() + (a->isChecked() ? QStringLiteral(" *") : QString());
    EXPECT_EQ(items, (QStringList{"&1 Document1", "&2 Document2", "&3 Document3 *"}));
    frame->mnuWindows->actions().at(0)->trigger();
    EXPECT_EQ(active()->windowTitle(), QStringLiteral("Document1"));
    EXPECT_EQ(frame->activeText(), frame->documents().first()->rtfText);
}

TEST_F(FrameTest, BoxKeepsItsMarginsAndSurvivesMinimisedAndTinyWindows)
{
    frmChild* doc = active();
    doc->showNormal();
    doc->resize(600, 400);
    QWidget* client = doc->widget();
    const int margin = lexi::twips(100);
    EXPECT_EQ(text()->geometry(), QRect(margin, margin, client->width() - 2 * margin, client->height() - 2 * margin));
    EXPECT_EQ(text()->lineWrapColumnOrWidth(), text()->width() - lexi::twips(400));

    const QRect before = text()->geometry();
    doc->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(text()->geometry(), before);

    doc->showNormal();
    doc->resize(500, 300);
    EXPECT_EQ(text()->geometry(), QRect(margin, margin, client->width() - 2 * margin, client->height() - 2 * margin));

    // Smaller than the margins: the box stays as it was, and typing still works.
    const QRect normal = text()->geometry();
    client->resize(lexi::twips(150), lexi::twips(150));
    EXPECT_EQ(text()->geometry(), normal);
    doc->resize(1, 1);
    QCoreApplication::processEvents();
    type(QStringLiteral("still here"));
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("still here"));
    EXPECT_GT(text()->width(), 0);
}

TEST_F(FrameTest, RightButtonShowsTheEditMenuWithCopyAsDefault)
{
    frame->mnuFileNew->trigger();
    frmChild* first = frame->documents().first();
    first->rtfText->setPlainText(QStringLiteral("alpha beta"));
    QTextCursor c = first->rtfText->textCursor();
    c.setPosition(6);
    c.setPosition(10, QTextCursor::KeepAnchor);
    first->rtfText->setTextCursor(c);
    ASSERT_NE(active(), first);

    QTest::mouseClick(first->rtfText->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(active(), first);
    EXPECT_TRUE(frame->mnuEdit->isVisible());
    EXPECT_EQ(frame->mnuEdit->defaultAction(), frame->mnuEditCopy);
    // The right button keeps the selection for the menu's commands.
    EXPECT_EQ(first->rtfText->selText(), QStringLiteral("beta"));
    frame->mnuEditCopy->trigger();
    frame->mnuEdit->hide();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("beta"));
    // Copy is the default only in the pop-up.
    EXPECT_EQ(frame->mnuEdit->defaultAction(), nullptr);

    // Other buttons only do what the box does itself.
    QTest::mouseClick(first->rtfText->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(frame->mnuEdit->isVisible());
}

TEST_F(FrameTest, ScreenReadersFindTheFrameItsDocumentAndTheAboutBox)
{
    frame->mnuFileNew->trigger();
    EXPECT_EQ(lexitest::accessibilityProblems(frame.get()), QStringList());
    EXPECT_EQ(text()->accessibleName(), QStringLiteral("Document2"));

    QTest::keyClick(frame.get(), Qt::Key_F1);
    lexi::frmAbout* about = frame->aboutBox();
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Kavix Writer"));
    EXPECT_EQ(about->lblDescription->text(),
              QStringLiteral("Kavix Word Processing Helper ") + lexi::writerSplashDescription());
    EXPECT_EQ(about->findChild<QLabel*>(QStringLiteral("picIcon")), about->Picture1);
    EXPECT_EQ(lexitest::accessibilityProblems(about), QStringList());
    // Opening it again brings the same box forward.
    frame->mnuExtraAbout->trigger();
    EXPECT_EQ(frame->findChildren<lexi::frmAbout*>().size(), 1);
}

TEST(StartupTest, SplashWaitsThenAnyCloseLoadsOneFrame)
{
    guitest::MessageRecorder rec;
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        Startup startup;
        startup.run({});
        ASSERT_NE(startup.splash(), nullptr);
        // Nothing of its own closes it: no timer runs.
        QCoreApplication::processEvents();
        for (const QTimer* t : startup.splash()->findChildren<QTimer*>())
            EXPECT_FALSE(t->isActive()) << t->objectName().toStdString();
        EXPECT_TRUE(startup.splash()->isVisible());
        EXPECT_EQ(startup.frame(), nullptr);
        lexi::frmSplash* splash = startup.splash();
        EXPECT_EQ(lexitest::accessibilityProblems(splash), QStringList());
        if (way == 0)
            QTest::keyClick(splash, Qt::Key_Escape);
        else if (way == 1)
            splash->Command1->click();
        else
            splash->close();
        ASSERT_NE(startup.frame(), nullptr);
        EXPECT_TRUE(startup.frame()->isVisible());
        EXPECT_EQ(startup.frame()->documents().size(), 1);
        EXPECT_EQ(startup.frame()->activeDocument()->windowTitle(), QStringLiteral("Document1"));
        EXPECT_EQ(lexi::currentProgram().title, QStringLiteral("Kavix Writer"));
    }
}

TEST(StartupTest, FilesOnTheCommandLineOpenWithoutTheSplash)
{
    guitest::MessageRecorder rec;
    QTemporaryDir dir;
    const QString file = dir.filePath("essay.rtf");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\\rtf1\\ansi An essay.\\par}");
    }
    const QString relative = QDir::current().relativeFilePath(file);
    Startup startup;
    startup.run({relative});
    EXPECT_EQ(startup.splash(), nullptr);
    ASSERT_NE(startup.frame(), nullptr);
    EXPECT_EQ(startup.frame()->documents().size(), 1);
    frmChild* doc = startup.frame()->activeDocument();
    EXPECT_EQ(doc->windowTitle(), QFileInfo(file).absoluteFilePath());
    EXPECT_EQ(doc->rtfText->toPlainText(), QStringLiteral("An essay."));
    startup.frame()->mnuFileNew->trigger();
    EXPECT_EQ(startup.frame()->activeDocument()->windowTitle(), QStringLiteral("Document2"));
    EXPECT_TRUE(rec.messages.empty());
}
