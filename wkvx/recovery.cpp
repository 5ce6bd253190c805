#include "recovery.h"

#include "MDImain.h"
#include "frmChild.h"
#include "frmRecover.h"
#include "richtextbox.h"

#include "folders.h"
#include "kvxmessage.h"

#include "rtffile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>

namespace wkvx {

namespace {

const QString kLockName = QStringLiteral("lock");
const QString kTitleSuffix = QStringLiteral(".title");

QString recoveryFolder() { return lexi::qpath(dictstore::recoveryPath()); }

QString titlePath(const QString& copyPath)
{
    return copyPath.left(copyPath.size() - QStringLiteral(".rtf").size()) + kTitleSuffix;
}

bool writeText(const QString& path, const QString& text)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(text.toUtf8());
    return f.commit();
}

QString readTitle(const QString& path)
{
    constexpr qint64 kMostBytes = 64 * 1024;
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.read(kMostBytes)).trimmed();
}

void removeCopyFiles(const QString& copyPath)
{
    QFile::remove(copyPath);
    QFile::remove(titlePath(copyPath));
}

}  // namespace

QList<RecoveredDocument> leftoverDocuments(std::vector<std::unique_ptr<SessionLock>>& locks, const QString& except)
{
    QList<RecoveredDocument> out;
    const QDir root(recoveryFolder());
    for (const QFileInfo& run : root.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (run.isSymLink() || run.absoluteFilePath() == except)
            continue;
        auto lock = std::make_unique<SessionLock>();
        // A run still going holds its lock.
        if (!lock->tryLock(run.absoluteFilePath() + QLatin1Char('/') + kLockName))
            continue;
        const QDir dir(run.absoluteFilePath());
        const QFileInfoList copies = dir.entryInfoList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
        if (copies.isEmpty()) {
            lock.reset();
            QDir(run.absoluteFilePath()).removeRecursively();
            continue;
        }
        for (const QFileInfo& copy : copies) {
            QString title = readTitle(titlePath(copy.absoluteFilePath()));
            if (title.isEmpty())
                title = QStringLiteral("Recovered document");
            out.append({copy.absoluteFilePath(), title, copy.lastModified()});
        }
        locks.push_back(std::move(lock));
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const RecoveredDocument& a, const RecoveredDocument& b) {
                         return a.written != b.written ? a.written < b.written : a.copyPath < b.copyPath;
                     });
    return out;
}

Recovery::Recovery(MDImain* frame)
    : QObject(frame), frame_(frame)
{
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &Recovery::writeCopies);
}

Recovery::~Recovery()
{
    // Closing is the user's say: no copy of this run stays behind.
    if (!runFolder_.isEmpty()) {
        lock_.unlock();
        QDir(runFolder_).removeRecursively();
    }
}

