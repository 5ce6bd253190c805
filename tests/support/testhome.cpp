// Every test program runs in a home folder of its own, made when the program
// starts and removed when it ends, and works in it, so that running a test binary by
// hand can never read or overwrite the real user's files.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <stdlib.h>
#include <sys/stat.h>

namespace {

class TemporaryHome {
public:
    TemporaryHome()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/lexivane-test-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("lexivane tests: cannot make a temporary home folder");
            std::abort();
        }
        home_ = pattern;
        const std::filesystem::path runtime = home_ / ".runtime";
        std::filesystem::create_directory(runtime);
        ::chmod(runtime.c_str(), 0700);

        ::setenv("HOME", home_.c_str(), 1);
        // Qt and the set-up would otherwise follow these to the user's own folders.
        ::setenv("XDG_DATA_HOME", (home_ / ".local/share").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home_ / ".config").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (home_ / ".cache").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        // Files a program writes to its current folder land here too.
        std::filesystem::current_path(home_);
        // Run by hand on a desktop, the forms still stay off the screen.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }

    ~TemporaryHome()
    {
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }

    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

private:
    std::filesystem::path home_;
};

const TemporaryHome temporaryHome;

}  // namespace
