#include "dictstore/csvtransfer.h"

#include "dictstore/csvreader.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <system_error>
#include <unordered_set>
#include <utility>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace dictstore {

namespace {

// Records between two progress reports: often enough for a bar, rarely
// enough to cost nothing.
constexpr std::int64_t kExportProgressStep = 1024;
constexpr std::int64_t kImportProgressStep = 256;

std::string buildHeader()
{
    std::string header;
    for (const Field f : kExportColumns) {
        if (!header.empty())
            header += ',';
        header += '"';
        header += layoutOf(f).name;
        header += '"';
    }
    return header;
}

// The export's output file while it is written: a temporary file beside the
// target, renamed over it once complete, removed otherwise.
class PendingFile {
public:
    ~PendingFile()
    {
        if (file_)
            std::fclose(file_);
        if (!temp_.empty()) {
            std::error_code ignored;
            fs::remove(temp_, ignored);
        }
    }

    Error create(const fs::path& target)
    {
        std::error_code ec;
        const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
        if (!fs::is_directory(folder, ec))
            return Error::PathNotFound;
        if (fs::is_directory(target, ec))
            return Error::PermissionDenied;
#ifdef _WIN32
        temp_ = target.string() + ".new";
        file_ = std::fopen(temp_.string().c_str(), "wb");
        if (!file_)
            return errorFromErrno(errno);
#else
        // Replacing a file that may not be written would be a way round its
        // protection.
        if (fs::exists(target, ec) && ::access(target.c_str(), W_OK) != 0)
            return errorFromErrno(errno);
        std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            return errorFromErrno(errno);
        temp_ = pattern;
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
        file_ = ::fdopen(fd, "wb");
        if (!file_) {
            const int err = errno;
            ::close(fd);
            return errorFromErrno(err);
        }
#endif
        std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
        target_ = target;
        return Error::None;
    }

    Error write(const std::string& bytes)
    {
        if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
            return errorFromErrno(errno);
        return Error::None;
    }

    Error commit()
    {
        std::FILE* f = std::exchange(file_, nullptr);
        if (std::fclose(f) != 0)
            return errorFromErrno(errno);
        std::error_code ec;
#ifdef _WIN32
        fs::remove(target_, ec);
#endif
        fs::rename(temp_, target_, ec);
        if (ec)
            return errorFromErrno(ec.value());
        temp_.clear();
        return Error::None;
    }

private:
    std::FILE* file_ = nullptr;
    fs::path temp_;
    fs::path target_;
};

}  // namespace

const std::string& exportHeader()
{
    static const std::string header = buildHeader();
    return header;
}

std::string exportLine(const WordRecord& record)
{
    std::string line;
    line.reserve(kRecordSize + 2 * kExportColumns.size() + 2);
    for (const Field f : kExportColumns) {
        if (!line.empty())
            line += ',';
        line += '"';
        line += f == Field::Antonym3 ? record.raw(f) : trimSpaces(record.raw(f));
        line += '"';
    }
    line += "\r\n";
    return line;
}

ExportResult exportDictionary(const fs::path& dictionary, const fs::path& csv, const ProgressFn& progress)
{
    ExportResult result;
    Dictionary dict;
    if ((result.error = dict.openForReading(dictionary)) != Error::None)
        return result;
    std::int64_t total = 0;
    if ((result.error = dict.recordCount(total)) != Error::None)
        return result;

    PendingFile out;
    if ((result.error = out.create(csv)) != Error::None)
        return result;
    if ((result.error = out.write(exportHeader() + "\r\n")) != Error::None)
        return result;
    result.error = dict.readAll([&](const WordRecord& record, std::int64_t) {
        if (result.count == kMaxTransferCount)
            return Error::Overflow;
        if (const Error e = out.write(exportLine(record)); e != Error::None)
            return e;
        ++result.count;
        if (progress && result.count % kExportProgressStep == 0)
            progress(result.count, total);
        return Error::None;
    });
    if (result.error != Error::None)
        return result;
    dict.close();
    result.error = out.commit();
    if (result.error == Error::None && progress)
        progress(result.count, result.count);
    return result;
}

Error openCsvForReading(const fs::path& csv, std::ifstream& in, std::int64_t& size)
{
    std::error_code ec;
    const fs::path folder = csv.parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec))
        return Error::PathNotFound;
    const fs::file_status status = fs::status(csv, ec);
    if (!fs::exists(status))
        return Error::FileNotFound;
    if (fs::is_directory(status))
        return Error::PermissionDenied;
    // Opening a pipe would wait for a writer, and reading a device never ends.
    if (!fs::is_regular_file(status))
        return Error::NotRegularFile;
    errno = 0;
    in.open(csv, std::ios::binary);
    if (!in)
        return errno ? errorFromErrno(errno) : Error::PermissionDenied;
    const auto length = fs::file_size(csv, ec);
    size = ec ? 0 : static_cast<std::int64_t>(length);
    return Error::None;
}

