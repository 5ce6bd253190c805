#include "MDImain.h"

#include "frmChild.h"
#include "kavixtools.h"
#include "recentfiles.h"
#include "recovery.h"
#include "richtextbox.h"
#include "spelling.h"
#include "wordmenu.h"

#include "clock.h"
#include "dialogs.h"
#include "logo.h"
#include "msgbox.h"
#include "version.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>

namespace wkvx {

namespace {

const QString kOpenTitle = QStringLiteral("Open an existing rtf");
const QString kOpenFilter = QStringLiteral("Rich text format(*.rtf)|*.rtf");
const QString kSaveTitle = QStringLiteral("Save File As");
const QString kSaveFilter = QStringLiteral("Rich Text Format(*.rtf)|*.rtf");

RichTextBox* box(const frmChild* child) { return child ? child->rtfText : nullptr; }

// Sets a menu's enabled state together with every item in it, so that
// their shortcuts follow too.
void enableMenu(QMenu* menu, bool enabled)
{
    menu->menuAction()->setEnabled(enabled);
    for (QAction* a : menu->actions()) {
        if (a->menu())
            enableMenu(a->menu(), enabled);
        else
            a->setEnabled(enabled);
    }
}

// The system's general date: its short date, then its long time without
// the time zone.
QString generalDateNow()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = lexi::now();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*$")));
    timeFormat.remove(QRegularExpression(QStringLiteral("^\\s*t+\\s*")));
    return locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') + locale.toString(now.time(), timeFormat);
}

}  // namespace

MDImain::MDImain(const QStringList& files, QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MDImain"));
    setWindowTitle(QStringLiteral("Kavix Writer"));
    setWindowIcon(lexi::appIcon());
    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    mdiArea->setAccessibleName(QStringLiteral("Documents"));
    setCentralWidget(mdiArea);
    kavixTools_ = new KavixTools(this, [this] { return activeText(); });
    buildMenus();
    createWriterMenus();
    createStatusBar();
    addWritingAids();

    if (const QScreen* screen = this->screen()) {
        const QRect avail = screen->availableGeometry();
        resize(avail.width() * 3 / 4, avail.height() * 3 / 4);
        move(avail.center() - rect().center());
    }
    MDIForm_Load(files);
}

MDImain::~MDImain()
{
    // The documents are destroyed after the frame; what they signal on the
    // way must not reach it.
    disconnectDocuments();
}