bool Recovery::ensureRunFolder()
{
    if (!runFolder_.isEmpty() && QFileInfo(runFolder_).isDir() && lock_.isLocked())
        return true;
    const QString name = QStringLiteral("%1-%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QDateTime::currentMSecsSinceEpoch());
    const QString folder = recoveryFolder() + QLatin1Char('/') + name;
    // The recovery folder is the word processor's own: it makes it.
    if (!QDir().mkpath(folder) || !lock_.tryLock(folder + QLatin1Char('/') + kLockName))
        return false;
    runFolder_ = folder;
    return true;
}

void Recovery::watch(frmChild* doc)
{
    if (!doc)
        return;
    Watched& w = watched_[doc];
    for (const auto& c : std::as_const(w.connections))
        disconnect(c);
    w.connections.clear();
    w.window = doc;
    if (w.name.isEmpty())
        w.name = QStringLiteral("doc%1").arg(++copies_);
    QTextDocument* text = doc->rtfText->document();
    // A new document: whatever copy there was is of another text.
    if (w.text && w.text != text)
        removeCopy(w);
    w.text = text;
    w.changed = text->isModified();
    w.connections << connect(text, &QTextDocument::contentsChange, this, [this, doc] {
        if (watched_.contains(doc))
            watched_[doc].changed = true;
    });
    w.connections << connect(text, &QTextDocument::modificationChanged, this, [this, doc](bool changed) {
        if (!changed && watched_.contains(doc))
            removeCopy(watched_[doc]);
    });
    w.connections << connect(doc, &frmChild::unloaded, this, &Recovery::forget);
    w.connections << connect(doc, &QObject::destroyed, this, [this, doc] { forget(doc); });
    if (!timer_.isActive())
        timer_.start();
}

void Recovery::forget(frmChild* doc)
{
    const auto it = watched_.find(doc);
    if (it == watched_.end())
        return;
    removeCopy(*it);
    for (const auto& c : std::as_const(it->connections))
        disconnect(c);
    watched_.erase(it);
}

void Recovery::removeCopy(const Watched& w)
{
    if (!runFolder_.isEmpty())
        removeCopyFiles(runFolder_ + QLatin1Char('/') + w.name + QStringLiteral(".rtf"));
}

void Recovery::writeCopies()
{
    for (Watched& w : watched_) {
        if (w.window && w.text && w.changed && w.text->isModified())
            writeCopy(w);
    }
}

void Recovery::writeCopy(Watched& w)
{
    QString error;
    bool ok = ensureRunFolder();
    if (ok) {
        const QString copy = runFolder_ + QLatin1Char('/') + w.name + QStringLiteral(".rtf");
        // The caption first: a copy without one still opens.
        ok = writeText(titlePath(copy), w.window->windowTitle()) && kvx::rtf::saveRtfFile(copy, *w.text, &error);
    } else {
        error = QStringLiteral("The folder %1 cannot be made.").arg(QDir::toNativeSeparators(recoveryFolder()));
    }
    if (ok) {
        w.changed = false;
        return;
    }
    // Said once a run: saving still works, only the safety net is gone.
    if (!failureShown_) {
        failureShown_ = true;
        showMessage(frame_,
                    QStringLiteral("Recovery copies of your documents cannot be written, so save your work "
                                   "often.\n\n%1")
                        .arg(error),
                    lexi::MsgIcon::Exclamation);
    }
}

bool Recovery::recover(const RecoveredDocument& doc)
{
    frmChild* child = frame_->loadNewDoc(QString());
    QString error;
    if (!child->rtfText->loadFile(doc.copyPath, &error)) {
        child->setCloseWithoutAsking(true);
        child->close();
        showMessage(frame_, QStringLiteral("Cannot recover %1\n\n%2").arg(doc.title, error),
                    lexi::MsgIcon::Exclamation);
        return false;
    }
    child->setWindowTitle(doc.title);
    // Changed until the user saves it where they choose.
    child->rtfText->document()->setModified(true);
    frame_->attachWritingAids(child);
    // This run's copy first: the old one goes only once the work is safe again.
    Watched& w = watched_[child];
    w.changed = true;
    writeCopy(w);
    return !w.changed;
}

void Recovery::offer()
{
    std::vector<std::unique_ptr<SessionLock>> locks;
    const QList<RecoveredDocument> found = leftoverDocuments(locks, runFolder_);
    if (found.isEmpty())
        return;
    frmRecover dialog(found, frame_);
    const frmRecover::Choice choice = dialog.ask();
    const QList<RecoveredDocument> chosen = dialog.chosen();
    if (choice == frmRecover::Choice::Recover) {
        for (const RecoveredDocument& doc : chosen) {
            if (recover(doc))
                removeCopyFiles(doc.copyPath);
        }
    } else if (choice == frmRecover::Choice::Discard) {
        for (const RecoveredDocument& doc : chosen)
            removeCopyFiles(doc.copyPath);
    }
    // Folders whose copies are all gone go too; the rest wait for the next start.
    for (const RecoveredDocument& doc : found) {
        const QDir dir = QFileInfo(doc.copyPath).dir();
        if (dir.exists() && dir.entryList({QStringLiteral("*.rtf")}, QDir::Files).isEmpty())
            QDir(dir.absolutePath()).removeRecursively();
    }
}

}  // namespace wkvx
