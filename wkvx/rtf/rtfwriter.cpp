#include "rtfwriter.h"

#include "rtfcodepage.h"
#include "rtfdocument.h"

#include <QColor>
#include <QFont>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cmath>
#include <map>
#include <vector>

namespace kvx::rtf {

namespace {

constexpr int kTableWidthTwips = 9360;  // 6.5 inches, a letter page between margins

int twips(qreal pixels) { return int(std::lround(pixels * 15.0)); }

QString familyOf(const QTextCharFormat& f, const QString& fallback)
{
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    const QString family = f.stringProperty(QTextFormat::FontFamily);
    return family.isEmpty() ? fallback : family;
}

class Writer {
public:
    explicit Writer(const QTextDocument& doc) : doc_(doc)
    {
        defaultFamily_ = doc.defaultFont().family();
        if (defaultFamily_.isEmpty())
            defaultFamily_ = QStringLiteral("Times New Roman");
        defaultPoints_ = doc.defaultFont().pointSizeF();
        if (defaultPoints_ <= 0)
            defaultPoints_ = 12;
    }

    QByteArray run();

private:
    void collect(const QTextFrame* frame);
    void collectBlock(const QTextBlock& block);
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    void writeFrame(const QTextFrame* frame, bool inTable);
    void writeTable(const QTextTable* table);
    void writeCell(const QTextTableCell& cell);
    void writeBlock(const QTextBlock& block, bool inTable, const char* end);
    void writeRunProps(const QTextCharFormat& f);
    void writeListNumbering(const QString& label);
    void writeText(QStringView text);

    const QTextDocument& doc_;
    QString defaultFamily_;
    qreal defaultPoints_ = 12;
    QByteArray out_;
    std::map<QString, int> fonts_;
    std::vector<QString> fontOrder_;
    std::map<QRgb, int> colors_;
    std::vector<QColor> colorOrder_;
};

int Writer::fontIndex(const QString& family)
{
    auto it = fonts_.find(family);
    if (it != fonts_.end())
        return it->second;
    const int index = int(fontOrder_.size());
    fonts_.emplace(family, index);
    fontOrder_.push_back(family);
    return index;
}

int Writer::colorIndex(const QColor& color)
{
    const QRgb rgb = color.rgb();
    auto it = colors_.find(rgb);
    if (it != colors_.end())
        return it->second;
    const int index = int(colorOrder_.size()) + 1;  // entry 0 is "auto"
    colors_.emplace(rgb, index);
    colorOrder_.push_back(color);
    return index;
}

void Writer::collectBlock(const QTextBlock& block)
{
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat f = it.fragment().charFormat();
        fontIndex(familyOf(f, defaultFamily_));
        if (f.foreground().style() != Qt::NoBrush)
            colorIndex(f.foreground().color());
        if (f.background().style() != Qt::NoBrush)
            colorIndex(f.background().color());
    }
}

void Writer::collect(const QTextFrame* frame)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame())
            collect(child);
        else
            collectBlock(it.currentBlock());
    }
}

QByteArray Writer::run()
{
    fontIndex(defaultFamily_);
    collect(doc_.rootFrame());

    QByteArray body;
    out_.reserve(doc_.characterCount() * 2 + 1024);
    writeFrame(doc_.rootFrame(), false);
    body.swap(out_);

    out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (size_t i = 0; i < fontOrder_.size(); ++i) {
        out_ += "{\\f" + QByteArray::number(qulonglong(i)) + "\\fnil\\fcharset0 ";
        QString name = fontOrder_[i];
        name.remove(QLatin1Char(';'));
        writeText(name);
        out_ += ";}";
    }
    out_ += "}\n{\\colortbl;";
    for (const QColor& c : colorOrder_) {
        out_ += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue"
            + QByteArray::number(c.blue()) + ';';
    }
    out_ += "}\n{\\*\\generator Lexivane;}\\viewkind4\n";
    out_ += body;
    out_ += "}\n";
    return out_;
}

