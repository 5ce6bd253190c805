#include "sessionlock.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <QLockFile>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace wkvx {

SessionLock::~SessionLock() { unlock(); }

#ifdef Q_OS_WIN

bool SessionLock::tryLock(const QString& path)
{
    unlock();
    file_ = std::make_unique<QLockFile>(path);
    if (!file_->tryLock(0))
        file_.reset();
    return isLocked();
}

void SessionLock::unlock() { file_.reset(); }

bool SessionLock::isLocked() const { return file_ != nullptr; }

#else

bool SessionLock::tryLock(const QString& path)
{
    unlock();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void SessionLock::unlock()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool SessionLock::isLocked() const { return fd_ >= 0; }

#endif

}  // namespace wkvx
