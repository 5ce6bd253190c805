// The frame's commands for everyday writing: undo and redo, save, recent
// files, close, find and replace, printing, zoom and the status bar, and
// menus that follow the active document.

#include "MDImain.h"

#include "frmChild.h"
#include "frmFind.h"
#include "printing.h"
#include "recentfiles.h"
#include "richtextbox.h"
#include "textcount.h"

#include "dialogs.h"
#include "msgbox.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>

namespace wkvx {

namespace {

const QString kPdfTitle = QStringLiteral("Export as PDF");
const QString kPdfFilter = QStringLiteral("PDF document(*.pdf)|*.pdf");

RichTextBox* box(const frmChild* child) { return child ? child->rtfText : nullptr; }

// The status bar is counted a moment after typing stops, so that long
// documents do not slow typing down.
constexpr int kStatusDelayMs = 150;

QAction* newItem(QMenu* menu, QAction* before, const char* name, const QString& caption,
                 const QList<QKeySequence>& keys = {})
{
    auto* a = new QAction(caption, menu);
    a->setObjectName(QLatin1String(name));
    a->setShortcuts(keys);
    menu->insertAction(before, a);
    return a;
}

QAction* newBar(QMenu* menu, QAction* before, const char* name)
{
    QAction* a = menu->insertSeparator(before);
    a->setObjectName(QLatin1String(name));
    return a;
}

QString countText(const TextCount& c)
{
    auto plural = [](qsizetype n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    return plural(c.words, "word", "words") + QStringLiteral(", ") + plural(c.characters, "character", "characters");
}

// The printer starts on the document's own paper and margins.
void preparePrinter(const frmChild& doc, QPrinter* printer)
{
    printer->setDocName(doc.windowTitle());
    applyPageSetup(*doc.rtfText->document(), printer);
}

}  // namespace

void MDImain::createWriterMenus()
{
    auto ctrl = [](int key) { return QKeySequence(Qt::CTRL | key); };

    // File: recent files and Close after Open; Save before Save As;
    // printing before Exit.
    mnuFileRecent = new QMenu(QStringLiteral("Recent &Files"), mnuFile);
    mnuFileRecent->setObjectName(QStringLiteral("mnuFileRecent"));
    mnuFileRecent->menuAction()->setObjectName(QStringLiteral("mnuFileRecent"));
    mnuFile->insertMenu(mnuFileBar1, mnuFileRecent);
    connect(mnuFileRecent, &QMenu::aboutToShow, this, &MDImain::mnuFileRecent_Show);
    mnuFileClose = newItem(mnuFile, mnuFileBar1, "mnuFileClose", QStringLiteral("&Close"), {ctrl(Qt::Key_F4)});
    mnuFileSave = newItem(mnuFile, mnuSave, "mnuFileSave", QStringLiteral("&Save"), {QKeySequence(Qt::SHIFT | Qt::Key_F12)});
    mnuFilePrintBar = newBar(mnuFile, mnuFileExit, "mnuFilePrintBar");
    mnuFilePreview = newItem(mnuFile, mnuFileExit, "mnuFilePreview", QStringLiteral("Print Pre&view..."));
    mnuFilePrint = newItem(mnuFile, mnuFileExit, "mnuFilePrint", QStringLiteral("&Print..."), {ctrl(Qt::Key_P)});
    mnuFilePdf = newItem(mnuFile, mnuFileExit, "mnuFilePdf", QStringLiteral("&Export as PDF..."));
    mnuFileExitBar = newBar(mnuFile, mnuFileExit, "mnuFileExitBar");

    // Edit: undo and redo first, find and replace last.
    QAction* first = mnuEdit->actions().value(0);
    mnuEditUndo = newItem(mnuEdit, first, "mnuEditUndo", QStringLiteral("&Undo"), {ctrl(Qt::Key_Z)});
    mnuEditRedo = newItem(mnuEdit, first, "mnuEditRedo", QStringLiteral("&Redo"),
                          {ctrl(Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    mnuEditUndoBar = newBar(mnuEdit, first, "mnuEditUndoBar");
    mnuEditFindBar = newBar(mnuEdit, nullptr, "mnuEditFindBar");
    mnuEditReplace = newItem(mnuEdit, nullptr, "mnuEditReplace", QStringLiteral("Find and R&eplace..."), {ctrl(Qt::Key_H)});
    mnuEditFindNext = newItem(mnuEdit, nullptr, "mnuEditFindNext", QStringLiteral("Find &Next"), {QKeySequence(Qt::Key_F3)});
    mnuEditFindPrevious = newItem(mnuEdit, nullptr, "mnuEditFindPrevious", QStringLiteral("Find Pre&vious"),
                                  {QKeySequence(Qt::SHIFT | Qt::Key_F3)});

    createViewMenu();

    connect(mnuFileClose, &QAction::triggered, this, &MDImain::mnuFileClose_Click);
    connect(mnuFileSave, &QAction::triggered, this, &MDImain::mnuFileSave_Click);
    connect(mnuFilePreview, &QAction::triggered, this, &MDImain::mnuFilePreview_Click);
    connect(mnuFilePrint, &QAction::triggered, this, &MDImain::mnuFilePrint_Click);
    connect(mnuFilePdf, &QAction::triggered, this, &MDImain::mnuFilePdf_Click);
    connect(mnuEditUndo, &QAction::triggered, this, &MDImain::mnuEditUndo_Click);
    connect(mnuEditRedo, &QAction::triggered, this, &MDImain::mnuEditRedo_Click);
    connect(mnuEditReplace, &QAction::triggered, this, &MDImain::mnuEditReplace_Click);
    connect(mnuEditFindNext, &QAction::triggered, this, &MDImain::mnuEditFindNext_Click);
    connect(mnuEditFindPrevious, &QAction::triggered, this, &MDImain::mnuEditFindPrevious_Click);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &MDImain::document_Activated);
}

void MDImain::createStatusBar()
{
    auto label = [this](const char* name, const QString& accessibleName) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setAccessibleName(accessibleName);
        l->setContentsMargins(8, 0, 8, 0);
        statusBar()->addPermanentWidget(l);
        return l;
    };
    lblCount = label("lblCount", QStringLiteral("Word count"));
    lblLine = label("lblLine", QStringLiteral("Line"));
    lblZoom = label("lblZoom", QStringLiteral("Zoom"));
    statusTimer_ = new QTimer(this);
    statusTimer_->setSingleShot(true);
    statusTimer_->setInterval(kStatusDelayMs);
    connect(statusTimer_, &QTimer::timeout, this, &MDImain::updateStatus);
}

void MDImain::enableWriterCommands(bool enabled)
{
    for (QAction* a : {mnuFileClose, mnuFileSave, mnuFilePreview, mnuFilePrint, mnuFilePdf})
        a->setEnabled(enabled);
    // Zoom needs a document; the View menu's settings do not.
    for (QAction* a : {mnuViewZoomIn, mnuViewZoomOut, mnuViewZoomReset})
        a->setEnabled(enabled);
    // The Edit menu as a whole has just been switched; undo and redo only
    // when there is something to undo or redo.
    updateUndoRedo();
}

void MDImain::watchDocument(frmChild* child)
{
    RichTextBox* box = child->rtfText;
    // The signals come from whichever document the box holds.
    auto ifActive = [this, box](void (MDImain::*update)()) {
        return [this, box, update] {
            if (activeText() == box)
                (this->*update)();
        };
    };
    connect(box, &QTextEdit::undoAvailable, this, ifActive(&MDImain::updateUndoRedo));
    connect(box, &QTextEdit::redoAvailable, this, ifActive(&MDImain::updateUndoRedo));
    connect(box, &QTextEdit::currentCharFormatChanged, this, ifActive(&MDImain::updateFormatChecks));
    connect(box, &QTextEdit::cursorPositionChanged, this, ifActive(&MDImain::updateFormatChecks));
    connect(box, &QTextEdit::selectionChanged, this, ifActive(&MDImain::updateFormatChecks));
    connect(box, &QTextEdit::cursorPositionChanged, this, ifActive(&MDImain::scheduleStatus));
    connect(box, &QTextEdit::selectionChanged, this, ifActive(&MDImain::scheduleStatus));
    connect(box, &QTextEdit::textChanged, this, ifActive(&MDImain::scheduleStatus));
    connect(box, &RichTextBox::zoomChanged, this, ifActive(&MDImain::updateStatus));
    // The window's own menu would take Ctrl+F4 too, and a key claimed twice
    // does nothing; the frame's Close has it.
    if (QMenu* own = child->systemMenu()) {
        for (QAction* a : own->actions()) {
            QList<QKeySequence> keys = a->shortcuts();
            if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_F4)) > 0)
                a->setShortcuts(keys);
        }
    }
    connect(child, &QMdiSubWindow::windowStateChanged, this,
            [this, child](Qt::WindowStates, Qt::WindowStates state) { document_StateChanged(child, state); });
}

