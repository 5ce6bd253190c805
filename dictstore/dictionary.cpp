#include "dictstore/dictionary.h"

#include "dictstore/codepage.h"

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

Error openError(const std::filesystem::path& path, int err)
{
    if (!folderExists(path))
        return Error::PathNotFound;
    return errorFromErrno(err);
}

}  // namespace

std::string wordKey(std::string_view utf8Word) { return folded(toCp1252(trimSpaces(utf8Word))); }

std::string wordKey(const WordRecord& record) { return folded(trimmedWord(record)); }

Dictionary::~Dictionary() { close(); }

Dictionary::Dictionary(Dictionary&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)), writable_(std::exchange(other.writable_, false)),
      buffer_(std::move(other.buffer_))
{
}

Dictionary& Dictionary::operator=(Dictionary&& other) noexcept
{
    if (this != &other) {
        close();
        file_ = std::exchange(other.file_, nullptr);
        writable_ = std::exchange(other.writable_, false);
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
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return openError(path, errno);
    file_ = f;
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
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return openError(path, errno);
    std::FILE* f = ::fdopen(fd, "r+b");
    if (!f) {
        const int err = errno;
        ::close(fd);
        return errorFromErrno(err);
    }
#endif
    file_ = f;
    writable_ = true;
    return Error::None;
}

void Dictionary::close()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    writable_ = false;
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

Error Dictionary::scan(const std::function<Error(const WordRecord&, std::int64_t, bool& stop)>& each)
{
    if (!file_)
        return Error::BadFileName;
    if (std::fflush(file_) != 0 || std::fseek(file_, 0, SEEK_SET) != 0)
        return errorFromErrno(errno);
    buffer_.resize(kChunkRecords * kRecordSize);
    WordRecord record;
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
            std::memcpy(record.bytes.data(), buffer_.data() + i * kRecordSize, kRecordSize);
            bool stop = false;
            if (const Error e = each(record, ++number, stop); e != Error::None)
                return e;
            if (stop)
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
    return scan([&](const WordRecord& r, std::int64_t n, bool& stop) {
        if (equalsFolded(trimmedWord(r), wanted)) {
            found = Match{r, n};
            stop = true;
        }
        return Error::None;
    });
}

Error Dictionary::findByStartingLetters(std::string_view key, const RecordVisitor& visit)
{
    const std::string wanted = wordKey(key);
    return scan([&](const WordRecord& r, std::int64_t n, bool&) {
        const std::string_view word = trimmedWord(r);
        if (!equalsFolded(word.substr(0, wanted.size()), wanted))
            return Error::None;
        return visit(r, n);
    });
}

Error Dictionary::readAll(const RecordVisitor& visit)
{
    return scan([&](const WordRecord& r, std::int64_t n, bool&) { return visit(r, n); });
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

Error Dictionary::writeAt(std::int64_t offset, const WordRecord& record, std::int64_t restoreLength)
{
    if (!file_ || !writable_)
        return Error::BadFileName;
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0)
        return errorFromErrno(errno);
    const bool ok = std::fwrite(record.bytes.data(), 1, kRecordSize, file_) == kRecordSize;
    const int err = errno;
    if (ok && std::fflush(file_) == 0)
        return Error::None;
    const int flushErr = ok ? errno : err;
    std::clearerr(file_);
#ifndef _WIN32
    // A half-written record must not stay behind: put the length back.
    if (restoreLength >= 0 && ::ftruncate(::fileno(file_), restoreLength) != 0) {
        // Nothing more can be done; the write error below is what matters.
    }
#else
    (void)restoreLength;
#endif
    return errorFromErrno(flushErr);
}

Error Dictionary::append(const WordRecord& record, std::int64_t& number, std::int64_t maxNumber)
{
    std::int64_t length = 0;
    if (const Error e = fileLength(length); e != Error::None)
        return e;
    if (!writable_)
        return Error::BadFileName;
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
    if (n < 1)
        return Error::BadFileName;
    std::int64_t length = 0;
    if (const Error e = fileLength(length); e != Error::None)
        return e;
    return writeAt((n - 1) * static_cast<std::int64_t>(kRecordSize), record, -1);
}

}  // namespace dictstore
