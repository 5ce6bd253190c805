#include "rtffile.h"

#include "rtfreader.h"
#include "rtftokenizer.h"
#include "rtfwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>

#include <algorithm>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kvx::rtf {

namespace {

const QString kDiskFull = QStringLiteral("Disk full");
const QString kDeviceError = QStringLiteral("Device I/O error");
const QString kPermissionDenied = QStringLiteral("Permission denied");
const QString kBadName = QStringLiteral("Bad file name or number");

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// The platform's short descriptions, shared by all Lexivane programs.
QString describeOpenFailure(const QString& path, QFileDevice::FileError code)
{
    const QFileInfo info(path);
    if (path.isEmpty())
        return kBadName;
    if (!info.exists())
        return info.absoluteDir().exists() ? QStringLiteral("File not found") : QStringLiteral("Path not found");
    if (code == QFileDevice::PermissionsError || !info.isReadable())
        return kPermissionDenied;
    if (info.isDir())
        return kBadName;
    return kDeviceError;
}

// A write that the file system refused. A file-size limit stops the file
// growing just as a full disk does.
QString describeWriteFailure(int err)
{
    switch (err) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return kDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return kPermissionDenied;
    default:
        return kDeviceError;
    }
}

// Opens path for reading only when it is a regular file: a pipe would
// block the open or the read for good, and a device never ends.
bool openRegularFile(const QString& path, QFile& file, QString* error)
{
    if (path.isEmpty()) {
        setError(error, kBadName);
        return false;
    }
#ifdef Q_OS_UNIX
    // Without O_NONBLOCK the open itself waits for a FIFO's writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        setError(error, describeOpenFailure(path, errno == EACCES || errno == EPERM ? QFileDevice::PermissionsError
                                                                                    : QFileDevice::OpenError));
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        setError(error, S_ISDIR(st.st_mode) ? kBadName : kNotARegularFile);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        setError(error, kDeviceError);
        return false;
    }
    return true;
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        setError(error, info.isDir() ? kBadName : kNotARegularFile);
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, describeOpenFailure(path, file.error()));
        return false;
    }
    return true;
#endif
}

// Reads at most limit + 1 bytes, so that a file that grows while it is read
// (or says it is empty, as some system files do) still ends.
bool readBounded(QFile& file, qint64 limit, QByteArray& data)
{
    constexpr qint64 kChunk = qint64(1) << 20;
    data.clear();
    for (;;) {
        const qint64 want = std::min(kChunk, limit + 1 - data.size());
        if (want <= 0)
            return true;
        const qsizetype had = data.size();
        data.resize(had + want);
        const qint64 got = file.read(data.data() + had, want);
        if (got < 0)
            return false;
        data.resize(had + got);
        if (got == 0)
            return true;
    }
}

// Word processors' files are RTF; anything else is opened only when it is
// text. Text has no NUL bytes and hardly any other control characters;
// archives (.docx, .odt), images and programs are full of both.
bool looksLikeText(QByteArrayView data)
{
    qsizetype controls = 0;
    for (const char ch : data) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0)
            return false;
        // Tab, line feed, vertical tab, form feed, carriage return, and the
        // end-of-file mark that old editors left.
        if (c < 0x20 && !(c >= 0x09 && c <= 0x0D) && c != 0x1A)
            ++controls;
        else if (c == 0x7F)
            ++controls;
    }
    return controls * 100 <= data.size();
}

bool isRtf(QByteArrayView data)
{
    RtfTokenizer lex(data);
    return lex.skipLeadingSpace() && lex.lookingAt("{\\rtf");
}

} // namespace

const QString kNotARegularFile =
    QStringLiteral("This is not a document file (it is a device, a pipe or a socket) and cannot be opened.");
const QString kNotRtfOrText =
    QStringLiteral("The file is neither Rich Text Format nor text (it may be a document of another program, "
                   "an archive or a picture) and was not opened.");

QString tooLargeMessage()
{
    return QStringLiteral("The file is too large to open (over %1 MB).").arg(kMaxDocumentFileSize >> 20);
}

bool loadRtfFile(const QString& path, QTextDocument* doc, QString* error, const RtfReadOptions& options,
                 QStringList* warnings)
{
    if (!doc) {
        setError(error, QStringLiteral("No document to read into."));
        return false;
    }
    doc->clear();
    QFile file;
    if (!openRegularFile(path, file, error))
        return false;
    const qint64 size = file.size();
    if (size > kMaxDocumentFileSize) {
        setError(error, tooLargeMessage());
        return false;
    }
    QByteArray data;
    QByteArrayView view;
    uchar* mapped = size > 0 ? file.map(0, size) : nullptr;
    if (mapped) {
        view = QByteArrayView(reinterpret_cast<const char*>(mapped), size);
    } else {
        if (!readBounded(file, kMaxDocumentFileSize, data)) {
            setError(error, kDeviceError);
            return false;
        }
        if (data.size() > kMaxDocumentFileSize) {
            setError(error, tooLargeMessage());
            return false;
        }
        view = data;
    }
    if (!isRtf(view) && !looksLikeText(view)) {
        setError(error, kNotRtfOrText);
        return false;
    }
    const RtfReadResult result = readRtf(view, doc, options);
    if (!result.ok) {
        setError(error, result.error);
        return false;
    }
    if (warnings)
        *warnings = result.warnings;
    return true;
}

namespace {

// Writes all of data to the save file and makes sure it reached the disk;
// on failure *error says why.
bool writeAndSync(QSaveFile& file, const QByteArray& data, QString* error)
{
#ifdef Q_OS_UNIX
    // Straight to the descriptor: Qt's buffered write would keep a small
    // document's bytes until the commit, whose failure to write them it
    // does not report, and a partly written buffer hides errno.
    const int fd = file.handle();
    const char* p = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t done = ::write(fd, p, size_t(std::min<qint64>(left, qint64(1) << 30)));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            setError(error, done < 0 ? describeWriteFailure(errno) : kDeviceError);
            return false;
        }
        p += done;
        left -= done;
    }
    // Some file systems report a full disk only when the data is flushed.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP) {
        setError(error, describeWriteFailure(errno));
        return false;
    }
    return true;
#else
    if (file.write(data) != data.size() || !file.flush()) {
        setError(error, file.error() == QFileDevice::ResourceError ? kDiskFull : kDeviceError);
        return false;
    }
    return true;
#endif
}

} // namespace

bool saveRtfFile(const QString& path, const QTextDocument& doc, QString* error, QStringList* warnings)
{
    if (path.isEmpty() || QFileInfo(path).isDir()) {
        setError(error, kBadName);
        return false;
    }
    if (!QFileInfo(path).absoluteDir().exists()) {
        setError(error, QStringLiteral("Path not found"));
        return false;
    }
    // The file is written beside the old one and renamed over it, which a
    // read-only file would not stop: refuse it as writing in place would.
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isWritable()) {
        setError(error, kPermissionDenied);
        return false;
    }
    // Renaming over a device or a pipe would replace it with a file.
    if (existing.exists() && !existing.isFile()) {
        setError(error, kNotARegularFile);
        return false;
    }
    const QByteArray rtf = writeRtf(doc, warnings);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const bool denied = file.error() == QFileDevice::PermissionsError
                         || !QFileInfo(QFileInfo(path).absolutePath()).isWritable();
        setError(error, denied ? kPermissionDenied : describeWriteFailure(errno));
        return false;
    }
    if (!writeAndSync(file, rtf, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setError(error, file.error() == QFileDevice::ResourceError ? kDiskFull : kDeviceError);
        return false;
    }
    return true;
}

} // namespace kvx::rtf