void MDImain::disconnectDocuments()
{
    mdiArea->disconnect(this);
    for (frmChild* doc : documents()) {
        doc->disconnect(this);
        doc->rtfText->disconnect(this);
    }
}

void MDImain::document_Activated(QMdiSubWindow*)
{
    updateUndoRedo();
    updateFormatChecks();
    updateStatus();
}

// A minimised document gives up the keyboard: the next document that is
// not minimised takes over, or none.
void MDImain::document_StateChanged(frmChild* child, Qt::WindowStates state)
{
    if (!(state & Qt::WindowMinimized) || activeDocument() != child)
        return;
    for (frmChild* doc : documents()) {
        if (doc != child && !doc->isMinimized()) {
            mdiArea->setActiveSubWindow(doc);
            return;
        }
    }
    child->rtfText->clearFocus();
    mdiArea->setFocus();
}

void MDImain::updateUndoRedo()
{
    const QTextEdit* t = activeText();
    const bool on = t && mnuEdit->menuAction()->isEnabled();
    mnuEditUndo->setEnabled(on && t->document()->isUndoAvailable());
    mnuEditRedo->setEnabled(on && t->document()->isRedoAvailable());
}

void MDImain::updateFormatChecks()
{
    const RichTextBox* t = box(activeDocument());
    if (!t)
        return;
    mnuFormatBold->setChecked(t->selBold());
    mnuFormatItalic->setChecked(t->selItalic());
    mnuFormatUnderline->setChecked(t->selUnderline());
    const Qt::Alignment a = t->alignment() & Qt::AlignHorizontal_Mask;
    const bool right = a & (Qt::AlignRight | Qt::AlignTrailing);
    const bool centre = a & Qt::AlignHCenter;
    const bool justified = a & Qt::AlignJustify;
    mnuFormatAlignRight->setChecked(right && !justified);
    mnuFormatAlignCenter->setChecked(centre);
    mnuFormatAlignLeft->setChecked(!right && !centre && !justified);
}

