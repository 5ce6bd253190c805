#pragma once

// LibreOffice's text of a sample, and the comparison that treats one bullet
// glyph like another: shared by the codec's and the word processor's tests.

#include <QFile>
#include <QRegularExpression>
#include <QString>

namespace rtftest {

// A reference text as LibreOffice wrote it, without its byte order mark, CR
// LF line ends or the U+2006 it puts into runs of spaces from some producers.
inline QString referenceText(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QString s = QString::fromUtf8(f.readAll());
    if (s.startsWith(QChar(0xFEFF)))
        s.remove(0, 1);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.remove(QChar(0x2006));
    return s;
}

// Readers differ in the glyph they show for a bullet (LibreOffice's text
// export puts its own per level): a list line's bullet stands for any other.
// A missing marker, or a number where a bullet should be, still differs.
inline QString sameBullets(QString text)
{
    static const QRegularExpression bullet(QString::fromUtf8(
        "(?m)^( {4,})[•◦▪▫■□●○➢➤✓✔❖◆◇♦♣"
        "✗☐☑⇨➔–·*o\\-] "));
    return text.replace(bullet, QString::fromUtf8("\\1• "));
}

}  // namespace rtftest
