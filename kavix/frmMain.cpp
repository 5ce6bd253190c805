#include "frmMain.h"
#include "windowflags.h"

#include "frmAdd.h"
#include "frmBrowser.h"
#include "linklabel.h"

#include "dictstore/paths.h"

#include "frmAbout.h"
#include "logo.h"
#include "msgbox.h"
#include "twips.h"
#include "version.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <memory>

namespace kavix {

namespace {

QFont verdana(qreal points, bool bold)
{
    QFont f(QStringLiteral("Verdana"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QPixmap redBullet()
{
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 0, 0));
    p.drawEllipse(QRectF(1, 1, 10, 10));
    return pm;
}

QFrame* separator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Shows the one instance of an owned window, creating it when needed;
// opening it again brings it to the front.
template <typename Form, typename Make>
Form* showOnce(QPointer<Form>& slot, Make make)
{
    if (!slot) {
        slot = make();
        slot->setAttribute(Qt::WA_DeleteOnClose);
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
    return slot;
}

}  // namespace

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent, Qt::Window | lexi::kFixedWindowHints)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Lexivane"));
    setWindowIcon(lexi::appIcon());
    buildMenus();
    buildContent();
    setFixedSize(sizeHint());
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

frmMain::~frmMain() = default;

void frmMain::buildMenus()
{
    auto item = [this](QMenu* menu, const char* name, const QString& caption, const QKeySequence& key = {}) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        a->setShortcutContext(Qt::ApplicationShortcut);
        return a;
    };

    mnuAction = menuBar()->addMenu(QStringLiteral("&Action"));
    mnuAction->setObjectName(QStringLiteral("mnuAction"));
    mnuActionSearch = item(mnuAction, "mnuActionSearch", QStringLiteral("&Look Up for a Word..."), Qt::Key_F8);
    mnuActionViewAll = item(mnuAction, "mnuActionViewAll", QStringLiteral("&Edit records..."), Qt::Key_F9);
    mnuAction->addSeparator()->setObjectName(QStringLiteral("mnuActionBar"));
    mnuViewAll = item(mnuAction, "mnuViewAll", QStringLiteral("&View all existing words..."),
                      QKeySequence(Qt::SHIFT | Qt::Key_F1));
    mnuActionAdd = item(mnuAction, "mnuActionAdd", QStringLiteral("&Add a New Word..."), Qt::Key_F11);
    mnuAction->addSeparator()->setObjectName(QStringLiteral("mnuBar2"));
    mnuActionExit = item(mnuAction, "mnuActionExit", QStringLiteral("&Exit"), QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpContents = item(mnuHelp, "mnuHelpContents", QStringLiteral("&Contents..."), Qt::Key_F2);
    mnuHelpIndex = item(mnuHelp, "mnuHelpIndex", QStringLiteral("&Index..."));
    mnuHelpSearch = item(mnuHelp, "mnuHelpSearch", QStringLiteral("&Search on web..."),
                         QKeySequence(Qt::CTRL | Qt::Key_W));
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("mnuHelpBar"));
    mnuWordGame = item(mnuHelp, "mnuWordGame", QStringLiteral("&Kavix Word Game..."),
                       QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    mnuHelpAbout = item(mnuHelp, "mnuHelpAbout", QStringLiteral("&About..."), Qt::Key_F1);

    connect(mnuActionSearch, &QAction::triggered, this, &frmMain::mnuActionSearch_Click);
    connect(mnuViewAll, &QAction::triggered, this, &frmMain::mnuViewAll_Click);
    connect(mnuActionAdd, &QAction::triggered, this, &frmMain::mnuActionAdd_Click);
    connect(mnuActionExit, &QAction::triggered, this, &frmMain::mnuActionExit_Click);
    connect(mnuHelpContents, &QAction::triggered, this, &frmMain::mnuHelpContents_Click);
    connect(mnuHelpIndex, &QAction::triggered, this, &frmMain::mnuHelpIndex_Click);
    connect(mnuHelpSearch, &QAction::triggered, this, &frmMain::mnuHelpSearch_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
    connect(mnuActionViewAll, &QAction::triggered, this, &frmMain::mnuActionViewAll_Click);
    connect(mnuWordGame, &QAction::triggered, this, &frmMain::mnuWordGame_Click);
}

void frmMain::buildContent()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("content"));
    setCentralWidget(central);

    lblTasks = new QLabel(QStringLiteral("QUICK TASKS, Click to perform :"), central);
    lblTasks->setObjectName(QStringLiteral("lblTasks"));
    QFont heading(QStringLiteral("Times New Roman"));
    heading.setPointSizeF(12);
    heading.setBold(true);
    lblTasks->setFont(heading);
    lblTasks->setAlignment(Qt::AlignCenter);
    lblTasks->setStyleSheet(QStringLiteral("color: rgb(0, 128, 0)"));

    PicSearchTorch = new QLabel(central);
    PicSearchTorch->setObjectName(QStringLiteral("PicSearchTorch"));
    PicSearchTorch->setPixmap(lexi::logoPixmap(96));
    PicSearchTorch->setAccessibleName(QStringLiteral("Lexivane"));