void MDImain::scheduleStatus() { statusTimer_->start(); }

void MDImain::updateStatus()
{
    statusTimer_->stop();
    const RichTextBox* t = box(activeDocument());
    if (!t) {
        lblCount->clear();
        lblLine->clear();
        lblZoom->clear();
        return;
    }
    const QTextCursor c = t->textCursor();
    lblCount->setText(c.hasSelection() ? QStringLiteral("Selected: ") + countText(countSelection(c))
                                       : countText(counter_.count(*t->document())));
    lblLine->setText(QStringLiteral("Line %1").arg(visualLine(c)));
    lblZoom->setText(QStringLiteral("%1%").arg(t->zoom()));
}

void MDImain::mnuEditUndo_Click()
{
    if (QTextEdit* t = activeText())
        t->undo();
}

void MDImain::mnuEditRedo_Click()
{
    if (QTextEdit* t = activeText())
        t->redo();
}

void MDImain::mnuFileClose_Click()
{
    if (frmChild* doc = activeDocument())
        doc->close();
}

bool MDImain::saveDocument(frmChild* doc)
{
    if (!doc)
        return false;
    if (doc->fileName().isEmpty())
        return saveDocumentAs(doc);
    return writeDocument(doc, doc->fileName());
}

void MDImain::mnuFileSave_Click() { saveDocument(activeDocument()); }

