// Files saved by real word processors (tests/rtf/samples, made by
// make-samples.sh): the reader must give the text LibreOffice gives, and what
// the writer makes of them must read back to the same text.
#include "rtfdocument.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include "referencetext.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace kvx::rtf;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

} // namespace

TEST(RtfSamples, ReadAsLibreOfficeReadsThemAndSurviveTheWriter)
{
    const QDir dir(QStringLiteral(LEXIVANE_RTF_SAMPLES));
    const QStringList files = dir.entryList({"*.rtf"}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 13);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QString expected = QString::fromUtf8(readFile(dir.filePath(QString(name).replace(".rtf", ".txt"))));
        if (expected.startsWith(QChar(0xFEFF)))
            expected.remove(0, 1);
        QTextDocument doc;
        const RtfReadResult r = readRtf(readFile(dir.filePath(name)), &doc);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        // Damaged samples say what was read around.
        EXPECT_EQ(r.warnings.isEmpty(), !name.startsWith("damaged-")) << r.warnings.join("; ").toStdString();
        EXPECT_EQ(rtftest::sameBullets(plainText(doc)).toStdString(), rtftest::sameBullets(expected).toStdString());

        QTextDocument back;
        ASSERT_TRUE(readRtf(writeRtf(doc), &back).ok);
        EXPECT_EQ(plainText(back).toStdString(), plainText(doc).toStdString());
    }
}
