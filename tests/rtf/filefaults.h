#pragma once

// Faults made for real around file tests: a file-size limit that makes
// every write past it fail as a full disk does, and a small tmpfs.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cerrno>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
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
