#include "dictstore/dictionary.h"

#include "dictstore/codepage.h"
#include "dictstore/filelock.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace dictstore {

namespace {

// Records read per system call during a scan.
constexpr std::size_t kChunkRecords = 512;

std::string folded(std::string_view cp1252)
{
    std::string key(cp1252);
    for (char& c : key)
        c = static_cast<char>(foldCp1252(static_cast<unsigned char>(c)));
    return key;
}

bool equalsFolded(std::string_view stored, std::string_view foldedKey)
{
    if (stored.size() != foldedKey.size())
        return false;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (foldCp1252(static_cast<unsigned char>(stored[i])) != static_cast<unsigned char>(foldedKey[i]))
            return false;
    }
    return true;
}

std::string_view trimmedWord(const WordRecord& r) { return trimSpaces(r.raw(Field::Word)); }

bool folderExists(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto parent = path.parent_path();
    return parent.empty() || std::filesystem::is_directory(parent, ec);
}

// Later checks of the path must not depend on the current folder.
std::filesystem::path absoluteOf(const std::filesystem::path& path)
{
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute;
}

Error openError(const std::filesystem::path& path, int err)
{
    if (!folderExists(path))
        return Error::PathNotFound;
    return errorFromErrno(err);
}

#ifndef _WIN32
// Opens without waiting (a pipe would wait for a writer for ever) and keeps
// only a regular file: reading a pipe or a device never ends.
Error openRegular(const std::filesystem::path& path, int flags, const char* mode, std::FILE*& out)
{
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0)
        return openError(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return errorFromErrno(err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return Error::NotRegularFile;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    out = ::fdopen(fd, mode);
    if (!out) {
        const int err = errno;
        ::close(fd);
        return errorFromErrno(err);
    }
    return Error::None;
}
#endif

}  // namespace

std::string wordKey(std::string_view utf8Word) { return folded(toCp1252(trimSpaces(utf8Word))); }

std::string wordKey(const WordRecord& record) { return folded(trimmedWord(record)); }

Dictionary::~Dictionary() { close(); }

Dictionary::Dictionary(Dictionary&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)), path_(std::move(other.path_)),
      writable_(std::exchange(other.writable_, false)), lockDepth_(std::exchange(other.lockDepth_, 0)),
      patience_(other.patience_), buffer_(std::move(other.buffer_))
{
}

Dictionary& Dictionary::operator=(Dictionary&& other) noexcept
{
    if (this != &other) {
        close();
        file_ = std::exchange(other.file_, nullptr);
        path_ = std::move(other.path_);
        writable_ = std::exchange(other.writable_, false);
        lockDepth_ = std::exchange(other.lockDepth_, 0);
        patience_ = other.patience_;
        buffer_ = std::move(other.buffer_);
    }
    return *this;
}

Error Dictionary::openForReading(const std::filesystem::path& path)
{
    close();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return Error::PermissionDenied;
#ifdef _WIN32
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return openError(path, errno);
#else
    std::FILE* f = nullptr;
    if (const Error e = openRegular(path, O_RDONLY, "rb", f); e != Error::None)
        return e;
#endif
    file_ = f;
    path_ = absoluteOf(path);
    writable_ = false;
    return Error::None;
}

Error Dictionary::openForUpdate(const std::filesystem::path& path)
{
    close();
    if (!folderExists(path))
        return Error::PathNotFound;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return Error::PermissionDenied;
#ifdef _WIN32
    std::FILE* f = std::fopen(path.c_str(), "r+b");
    if (!f && errno == ENOENT)
        f = std::fopen(path.c_str(), "w+b");
    if (!f)
        return openError(path, errno);
#else
    std::FILE* f = nullptr;
    if (const Error e = openRegular(path, O_RDWR | O_CREAT, "r+b", f); e != Error::None)
        return e;
#endif
    file_ = f;
    path_ = absoluteOf(path);
    writable_ = true;
    return Error::None;
}

Error Dictionary::openForLookUp(const std::filesystem::path& path)
{
    close();
    if (!folderExists(path))
        return Error::PathNotFound;
    std::error_code ec;
    // Only a missing file is made: opening an existing one to write could
    // wait on a pipe, or fail on a read-only disk.
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
        std::FILE* made = std::fopen(path.string().c_str(), "ab");
        if (!made)
            return openError(path, errno);
        std::fclose(made);
    }
    return openForReading(path);
}

void Dictionary::close()
{
    if (file_) {
        if (lockDepth_ > 0)
            unlockForWriting(file_);
        std::fclose(file_);
    }
    file_ = nullptr;
    writable_ = false;
    lockDepth_ = 0;
}

Error Dictionary::holdWriteLock()
{
    if (!file_ || !writable_)
        return Error::BadFileName;
    if (lockDepth_ == 0) {
        if (const Error e = lockForWriting(file_, patience_); e != Error::None)
            return e;
    }
    ++lockDepth_;
    return Error::None;
}

