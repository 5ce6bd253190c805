// Loading and saving files: what is refused, and that a failed save never
// costs the old file.
#include "rtffile.h"

#include "filefaults.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <ostream>

using namespace kvx::rtf;

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QByteArray readAllOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// An RTF document of about size bytes.
QByteArray oldDocument(int size) { return "{\\rtf1\\ansi " + QByteArray(size - 16, 'o') + "\\par}"; }

class RtfFileSave : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // Saves text as a document over path, returning the error (empty on success).
    QString save(const QString& path, const QString& text)
    {
        QTextDocument doc;
        doc.setPlainText(text);
        QString error;
        if (saveRtfFile(path, doc, &error))
            return {};
        return error.isEmpty() ? QStringLiteral("failed without a reason") : error;
    }

    QStringList filesIn(const QString& folder) const { return QDir(folder).entryList(QDir::Files); }

    QTemporaryDir dir;
};

TEST_F(RtfFileSave, AFullDiskIsReportedAndTheOldFileStaysWhole)
{
    const QString disk = dir.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkpath(disk));
    filefaults::TmpfsMount tmpfs(disk, "32k");
    if (!tmpfs.mounted())
        GTEST_SKIP() << faults::kNeedsRootSkip;
    const QString file = disk + QStringLiteral("/doc.rtf");
    const QByteArray old = oldDocument(20 * 1024);
    writeBytes(file, old);
    ASSERT_TRUE(filefaults::fillDisk(disk + QStringLiteral("/filler")));

    // Small enough to sit in a write buffer until the very end.
    EXPECT_EQ(save(file, QString(1024, QLatin1Char('n'))), QStringLiteral("Disk full"));
    EXPECT_TRUE(readAllOf(file) == old) << "the old file changed";
    // Larger than any buffer.
    EXPECT_EQ(save(file, QString(40 * 1024, QLatin1Char('n'))), QStringLiteral("Disk full"));
    EXPECT_TRUE(readAllOf(file) == old) << "the old file changed";
    EXPECT_EQ(filesIn(disk), (QStringList{"doc.rtf", "filler"}));

    // With room again the same save goes through.
    QFile::remove(disk + QStringLiteral("/filler"));
    EXPECT_EQ(save(file, QString(1024, QLatin1Char('n'))), QString());
    EXPECT_TRUE(readAllOf(file).contains(QByteArray(1024, 'n')));
}

TEST_F(RtfFileSave, AFileSizeLimitIsReportedAsAFullDiskAndTheOldFileStaysWhole)
{
    const QString file = dir.filePath(QStringLiteral("doc.rtf"));
    const QByteArray old = oldDocument(20 * 1024);
    writeBytes(file, old);
    for (const int size : {6 * 1024, 64 * 1024}) {
        SCOPED_TRACE(size);
        QString error;
        {
            filefaults::FileSizeLimit limit(4096);
            ASSERT_TRUE(limit.ok());
            error = save(file, QString(size, QLatin1Char('n')));
        }
        EXPECT_EQ(error, QStringLiteral("Disk full"));
        EXPECT_TRUE(readAllOf(file) == old) << "the old file changed";
    }
    EXPECT_EQ(filesIn(dir.path()), QStringList{"doc.rtf"});
}

TEST_F(RtfFileSave, AReadOnlyFolderIsPermissionDeniedAndTheOldFileStays)
{
    const QString folder = dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/doc.rtf");
    const QByteArray old = oldDocument(2048);
    writeBytes(file, old);
    QString error;
    {
        filefaults::ReadOnlyFolder readOnly(folder);
        ASSERT_TRUE(readOnly.ok());
        error = save(file, QStringLiteral("new"));
    }
    EXPECT_EQ(error, QStringLiteral("Permission denied"));
    EXPECT_TRUE(readAllOf(file) == old) << "the old file changed";
    EXPECT_EQ(filesIn(folder), QStringList{"doc.rtf"});
}

