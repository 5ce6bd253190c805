#pragma once

#include "frmAbout.h"
#include "textcount.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTextEdit;
class QTimer;

namespace wkvx {

class frmChild;
class frmFind;
class KavixTools;
class Recovery;
class Spelling;
class WordMenu;

// The word processor's frame: the menus, the document windows and the file
// commands. There is one per program; the dialogs reach the active document
// through it.
class MDImain : public QMainWindow {
    Q_OBJECT
public:
    // Files given (full paths) open in place of the first empty document.
    explicit MDImain(const QStringList& files = {}, QWidget* parent = nullptr);
    ~MDImain() override;

    // The rich-text box of the active document, or nullptr with none open.
    QTextEdit* activeText() const;
    frmChild* activeDocument() const;
    QList<frmChild*> documents() const;

    void manipMenus(bool enabld);
    // Empty docTitle: a new empty document; else the full path of a file to open.
    frmChild* loadNewDoc(const QString& docTitle);
    int newDocCount() const { return newDocCount_; }

    // The right mouse button in a document: the Edit menu, Copy as its default.
    void popupEditMenu(const QPoint& globalPos);
    // Asks where to save doc and saves it there; false when cancelled or failed.
    bool saveDocumentAs(frmChild* doc);
    // Saves doc to its own file, or asks where when it has none.
    bool saveDocument(frmChild* doc);
    // Find and Replace, once it has been opened.
    frmFind* findDialog() const;

    lexi::frmAbout* aboutBox() const { return about_; }
    // The "&KavixTools" commands and their two dialogs.
    KavixTools* kavixTools() const { return kavixTools_; }

    // Spelling, the word menu and recovery copies, for every document.
    Spelling* spelling() const { return spelling_; }
    WordMenu* wordMenu() const { return wordMenu_; }
    Recovery* recovery() const { return recovery_; }
    // Follows a document window's current document with them.
    void attachWritingAids(frmChild* child);

    QMdiArea* mdiArea = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnufileOpen = nullptr;
    QAction* mnuFileBar1 = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditBar = nullptr;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuExtraFonts = nullptr;
    QAction* mnuExtraInsert = nullptr;
    QMenu* mnuEditFormat = nullptr;
    QAction* mnuFormatBold = nullptr;
    QAction* mnuFormatItalic = nullptr;
    QAction* mnuFormatUnderline = nullptr;
    QAction* mnuformatBar1 = nullptr;
    QAction* mnuFormatAlignLeft = nullptr;
    QAction* mnuFormatAlignCenter = nullptr;
    QAction* mnuFormatAlignRight = nullptr;
    QMenu* mnuKavix = nullptr;
    QAction* mnuInsertKvx = nullptr;
    QAction* mnuKavixBar = nullptr;
    QAction* mnuFindKvx = nullptr;
    QMenu* mnuExtra = nullptr;
    QMenu* mnuWindows = nullptr;
    QAction* mnuExtraBar = nullptr;
    QAction* mnuExtraAbout = nullptr;

    // Commands beyond the original menus: undo, save, recent files,
    // find and replace, printing, close, and the View menu.
    QAction* mnuEditUndo = nullptr;
    QAction* mnuEditRedo = nullptr;
    QAction* mnuEditUndoBar = nullptr;
    QAction* mnuEditFindBar = nullptr;
    QAction* mnuEditReplace = nullptr;
    QAction* mnuEditFindNext = nullptr;
    QAction* mnuEditFindPrevious = nullptr;
    QMenu* mnuFileRecent = nullptr;
    QAction* mnuFileClose = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFilePrintBar = nullptr;
    QAction* mnuFilePreview = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFilePdf = nullptr;
    QAction* mnuFileExitBar = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuViewZoomIn = nullptr;
    QAction* mnuViewZoomOut = nullptr;
    QAction* mnuViewZoomReset = nullptr;
    // The status bar: the words and characters of the document (or of the
    // selection), the caret's line and the zoom.
    QLabel* lblCount = nullptr;
    QLabel* lblLine = nullptr;
    QLabel* lblZoom = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void addWritingAids();
    void MDIForm_Load(const QStringList& files);
    void childUnloaded(frmChild* child);
    bool queryExit();
    void mnuWindows_Show();

    void mnuFileNew_Click();
    void mnufileOpen_Click();
    void mnuSave_Click();
    void mnuFileExit_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuExtraFonts_Click();
    void mnuExtraInsert_Click();
    void mnuFormatBold_Click();
    void mnuFormatItalic_Click();
    void mnuFormatUnderline_Click();
    void mnuFormatAlignLeft_Click();
    void mnuFormatAlignCenter_Click();
    void mnuFormatAlignRight_Click();
    void mnuInsertKvx_Click();
    void mnuFindKvx_Click();
    void mnuExtraAbout_Click();

    void setAlignment(Qt::Alignment alignment, QAction* checked);

    void createWriterMenus();
    void createViewMenu();
    void createStatusBar();
    void enableWriterCommands(bool enabled);
    void watchDocument(frmChild* child);
    void disconnectDocuments();
    void document_Activated(QMdiSubWindow* window);
    void document_StateChanged(frmChild* child, Qt::WindowStates state);
    void updateUndoRedo();
    void updateFormatChecks();
    void updateStatus();
    void scheduleStatus();
    bool writeDocument(frmChild* doc, const QString& fileName);
    void mnuFileRecent_Show();
    void openRecent(const QString& path);
    void findAgain(bool backward);

    void mnuEditUndo_Click();
    void mnuEditRedo_Click();
    void mnuEditReplace_Click();
    void mnuEditFindNext_Click();
    void mnuEditFindPrevious_Click();
    void mnuFileClose_Click();
    void mnuFileSave_Click();
    void mnuFilePreview_Click();
    void mnuFilePrint_Click();
    void mnuFilePdf_Click();
    void mnuViewZoom_Click(int direction);

    int newDocCount_ = 0;  // every document opened in this run; never goes down
    QPointer<lexi::frmAbout> about_;
    KavixTools* kavixTools_ = nullptr;
    QPointer<frmFind> find_;
    QTimer* statusTimer_ = nullptr;
    DocumentCounter counter_;
    Spelling* spelling_ = nullptr;
    WordMenu* wordMenu_ = nullptr;
    Recovery* recovery_ = nullptr;
};

}  // namespace wkvx
