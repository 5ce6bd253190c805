#pragma once

// Faults made for real around file tests: a file-size limit that makes
// every write past it fail as a full disk does, a small tmpfs, a folder
// that cannot be written.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

#include <cerrno>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace filefaults {

// While it lives, no file of this process can grow past bytes. The signal
// the kernel sends for that is ignored, so the write fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ok_ = ::getrlimit(RLIMIT_FSIZE, &old_) == 0;
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ok_ = ok_ && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool ok() const { return ok_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
    bool ok_ = false;
};

// A tmpfs of the given size ("32k") mounted on dir while it lives; needs root.
class TmpfsMount {
public:
    TmpfsMount(const QString& dir, const char* size) : dir_(QFile::encodeName(dir))
    {
        const QByteArray options = QByteArray("size=") + size;
        mounted_ = ::geteuid() == 0 && ::mount("tmpfs", dir_.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~TmpfsMount()
    {
        if (mounted_)
            ::umount2(dir_.constData(), MNT_DETACH);
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return mounted_; }

private:
    QByteArray dir_;
    bool mounted_ = false;
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