void MDImain::mnuFileRecent_Show()
{
    mnuFileRecent->clear();
    const QStringList files = RecentFiles::files();
    if (files.isEmpty()) {
        mnuFileRecent->addAction(QStringLiteral("(no recent files)"))->setEnabled(false);
        return;
    }
    int n = 0;
    for (const QString& file : files) {
        ++n;
        QAction* a = mnuFileRecent->addAction(QStringLiteral("&%1 ").arg(n) + QString(file).replace(QLatin1Char('&'), "&&"));
        connect(a, &QAction::triggered, this, [this, file] { openRecent(file); });
    }
}

void MDImain::openRecent(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        RecentFiles::remove(path);
        lexi::msgBox(this,
                     QStringLiteral("%1 is no longer there; it has been taken off the list of recent files.").arg(path),
                     lexi::MsgButtons::Ok, lexi::MsgIcon::Exclamation);
        return;
    }
    // A file already open is brought forward rather than opened twice.
    for (frmChild* doc : documents()) {
        if (doc->fileName() == path) {
            if (doc->isMinimized())
                doc->showNormal();
            mdiArea->setActiveSubWindow(doc);
            return;
        }
    }
    loadNewDoc(path);
}

frmFind* MDImain::findDialog() const { return find_; }

void MDImain::mnuEditReplace_Click()
{
    if (!find_)
        find_ = new frmFind(this, [this] { return activeText(); });
    const RichTextBox* t = box(activeDocument());
    find_->open(t ? t->selText() : QString());
}

// F3 and Shift+F3 go on with the last search; before the first one they
// open the dialog.
void MDImain::findAgain(bool backward)
{
    if (!find_ || find_->txtFind->text().isEmpty()) {
        mnuEditReplace_Click();
        return;
    }
    if (backward)
        find_->findPrevious();
    else
        find_->findNext();
}

void MDImain::mnuEditFindNext_Click() { findAgain(false); }
void MDImain::mnuEditFindPrevious_Click() { findAgain(true); }

void MDImain::mnuFilePreview_Click()
{
    const RichTextBox* t = box(activeDocument());
    if (!t)
        return;
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(*activeDocument(), &printer);
    printDialogs().preview(this, &printer, [t](QPrinter* p) { printDocument(*t->document(), p); });
}

void MDImain::mnuFilePrint_Click()
{
    const RichTextBox* t = box(activeDocument());
    if (!t)
        return;
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(*activeDocument(), &printer);
    if (!printDialogs().choosePrinter(this, &printer))
        return;
    if (!printDocument(*t->document(), &printer))
        lexi::msgBox(this, QStringLiteral("The document could not be printed."), lexi::MsgButtons::Ok,
                     lexi::MsgIcon::Exclamation);
}

void MDImain::mnuFilePdf_Click()
{
    const RichTextBox* t = box(activeDocument());
    if (!t)
        return;
    QString fileName = lexi::dialogs().saveFileName(this, kPdfTitle, kPdfFilter);
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".pdf");
    QString error;
    if (!exportPdf(*t->document(), fileName, &error))
        lexi::msgBox(this, QStringLiteral("Cannot export %1\n\n%2").arg(fileName, error), lexi::MsgButtons::Ok,
                     lexi::MsgIcon::Exclamation);
}

void MDImain::mnuViewZoom_Click(int direction)
{
    RichTextBox* t = box(activeDocument());
    if (!t)
        return;
    if (direction == 0)
        t->setZoom(100);
    else
        t->zoomBy(direction);
}

}  // namespace wkvx
