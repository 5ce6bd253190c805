#pragma once

#include "frmAdd.h"
#include "frmBrowser.h"
#include "frmEdit.h"
#include "frmWordGame.h"
#include "frmSearch.h"
#include "frmViewAll.h"

#include "frmAbout.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QMenu;
class QWidget;

namespace kavix {

class LinkLabel;

// The hub of kavix: two menus and three link labels open every other window.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    QLabel* lblTasks = nullptr;
    LinkLabel* lblLookUp = nullptr;
    LinkLabel* lblEdit = nullptr;
    LinkLabel* lblAdd = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* PicSearchTorch = nullptr;

    QMenu* mnuAction = nullptr;
    QAction* mnuActionSearch = nullptr;
    QAction* mnuActionViewAll = nullptr;
    QAction* mnuViewAll = nullptr;
    QAction* mnuActionAdd = nullptr;
    QAction* mnuActionExit = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpIndex = nullptr;
    QAction* mnuHelpSearch = nullptr;
    QAction* mnuWordGame = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // The windows opened from here; each exists once.
    frmAdd* addForm() const { return add_; }
    lexi::frmAbout* aboutBox() const { return about_; }
    frmSearch* searchDialog() const { return search_; }
    frmViewAll* completeList() const { return viewAll_; }
    frmBrowser* helpBrowser() const { return browser_; }
    frmEdit* editForm() const { return edit_; }
    frmWordGame* wordGame() const { return game_; }

private:
    void buildMenus();
    void buildContent();

    void lblLookUp_MouseMove();
    void lblEdit_MouseMove();
    void lblAdd_MouseMove();
    void underlineOnly(QLabel* label);

    void mnuActionSearch_Click();
    void mnuViewAll_Click();
    void mnuActionAdd_Click();
    void mnuActionExit_Click();
    void mnuHelpContents_Click();
    void mnuHelpIndex_Click();
    void mnuHelpSearch_Click();
    void showBrowser(const QString& address);
    void mnuHelpAbout_Click();
    void mnuActionViewAll_Click();
    void mnuWordGame_Click();

    QPointer<frmAdd> add_;
    QPointer<lexi::frmAbout> about_;
    QPointer<frmSearch> search_;
    QPointer<frmViewAll> viewAll_;
    QPointer<frmBrowser> browser_;  // not owned: it may outlive this window
    QPointer<frmEdit> edit_;
    QPointer<frmWordGame> game_;
    // What these two forms keep while their windows come and go.
    EditMemory editMemory_;
    WordGameMemory gameMemory_;
};

}  // namespace kavix
