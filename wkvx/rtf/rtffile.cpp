#include "rtffile.h"

#include "rtfreader.h"
#include "rtfwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>

namespace kvx::rtf {

namespace {

// Larger files are refused rather than read into memory whole.
constexpr qint64 kMaxFileSize = qint64(1) << 30;

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
        return QStringLiteral("Bad file name or number");
    if (!info.exists())
        return info.absoluteDir().exists() ? QStringLiteral("File not found") : QStringLiteral("Path not found");
    if (code == QFileDevice::PermissionsError || !info.isReadable())
        return QStringLiteral("Permission denied");
    if (info.isDir())
        return QStringLiteral("Bad file name or number");
    return QStringLiteral("Device I/O error");
}

} // namespace

bool loadRtfFile(const QString& path, QTextDocument* doc, QString* error, const RtfReadOptions& options,
                 QStringList* warnings)
{
    if (!doc) {
        setError(error, QStringLiteral("No document to read into."));
        return false;
    }
    doc->clear();
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        setError(error, describeOpenFailure(path, file.error()));
        return false;
    }
    const qint64 size = file.size();
    if (size > kMaxFileSize) {
        setError(error, QStringLiteral("The file is too large to open (over 1 GB)."));
        return false;
    }
    QByteArray data;
    QByteArrayView view;
    uchar* mapped = size > 0 ? file.map(0, size) : nullptr;
    if (mapped) {
        view = QByteArrayView(reinterpret_cast<const char*>(mapped), size);
    } else {
        data = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            setError(error, QStringLiteral("Device I/O error"));
            return false;
        }
        view = data;
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

bool saveRtfFile(const QString& path, const QTextDocument& doc, QString* error, QStringList* warnings)
{
    if (path.isEmpty() || QFileInfo(path).isDir()) {
        setError(error, QStringLiteral("Bad file name or number"));
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
        setError(error, QStringLiteral("Permission denied"));
        return false;
    }
    const QByteArray rtf = writeRtf(doc, warnings);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, file.error() == QFileDevice::PermissionsError || !QFileInfo(QFileInfo(path).absolutePath()).isWritable()
                            ? QStringLiteral("Permission denied")
                            : QStringLiteral("Device I/O error"));
        return false;
    }
    if (file.write(rtf) != rtf.size() || !file.commit()) {
        setError(error, file.error() == QFileDevice::ResourceError ? QStringLiteral("Disk full")
                                                                    : QStringLiteral("Device I/O error"));
        return false;
    }
    return true;
}

} // namespace kvx::rtf
