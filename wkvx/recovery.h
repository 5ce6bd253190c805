#pragma once

#include "sessionlock.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <vector>

class QTextDocument;

namespace wkvx {

class MDImain;
class frmChild;

// A recovered document: the copy left by a run that did not close, and the
// caption its window had.
struct RecoveredDocument {
    QString copyPath;  // the RTF copy
    QString title;
    QDateTime written;
};

// Keeps a copy of every changed document under the Lexivane folder
// (Recovery/<run>/), written as RTF every half minute while the document
// has changes no copy holds yet. A copy goes when its document is saved,
// returns to its saved state or is closed; the run's folder goes when the
// program closes. Each run holds a lock on its folder, so the folders of
// runs that crashed or were killed are the ones without a live lock: their
// copies are offered at the next start.
class Recovery : public QObject {
    Q_OBJECT
public:
    explicit Recovery(MDImain* frame);
    ~Recovery() override;

    static constexpr int kIntervalMs = 30 * 1000;
    void setInterval(int ms) { timer_.setInterval(ms); }

    // Follows a document window from now on (again after it was given
    // another document).
    void watch(frmChild* doc);

    // Writes a copy of every document with changes not yet copied.
    void writeCopies();

    // The documents left by runs that ended without closing, offered in
    // "Recover Documents"; the chosen ones open as changed documents.
    void offer();

    // This run's folder, empty until the first copy.
    QString runFolder() const { return runFolder_; }

private:
    struct Watched {
        QPointer<frmChild> window;
        QPointer<QTextDocument> text;
        QString name;          // the copy's file name without extension
        bool changed = false;  // changes that no copy holds
        QList<QMetaObject::Connection> connections;
    };
    bool ensureRunFolder();
    void writeCopy(Watched& w);
    void removeCopy(const Watched& w);
    void forget(frmChild* doc);
    bool recover(const RecoveredDocument& doc);

    MDImain* frame_;
    QTimer timer_;
    QHash<frmChild*, Watched> watched_;
    int copies_ = 0;
    QString runFolder_;
    SessionLock lock_;
    bool failureShown_ = false;
};

// The copies in the Lexivane folder's Recovery folder whose runs are over,
// oldest first. `locks` receives the locks taken on their folders: while
// they are held no other start offers the same copies.
QList<RecoveredDocument> leftoverDocuments(std::vector<std::unique_ptr<SessionLock>>& locks,
                                           const QString& except = {});

}  // namespace wkvx
