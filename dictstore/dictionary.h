#pragma once

#include "dictstore/errors.h"
#include "dictstore/wordrecord.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dictstore {

// Record numbers start at 1. kavix and its forms keep them in 16 bits.
inline constexpr std::int64_t kMaxKavixRecords = 32767;

struct Match {
    WordRecord record;
    std::int64_t number = 0;
};

// Called for each record a scan delivers, in file order. Returning anything
// but Error::None stops the scan, which then returns that error.
using RecordVisitor = std::function<Error(const WordRecord&, std::int64_t number)>;

// One handle on a dictionary file. Every window owns its own handle, so
// opening or closing one never affects another.
//
// A trailing piece shorter than a record (a damaged file) is never delivered
// by the scans.
class Dictionary {
public:
    Dictionary() = default;
    ~Dictionary();
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;
    Dictionary(Dictionary&& other) noexcept;
    Dictionary& operator=(Dictionary&& other) noexcept;

    // Fails when the file does not exist or cannot be read. Both opens
    // refuse what is not a regular file (a pipe, a device) with
    // NotRegularFile, without waiting on it.
    Error openForReading(const std::filesystem::path& path);
    // Creates the file empty when it does not exist; fails when its folder
    // does not exist or the file cannot be opened for writing.
    Error openForUpdate(const std::filesystem::path& path);
    // For a command that only reads but, as Open for update would, makes a
    // missing file empty first: opened for reading, so a read-only
    // dictionary (or disk) is no obstacle to a look-up.
    Error openForLookUp(const std::filesystem::path& path);
    void close();

    bool isOpen() const { return file_ != nullptr; }
    bool isWritable() const { return writable_; }

    // The first record whose word, trimmed of spaces, equals the trimmed key
    // without regard to letter case. Not found: `found` is empty, Error::None.
    Error findByWord(std::string_view key, std::optional<Match>& found);

    // Every record whose trimmed word begins with the trimmed key, in file
    // order. An empty key matches every record. With maxRecords, only the
    // first that many records are looked at.
    Error findByStartingLetters(std::string_view key, const RecordVisitor& visit,
                                std::int64_t maxRecords = std::numeric_limits<std::int64_t>::max());

    // Every whole record, first to last; with maxRecords, the first that
    // many only.
    Error readAll(const RecordVisitor& visit,
                  std::int64_t maxRecords = std::numeric_limits<std::int64_t>::max());

    // Record n, 1 <= n <= recordCount().
    Error readRecord(std::int64_t n, WordRecord& out);

    Error recordCount(std::int64_t& count);

    // The file's length in bytes, a damaged trailing piece included.
    Error fileLength(std::int64_t& length);

    // Writes the record at (file length / 345, rounded) + 1 and reports that
    // number. Fails with Overflow, writing nothing, when the number would
    // exceed maxNumber. A failed write leaves the file as it was.
    Error append(const WordRecord& record, std::int64_t& number,
                 std::int64_t maxNumber = std::numeric_limits<std::int32_t>::max());

    // Writes all 345 bytes of record n in place, 1 <= n <= recordCount().
    // A failed rewrite leaves the file as it was.
    Error rewrite(std::int64_t n, const WordRecord& record);

    // Every write takes the file's advisory write lock for its own duration
    // and measures the file under it, so two programs appending never write
    // at the same place. A run of writes that must not be interleaved with
    // another program's (an import, whose duplicate check reads the file
    // first) holds the lock from holdWriteLock() to releaseWriteLock().
    // While another handle holds it, writes wait up to the patience and
    // then fail with InUse, writing nothing.
    Error holdWriteLock();
    void releaseWriteLock();
    void setLockPatience(std::chrono::milliseconds patience) { patience_ = patience; }

private:
    Error scan(const std::function<Error(const WordRecord&, std::int64_t, bool& stop)>& each,
               std::int64_t maxRecords = std::numeric_limits<std::int64_t>::max());
    // The same over each record's bytes where they were read, for scans
    // that copy out only the records they keep.
    Error scanBytes(const std::function<Error(const char*, std::int64_t, bool& stop)>& each,
                    std::int64_t maxRecords = std::numeric_limits<std::int64_t>::max());
    // On failure puts back the old length (restoreLength >= 0) or the old
    // bytes (previous).
    Error writeAt(std::int64_t offset, const WordRecord& record, std::int64_t restoreLength,
                  const WordRecord* previous = nullptr);
    Error stillWritableAtPath();
    Error appendLocked(const WordRecord& record, std::int64_t& number, std::int64_t maxNumber);
    Error rewriteLocked(std::int64_t n, const WordRecord& record);

    std::FILE* file_ = nullptr;
    std::filesystem::path path_;
    bool writable_ = false;
    int lockDepth_ = 0;
    std::chrono::milliseconds patience_{1000};
    std::vector<char> buffer_;
};

// How Find by word compares: the word trimmed of spaces, in Windows-1252,
// folded to lower case. Two words match when their keys are equal.
std::string wordKey(std::string_view utf8Word);
// The key of a stored record's word, from its bytes.
std::string wordKey(const WordRecord& record);

}  // namespace dictstore