namespace {

// Holds the dictionary's write lock for as long as it lives.
class HeldLock {
public:
    explicit HeldLock(Dictionary& dict) : dict_(dict) { error_ = dict_.holdWriteLock(); }
    ~HeldLock()
    {
        if (error_ == Error::None)
            dict_.releaseWriteLock();
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    Error error() const { return error_; }

private:
    Dictionary& dict_;
    Error error_;
};

constexpr auto kRecordBytes = static_cast<std::int64_t>(kRecordSize);

// The number Append would give the next record.
std::int64_t nextRecordNumber(std::int64_t length) { return (length + kRecordBytes / 2) / kRecordBytes + 1; }

}  // namespace

ImportResult importCsv(Dictionary& dict, std::istream& csv, std::int64_t csvSize, const ImportHooks& hooks,
                       ImportLookup lookup)
{
    ImportResult result;
    const bool indexed = lookup == ImportLookup::Index;

    const TextCheck text = checkCsvText(csv);
    if (text.error != Error::None) {
        result.error = text.error;
        result.line = text.line;
        return result;
    }
    if (text.byteOrderMark)
        csv.seekg(3);

    const HeldLock lock(dict);
    if ((result.error = lock.error()) != Error::None)
        return result;
    std::int64_t length = 0;
    if ((result.error = dict.fileLength(length)) != Error::None)
        return result;
    // A full dictionary takes nothing more, and is not read into memory.
    if (nextRecordNumber(length) > kMaxKavixRecords) {
        result.error = Error::Overflow;
        result.dictionaryFull = true;
        return result;
    }

    // The keys of every stored word, kept up to date as entries are appended,
    // answer what a scan from record 1 would.
    std::unordered_set<std::string> present;
    auto buildIndex = [&] {
        present.clear();
        return dict.readAll([&](const WordRecord& r, std::int64_t) {
            present.insert(wordKey(r));
            return Error::None;
        });
    };
    // On a damaged file the first append turns the trailing piece into a
    // record (or overwrites it); the scans see that record from then on.
    bool rebuildAfterAppend = false;
    if (indexed) {
        rebuildAfterAppend = length % kRecordBytes != 0;
        if ((result.error = buildIndex()) != Error::None)
            return result;
    }

    CsvReader reader(csv, text.encoding);
    result.headerSkipped = reader.skipLine(exportHeader());
    const CsvColumns& columns = result.headerSkipped ? kExportColumns : kImportColumns;

    std::int64_t lines = 0;
    while (!reader.atEnd()) {
        std::int64_t recordLine = reader.line();
        auto failAt = [&](Error e, std::int64_t line) {
            result.error = e;
            result.line = line;
            return result;
        };
        CsvRecord values;
        // A record the file ends in is named by the line it starts in.
        if (const Error e = readCsvRecord(reader, values, &recordLine); e != Error::None)
            return failAt(e, e == Error::InputPastEnd ? recordLine : reader.line());

        bool found = false;
        if (indexed) {
            found = present.contains(wordKey(values[0]));
        } else {
            std::optional<Match> match;
            if (const Error e = dict.findByWord(values[0], match); e != Error::None)
                return failAt(e, recordLine);
            found = match.has_value();
        }

        if (found) {
            if (hooks.refused)
                hooks.refused(std::string(trimSpaces(values[0])));
        } else {
            if (result.count == kMaxTransferCount)
                return failAt(Error::Overflow, recordLine);
            const WordRecord record = recordFromValues(values, columns);
            std::int64_t number = 0;
            if (const Error e = dict.append(record, number, kMaxKavixRecords); e != Error::None) {
                result.dictionaryFull = e == Error::Overflow;
                return failAt(e, recordLine);
            }
            ++result.count;
            if (indexed && rebuildAfterAppend) {
                rebuildAfterAppend = false;
                if ((result.error = buildIndex()) != Error::None)
                    return result;
            } else if (indexed) {
                present.insert(wordKey(record));
            }
        }
        if (hooks.progress && ++lines % kImportProgressStep == 0)
            hooks.progress(reader.position(), csvSize);
    }
    if (hooks.progress)
        hooks.progress(csvSize, csvSize);
    return result;
}

}  // namespace dictstore
