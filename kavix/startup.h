#pragma once

#include "frmSplash.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace kavix {

class frmMain;

// The program's arguments joined by single spaces, untrimmed; empty when
// there are none.
QString commandLineFrom(int argc, char** argv);

// The start-up routine: an empty command line opens the splash screen and
// then the main window; anything else runs a command-line look-up.
class Startup : public QObject {
    Q_OBJECT
public:
    Startup();
    ~Startup() override;

    void run(const QString& commandLine);

    lexi::frmSplash* splash() const { return splash_; }
    frmMain* mainWindow() const { return main_; }
    // The window a command-line look-up opened.
    QWidget* lookUpWindow() const { return lookUp_; }

private:
    void showMainWindow();

    QPointer<lexi::frmSplash> splash_;
    frmMain* main_ = nullptr;
    QPointer<QWidget> lookUp_;
};

}  // namespace kavix
