// Two programs writing one dictionary: each is a real second process.

#include "testfiles.h"

#include "dictstore/csvtransfer.h"
#include "dictstore/dictionary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

using namespace dictstore;
namespace fs = std::filesystem;

namespace {

WordRecord entry(const std::string& word)
{
    WordRecord r;
    assignField(r, Field::Word, word);
    return r;
}

// Appends `count` words "<prefix><i>" one by one; returns how many were
// reported written.
int appendWords(const fs::path& path, const std::string& prefix, int count)
{
    Dictionary d;
    if (d.openForUpdate(path) != Error::None)
        return -1;
    d.setLockPatience(std::chrono::seconds(10));
    int written = 0;
    for (int i = 0; i < count; ++i) {
        std::int64_t n = 0;
        if (d.append(entry(prefix + std::to_string(i)), n) == Error::None)
            ++written;
    }
    return written;
}

std::multiset<std::string> storedWords(const fs::path& path)
{
    std::multiset<std::string> words;
    Dictionary d;
    EXPECT_EQ(d.openForReading(path), Error::None);
    EXPECT_EQ(d.readAll([&](const WordRecord& r, std::int64_t) {
                  words.insert(r.trimmed(Field::Word));
                  return Error::None;
              }),
              Error::None);
    return words;
}

// A child process that holds the write lock until the pipe it reads from
// is closed.
class LockHolder {
public:
    explicit LockHolder(const fs::path& path)
    {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        EXPECT_EQ(::pipe(release_), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(release_[1]);
            Dictionary d;
            const bool held = d.openForUpdate(path) == Error::None && d.holdWriteLock() == Error::None;
            const char c = held ? 'y' : 'n';
            (void)!::write(ready[1], &c, 1);
            char ignored;
            (void)!::read(release_[0], &ignored, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release_[0]);
        char c = 0;
        EXPECT_EQ(::read(ready[0], &c, 1), 1);
        ::close(ready[0]);
        held_ = c == 'y';
    }
    ~LockHolder()
    {
        ::close(release_[1]);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    bool held() const { return held_; }

private:
    pid_t pid_ = -1;
    int release_[2] = {-1, -1};
    bool held_ = false;
};

}  // namespace

TEST(TwoWritersTest, AppendsFromTwoProcessesAreAllKept)
{
    const fs::path path = testfiles::freshDir("two-appenders") / "dictionary.kvx";
    testfiles::writeBytes(path, "");
    constexpr int kEach = 4000;
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char c;
        (void)!::read(go[0], &c, 1);  // both start together
        ::_exit(appendWords(path, "child", kEach) == kEach ? 0 : 1);
    }
    (void)!::write(go[1], "g", 1);
    const int mine = appendWords(path, "parent", kEach);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the child was told some appends failed";
    EXPECT_EQ(mine, kEach);

    // Every append reported written is there, once, and nothing else.
    EXPECT_EQ(fs::file_size(path), 2 * kEach * kRecordSize);
    const std::multiset<std::string> words = storedWords(path);
    for (int i = 0; i < kEach; ++i) {
        EXPECT_EQ(words.count("parent" + std::to_string(i)), 1u) << i;
        EXPECT_EQ(words.count("child" + std::to_string(i)), 1u) << i;
    }
}

TEST(TwoWritersTest, WhileAnotherProgramHoldsTheLockNothingIsWrittenOrReportedDone)
{
    const fs::path path = testfiles::freshDir("lock-held") / "dictionary.kvx";
    testfiles::writeBytes(path, testfiles::rawRecord("old"));
    {
        const LockHolder other(path);
        ASSERT_TRUE(other.held());
        Dictionary d;
        ASSERT_EQ(d.openForUpdate(path), Error::None);
        d.setLockPatience(std::chrono::milliseconds(50));
        std::int64_t n = 0;
        EXPECT_EQ(d.append(entry("new"), n), Error::InUse);
        EXPECT_EQ(d.rewrite(1, entry("changed")), Error::InUse);

        std::istringstream csv("a,,,,,,,,,,\r\nb,,,,,,,,,,\r\n");
        const ImportResult result = importCsv(d, csv, 30, {});
        EXPECT_EQ(result.error, Error::InUse);
        EXPECT_EQ(result.count, 0);
        EXPECT_EQ(testfiles::readBytes(path), testfiles::rawRecord("old"));

        // Reading needs no lock.
        std::optional<Match> m;
        EXPECT_EQ(d.findByWord("old", m), Error::None);
        EXPECT_TRUE(m);
    }
    // Once the other program is done, the same handle writes.
    Dictionary d;
    ASSERT_EQ(d.openForUpdate(path), Error::None);
    std::int64_t n = 0;
    EXPECT_EQ(d.append(entry("new"), n), Error::None);
    EXPECT_EQ(n, 2);
}

TEST(TwoWritersTest, AnImportKeepsTheLockFromItsDuplicateCheckToItsLastAppend)
{
    const fs::path path = testfiles::freshDir("import-lock") / "dictionary.kvx";
    testfiles::writeBytes(path, "");
    Dictionary importer;
    ASSERT_EQ(importer.openForUpdate(path), Error::None);
    bool othersRefused = true;
    ImportHooks hooks;
    // Another handle tries to write in the middle of the import.
    hooks.progress = [&](std::int64_t, std::int64_t) {
        Dictionary other;
        other.openForUpdate(path);
        other.setLockPatience(std::chrono::milliseconds(0));
        std::int64_t n = 0;
        if (other.append(entry("intruder"), n) != Error::InUse)
            othersRefused = false;
    };
    hooks.refused = [&](const std::string&) { hooks.progress(0, 0); };
    std::istringstream twice("w0,,,,,,,,,,\r\nw0,,,,,,,,,,\r\n");
    const ImportResult result = importCsv(importer, twice, 28, hooks);
    EXPECT_EQ(result.error, Error::None);
    EXPECT_EQ(result.count, 1);
    EXPECT_TRUE(othersRefused);
    EXPECT_EQ(storedWords(path), std::multiset<std::string>{"w0"});
    // Released at the end: the other handle may write now.
    Dictionary other;
    ASSERT_EQ(other.openForUpdate(path), Error::None);
    std::int64_t n = 0;
    EXPECT_EQ(other.append(entry("after"), n), Error::None);
}
