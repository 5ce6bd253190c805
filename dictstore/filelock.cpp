#include "dictstore/filelock.h"

#include <cerrno>
#include <thread>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/file.h>
#endif

namespace dictstore {

namespace {

constexpr std::chrono::milliseconds kRetryStep{25};

// True when taken; `busy` tells a lock held elsewhere from a failure.
bool tryLock(std::FILE* file, bool& busy, int& err)
{
#ifdef _WIN32
    HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    OVERLAPPED whole{};
    if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole))
        return true;
    busy = GetLastError() == ERROR_LOCK_VIOLATION;
    err = EIO;
    return false;
#else
    for (;;) {
        if (::flock(::fileno(file), LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EINTR)
            break;
    }
    err = errno;
    // A file system without locks (some network and FUSE ones) is written as
    // it always was, rather than not at all.
    if (err == ENOLCK || err == EOPNOTSUPP || err == ENOTSUP || err == EINVAL)
        return true;
    busy = err == EWOULDBLOCK;
    return false;
#endif
}

}  // namespace

Error lockForWriting(std::FILE* file, std::chrono::milliseconds patience)
{
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    for (;;) {
        bool busy = false;
        int err = 0;
        if (tryLock(file, busy, err))
            return Error::None;
        if (!busy)
            return errorFromErrno(err);
        if (std::chrono::steady_clock::now() >= giveUp)
            return Error::InUse;
        std::this_thread::sleep_for(kRetryStep);
    }
}

void unlockForWriting(std::FILE* file)
{
#ifdef _WIN32
    HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    OVERLAPPED whole{};
    UnlockFileEx(h, 0, MAXDWORD, MAXDWORD, &whole);
#else
    ::flock(::fileno(file), LOCK_UN);
#endif
}

}  // namespace dictstore
