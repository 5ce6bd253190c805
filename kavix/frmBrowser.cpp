#include "frmBrowser.h"

#include "formui.h"
#include "webview.h"

#include "dictstore/paths.h"

#include "logo.h"
#include "twips.h"
#include "version.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace kavix {

namespace {

constexpr int kTimerIntervalMs = 5;
constexpr int kLabelLeftTwips = 60;
constexpr int kLabelTopTwips = 30;
constexpr int kBelowLabelTwips = 15;
constexpr int kPanelBottomTwips = 60;

struct ToolButton {
    const char* key;
    const char* themeIcon;
    QStyle::StandardPixmap fallback;
    QIcon (*drawn)();  // instead of the style's icon, where it has none that fits
    QKeySequence shortcut;
};

// Qt's styles have a folder for "home" and no magnifier; these two are drawn.
QIcon drawnHomeIcon()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor outline(40, 70, 120);
    p.setPen(QPen(outline, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(245, 240, 225));
    p.drawRect(QRectF(8, 15, 16, 13));
    p.setBrush(QColor(190, 50, 40));
    const QPointF roof[] = {{4, 16}, {16, 5}, {28, 16}};
    p.drawPolygon(roof, 3);
    p.setBrush(QColor(120, 80, 40));
    p.drawRect(QRectF(14, 20, 5, 8));
    return QIcon(pm);
}

QIcon drawnSearchIcon()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 70, 120), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(200, 225, 255));
    p.drawEllipse(QRectF(5, 5, 16, 16));
    p.setPen(QPen(QColor(40, 70, 120), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 20), QPointF(27, 27));
    return QIcon(pm);
}

// The help index, where Home goes.
QUrl helpIndexUrl()
{
    return QUrl::fromLocalFile(QString::fromStdString(dictstore::helpIndexPath().string()));
}

// The product's web page, where Search goes.
QUrl productPageUrl() { return QUrl(QString::fromLatin1(lexi::kHomePage)); }

}  // namespace

frmBrowser::frmBrowser(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowIcon(lexi::appIcon());
    buildForm();
    resize(760, 560);
    ui::centreWhenFirstShown(this);
}

frmBrowser::~frmBrowser() = default;

void frmBrowser::buildForm()
{
    content_ = new QWidget(this);
    content_->setObjectName(QStringLiteral("content"));
    setCentralWidget(content_);
    content_->installEventFilter(this);

    tbToolBar = new QToolBar(content_);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setAccessibleName(QStringLiteral("Browser commands"));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbToolBar->setIconSize(QSize(24, 24));
    tbToolBar->setMovable(false);
    tbToolBar->setFloatable(false);

    const ToolButton buttons[] = {
        {"Back", "go-previous", QStyle::SP_ArrowBack, nullptr, QKeySequence::Back},
        {"Forward", "go-next", QStyle::SP_ArrowForward, nullptr, QKeySequence::Forward},
        {"Stop", "process-stop", QStyle::SP_BrowserStop, nullptr, QKeySequence(Qt::Key_Escape)},
        {"Refresh", "view-refresh", QStyle::SP_BrowserReload, nullptr, QKeySequence::Refresh},
        {"Home", "go-home", QStyle::SP_CustomBase, drawnHomeIcon, QKeySequence(Qt::ALT | Qt::Key_Home)},
        {"Search", "system-search", QStyle::SP_CustomBase, drawnSearchIcon, QKeySequence()},
    };
    for (std::size_t i = 0; i < imlIcons.size(); ++i) {
        const ToolButton& s = buttons[i];
        const QIcon fallback = s.drawn ? s.drawn() : style()->standardIcon(s.fallback);
        imlIcons[i] = QIcon::fromTheme(QLatin1String(s.themeIcon), fallback);
        const QString key = QLatin1String(s.key);
        QAction* a = tbToolBar->addAction(imlIcons[i], key);
        a->setObjectName(key);
        a->setData(key);
        if (!s.shortcut.isEmpty()) {
            a->setShortcut(s.shortcut);
            a->setToolTip(QStringLiteral("%1 (%2)").arg(key, s.shortcut.toString(QKeySequence::NativeText)));
        }
    }
    connect(tbToolBar, &QToolBar::actionTriggered, this, &frmBrowser::tbToolBar_ButtonClick);

    picAddress = new QWidget(content_);
    picAddress->setObjectName(QStringLiteral("picAddress"));

    cboAddress = new QComboBox(picAddress);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setEditable(true);
    // Only the start address is ever listed, and typing must not complete to it.
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setCompleter(nullptr);
    // The box hands keys to its line edit directly, past any filter there.
    cboAddress->installEventFilter(this);
    cboAddress->lineEdit()->installEventFilter(this);
    connect(cboAddress, &QComboBox::activated, this, [this] { cboAddress_Click(); });

    lblAddress = new QLabel(QStringLiteral("&Address:"), picAddress);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    lblAddress->setBuddy(cboAddress);

    brwWebBrowser = new WebView(content_);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    brwWebBrowser->setAccessibleName(QStringLiteral("Page"));
    brwWebBrowser->setHomePage(helpIndexUrl());
    brwWebBrowser->setSearchPage(productPageUrl());
    connect(brwWebBrowser, &WebView::downloadComplete, this, &frmBrowser::brwWebBrowser_DownloadComplete);

    timTimer = new QTimer(this);
    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setInterval(kTimerIntervalMs);
    connect(timTimer, &QTimer::timeout, this, &frmBrowser::timTimer_Timer);

    setTabOrder(cboAddress, brwWebBrowser);
}

