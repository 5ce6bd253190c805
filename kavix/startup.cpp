#include "startup.h"

#include "cmdline.h"
#include "frmMain.h"

#include "frmSplash.h"
#include "logo.h"
#include "desktopids.h"
#include "version.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

namespace kavix {

QString commandLineFrom(int argc, char** argv)
{
    QStringList parts;
    for (int i = 1; i < argc; ++i)
        parts << QString::fromLocal8Bit(argv[i]);
    return parts.join(QLatin1Char(' '));
}

Startup::Startup()
{
    lexi::setCurrentProgram(lexi::kavixInfo());
    QApplication::setApplicationName(QStringLiteral("kavix"));
    // Ties the windows to the menu entry (StartupWMClass is the name above).
    QApplication::setDesktopFileName(QLatin1String(lexi::kKavixDesktopId));
    QApplication::setWindowIcon(lexi::appIcon());
}

Startup::~Startup()
{
    delete lookUp_;
    delete main_;
}

void Startup::run(const QString& commandLine)
{
    if (!commandLine.isEmpty()) {
        lookUp_ = runCommandLine(commandLine);
        // Nothing to show (no word selected): the program ends.
        if (!lookUp_)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return;
    }
    splash_ = new lexi::frmSplash(lexi::SplashKind::Kavix);
    splash_->setAttribute(Qt::WA_DeleteOnClose);
    connect(splash_, &lexi::frmSplash::closed, this, &Startup::showMainWindow);
    splash_->show();
}

void Startup::showMainWindow()
{
    // A key and the timer may both arrive; there is only ever one main window.
    if (main_)
        return;
    main_ = new frmMain;
    main_->show();
}

}  // namespace kavix
