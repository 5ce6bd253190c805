#pragma once

#include "frmSplash.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

namespace wkvx {

class MDImain;

// The word processor starts on its splash screen; however the splash
// closes, the frame loads. Files named on the command line (as a desktop
// opens a document) skip the splash and open in document windows.
class Startup : public QObject {
    Q_OBJECT
public:
    Startup();
    ~Startup() override;

    void run(const QStringList& files);

    lexi::frmSplash* splash() const { return splash_; }
    MDImain* frame() const { return frame_; }

private:
    void loadFrame();
    void loadFrameWith(const QStringList& files);

    QPointer<lexi::frmSplash> splash_;
    MDImain* frame_ = nullptr;
};

}  // namespace wkvx
