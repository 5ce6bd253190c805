#include "startup.h"

#include "MDImain.h"
#include "recovery.h"

#include "logo.h"
#include "desktopids.h"
#include "version.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

namespace wkvx {

Startup::Startup()
{
    lexi::setCurrentProgram(lexi::wkvxInfo());
    QApplication::setApplicationName(QStringLiteral("wkvx"));
    // Ties the windows to the menu entry (StartupWMClass is the name above).
    QApplication::setDesktopFileName(QLatin1String(lexi::kWriterDesktopId));
    QApplication::setWindowIcon(lexi::appIcon());
}

Startup::~Startup()
{
    delete splash_;
    delete frame_;
}

void Startup::run(const QStringList& files)
{
    if (files.isEmpty()) {
        splash_ = new lexi::frmSplash(lexi::SplashKind::Writer);
        splash_->setAttribute(Qt::WA_DeleteOnClose);
        connect(splash_, &lexi::frmSplash::closed, this, &Startup::loadFrame);
        splash_->show();
        return;
    }
    QStringList paths;
    for (const QString& file : files)
        paths << QFileInfo(file).absoluteFilePath();
    loadFrameWith(paths);
}

void Startup::loadFrame() { loadFrameWith({}); }

void Startup::loadFrameWith(const QStringList& files)
{
    // Loading the frame when it is already there has no further effect.
    if (frame_)
        return;
    frame_ = new MDImain(files);
    frame_->show();
    // Work left by a run that crashed is offered once the frame is up.
    QTimer::singleShot(0, frame_, [frame = frame_] { frame->recovery()->offer(); });
}

}  // namespace wkvx