void MDImain::buildMenus()
{
    auto item = [](QMenu* menu, const char* name, const QString& caption, const QKeySequence& key = {}) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        return a;
    };
    auto bar = [](QMenu* menu, const char* name) {
        QAction* a = menu->addSeparator();
        a->setObjectName(QLatin1String(name));
        return a;
    };
    auto menu = [](QMenu* parent, const char* name, const QString& caption) {
        QMenu* m = parent->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        return m;
    };
    auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileNew = item(mnuFile, "mnuFileNew", QStringLiteral("&New..."), ctrl(Qt::Key_N));
    mnufileOpen = item(mnuFile, "mnufileOpen", QStringLiteral("&Open..."), ctrl(Qt::Key_O));
    mnuFileBar1 = bar(mnuFile, "mnuFileBar1");
    mnuSave = item(mnuFile, "mnuSave", QStringLiteral("&Save As..."), ctrl(Qt::Key_S));
    mnuFileExit = item(mnuFile, "mnuFileExit", QStringLiteral("E&xit"));

    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEditCut = item(mnuEdit, "mnuEditCut", QStringLiteral("Cu&t"), ctrl(Qt::Key_X));
    mnuEditCopy = item(mnuEdit, "mnuEditCopy", QStringLiteral("&Copy"), ctrl(Qt::Key_C));
    mnuEditBar = bar(mnuEdit, "mnuEditBar");
    mnuEditPaste = item(mnuEdit, "mnuEditPaste", QStringLiteral("&Paste"), ctrl(Qt::Key_V));
    mnuExtraFonts = item(mnuEdit, "mnuExtraFonts", QStringLiteral("&Font..."));
    mnuExtraInsert = item(mnuEdit, "mnuExtraInsert", QStringLiteral("Insert Date and &Time"), ctrl(Qt::Key_D));
    mnuEditFormat = menu(mnuEdit, "mnuEditFormat", QStringLiteral("&Format"));
    mnuFormatBold = item(mnuEditFormat, "mnuFormatBold", QStringLiteral("&Bold"), ctrl(Qt::Key_B));
    mnuFormatItalic = item(mnuEditFormat, "mnuFormatItalic", QStringLiteral("&Italic"), ctrl(Qt::Key_I));
    mnuFormatUnderline = item(mnuEditFormat, "mnuFormatUnderline", QStringLiteral("&Underline"), ctrl(Qt::Key_U));
    mnuformatBar1 = bar(mnuEditFormat, "mnuformatBar1");
    mnuFormatAlignLeft = item(mnuEditFormat, "mnuFormatAlignLeft", QStringLiteral("Align &Left"), ctrl(Qt::Key_L));
    mnuFormatAlignCenter =
        item(mnuEditFormat, "mnuFormatAlignCenter", QStringLiteral("Align &Mid"), ctrl(Qt::Key_K));
    mnuFormatAlignRight =
        item(mnuEditFormat, "mnuFormatAlignRight", QStringLiteral("Align &Right"), ctrl(Qt::Key_R));
    for (QAction* a : {mnuFormatBold, mnuFormatItalic, mnuFormatUnderline, mnuFormatAlignLeft, mnuFormatAlignCenter,
                       mnuFormatAlignRight})
        a->setCheckable(true);

    mnuKavix = menuBar()->addMenu(QStringLiteral("&KavixTools"));
    mnuKavix->setObjectName(QStringLiteral("mnuKavix"));
    mnuInsertKvx = item(mnuKavix, "mnuInsertKvx", QStringLiteral("&Insert a word..."), QKeySequence(Qt::Key_F9));
    mnuKavixBar = bar(mnuKavix, "mnuKavixBar");
    mnuFindKvx = item(mnuKavix, "mnuFindKvx", QStringLiteral("&Find selected word in kavix..."), ctrl(Qt::Key_F));

    mnuExtra = menuBar()->addMenu(QStringLiteral("E&xtra"));
    mnuExtra->setObjectName(QStringLiteral("mnuExtra"));
    mnuWindows = menu(mnuExtra, "mnuWindows", QStringLiteral("&Windows"));
    mnuExtraBar = bar(mnuExtra, "mnuExtraBar");
    mnuExtraAbout = item(mnuExtra, "mnuExtraAbout", QStringLiteral("&About..."), QKeySequence(Qt::Key_F1));
    connect(mnuWindows, &QMenu::aboutToShow, this, &MDImain::mnuWindows_Show);

    connect(mnuFileNew, &QAction::triggered, this, &MDImain::mnuFileNew_Click);
    connect(mnufileOpen, &QAction::triggered, this, &MDImain::mnufileOpen_Click);
    connect(mnuSave, &QAction::triggered, this, &MDImain::mnuSave_Click);
    connect(mnuFileExit, &QAction::triggered, this, &MDImain::mnuFileExit_Click);
    connect(mnuEditCut, &QAction::triggered, this, &MDImain::mnuEditCut_Click);
    connect(mnuEditCopy, &QAction::triggered, this, &MDImain::mnuEditCopy_Click);
    connect(mnuEditPaste, &QAction::triggered, this, &MDImain::mnuEditPaste_Click);
    connect(mnuExtraFonts, &QAction::triggered, this, &MDImain::mnuExtraFonts_Click);
    connect(mnuExtraInsert, &QAction::triggered, this, &MDImain::mnuExtraInsert_Click);
    connect(mnuFormatBold, &QAction::triggered, this, &MDImain::mnuFormatBold_Click);
    connect(mnuFormatItalic, &QAction::triggered, this, &MDImain::mnuFormatItalic_Click);
    connect(mnuFormatUnderline, &QAction::triggered, this, &MDImain::mnuFormatUnderline_Click);
    connect(mnuFormatAlignLeft, &QAction::triggered, this, &MDImain::mnuFormatAlignLeft_Click);
    connect(mnuFormatAlignCenter, &QAction::triggered, this, &MDImain::mnuFormatAlignCenter_Click);
    connect(mnuFormatAlignRight, &QAction::triggered, this, &MDImain::mnuFormatAlignRight_Click);
    connect(mnuInsertKvx, &QAction::triggered, this, &MDImain::mnuInsertKvx_Click);
    connect(mnuFindKvx, &QAction::triggered, this, &MDImain::mnuFindKvx_Click);
    connect(mnuExtraAbout, &QAction::triggered, this, &MDImain::mnuExtraAbout_Click);
}

