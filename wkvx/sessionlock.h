#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace wkvx {

// A lock that a running program holds on a file for as long as it runs. The
// system lets it go when the program ends in any way, a kill included, so a
// lock that can be taken belongs to nobody.
class SessionLock {
public:
    SessionLock() = default;
    ~SessionLock();
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;

    // Takes the lock, creating the file; false while another program holds it.
    bool tryLock(const QString& path);
    void unlock();
    bool isLocked() const;

private:
#ifdef Q_OS_WIN
    std::unique_ptr<QLockFile> file_;
#else
    int fd_ = -1;
#endif
};

}  // namespace wkvx