void Dictionary::releaseWriteLock()
{
    if (lockDepth_ == 0 || !file_)
        return;
    if (--lockDepth_ == 0)
        unlockForWriting(file_);
}

Error Dictionary::fileLength(std::int64_t& length)
{
    if (!file_)
        return Error::BadFileName;
    if (std::fflush(file_) != 0)
        return errorFromErrno(errno);
#ifdef _WIN32
    if (std::fseek(file_, 0, SEEK_END) != 0)
        return errorFromErrno(errno);
    length = std::ftell(file_);
#else
    struct stat st {};
    if (::fstat(::fileno(file_), &st) != 0)
        return errorFromErrno(errno);
    length = st.st_size;
#endif
    return Error::None;
}

Error Dictionary::recordCount(std::int64_t& count)
{
    std::int64_t length = 0;
    if (const Error e = fileLength(length); e != Error::None)
        return e;
    count = length / static_cast<std::int64_t>(kRecordSize);
    return Error::None;
}

Error Dictionary::scan(const std::function<Error(const WordRecord&, std::int64_t, bool& stop)>& each,
                       std::int64_t maxRecords)
{
    WordRecord record;
    return scanBytes(
        [&](const char* bytes, std::int64_t n, bool& stop) {
            std::memcpy(record.bytes.data(), bytes, kRecordSize);
            return each(record, n, stop);
        },
        maxRecords);
}

Error Dictionary::scanBytes(const std::function<Error(const char*, std::int64_t, bool& stop)>& each,
                            std::int64_t maxRecords)
{
    if (!file_)
        return Error::BadFileName;
    if (std::fflush(file_) != 0 || std::fseek(file_, 0, SEEK_SET) != 0)
        return errorFromErrno(errno);
    buffer_.resize(kChunkRecords * kRecordSize);
    std::int64_t number = 0;
    for (;;) {
        const std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_);
        if (got < buffer_.size() && std::ferror(file_)) {
            const int err = errno;
            std::clearerr(file_);
            return errorFromErrno(err);
        }
        const std::size_t whole = got / kRecordSize;
        for (std::size_t i = 0; i < whole; ++i) {
            bool stop = false;
            if (const Error e = each(buffer_.data() + i * kRecordSize, ++number, stop); e != Error::None)
                return e;
            if (stop || number >= maxRecords)
                return Error::None;
        }
        // A short read means the end of the file: a trailing piece smaller
        // than a record is not a record.
        if (got < buffer_.size())
            return Error::None;
    }
}

Error Dictionary::findByWord(std::string_view key, std::optional<Match>& found)
{
    found.reset();
    const std::string wanted = wordKey(key);
    const auto& word = layoutOf(Field::Word);
    return scanBytes([&](const char* bytes, std::int64_t n, bool& stop) {
        const std::string_view field(bytes + word.offset, word.width);
        // Most records differ in their first letter: test it before trimming.
        if (!wanted.empty()) {
            const auto first = field.find_first_not_of(' ');
            if (first == std::string_view::npos
                || foldCp1252(static_cast<unsigned char>(field[first])) != static_cast<unsigned char>(wanted[0]))
                return Error::None;
        }
        if (!equalsFolded(trimSpaces(field), wanted))
            return Error::None;
        WordRecord r;
        std::memcpy(r.bytes.data(), bytes, kRecordSize);
        found = Match{r, n};
        stop = true;
        return Error::None;
    });
}

Error Dictionary::findByStartingLetters(std::string_view key, const RecordVisitor& visit, std::int64_t maxRecords)
{
    if (maxRecords <= 0)
        return file_ ? Error::None : Error::BadFileName;
    const std::string wanted = wordKey(key);
    return scan(
        [&](const WordRecord& r, std::int64_t n, bool&) {
            const std::string_view word = trimmedWord(r);
            if (!equalsFolded(word.substr(0, wanted.size()), wanted))
                return Error::None;
            return visit(r, n);
        },
        maxRecords);
}

Error Dictionary::readAll(const RecordVisitor& visit, std::int64_t maxRecords)
{
    if (maxRecords <= 0)
        return file_ ? Error::None : Error::BadFileName;
    return scan([&](const WordRecord& r, std::int64_t n, bool&) { return visit(r, n); }, maxRecords);
}

Error Dictionary::readRecord(std::int64_t n, WordRecord& out)
{
    std::int64_t count = 0;
    if (const Error e = recordCount(count); e != Error::None)
        return e;
    if (n < 1 || n > count)
        return Error::InputPastEnd;
    if (std::fseek(file_, static_cast<long>((n - 1) * static_cast<std::int64_t>(kRecordSize)), SEEK_SET) != 0)
        return errorFromErrno(errno);
    if (std::fread(out.bytes.data(), 1, kRecordSize, file_) != kRecordSize) {
        const bool failed = std::ferror(file_);
        const int err = errno;
        std::clearerr(file_);
        return failed ? errorFromErrno(err) : Error::InputPastEnd;
    }
    return Error::None;
}

