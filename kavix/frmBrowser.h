#pragma once

#include <QIcon>
#include <QMainWindow>
#include <QString>

#include <array>

class QAction;
class QComboBox;
class QLabel;
class QTimer;
class QToolBar;

namespace kavix {

class WebView;

// A small browser for the help pages and the product's web page. Callers set
// StartingAddress and show the window; the address is read only when the
// window first loads.
class frmBrowser : public QMainWindow {
    Q_OBJECT
public:
    explicit frmBrowser(QWidget* parent = nullptr);
    ~frmBrowser() override;

    QString StartingAddress;

    QToolBar* tbToolBar = nullptr;
    std::array<QIcon, 6> imlIcons;
    QWidget* picAddress = nullptr;
    QLabel* lblAddress = nullptr;
    QComboBox* cboAddress = nullptr;
    WebView* brwWebBrowser = nullptr;
    QTimer* timTimer = nullptr;

    // The toolbar button with this key ("Back", "Forward", "Stop", "Refresh",
    // "Home", "Search").
    QAction* button(const QString& key) const;

    // Twips the page area keeps free at each side and below it.
    static constexpr int kSideMarginTwips = 50;
    static constexpr int kBottomMarginTwips = 100;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void Form_Load();
    void Form_Resize();
    void timTimer_Timer();
    void brwWebBrowser_DownloadComplete();
    void cboAddress_Click();
    void cboAddress_KeyPress(int keyAscii);
    void tbToolBar_ButtonClick(QAction* button);

    QWidget* content_ = nullptr;
    bool loaded_ = false;
};

}  // namespace kavix