QAction* frmBrowser::button(const QString& key) const
{
    for (QAction* a : tbToolBar->actions())
        if (a->data().toString() == key)
            return a;
    return nullptr;
}

void frmBrowser::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        Form_Load();
    }
}

bool frmBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == content_ && event->type() == QEvent::Resize) {
        Form_Resize();
    } else if (cboAddress && (watched == cboAddress || watched == cboAddress->lineEdit()) &&
               event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cboAddress_KeyPress(13);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmBrowser::Form_Load()
{
    tbToolBar->update();
    Form_Resize();
    if (StartingAddress.isEmpty())
        return;
    cboAddress->addItem(StartingAddress);
    cboAddress->setCurrentIndex(0);
    cboAddress->setEditText(StartingAddress);
    timTimer->start();
    brwWebBrowser->navigate(StartingAddress);
}

// Sizes in twips. A window made smaller than the margins gets empty
// controls rather than negative sizes.
void frmBrowser::Form_Resize()
{
    const int w = lexi::toTwips(content_->width());
    const int h = lexi::toTwips(content_->height());
    auto px = [](int twips) { return std::max(0, lexi::twips(twips)); };

    tbToolBar->setGeometry(0, 0, content_->width(), tbToolBar->sizeHint().height());

    const QSize label = lblAddress->sizeHint();
    lblAddress->setGeometry(lexi::twips(kLabelLeftTwips), lexi::twips(kLabelTopTwips), label.width(),
                            label.height());
    const int comboTop = kLabelTopTwips + lexi::toTwips(label.height()) + kBelowLabelTwips;
    const int comboHeight = cboAddress->sizeHint().height();
    cboAddress->setGeometry(lexi::twips(kSideMarginTwips), lexi::twips(comboTop), px(w - 2 * kSideMarginTwips),
                            comboHeight);
    picAddress->setGeometry(0, tbToolBar->geometry().bottom() + 1, content_->width(),
                            lexi::twips(comboTop + kPanelBottomTwips) + comboHeight);

    const int panelBottom = lexi::toTwips(picAddress->y()) + lexi::toTwips(picAddress->height());
    brwWebBrowser->setGeometry(lexi::twips(kSideMarginTwips), picAddress->geometry().bottom() + 1,
                               px(w - 2 * kSideMarginTwips), px(h - panelBottom - kBottomMarginTwips));
}

void frmBrowser::timTimer_Timer()
{
    if (!brwWebBrowser->busy()) {
        timTimer->stop();
        setWindowTitle(brwWebBrowser->locationName());
    } else {
        setWindowTitle(QStringLiteral("Working..."));
    }
}

void frmBrowser::brwWebBrowser_DownloadComplete() { setWindowTitle(brwWebBrowser->locationName()); }

void frmBrowser::cboAddress_Click()
{
    timTimer->start();
    brwWebBrowser->navigate(cboAddress->currentText());
}

void frmBrowser::cboAddress_KeyPress(int keyAscii)
{
    if (keyAscii == 13)
        cboAddress_Click();
}

void frmBrowser::tbToolBar_ButtonClick(QAction* button)
{
    timTimer->start();
    const QString key = button->data().toString();
    if (key == QLatin1String("Back")) {
        brwWebBrowser->goBack();
    } else if (key == QLatin1String("Forward")) {
        brwWebBrowser->goForward();
    } else if (key == QLatin1String("Refresh")) {
        brwWebBrowser->refresh();
    } else if (key == QLatin1String("Home")) {
        brwWebBrowser->goHome();
    } else if (key == QLatin1String("Search")) {
        brwWebBrowser->goSearch();
    } else if (key == QLatin1String("Stop")) {
        timTimer->stop();
        brwWebBrowser->stop();
        setWindowTitle(brwWebBrowser->locationName());
    }
}

}  // namespace kavix