TEST_F(RtfFileSave, ADeviceOrPipeIsNotReplacedByAFile)
{
    const QString fifo = dir.filePath(QStringLiteral("pipe.rtf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(save(fifo, QStringLiteral("text")), kNotARegularFile);
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
}

class RtfFileLoad : public RtfFileSave {
protected:
    // Loads path, returning the error (empty on success) and how long it took.
    QString load(const QString& path, qint64* ms = nullptr)
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("before"));
        QString error;
        QElapsedTimer t;
        t.start();
        const bool ok = loadRtfFile(path, &doc, &error);
        if (ms)
            *ms = t.elapsed();
        loaded = doc.toPlainText();
        return ok ? QString() : error;
    }
    QString loaded;
};

TEST_F(RtfFileLoad, DevicesPipesAndFoldersAreRefusedAtOnce)
{
    qint64 ms = 0;
    EXPECT_EQ(load(QStringLiteral("/dev/zero"), &ms), kNotARegularFile);
    EXPECT_LT(ms, 5000);
    EXPECT_EQ(loaded, QString());
    // A pipe with no writer would block the open itself.
    const QString fifo = dir.filePath(QStringLiteral("pipe.rtf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(load(fifo, &ms), kNotARegularFile);
    EXPECT_LT(ms, 5000);
    EXPECT_EQ(load(dir.path()), QStringLiteral("Bad file name or number"));
    EXPECT_EQ(load(dir.filePath(QStringLiteral("none.rtf"))), QStringLiteral("File not found"));
    EXPECT_EQ(load(dir.filePath(QStringLiteral("no/none.rtf"))), QStringLiteral("Path not found"));
}

TEST_F(RtfFileLoad, AFileOverTheLimitIsRefusedWithoutReadingIt)
{
    const QString huge = dir.filePath(QStringLiteral("huge.rtf"));
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(kMaxDocumentFileSize + 1));  // sparse: no disk used
    }
    qint64 ms = 0;
    EXPECT_EQ(load(huge, &ms), tooLargeMessage());
    EXPECT_LT(ms, 5000);
    EXPECT_TRUE(tooLargeMessage().contains(QStringLiteral("256 MB")));
}

TEST_F(RtfFileLoad, OnlyRtfAndTextAreRead)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        bool read;
    };
    const Case cases[] = {
        // A .docx or .odt is a zip archive.
        {"zip", QByteArray("PK\x03\x04\x14\x00\x06\x00\x08\x00\x00\x00!\x00", 16) + "[Content_Types].xml", false},
        {"png", QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR", 16), false},
        {"controls without NUL", QByteArray("\x01\x02\x03\x04 text \x05\x06\x07\x08\x0e\x0f"), false},
        {"Windows-1252", QByteArray("na\xEFve fa\xE7" "ade\r\n\tline two\f\x1a"), true},
        {"UTF-8 with a byte order mark", QByteArray("\xEF\xBB\xBF" "caf\xC3\xA9"), true},
        {"RTF after white space", QByteArray("\r\n {\\rtf1 body\\par}"), true},
        // RTF may carry binary data of its own.
        {"RTF with binary data", QByteArray("{\\rtf1 a{\\*\\x\\bin4 \x00\x01\x02\x03}b\\par}", 31), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.filePath(QStringLiteral("file.rtf"));
        writeBytes(file, c.bytes);
        const QString error = load(file);
        if (c.read) {
            EXPECT_EQ(error, QString());
        } else {
            EXPECT_EQ(error, kNotRtfOrText);
            EXPECT_EQ(loaded, QString());
        }
    }
}

TEST(RtfCat, RefusesDevicesAndPipesAndEnds)
{
    QProcess cat;
    cat.start(QStringLiteral(RTFCAT), {QStringLiteral("/dev/zero")});
    ASSERT_TRUE(cat.waitForFinished(10000)) << "rtfcat /dev/zero did not end";
    EXPECT_EQ(cat.exitCode(), 1);
    EXPECT_EQ(cat.readAllStandardError().trimmed(), ("rtfcat: /dev/zero: " + kNotARegularFile).toUtf8());
    EXPECT_TRUE(cat.readAllStandardOutput().isEmpty());
}

}  // namespace