#ifndef _WIN32
namespace {

Error writeFully(int fd, const char* data, std::size_t size, std::int64_t offset)
{
    while (size > 0) {
        const ssize_t done = ::pwrite(fd, data, size, static_cast<off_t>(offset));
        if (done < 0 && errno == EINTR)
            continue;
        if (done < 0)
            return errorFromErrno(errno);
        if (done == 0)
            return Error::DiskFull;
        data += done;
        size -= static_cast<std::size_t>(done);
        offset += done;
    }
    return Error::None;
}

}  // namespace
#endif

// Writing through a handle whose file was deleted, replaced or made read-only
// since it was opened would report success for words nobody will see.
Error Dictionary::stillWritableAtPath()
{
#ifndef _WIN32
    struct stat mine {};
    struct stat named {};
    if (::fstat(::fileno(file_), &mine) != 0 || ::stat(path_.c_str(), &named) != 0)
        return errorFromErrno(errno);
    if (mine.st_dev != named.st_dev || mine.st_ino != named.st_ino)
        return Error::FileNotFound;
    if (::access(path_.c_str(), W_OK) != 0)
        return errorFromErrno(errno);
#endif
    return Error::None;
}

Error Dictionary::writeAt(std::int64_t offset, const WordRecord& record, std::int64_t restoreLength,
                          const WordRecord* previous)
{
    if (!file_ || !writable_)
        return Error::BadFileName;
    if (std::fflush(file_) != 0)
        return errorFromErrno(errno);
    if (const Error e = stillWritableAtPath(); e != Error::None)
        return e;
#ifndef _WIN32
    // Unbuffered, so a failed write cannot stay pending in a buffer and land
    // later, after the caller has been told it failed.
    const int fd = ::fileno(file_);
    const Error e = writeFully(fd, record.bytes.data(), kRecordSize, offset);
    // Reads that follow must not be served from a buffer filled before.
    std::fseek(file_, 0, SEEK_SET);
    if (e == Error::None)
        return e;
    // A half-written record must not stay behind.
    if (restoreLength >= 0) {
        if (::ftruncate(fd, restoreLength) != 0) {
            // Nothing more can be done; the write error is what matters.
        }
    } else if (previous) {
        writeFully(fd, previous->bytes.data(), kRecordSize, offset);
    }
    return e;
#else
    (void)restoreLength;
    (void)previous;
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0)
        return errorFromErrno(errno);
    const bool ok = std::fwrite(record.bytes.data(), 1, kRecordSize, file_) == kRecordSize;
    const int err = errno;
    if (ok && std::fflush(file_) == 0)
        return Error::None;
    const int flushErr = ok ? errno : err;
    std::clearerr(file_);
    return errorFromErrno(flushErr);
#endif
}

Error Dictionary::append(const WordRecord& record, std::int64_t& number, std::int64_t maxNumber)
{
    if (const Error e = holdWriteLock(); e != Error::None)
        return e;
    const Error e = appendLocked(record, number, maxNumber);
    releaseWriteLock();
    return e;
}

Error Dictionary::appendLocked(const WordRecord& record, std::int64_t& number, std::int64_t maxNumber)
{
    // Measured under the lock: another program may have appended since.
    std::int64_t length = 0;
    if (const Error e = fileLength(length); e != Error::None)
        return e;
    constexpr auto size = static_cast<std::int64_t>(kRecordSize);
    // Rounded to the nearest whole record: a damaged tail of 172 bytes or
    // fewer is overwritten, a longer one is kept as a record of its own.
    const std::int64_t next = (length + size / 2) / size + 1;
    if (next > maxNumber)
        return Error::Overflow;
    if (const Error e = writeAt((next - 1) * size, record, length); e != Error::None)
        return e;
    number = next;
    return Error::None;
}

Error Dictionary::rewrite(std::int64_t n, const WordRecord& record)
{
    if (const Error e = holdWriteLock(); e != Error::None)
        return e;
    const Error e = rewriteLocked(n, record);
    releaseWriteLock();
    return e;
}

Error Dictionary::rewriteLocked(std::int64_t n, const WordRecord& record)
{
    // Reading the old record first also refuses a number past the end, which
    // would otherwise grow the file.
    WordRecord previous;
    if (const Error e = readRecord(n, previous); e != Error::None)
        return e;
    return writeAt((n - 1) * static_cast<std::int64_t>(kRecordSize), record, -1, &previous);
}

}  // namespace dictstore