    auto link = [central](const char* name, const QString& text) {
        auto* l = new LinkLabel(text, central);
        l->setObjectName(QLatin1String(name));
        l->setFont(verdana(9.75, true));
        l->setStyleSheet(QStringLiteral("QLabel { color: rgb(255, 0, 0) } QLabel:disabled { color: rgb(160, 160, 160) }"));
        return l;
    };
    lblLookUp = link("lblLookUp", QStringLiteral("Look up for a word...") + QString(29, QLatin1Char(' ')) +
                                      QStringLiteral("F8"));
    lblEdit = link("lblEdit", QStringLiteral("Edit an existing entry...") + QString(24, QLatin1Char(' ')) +
                                  QStringLiteral("F9"));
    lblAdd = link("lblAdd", QStringLiteral("Add a word to the dictionary...") + QString(10, QLatin1Char(' ')) +
                                QStringLiteral("F11"));
    connect(lblLookUp, &LinkLabel::mouseMoved, this, &frmMain::lblLookUp_MouseMove);
    connect(lblEdit, &LinkLabel::mouseMoved, this, &frmMain::lblEdit_MouseMove);
    connect(lblAdd, &LinkLabel::mouseMoved, this, &frmMain::lblAdd_MouseMove);
    connect(lblLookUp, &LinkLabel::clicked, mnuActionSearch, &QAction::trigger);
    connect(lblEdit, &LinkLabel::clicked, mnuActionViewAll, &QAction::trigger);
    connect(lblAdd, &LinkLabel::clicked, mnuActionAdd, &QAction::trigger);
    // A label stays greyed out while its command is.
    for (auto [label, action] : {std::pair{lblLookUp, mnuActionSearch}, std::pair{lblEdit, mnuActionViewAll},
                                 std::pair{lblAdd, mnuActionAdd}}) {
        label->setEnabled(action->isEnabled());
        connect(action, &QAction::changed, label, [label, action] { label->setEnabled(action->isEnabled()); });
    }

    Label1 = new QLabel(QStringLiteral("Press F2 any time for help"), central);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(verdana(8.25, false));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAutoFillBackground(true);
    Label1->setStyleSheet(QStringLiteral("color: white; background-color: rgb(0, 96, 48); padding: 4px"));

    auto* links = new QGridLayout;
    links->setHorizontalSpacing(8);
    links->setVerticalSpacing(lexi::twips(240));
    int row = 0;
    for (QLabel* l : {static_cast<QLabel*>(lblLookUp), static_cast<QLabel*>(lblEdit), static_cast<QLabel*>(lblAdd)}) {
        auto* bullet = new QLabel(central);
        bullet->setPixmap(redBullet());
        links->addWidget(bullet, row, 0);
        links->addWidget(l, row, 1);
        ++row;
    }

    auto* body = new QHBoxLayout;
    body->addWidget(PicSearchTorch, 0, Qt::AlignTop);
    body->addSpacing(12);
    body->addLayout(links);

    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(0, 12, 0, 0);
    v->setSpacing(10);
    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(18, 0, 18, 6);
    inner->setSpacing(10);
    inner->addWidget(lblTasks);
    inner->addWidget(separator(central));
    inner->addLayout(body);
    inner->addWidget(separator(central));
    v->addLayout(inner);
    v->addWidget(Label1);
}

void frmMain::underlineOnly(QLabel* label)
{
    for (QLabel* l : {static_cast<QLabel*>(lblLookUp), static_cast<QLabel*>(lblEdit), static_cast<QLabel*>(lblAdd)}) {
        QFont f = l->font();
        f.setUnderline(l == label);
        l->setFont(f);
    }
}

void frmMain::lblLookUp_MouseMove() { underlineOnly(lblLookUp); }
void frmMain::lblEdit_MouseMove() { underlineOnly(lblEdit); }
void frmMain::lblAdd_MouseMove() { underlineOnly(lblAdd); }

// A dialog hidden by Go comes back as it was left.
void frmMain::mnuActionSearch_Click()
{
    showOnce(search_, [this] { return new frmSearch(this); });
}

void frmMain::mnuViewAll_Click()
{
    showOnce(viewAll_, [this] { return new frmViewAll(this); });
}

void frmMain::mnuActionAdd_Click()
{
    showOnce(add_, [this] { return new frmAdd(this); });
}

void frmMain::mnuActionExit_Click() { close(); }

// The address is only read when the browser first opens; an open browser is
// just brought forward.
void frmMain::showBrowser(const QString& address)
{
    if (!browser_) {
        browser_ = new frmBrowser(nullptr);
        browser_->setAttribute(Qt::WA_DeleteOnClose);
        browser_->StartingAddress = address;
    }
    browser_->setWindowState(browser_->windowState() & ~Qt::WindowMinimized);
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
}

void frmMain::mnuHelpContents_Click() { showBrowser(QString::fromStdString(dictstore::helpIndexPath().string())); }

void frmMain::mnuHelpSearch_Click() { showBrowser(QString::fromLatin1(lexi::kDownloadPage)); }

void frmMain::mnuHelpIndex_Click()
{
    lexi::msgBox(this,
                 QStringLiteral("This feature is not available in this version. Please contact %1 for assistance.")
                     .arg(QLatin1String(lexi::kSupportEmail)),
                 lexi::MsgButtons::Ok, lexi::MsgIcon::Exclamation, QStringLiteral("Lexivane"));
}

void frmMain::mnuHelpAbout_Click()
{
    showOnce(about_, [this] { return new lexi::frmAbout(lexi::AboutKind::Kavix, this); });
}

void frmMain::mnuActionViewAll_Click()
{
    showOnce(edit_, [this] { return new frmEdit(editMemory_, this); });
}

// A game that could not read a single entry has said why and is not opened:
// a window where nothing can be played would only puzzle.
void frmMain::mnuWordGame_Click()
{
    if (!game_) {
        auto game = std::make_unique<frmWordGame>(gameMemory_, this);
        if (!game->playable())
            return;
        game_ = game.release();
        game_->setAttribute(Qt::WA_DeleteOnClose);
    }
    showOnce(game_, [this] { return new frmWordGame(gameMemory_, this); });
}

}  // namespace kavix
