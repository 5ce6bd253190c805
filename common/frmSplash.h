#pragma once

#include "version.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace lexi {

enum class SplashKind {
    Kavix,   // closes itself after 3.5 s, on a key or on a click
    Writer,  // waits for the user: a key, a click or its Enter button
};

// The fixed description the word processor's splash shows (and its about box
// repeats).
QString writerSplashDescription();

// The opening screen of kavix and wkvx. Emits closed() once, however it
// closes; the program shows its main window from there. A dialog, so that
// screen readers announce it as a window with its title.
class frmSplash : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash(SplashKind kind, QWidget* parent = nullptr);

    QFrame* Frame1 = nullptr;
    QLabel* imgLogo = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblProductName = nullptr;
    // kavix only
    QLabel* lblCopyright = nullptr;
    QLabel* lblCompany = nullptr;
    QLabel* lblCompanyProduct = nullptr;
    QLabel* lblPlatform = nullptr;
    QLabel* lblWarning = nullptr;
    QTimer* Timer1 = nullptr;
    // wkvx only
    QLabel* Label1 = nullptr;
    QLabel* lblLicenseTo = nullptr;
    QPushButton* Command1 = nullptr;

signals:
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_KeyPress();
    void Frame1_Click();
    void Timer1_Timer();
    void Command1_Click();

    void buildKavix();
    void buildWriter();

    SplashKind kind_;
    const ProgramInfo& info_;
    bool closedOnce_ = false;
};

}  // namespace lexi
