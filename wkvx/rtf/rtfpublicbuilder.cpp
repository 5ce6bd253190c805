// The builder on Qt's public API: what was gathered is replayed through one
// QTextCursor inside one edit block. It is the reference the fast builder is
// compared with, and the one used wherever the fast one is not verified.
#include "rtfbuilderimpl.h"

#include <QHash>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QVariant>

#include <unordered_map>

namespace kvx::rtf {

namespace {

struct FormatHash {
    size_t operator()(const QTextFormat& f) const
    {
        size_t h = qHash(f.type());
        const auto props = f.properties();
        for (auto it = props.begin(); it != props.end(); ++it) {
            const QVariant& v = it.value();
            size_t value = qHash(v.typeId());
            switch (v.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int: value = qHash(v.toInt()); break;
            case QMetaType::Double: value = qHash(v.toDouble()); break;
            case QMetaType::QString: value = qHash(v.toString()); break;
            default: break;
            }
            h = qHashMulti(h, it.key(), value);
        }
        return h;
    }
};

class PublicBuilder final : public DocumentBuilder {
public:
    PublicBuilder(QTextDocument* doc, qsizetype maxLength) : DocumentBuilder(doc, maxLength) { start(); }

    BuilderKind kind() const override { return BuilderKind::Public; }
    int charFormat(const QTextCharFormat& format) override { return indexOf(format); }
    int blockFormat(const QTextBlockFormat& format) override { return indexOf(format); }
    QTextBlockFormat blockFormatAt(int index) const override { return formats_.at(size_t(index)).toBlockFormat(); }

protected:
    QTextCharFormat charFormatAt(int index) const override { return formats_.at(size_t(index)).toCharFormat(); }
    void write() override;

private:
    int indexOf(const QTextFormat& format)
    {
        auto [it, added] = indices_.try_emplace(format, int(formats_.size()));
        if (added)
            formats_.push_back(format);
        return it->second;
    }

    std::vector<QTextFormat> formats_;
    std::unordered_map<QTextFormat, int, FormatHash> indices_;
};

void PublicBuilder::write()
{
    // Typed once: each run and block then passes its format by reference.
    std::vector<QTextCharFormat> chars;
    std::vector<QTextBlockFormat> blockFormats;
    chars.reserve(formats_.size());
    blockFormats.reserve(formats_.size());
    for (const QTextFormat& f : formats_) {
        chars.push_back(f.toCharFormat());
        blockFormats.push_back(f.toBlockFormat());
    }
    auto charAt = [&](int index) -> const QTextCharFormat& { return chars[size_t(index)]; };
    auto blockAt = [&](int index) -> const QTextBlockFormat& { return blockFormats[size_t(index)]; };

    QTextCursor c(doc_);
    c.beginEditBlock();
    size_t block = 0;
    c.setBlockFormat(blockAt(blocks_[0].format));
    qsizetype textPosition = 0;
    const Table* table = nullptr;
    QTextTable* qtable = nullptr;
    int cell = 0;
    size_t nextTable = 0;
    for (size_t i = 0; i < fragments_.size(); ++i) {
        const Fragment& f = fragments_[i];
        if (f.separator == 0) {
            // Qt copies the text into its own buffer: no copy of ours is needed.
            c.insertText(QString::fromRawData(text_.constData() + textPosition, f.length), charAt(f.format));
            textPosition += f.length;
            continue;
        }
        ++textPosition;
        ++block;
        if (f.separator == QChar::ParagraphSeparator) {
            c.insertBlock(blockAt(blocks_[block].format), charAt(f.format));
            continue;
        }
        if (f.separator == kCellMark) {
            if (!qtable) {
                table = &tables_[nextTable++];
                const int rows = (int(table->cells.size()) + table->columns - 1) / table->columns;
                qtable = c.insertTable(rows, table->columns, table->format);
                cell = 0;
            } else {
                ++cell;
                c.movePosition(QTextCursor::NextBlock);
            }
            if (f.format != defaultCharFormat_) {
                QTextTableCell tc = qtable->cellAt(cell / table->columns, cell % table->columns);
                QTextCharFormat own = tc.format();
                own.merge(charAt(f.format));
                tc.setFormat(own);
            }
        } else {  // the table's end
            c = qtable->lastCursorPosition();
            c.movePosition(QTextCursor::NextBlock);
            qtable = nullptr;
        }
        c.setBlockFormat(blockAt(blocks_[block].format));
    }
    c.endEditBlock();
}

} // namespace

std::unique_ptr<DocumentBuilder> makePublicBuilder(QTextDocument* doc, qsizetype maxLength)
{
    return std::make_unique<PublicBuilder>(doc, maxLength);
}

} // namespace kvx::rtf
