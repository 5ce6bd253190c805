#include "rtfdocument.h"

#include <algorithm>

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QVariant>

namespace kvx::rtf {

namespace {

void appendBlock(const QTextBlock& block, QString& out)
{
    const QTextBlockFormat bf = block.blockFormat();
    if (bf.boolProperty(FillerBlockProperty) && block.length() <= 1)
        return;
    QString label;
    QString body;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (!frag.isValid())
            continue;
        if (frag.charFormat().boolProperty(ListLabelProperty) && body.isEmpty())
            label += frag.text();
        else
            body += frag.text();
    }
    label.remove(QChar::ObjectReplacementCharacter);  // pictures have no text
    label = label.trimmed();
    if (bf.hasProperty(ListLevelProperty)) {
        // A list level without a number (headings of an outline in
        // LibreOffice files) still takes its indent and the label's room.
        const int level = std::clamp(bf.intProperty(ListLevelProperty), 0, 8);
        out += QString(4 * (level + 1), QLatin1Char(' '));
        out += label.isEmpty() ? QStringLiteral("  ") : label;
        out += QLatin1Char(' ');
    } else {
        out += label;
    }
    body.replace(QChar::LineSeparator, QLatin1Char('\n'));
    body.remove(QChar::ObjectReplacementCharacter);  // pictures have no text
    out += body;
    out += QLatin1Char('\n');
}

void appendFrame(const QTextFrame* frame, QString& out);

void appendTable(const QTextTable* table, QString& out)
{
    for (int r = 0; r < table->rows(); ++r) {
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;  // covered by a merged cell
            if (cell.format().boolProperty(PaddingCellProperty))
                continue;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (const QTextFrame* child = it.currentFrame())
                    appendFrame(child, out);
                else
                    appendBlock(it.currentBlock(), out);
            }
        }
    }
}

void appendFrame(const QTextFrame* frame, QString& out)
{
    if (auto table = qobject_cast<const QTextTable*>(frame)) {
        appendTable(table, out);
        return;
    }
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame())
            appendFrame(child, out);
        else
            appendBlock(it.currentBlock(), out);
    }
}

} // namespace

namespace {
constexpr char kKeptPartsName[] = "kvxrtfKeptParts";
}

KeptParts keptParts(const QTextDocument& doc)
{
    const QVariant v = doc.property(kKeptPartsName);
    return v.canConvert<KeptParts>() ? v.value<KeptParts>() : KeptParts{};
}

void setKeptParts(QTextDocument& doc, const KeptParts& parts)
{
    doc.setProperty(kKeptPartsName, parts.isEmpty() ? QVariant() : QVariant::fromValue(parts));
}

QString plainText(const QTextDocument& doc)
{
    QString out;
    appendFrame(doc.rootFrame(), out);
    return out;
}

} // namespace kvx::rtf
