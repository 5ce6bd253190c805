#pragma once

// Faults made for real around file tests, for Qt's paths: those of
// faults.h, a folder that cannot be written, a disk filled up.

#include "faults.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace filefaults {

using faults::FileSizeLimit;

// A tmpfs of the given size ("32k") mounted on dir while it lives; needs root.
class TmpfsMount : public faults::ScratchDisk {
public:
    TmpfsMount(const QString& dir, const char* size) : ScratchDisk(QFile::encodeName(dir).toStdString(), size) {}
};

// While it lives, nothing in dir can be written: a read-only bind mount
// for root, whom permissions do not stop, else the write permissions
// taken from the folder and its files.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& dir) : dir_(QFile::encodeName(dir))
    {
        if (::geteuid() == 0) {
            bound_ = ::mount(dir_.constData(), dir_.constData(), nullptr, MS_BIND, nullptr) == 0;
            ok_ = bound_
               && ::mount(nullptr, dir_.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
            return;
        }
        for (const QString& name : QDir(dir).entryList(QDir::Files))
            files_ << QFile::encodeName(QDir(dir).filePath(name));
        ok_ = true;
        for (const QByteArray& f : files_)
            ok_ = ::chmod(f.constData(), 0444) == 0 && ok_;
        ok_ = ::chmod(dir_.constData(), 0555) == 0 && ok_;
    }
    ~ReadOnlyFolder()
    {
        if (bound_) {
            ::umount2(dir_.constData(), MNT_DETACH);
            return;
        }
        ::chmod(dir_.constData(), 0755);
        for (const QByteArray& f : files_)
            ::chmod(f.constData(), 0644);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool ok() const { return ok_; }

private:
    QByteArray dir_;
    QList<QByteArray> files_;
    bool bound_ = false;
    bool ok_ = false;
};

// Writes to path until the disk refuses; returns whether it did.
inline bool fillDisk(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(512, 'x');
    while (f.write(block) == block.size()) {
    }
    return true;
}

}  // namespace filefaults
