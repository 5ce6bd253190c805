#pragma once

// Faults made as a user meets them: a small or read-only disk mounted over a
// folder (needs root), and a limit on how large a file may grow.

#include <csignal>
#include <filesystem>
#include <string>

#include <sys/mount.h>
#include <sys/resource.h>

namespace faults {

// The reason a test that mounts skips when not run as root; the suite's run
// as root makes it.
inline constexpr char kNeedsRootSkip[] = "mounting a disk needs root";

// A tmpfs of `size` (as mount's size= option: "64k") over `folder` for as
// long as this lives. mounted() is false where the test may not mount
// (not root): the test skips then.
class ScratchDisk {
public:
    ScratchDisk(const std::filesystem::path& folder, const std::string& size) : folder_(folder)
    {
        std::filesystem::create_directories(folder_);
        const std::string options = "size=" + size + ",mode=0755";
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~ScratchDisk()
    {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    ScratchDisk(const ScratchDisk&) = delete;
    ScratchDisk& operator=(const ScratchDisk&) = delete;

    bool mounted() const { return mounted_; }
    bool makeReadOnly() { return ::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0; }

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

// Files written by this process cannot grow past `bytes` while this lives
// (writes past it fail with EFBIG instead of raising SIGXFSZ).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ok_ = ::getrlimit(RLIMIT_FSIZE, &old_) == 0;
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ok_ = ok_ && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool ok() const { return ok_; }

private:
    rlimit old_{};
    void (*previous_)(int) = SIG_DFL;
    bool ok_ = false;
};

}  // namespace faults