void Writer::writeFrame(const QTextFrame* frame, bool inTable)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            auto table = qobject_cast<const QTextTable*>(child);
            if (table && !inTable)
                writeTable(table);
            else
                writeFrame(child, inTable);  // nested tables become paragraphs of their cell
        } else {
            const QTextBlock block = it.currentBlock();
            if (block.blockFormat().boolProperty(FillerBlockProperty) && block.length() <= 1)
                continue;
            writeBlock(block, inTable, "\\par\n");
        }
    }
}

void Writer::writeTable(const QTextTable* table)
{
    const int columns = std::max(table->columns(), 1);
    const int width = kTableWidthTwips / columns;
    for (int r = 0; r < table->rows(); ++r) {
        std::vector<QTextTableCell> cells;
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c || cell.format().boolProperty(PaddingCellProperty))
                continue;
            cells.push_back(cell);
        }
        if (cells.empty())
            continue;
        out_ += "\\trowd\\trgaph108";
        for (const QTextTableCell& cell : cells) {
            out_ += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
            out_ += "\\cellx" + QByteArray::number((cell.column() + cell.columnSpan()) * width);
        }
        out_ += '\n';
        for (const QTextTableCell& cell : cells)
            writeCell(cell);
        out_ += "\\row\n";
    }
    out_ += "\\pard\n";
}

void Writer::writeCell(const QTextTableCell& cell)
{
    // Every block of the cell, nested tables flattened; the last one ends
    // with \cell instead of \par.
    std::vector<QTextBlock> blocks;
    std::vector<const QTextFrame*> pending;
    for (auto it = cell.begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            QTextBlock b = child->firstCursorPosition().block();
            const int last = child->lastPosition();
            for (; b.isValid() && b.position() <= last; b = b.next())
                blocks.push_back(b);
        } else {
            blocks.push_back(it.currentBlock());
        }
    }
    for (size_t i = 0; i < blocks.size(); ++i)
        writeBlock(blocks[i], true, i + 1 == blocks.size() ? "\\cell\n" : "\\par\n");
    if (blocks.empty())
        out_ += "\\pard\\intbl\\cell\n";
}

void Writer::writeBlock(const QTextBlock& block, bool inTable, const char* end)
{
    const QTextBlockFormat bf = block.blockFormat();
    out_ += "\\pard";
    // A list marker read from a file goes back as Word 95 numbering, which
    // every reader shows without a list table.
    QString label;
    const bool listed = bf.hasProperty(ListLevelProperty);
    for (auto it = block.begin(); !it.atEnd() && listed; ++it) {
        if (!it.fragment().charFormat().boolProperty(ListLabelProperty))
            break;
        label += it.fragment().text();
    }
    label = label.trimmed();
    if (listed && !label.isEmpty()) {
        out_ += "\\ilvl" + QByteArray::number(bf.intProperty(ListLevelProperty));
        writeListNumbering(label);
    }
    if (inTable)
        out_ += "\\intbl";
    const Qt::Alignment align = bf.alignment();
    if (align & Qt::AlignHCenter)
        out_ += "\\qc";
    else if (align & Qt::AlignRight)
        out_ += "\\qr";
    else if (align & Qt::AlignJustify)
        out_ += "\\qj";
    else
        out_ += "\\ql";
    if (const int v = twips(bf.leftMargin()))
        out_ += "\\li" + QByteArray::number(v);
    if (const int v = twips(bf.rightMargin()))
        out_ += "\\ri" + QByteArray::number(v);
    if (const int v = twips(bf.textIndent()))
        out_ += "\\fi" + QByteArray::number(v);
    if (const int v = twips(bf.topMargin()))
        out_ += "\\sb" + QByteArray::number(v);
    if (const int v = twips(bf.bottomMargin()))
        out_ += "\\sa" + QByteArray::number(v);

    out_ += ' ';
    bool inLabel = listed && !label.isEmpty();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        const QTextCharFormat f = frag.charFormat();
        const bool isLabel = f.boolProperty(ListLabelProperty);
        if (isLabel && !inLabel)
            continue;  // a marker that no longer starts its paragraph
        if (!isLabel)
            inLabel = false;
        const QString href = f.isAnchor() ? f.anchorHref() : QString();
        if (!href.isEmpty()) {
            out_ += "{\\field{\\*\\fldinst HYPERLINK \"";
            QString target = href;
            target.replace(QLatin1Char('"'), QLatin1String("%22"));
            writeText(target);
            out_ += "\"}{\\fldrslt ";
        }
        out_ += isLabel ? "{\\pntext" : "{";
        writeRunProps(f);
        out_ += ' ';
        writeText(frag.text());
        out_ += '}';
        if (!href.isEmpty())
            out_ += "}}";
    }
    out_ += end;
}

