// Every test program runs in a home folder of its own, made when the program
// starts and removed when it ends, and works in it, so that running a test binary by
// hand can never read or overwrite the real user's files. It runs in a fixed
// locale too, and every skipped test says why.

#include "faults.h"
#include "permissions.h"

#include <gtest/gtest.h>

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

        const std::filesystem::path scratch = home_ / "tmp";
        std::filesystem::create_directory(scratch);

        ::setenv("HOME", home_.c_str(), 1);
        // Temporary files a test makes go with the home when the program ends.
        ::setenv("TMPDIR", scratch.c_str(), 1);
        // Qt and the set-up would otherwise follow these to the user's own folders.
        ::setenv("XDG_DATA_HOME", (home_ / ".local/share").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home_ / ".config").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (home_ / ".cache").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        // Files a program writes to its current folder land here too.
        std::filesystem::current_path(home_);
        // Run by hand on a desktop, the forms still stay off the screen.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        // Dates, times and numbers read the same whatever the caller's locale.
        ::setenv("LC_ALL", "C.UTF-8", 1);
        ::setenv("TZ", "UTC", 1);
        ::unsetenv("LANGUAGE");
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

// A skip must say why, and a run that was given everything the tests need
// (LEXIVANE_NO_SKIP=1, as CI sets it) must skip nothing, except a permission
// check while running as root, which CI's run as an ordinary user makes, and
// a mount as that user, which the run as root makes.
class SkipPolicy : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override { reason_.clear(); }

    void OnTestPartResult(const ::testing::TestPartResult& result) override
    {
        if (result.skipped())
            reason_ += result.message();
    }

    void OnTestEnd(const ::testing::TestInfo& info) override
    {
        if (!info.result()->Skipped())
            return;
        std::fprintf(stderr, "lexivane-skip: %s.%s: %s\n", info.test_suite_name(), info.name(), reason_.c_str());
        if (reason_.empty()) {
            ADD_FAILURE() << "skipped without saying why";
            return;
        }
        const char* noSkip = std::getenv("LEXIVANE_NO_SKIP");
        const bool mustRun = noSkip && std::string(noSkip) == "1";
        // Each of the two runs makes what the other had to skip.
        const bool root = !lexitest::permissionsBind();
        const bool otherRunMakesIt = root ? reason_ == lexitest::kRootSkip : reason_ == faults::kNeedsRootSkip;
        if (mustRun && !otherRunMakesIt)
            ADD_FAILURE() << "skipped where everything it needs should be provided (LEXIVANE_NO_SKIP=1): " << reason_;
    }

private:
    std::string reason_;
};

const bool skipPolicyInstalled = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new SkipPolicy);
    return true;
}();

}  // namespace