// The View menu, between Edit and KavixTools. Items that show the document
// differently (without changing it) are added here.
void MDImain::createViewMenu()
{
    mnuView = new QMenu(QStringLiteral("&View"), this);
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuView->menuAction()->setObjectName(QStringLiteral("mnuView"));
    menuBar()->insertMenu(mnuKavix->menuAction(), mnuView);
    auto item = [this](const char* name, const QString& caption, const QList<QKeySequence>& keys) {
        QAction* a = mnuView->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setShortcuts(keys);
        return a;
    };
    mnuViewZoomIn = item("mnuViewZoomIn", QStringLiteral("Zoom &In"),
                         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    mnuViewZoomOut = item("mnuViewZoomOut", QStringLiteral("Zoom &Out"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    mnuViewZoomReset = item("mnuViewZoomReset", QStringLiteral("&Actual Size"), {QKeySequence(Qt::CTRL | Qt::Key_0)});
    connect(mnuViewZoomIn, &QAction::triggered, this, [this] { mnuViewZoom_Click(1); });
    connect(mnuViewZoomOut, &QAction::triggered, this, [this] { mnuViewZoom_Click(-1); });
    connect(mnuViewZoomReset, &QAction::triggered, this, [this] { mnuViewZoom_Click(0); });
}

void MDImain::MDIForm_Load(const QStringList& files)
{
    if (files.isEmpty())
        loadNewDoc(QString());
    for (const QString& file : files)
        loadNewDoc(file);
}

frmChild* MDImain::activeDocument() const
{
    // The current sub-window stays current while another program or one of
    // our dialogs is active, unlike the active one.
    return qobject_cast<frmChild*>(mdiArea->currentSubWindow());
}

QTextEdit* MDImain::activeText() const { return box(activeDocument()); }

QList<frmChild*> MDImain::documents() const
{
    QList<frmChild*> out;
    for (QMdiSubWindow* w : mdiArea->subWindowList(QMdiArea::CreationOrder))
        if (auto* child = qobject_cast<frmChild*>(w))
            out << child;
    return out;
}

void MDImain::manipMenus(bool enabld)
{
    mnuSave->setEnabled(enabld);
    enableMenu(mnuEdit, enabld);
    enableMenu(mnuKavix, enabld);
    mnuExtraInsert->setEnabled(enabld);
    mnuExtraFonts->setEnabled(enabld);
    enableWriterCommands(enabld);
}

frmChild* MDImain::loadNewDoc(const QString& docTitle)
{
    auto* child = new frmChild(this);
    ++newDocCount_;
    manipMenus(true);
    connect(child, &frmChild::unloaded, this, &MDImain::childUnloaded);
    watchDocument(child);
    mdiArea->addSubWindow(child);
    // New windows cascade from the top left, three quarters of the area's size.
    // Before the frame is first shown its area has no size of its own yet.
    const QSize area = isVisible() ? mdiArea->viewport()->size()
                                   : size() - QSize(0, menuBar()->sizeHint().height());
    const int step = 24 * ((documents().size() - 1) % 8);
    child->setGeometry(step, step, std::max(area.width() * 3 / 4, 320), std::max(area.height() * 3 / 4, 200));
    if (!docTitle.isEmpty()) {
        child->setWindowTitle(docTitle);
        QString error;
        if (!child->rtfText->loadFile(docTitle, &error)) {
            lexi::msgBox(this, QStringLiteral("Cannot open %1\n\n%2").arg(docTitle, error), lexi::MsgButtons::Ok,
                         lexi::MsgIcon::Exclamation);
        } else {
            // Only a file that was read is the document's own: saving an
            // empty window over an unreadable file would lose it.
            child->setFileName(docTitle);
            RecentFiles::add(docTitle);
        }
    } else {
        child->setWindowTitle(QStringLiteral("Document") + QString::number(newDocCount_));
    }
    attachWritingAids(child);
    child->show();
    mdiArea->setActiveSubWindow(child);
    return child;
}

void MDImain::childUnloaded(frmChild* child)
{
    const auto open = documents();
    if (open.isEmpty() || (open.size() == 1 && open.first() == child))
        manipMenus(false);
}

void MDImain::mnuFileNew_Click() { loadNewDoc(QString()); }

void MDImain::mnufileOpen_Click()
{
    const QString fileName = lexi::dialogs().openFileName(this, kOpenTitle, kOpenFilter);
    if (fileName.isEmpty())
        return;
    loadNewDoc(QFileInfo(fileName).absoluteFilePath());
}

bool MDImain::saveDocumentAs(frmChild* doc)
{
    if (!doc)
        return false;
    const QString fileName = lexi::dialogs().saveFileName(this, kSaveTitle, kSaveFilter);
    if (fileName.isEmpty())
        return false;
    return writeDocument(doc, fileName);
}

bool MDImain::writeDocument(frmChild* doc, const QString& fileName)
{
    QString error;
    QStringList warnings;
    if (!doc->rtfText->saveFile(fileName, &error, &warnings)) {
        lexi::msgBox(this, QStringLiteral("Cannot save %1\n\n%2").arg(fileName, error), lexi::MsgButtons::Ok,
                     lexi::MsgIcon::Exclamation);
        return false;
    }
    const QString path = QFileInfo(fileName).absoluteFilePath();
    doc->setFileName(path);
    RecentFiles::add(path);
    if (!warnings.isEmpty())
        lexi::msgBox(this, QStringLiteral("%1 was saved.\n\n%2").arg(fileName, warnings.join(QLatin1Char('\n'))),
                     lexi::MsgButtons::Ok, lexi::MsgIcon::Exclamation);
    return true;
}

void MDImain::mnuSave_Click() { saveDocumentAs(activeDocument()); }

void MDImain::mnuFileExit_Click() { close(); }

bool MDImain::queryExit()
{
    const lexi::MsgAnswer answer = lexi::msgBox(this, QStringLiteral("Save before exiting ?"),
                                                lexi::MsgButtons::YesNoCancel, lexi::MsgIcon::None,
                                                QStringLiteral("Save"));
    if (answer == lexi::MsgAnswer::Cancel)
        return false;
    frmChild* active = activeDocument();
    // A save that is cancelled or fails keeps the program open with the work.
    if (answer == lexi::MsgAnswer::Yes && active && !saveDocumentAs(active))
        return false;
    // The other documents with changes are asked about one by one.
    for (frmChild* doc : documents()) {
        if (doc != active && !doc->queryUnload())
            return false;
    }
    for (frmChild* doc : documents())
        doc->setCloseWithoutAsking(true);
    return true;
}

void MDImain::closeEvent(QCloseEvent* event)
{
    if (!queryExit()) {
        event->ignore();
        return;
    }
    if (about_)
        about_->close();
    QMainWindow::closeEvent(event);
}

void MDImain::mnuWindows_Show()
{
    mnuWindows->clear();
    const frmChild* current = activeDocument();
    int n = 0;
    for (frmChild* doc : documents()) {
        ++n;
        const QString number = n < 10 ? QStringLiteral("&%1 ").arg(n) : QStringLiteral("%1 ").arg(n);
        QAction* a = mnuWindows->addAction(number + QString(doc->windowTitle()).replace(QLatin1Char('&'), "&&"));
        a->setCheckable(true);
        a->setChecked(doc == current);
        connect(a, &QAction::triggered, this, [this, doc = QPointer<frmChild>(doc)] {
            if (doc) {
                if (doc->isMinimized())
                    doc->showNormal();
                mdiArea->setActiveSubWindow(doc);
            }
        });
    }
}

// Clipboard and formatting: with no document open they change nothing.

// With nothing selected Copy and Cut leave the clipboard as it was: what
// the user put there last is not thrown away for nothing. Other programs
// find plain text on the clipboard; wkvx's own documents find the
// formatting beside it.
void MDImain::mnuEditCopy_Click()
{
    RichTextBox* t = box(activeDocument());
    if (t && t->textCursor().hasSelection())
        QApplication::clipboard()->setMimeData(t->selectionMimeData());
}

void MDImain::mnuEditCut_Click()
{
    RichTextBox* t = box(activeDocument());
    if (!t || !t->textCursor().hasSelection())
        return;
    QApplication::clipboard()->setMimeData(t->selectionMimeData());
    t->setSelText(QString());
}

void MDImain::mnuEditPaste_Click()
{
    if (RichTextBox* t = box(activeDocument()))
        t->pasteMimeData(QApplication::clipboard()->mimeData());
}

void MDImain::mnuExtraInsert_Click()
{
    RichTextBox* t = box(activeDocument());
    if (!t)
        return;
    // The selection stays as it is and the date and time follow it.
    QTextCursor c = t->textCursor();
    c.setPosition(c.selectionEnd());
    c.insertText(generalDateNow());
    t->setTextCursor(c);
}

void MDImain::mnuExtraFonts_Click()
{
    RichTextBox* t = box(activeDocument());
    if (!t)
        return;
    // The dialog starts from the selection's font as the document shows it,
    // and only what the user changes there is applied.
    const QFont shown = t->selFont();
    const std::optional<QFont> chosen = lexi::dialogs().font(this, shown);
    // A cancelled dialog changes nothing.
    if (chosen)
        t->setSelFont(*chosen, shown);
}

void MDImain::mnuFormatBold_Click()
{
    RichTextBox* t = box(activeDocument());
    if (t)
        t->setSelBold(!t->selBold());
    mnuFormatBold->setChecked(t && t->selBold());
}

void MDImain::mnuFormatItalic_Click()
{
    RichTextBox* t = box(activeDocument());
    if (t)
        t->setSelItalic(!t->selItalic());
    mnuFormatItalic->setChecked(t && t->selItalic());
}

void MDImain::mnuFormatUnderline_Click()
{
    RichTextBox* t = box(activeDocument());
    if (t)
        t->setSelUnderline(!t->selUnderline());
    mnuFormatUnderline->setChecked(t && t->selUnderline());
}

void MDImain::setAlignment(Qt::Alignment alignment, QAction* checked)
{
    if (RichTextBox* t = box(activeDocument()))
        t->setSelAlignment(alignment);
    for (QAction* a : {mnuFormatAlignLeft, mnuFormatAlignCenter, mnuFormatAlignRight})
        a->setChecked(a == checked);
}

void MDImain::mnuFormatAlignLeft_Click() { setAlignment(Qt::AlignLeft, mnuFormatAlignLeft); }
void MDImain::mnuFormatAlignCenter_Click() { setAlignment(Qt::AlignHCenter, mnuFormatAlignCenter); }
void MDImain::mnuFormatAlignRight_Click() { setAlignment(Qt::AlignRight, mnuFormatAlignRight); }

void MDImain::mnuInsertKvx_Click() { kavixTools_->insertWord(); }

void MDImain::mnuFindKvx_Click() { kavixTools_->findSelection(); }

void MDImain::mnuExtraAbout_Click()
{
    if (!about_) {
        about_ = new lexi::frmAbout(lexi::AboutKind::Writer, this);
        about_->setAttribute(Qt::WA_DeleteOnClose);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MDImain::popupEditMenu(const QPoint& globalPos)
{
    if (!activeDocument())
        return;
    mnuEdit->setDefaultAction(mnuEditCopy);
    // Copy is the default only in the pop-up, not in the menu bar.
    connect(mnuEdit, &QMenu::aboutToHide, this, [this] { mnuEdit->setDefaultAction(nullptr); },
            Qt::SingleShotConnection);
    if (RichTextBox* t = box(activeDocument())) {
        if (const std::optional<int> at = wordUnder(t, t->viewport()->mapFromGlobal(globalPos)))
            wordMenu_->addItems(mnuEdit, t, *at);
    }
    mnuEdit->popup(globalPos);
}

void MDImain::addWritingAids()
{
    spelling_ = new Spelling(
        this, [this] { return activeText(); },
        [this](QTextEdit* t) { popupEditMenu(t->viewport()->mapToGlobal(t->cursorRect().center())); });
    wordMenu_ = new WordMenu(this, spelling_, kavixTools_);
    recovery_ = new Recovery(this);

    QMenu* view = viewMenu(this, mnuKavix->menuAction());
    if (!view->isEmpty())
        view->addSeparator();
    view->addAction(spelling_->mnuViewSpelling);
    mnuKavix->addSeparator()->setObjectName(QStringLiteral("mnuKavixBar2"));
    mnuKavix->addAction(spelling_->mnuSpellCheck);
    mnuKavix->addAction(wordMenu_->mnuLookUpKvx);
    connect(wordMenu_->mnuLookUpKvx, &QAction::triggered, this, [this] { wordMenu_->lookUpAtCaret(activeText()); });
}

void MDImain::attachWritingAids(frmChild* child)
{
    spelling_->attach(child->rtfText);
    recovery_->watch(child);
}

}  // namespace wkvx