void Writer::writeListNumbering(const QString& label)
{
    // "3." or "b)" become numbering of that style starting there, anything
    // else a bullet showing the marker.
    static const QRegularExpression numbered(QStringLiteral("^(\\d{1,6}|[a-z]|[A-Z])(\\W{0,3})$"));
    const QRegularExpressionMatch m = numbered.match(label);
    if (!m.hasMatch()) {
        out_ += "{\\*\\pn\\pnlvlblt\\pnindent0{\\pntxtb ";
        writeText(label);
        out_ += "}}";
        return;
    }
    const QString n = m.captured(1);
    const QChar c = n.at(0);
    int start = 0;
    out_ += "{\\*\\pn\\pnlvlbody\\pnindent0";
    if (c.isDigit()) {
        out_ += "\\pndec";
        start = n.toInt();
    } else {
        out_ += c.isLower() ? "\\pnlcltr" : "\\pnucltr";
        start = c.toLower().unicode() - 'a' + 1;
    }
    out_ += "\\pnstart" + QByteArray::number(start);
    if (!m.captured(2).isEmpty()) {
        out_ += "{\\pntxta ";
        writeText(m.captured(2));
        out_ += '}';
    }
    out_ += '}';
}

void Writer::writeRunProps(const QTextCharFormat& f)
{
    out_ += "\\f" + QByteArray::number(fontIndex(familyOf(f, defaultFamily_)));
    qreal points = f.fontPointSize();
    if (points <= 0)
        points = defaultPoints_;
    out_ += "\\fs" + QByteArray::number(std::max(1L, std::lround(points * 2)));
    if (f.fontWeight() >= QFont::DemiBold)
        out_ += "\\b";
    if (f.fontItalic())
        out_ += "\\i";
    if (f.fontUnderline())
        out_ += "\\ul";
    if (f.fontStrikeOut())
        out_ += "\\strike";
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        out_ += "\\super";
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        out_ += "\\sub";
    if (f.foreground().style() != Qt::NoBrush)
        out_ += "\\cf" + QByteArray::number(colorIndex(f.foreground().color()));
    if (f.background().style() != Qt::NoBrush)
        out_ += "\\highlight" + QByteArray::number(colorIndex(f.background().color()));
}

void Writer::writeText(QStringView text)
{
    static const char hex[] = "0123456789abcdef";
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        switch (c) {
        case '\\': out_ += "\\\\"; continue;
        case '{': out_ += "\\{"; continue;
        case '}': out_ += "\\}"; continue;
        case '\t': out_ += "\\tab "; continue;
        case 0x2028: out_ += "\\line "; continue;
        case 0x00A0: out_ += "\\~"; continue;
        case 0x00AD: out_ += "\\-"; continue;
        case 0x2011: out_ += "\\_"; continue;
        default: break;
        }
        if (c < 0x20)
            continue;
        if (c < 0x80) {
            out_ += char(c);
            continue;
        }
        const int b = encodeWindows1252(c);
        if (b >= 0) {
            out_ += "\\'";
            out_ += hex[b >> 4];
            out_ += hex[b & 15];
        } else {
            // Signed 16-bit, as RTF wants; '?' for readers without Unicode.
            out_ += "\\u" + QByteArray::number(c > 32767 ? int(c) - 65536 : int(c)) + '?';
        }
    }
}

} // namespace

QByteArray writeRtf(const QTextDocument& doc)
{
    return Writer(doc).run();
}

} // namespace kvx::rtf
