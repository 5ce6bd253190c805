// Files saved by real word processors (tests/rtf/samples, made by
// make-samples.sh): the reader must give the text LibreOffice gives, and what
// the writer makes of them must read back to the same text.
#include "rtfdocument.h"
#include "rtfreader.h"
#include "rtfwriter.h"

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

// Readers differ in the glyph they show for a bullet (LibreOffice's text
// export puts its own per level): a list line's bullet stands for any other.
// A missing marker, or a number where a bullet should be, still differs.
QString sameBullets(QString text)
{
    static const QRegularExpression bullet(QString::fromUtf8(
        "(?m)^( {4,})[•◦▪▫■□●○➢➤✓✔❖◆◇♦♣"
        "✗☐☑⇨➔–·*o\\-] "));
    return text.replace(bullet, QString::fromUtf8("\\1• "));
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
        EXPECT_EQ(sameBullets(plainText(doc)).toStdString(), sameBullets(expected).toStdString());

        QTextDocument back;
        ASSERT_TRUE(readRtf(writeRtf(doc), &back).ok);
        EXPECT_EQ(plainText(back).toStdString(), plainText(doc).toStdString());
    }
}
