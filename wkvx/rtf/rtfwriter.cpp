#include "rtfwriter.h"

#include "rtfcodepage.h"
#include "rtfdocument.h"
#include "rtflists.h"

#include <QColor>
#include <QFont>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QUrl>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <vector>

namespace kvx::rtf {

namespace {

constexpr int kTableWidthTwips = 9360;  // 6.5 inches, a letter page between margins
constexpr int kNoList = 2000000000;  // a \ls no list table names

int twips(qreal pixels) { return int(std::lround(pixels * 15.0)); }

QString familyOf(const QTextCharFormat& f, const QString& fallback)
{
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    const QString family = f.stringProperty(QTextFormat::FontFamily);
    return family.isEmpty() ? fallback : family;
}

struct ListLevel {
    bool defined = false;
    int nfc = -1;  // \levelnfc: 0 decimal, 1/2 upper/lower roman, 3/4 upper/lower letter; -1 bullet
    int start = 1;
    QString before, after;  // around the number
    QString text;           // a bullet's marker
    // "2.1.": the numbers of the levels above, in decimal, each followed by
    // its separator; the level's own number comes after the last.
    QStringList separators;
};

struct ListRun {
    std::array<ListLevel, 9> levels;
    // The number last written at each level; -1 before the first and after a
    // higher level's item (a list may count from 0).
    std::array<int, 9> last{-1, -1, -1, -1, -1, -1, -1, -1, -1};
};

class Writer {
public:
    explicit Writer(const QTextDocument& doc) : doc_(doc), kept_(keptParts(doc))
    {
        // Kept parts refer to the fonts and colours by the file's numbers.
        for (const auto& [number, family] : kept_.fonts) {
            fonts_.emplace(family, number);
            keptFontNumbers_.insert(number);
        }
        if (!kept_.colorTable.isEmpty()) {
            for (size_t i = 1; i < kept_.colors.size(); ++i) {
                if (kept_.colors[i].isValid())
                    colors_.emplace(kept_.colors[i].rgb(), int(i));
            }
            nextColor_ = std::max<int>(1, int(kept_.colors.size()));
        }
        docNonAnsi_ = !kept_.fontTable.isEmpty() && kept_.codePage != 1252;
        unicodeOnly_ = docNonAnsi_;
        defaultFamily_ = doc.defaultFont().family();
        if (defaultFamily_.isEmpty())
            defaultFamily_ = QStringLiteral("Times New Roman");
        defaultPoints_ = doc.defaultFont().pointSizeF();
        if (defaultPoints_ <= 0)
            defaultPoints_ = 12;
    }

    QByteArray run();
    QStringList warnings() const;

private:
    void collect(const QTextFrame* frame);
    void collectBlock(const QTextBlock& block);
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    void writeFrame(const QTextFrame* frame, bool inTable);
    void writeTable(const QTextTable* table);
    void writeCell(const QTextTableCell& cell);
    void writeBlock(const QTextBlock& block, bool inTable, const char* end);
    int writeRunProps(const QTextCharFormat& f);
    void writeMarker(const QTextBlock& block);
    void writeMarkerText(QStringView text, int font);
    SymbolFont markerSymbol(int font);
    int plainFont();
    ListLevel levelFor(const QString& label, int currentNfc);
    void outlineNumber(const QString& label, int level, ListLevel& def) const;
    void writeListTable();
    void writePageSetup();
    void writeText(QStringView text);
    void writePicture(const QTextImageFormat& f);
    void writeNoteMark(const QTextFragment& frag, const QTextCharFormat& f);
    void writeSectionBreak(const QTextBlockFormat& f);

    const QTextDocument& doc_;
    QString defaultFamily_;
    qreal defaultPoints_ = 12;
    QByteArray out_;
    KeptParts kept_;
    std::map<QString, int> fonts_;
    std::vector<std::pair<int, QString>> fontOrder_;  // fonts the file did not have
    int newFontNumber();
    std::set<int> keptFontNumbers_;
    int nextFont_ = -1;  // chosen at the first new font
    std::map<QRgb, int> colors_;
    std::vector<QColor> colorOrder_;  // colours the file did not have
    int nextColor_ = 1;               // entry 0 is "auto"
    std::set<int> notesWritten_;
    // What each character format of the document writes, by format index:
    // most fragments share a few formats, and reading a format's
    // properties costs more than writing its text.
    struct RunFormat {
        bool known = false;
        bool plain = false;  // text with run properties only: no marker, note, picture or link
        bool unicodeOnly = false;
        bool symbolOnly = false;
        QByteArray props;    // "{\\f0\\fs24... "
    };
    const RunFormat& runFormat(const QTextFragment& frag);
    std::vector<RunFormat> runFormats_;
    std::vector<bool> collected_;
    int lastSection_ = -1;
    // The run's font reads bytes in another code page than Windows-1252:
    // its text goes as \u only.
    bool unicodeOnly_ = false;
    bool docNonAnsi_ = false;  // the kept parts' code page is not Windows-1252
    // The run's font is a kept symbol font, which reads even ASCII bytes
    // as symbols: all its text goes as \u.
    bool symbolOnly_ = false;
    // Which symbol font each font number is in a marker, where the reader
    // shows a marker's bytes as glyphs by the font's name too.
    std::map<int, SymbolFont> markerSymbols_;
    int plainFont_ = -1;  // a font that shows a marker's characters as they are
    int sectionsWritten_ = 0;
    // One list per run of list paragraphs, so that separate lists restart.
    std::vector<ListRun> lists_;
    bool inList_ = false;
};

int Writer::fontIndex(const QString& family)
{
    auto it = fonts_.find(family);
    if (it != fonts_.end())
        return it->second;
    const int index = newFontNumber();
    fonts_.emplace(family, index);
    fontOrder_.emplace_back(index, family);
    return index;
}

// New fonts take the numbers after the kept ones; past the largest number
// a file may give (\f2147483647), the lowest numbers the file left free.
int Writer::newFontNumber()
{
    if (nextFont_ < 0)
        nextFont_ = keptFontNumbers_.empty() || *keptFontNumbers_.rbegin() == INT_MAX
            ? 0 : std::max(0, *keptFontNumbers_.rbegin() + 1);
    while (keptFontNumbers_.count(nextFont_))
        ++nextFont_;
    const int number = nextFont_;
    nextFont_ = number < INT_MAX ? number + 1 : 0;
    return number;
}

int Writer::colorIndex(const QColor& color)
{
    const QRgb rgb = color.rgb();
    auto it = colors_.find(rgb);
    if (it != colors_.end())
        return it->second;
    const int index = nextColor_++;
    colors_.emplace(rgb, index);
    colorOrder_.push_back(color);
    return index;
}

void Writer::collectBlock(const QTextBlock& block)
{
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        // Each format once: its fonts and colours are the same every time.
        const int index = it.fragment().charFormatIndex();
        if (index < 0)
            continue;
        if (size_t(index) >= collected_.size())
            collected_.resize(size_t(index) + 1);
        if (collected_[size_t(index)])
            continue;
        collected_[size_t(index)] = true;
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

    // New fonts are Windows-1252 (\\fcharset0) whatever the document's code page.
    unicodeOnly_ = false;
    symbolOnly_ = false;
    const bool keptFonts = !kept_.fontTable.isEmpty();
    out_ += "{\\rtf1\\ansi\\ansicpg" + QByteArray::number(keptFonts ? kept_.codePage : 1252) + "\\deff"
        + QByteArray::number(keptFonts ? kept_.defaultFont : 0) + "\\uc1\n";
    // A kept table goes back as it was read, the new entries added at its end.
    auto openTable = [](const QByteArray& kept) { return kept.left(kept.lastIndexOf('}')); };
    out_ += kept_.fontTable.isEmpty() ? QByteArray("{\\fonttbl") : openTable(kept_.fontTable);
    for (const auto& [number, family] : fontOrder_) {
        out_ += "{\\f" + QByteArray::number(number) + "\\fnil\\fcharset0 ";
        QString name = family;
        name.remove(QLatin1Char(';'));
        writeText(name);
        out_ += ";}";
    }
    out_ += "}\n";
    out_ += kept_.colorTable.isEmpty() ? QByteArray("{\\colortbl;") : openTable(kept_.colorTable);
    for (const QColor& c : colorOrder_) {
        out_ += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue"
            + QByteArray::number(c.blue()) + ';';
    }
    out_ += "}\n";
    unicodeOnly_ = docNonAnsi_;
    if (!kept_.styleSheet.isEmpty())
        out_ += kept_.styleSheet + '\n';
    writeListTable();
    out_ += "{\\*\\generator Lexivane;}";
    if (!kept_.info.isEmpty())
        out_ += kept_.info + '\n';
    // The page as read comes back with the rest of the document's settings;
    // a document without them has only what the root frame says.
    if (kept_.documentFormat.isEmpty())
        writePageSetup();
    else
        out_ += kept_.documentFormat;
    out_ += "\\viewkind4\n";
    if (!kept_.firstSection.isEmpty())
        out_ += kept_.firstSection + '\n';
    out_ += body;
    out_ += "}\n";
    return out_;
}

void Writer::writeFrame(const QTextFrame* frame, bool inTable)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            auto table = qobject_cast<const QTextTable*>(child);
            if (table && !inTable && table->rows() > 0 && table->columns() > 0)
                writeSectionBreak(table->cellAt(0, 0).firstCursorPosition().block().blockFormat());
            if (table && !inTable)
                writeTable(table);
            else
                writeFrame(child, inTable);  // nested tables become paragraphs of their cell
        } else {
            const QTextBlock block = it.currentBlock();
            if (!inTable)
                writeSectionBreak(block.blockFormat());
            if (block.blockFormat().boolProperty(FillerBlockProperty) && block.length() <= 1)
                continue;
            writeBlock(block, inTable, "\\par\n");
        }
    }
}

// A kept section break goes before the first paragraph of its section:
// paragraphs split from that one carry the same break, written once.
void Writer::writeSectionBreak(const QTextBlockFormat& f)
{
    if (!f.hasProperty(SectionIdProperty))
        return;
    const int id = f.intProperty(SectionIdProperty);
    if (id <= lastSection_ || id >= kept_.sections)
        return;
    lastSection_ = id;
    ++sectionsWritten_;
    // A paragraph with text ends with the break; an empty one keeps its own
    // end, as a break ends no empty paragraph.
    if (out_.endsWith("}\\par\n"))
        out_.chop(5);
    out_ += "\\sect" + f.property(SectionProperty).toByteArray() + '\n';
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
    if (!kept_.styleSheet.isEmpty() && bf.hasProperty(StyleProperty))
        out_ += "\\s" + QByteArray::number(bf.intProperty(StyleProperty));
    // A list marker read from a file goes back as a list of the list table
    // plus the marker as \\listtext, for readers without lists.
    QString label;
    const bool listed = bf.hasProperty(ListLevelProperty);
    for (auto it = block.begin(); !it.atEnd() && listed; ++it) {
        if (!it.fragment().charFormat().boolProperty(ListLabelProperty))
            break;
        label += it.fragment().text();
    }
    label = label.trimmed();
    // A level's text holds 255 characters at most; a longer marker goes as
    // \listtext of a list the file does not define, which readers take
    // as it is.
    constexpr int kMaxLevelText = 200;
    if (listed && label.size() > kMaxLevelText) {
        out_ += "\\ls" + QByteArray::number(kNoList) + "\\ilvl"
            + QByteArray::number(std::clamp(bf.intProperty(ListLevelProperty), 0, 8));
        inList_ = false;
    } else if (listed) {
        const int level = std::clamp(bf.intProperty(ListLevelProperty), 0, 8);
        const ListLevel* current = inList_ ? &lists_.back().levels[level] : nullptr;
        ListLevel here = levelFor(label, current && current->defined ? current->nfc : -1);
        // A new list starts where the markers stop following on: another
        // style at this level, or a number that does not continue.
        auto followsOn = [&](const ListLevel& mark) {
            if (!inList_)
                return false;
            const ListLevel& def = lists_.back().levels[level];
            const int expected = lists_.back().last[level] >= 0 ? lists_.back().last[level] + 1 : def.start;
            return !def.defined
                || (def.nfc == mark.nfc && def.before == mark.before && def.after == mark.after && def.text == mark.text
                    && def.separators == mark.separators && (mark.nfc < 0 || mark.start == expected));
        };
        bool follows = false;
        ListLevel outline = here;
        // "2.1." numbers from the levels above only within the list that has them.
        if (inList_ && level > 0 && here.nfc < 0)
            outlineNumber(label, level, outline);
        if (!outline.separators.isEmpty() && followsOn(outline)) {
            here = outline;
            follows = true;
        } else {
            follows = followsOn(here);
        }
        if (!follows) {
            lists_.emplace_back();
            inList_ = true;
        }
        ListRun& run = lists_.back();
        if (!run.levels[level].defined)
            run.levels[level] = here;
        run.last[level] = here.nfc < 0 ? -1 : here.start;
        for (int deeper = level + 1; deeper < 9; ++deeper)
            run.last[deeper] = -1;
        out_ += "\\ls" + QByteArray::number(qulonglong(lists_.size())) + "\\ilvl" + QByteArray::number(level);
    } else {
        inList_ = false;
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
    bool inLabel = listed;
    bool labelWritten = false;
    if (listed && label.isEmpty())
        out_ += "{\\listtext\\tab}";  // a level without a number
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (const RunFormat& rf = runFormat(frag); rf.plain) {
            inLabel = false;
            out_ += rf.props;
            unicodeOnly_ = rf.unicodeOnly;
            symbolOnly_ = rf.symbolOnly;
            writeText(frag.text());
            out_ += '}';
            continue;
        }
        const QTextCharFormat f = frag.charFormat();
        const bool isLabel = f.boolProperty(ListLabelProperty);
        if (isLabel && !inLabel)
            continue;  // a marker that no longer starts its paragraph
        if (!isLabel)
            inLabel = false;
        if (isLabel) {
            // One \listtext for the whole marker: readers take only the first.
            if (!labelWritten)
                writeMarker(block);
            labelWritten = true;
            continue;
        }
        if (f.hasProperty(NoteProperty)) {
            writeNoteMark(frag, f);
            continue;
        }
        if (f.isImageFormat()) {
            for (qsizetype i = 0; i < frag.length(); ++i)
                writePicture(f.toImageFormat());
            continue;
        }
        const QString href = f.isAnchor() ? f.anchorHref() : QString();
        if (!href.isEmpty()) {
            out_ += "{\\field{\\*\\fldinst HYPERLINK \"";
            QString target = href;
            target.replace(QLatin1Char('"'), QLatin1String("%22"));
            writeText(target);
            out_ += "\"}{\\fldrslt ";
        }
        out_ += '{';
        writeRunProps(f);
        out_ += ' ';
        writeText(frag.text());
        out_ += '}';
        if (!href.isEmpty())
            out_ += "}}";
    }
    out_ += end;
}

const Writer::RunFormat& Writer::runFormat(const QTextFragment& frag)
{
    static const RunFormat none;
    const int index = frag.charFormatIndex();
    if (index < 0)
        return none;
    if (size_t(index) >= runFormats_.size())
        runFormats_.resize(size_t(index) + 1);
    RunFormat& rf = runFormats_[size_t(index)];
    if (rf.known)
        return rf;
    rf.known = true;
    const QTextCharFormat f = frag.charFormat();
    rf.plain = !f.boolProperty(ListLabelProperty) && !f.hasProperty(NoteProperty) && !f.isImageFormat()
        && !(f.isAnchor() && !f.anchorHref().isEmpty());
    if (!rf.plain)
        return rf;
    QByteArray text;
    text.swap(out_);
    out_ += '{';
    writeRunProps(f);
    out_ += ' ';
    rf.unicodeOnly = unicodeOnly_;
    rf.symbolOnly = symbolOnly_;
    rf.props.swap(out_);
    out_.swap(text);
    return rf;
}

// A note's mark with the note after it, once per note. Text typed after
// the mark takes its format but is plain text; a mark that was edited no
// longer stands for its note, which is left out.
void Writer::writeNoteMark(const QTextFragment& frag, const QTextCharFormat& f)
{
    const int id = f.intProperty(NoteIdProperty);
    const QString anchor = f.stringProperty(NoteAnchorProperty);
    QString rest = frag.text();
    if (id >= 0 && id < kept_.notes && !anchor.isEmpty() && rest.startsWith(anchor) && !notesWritten_.count(id)) {
        notesWritten_.insert(id);
        out_ += '{';
        writeRunProps(f);
        out_ += ' ';
        // A mark of the file's own goes in one group with its note, which
        // is how a note tells its mark.
        if (f.boolProperty(NoteAutoProperty)) {
            out_ += "\\chftn}";
            out_ += f.property(NoteProperty).toByteArray();
        } else {
            writeText(anchor);
            out_ += f.property(NoteProperty).toByteArray();
            out_ += '}';
        }
        rest.remove(0, anchor.size());
    }
    if (rest.isEmpty())
        return;
    out_ += '{';
    writeRunProps(f);
    out_ += ' ';
    writeText(rest);
    out_ += '}';
}

QStringList Writer::warnings() const
{
    QStringList out;
    const int notes = kept_.notes - kept_.unkeptNotes - int(notesWritten_.size());
    if (notes == 1)
        out << QStringLiteral("A footnote whose mark was deleted or changed was left out.");
    else if (notes > 1)
        out << QStringLiteral("%1 footnotes whose marks were deleted or changed were left out.").arg(notes);
    const int sections = kept_.sections - sectionsWritten_;
    if (sections == 1)
        out << QStringLiteral("A section break whose paragraphs were deleted was left out, with its headers and footers.");
    else if (sections > 1)
        out << QStringLiteral("%1 section breaks whose paragraphs were deleted were left out, with their headers and "
                              "footers.").arg(sections);
    return out;
}

ListLevel Writer::levelFor(const QString& label, int currentNfc)
{
    // "3.", "(b)" or "iv)" give numbering of that style starting there,
    // anything else a bullet showing the marker.
    static const QRegularExpression numbered(
        QStringLiteral("^(\\W{0,3})(\\d{1,5}|[ivxlcdm]{2,8}|[IVXLCDM]{2,8}|[a-z]{1,8}|[A-Z]{1,8})(\\W{0,3})$"));
    ListLevel def;
    def.defined = true;
    const QRegularExpressionMatch m = numbered.match(label);
    if (!m.hasMatch()) {
        def.text = label;
        return def;
    }
    def.before = m.captured(1);
    def.after = m.captured(3);
    const QString n = m.captured(2);
    const QChar c = n.at(0);
    if (c.isDigit() && c == QLatin1Char('0') && n.size() > 1) {
        def.nfc = 22;  // "07"
        def.start = n.toInt();
    } else if (c.isDigit()) {
        def.nfc = 0;
        def.start = n.toInt();
    } else if (const bool repeated = n.count(c) == n.size(); repeated
               && (n.size() == 1 ? !(QStringLiteral("ivxlcdm").contains(c.toLower()) && currentNfc == (c.isLower() ? 2 : 1))
                                       && !(c.toLower() == QLatin1Char('i') && currentNfc < 0)
                                 : currentNfc == (c.isLower() ? 4 : 3) || !QStringLiteral("ivxlcdm").contains(c.toLower()))) {
        // Letters past "z" repeat ("aa", "bb"); "ii" after "h" is a letter
        // too, and a single "v" after "iv" is a roman five.
        def.nfc = c.isLower() ? 4 : 3;
        def.start = int(n.size() - 1) * 26 + (c.toLower().unicode() - 'a' + 1);
    } else if (!std::all_of(n.begin(), n.end(), [](QChar d) { return QStringLiteral("ivxlcdm").contains(d.toLower()); })) {
        // Other letters ("ab") are no number: shown as text below.
        def.nfc = c.isLower() ? 4 : 3;
        def.start = 0;
    } else if (n.size() > 1
               || (QStringLiteral("ivxlcdm").contains(c.toLower()) && currentNfc == (c.isLower() ? 2 : 1))
               || (c.toLower() == QLatin1Char('i') && currentNfc < 0)) {
        // A list that starts at "i" counts in roman numerals.
        def.nfc = c.isLower() ? 2 : 1;
        static const QString digits = QStringLiteral("ivxlcdm");
        static const int values[] = {1, 5, 10, 50, 100, 500, 1000};
        int total = 0;
        for (qsizetype i = 0; i < n.size(); ++i) {
            const int v = values[digits.indexOf(n.at(i).toLower())];
            const int next = i + 1 < n.size() ? values[digits.indexOf(n.at(i + 1).toLower())] : 0;
            total += v < next ? -v : v;
        }
        def.start = std::max(total, 1);
    } else {
        def.nfc = c.isLower() ? 4 : 3;  // other letters: shown as text below
        def.start = c.toLower().unicode() - 'a' + 1;
    }
    // Only a number that a list shows the same way ("iiii" is no roman
    // numeral, 99999 is past what a level starts at) is written as one.
    if (def.start > 32767 || formatListNumber(def.start, def.nfc) != n) {
        ListLevel text;
        text.defined = true;
        text.text = label;
        return text;
    }
    return def;
}

// A marker such as "2.1." at level 1 whose leading numbers are those the
// list's higher levels show now becomes a multi-level number. Its numbers are
// written in plain decimal, so one written otherwise ("2.01") stays text.
void Writer::outlineNumber(const QString& label, int level, ListLevel& def) const
{
    auto plainDecimal = [](const QString& digits) { return QString::number(digits.toInt()) == digits; };
    static const QRegularExpression part(QStringLiteral("(\\d{1,5})(\\D{1,3})"));
    static const QRegularExpression whole(QStringLiteral("^(\\W{0,3})((?:\\d{1,5}\\D{1,3})+)(\\d{1,5})(\\W{0,3})$"));
    const QRegularExpressionMatch m = whole.match(label);
    if (!m.hasMatch())
        return;
    const ListRun& run = lists_.back();
    QStringList separators;
    int k = 0;
    for (auto it = part.globalMatch(m.captured(2)); it.hasNext(); ++k) {
        const QRegularExpressionMatch p = it.next();
        if (k >= level || run.last[size_t(k)] != p.captured(1).toInt() || !plainDecimal(p.captured(1)))
            return;
        separators << p.captured(2);
    }
    if (k != level || !plainDecimal(m.captured(3)))
        return;
    ListLevel numbered;
    numbered.defined = true;
    numbered.nfc = 0;
    numbered.before = m.captured(1);
    numbered.after = m.captured(4);
    numbered.start = m.captured(3).toInt();
    numbered.separators = separators;
    def = numbered;
}

// The page the document was read with, so that it prints the same.
void Writer::writePageSetup()
{
    const QTextFrameFormat page = doc_.rootFrame()->frameFormat();
    const std::pair<int, const char*> words[] = {
        {PaperWidthProperty, "\\paperw"}, {PaperHeightProperty, "\\paperh"},
        {PageMarginLeftProperty, "\\margl"}, {PageMarginRightProperty, "\\margr"},
        {PageMarginTopProperty, "\\margt"}, {PageMarginBottomProperty, "\\margb"},
    };
    bool any = false;
    for (const auto& [property, word] : words) {
        if (!page.hasProperty(property))
            continue;
        out_ += word + QByteArray::number(page.intProperty(property));
        any = true;
    }
    if (any)
        out_ += '\n';
}

void Writer::writeListTable()
{
    if (lists_.empty())
        return;
    static const char hex[] = "0123456789abcdef";
    auto lengthByte = [&](qsizetype n) {
        out_ += "\\'";
        out_ += hex[(n >> 4) & 15];
        out_ += hex[n & 15];
    };
    out_ += "{\\*\\listtable";
    for (size_t id = 1; id <= lists_.size(); ++id) {
        out_ += "\n{\\list\\listtemplateid" + QByteArray::number(qulonglong(id));
        const auto& levels = lists_[id - 1].levels;
        for (int k = 0; k < 9; ++k) {
            const ListLevel& def = levels[k];
            const bool bullet = !def.defined || def.nfc < 0;
            const bool none = def.defined && bullet && def.text.isEmpty();
            // A level without a number is followed by nothing, as LibreOffice
            // writes its heading outline.
            out_ += "{\\listlevel\\levelnfc" + QByteArray::number(none ? 255 : bullet ? 23 : def.nfc) + "\\leveljc0"
                + (none ? "\\levelfollow2" : "\\levelfollow0")
                + "\\levelstartat" + QByteArray::number(bullet ? 1 : def.start) + "{\\leveltext";
            if (bullet) {
                const QString text = def.defined ? def.text : QString(QChar(0x2022));
                lengthByte(text.size());
                writeText(text);
                out_ += ";}{\\levelnumbers;}";
            } else {
                // Placeholders for the levels above (legal numbering shows
                // them in decimal), then this level's.
                qsizetype length = def.before.size() + 1 + def.after.size();
                for (const QString& sep : def.separators)
                    length += 1 + sep.size();
                lengthByte(length);
                writeText(def.before);
                std::vector<qsizetype> offsets;
                qsizetype at = 1 + def.before.size();
                for (int up = 0; up < int(def.separators.size()); ++up) {
                    offsets.push_back(at);
                    lengthByte(up);
                    writeText(def.separators[up]);
                    at += 1 + def.separators[up].size();
                }
                offsets.push_back(at);
                lengthByte(k);
                writeText(def.after);
                out_ += ";}{\\levelnumbers";
                for (const qsizetype offset : offsets)
                    lengthByte(offset);
                out_ += ";}";
                if (!def.separators.isEmpty())
                    out_ += "\\levellegal1";
            }
            out_ += "\\fi-360\\li" + QByteArray::number(720 * (k + 1)) + "}";
        }
        out_ += "\\listid" + QByteArray::number(qulonglong(id)) + "}";
    }
    out_ += "}\n{\\*\\listoverridetable";
    for (size_t id = 1; id <= lists_.size(); ++id) {
        out_ += "{\\listoverride\\listid" + QByteArray::number(qulonglong(id)) + "\\listoverridecount0\\ls"
            + QByteArray::number(qulonglong(id)) + "}";
    }
    out_ += "}\n";
}

void Writer::writePicture(const QTextImageFormat& f)
{
    // Pictures the reader could not show go back as they came; others as
    // PNG, or JPEG when that is what the document holds.
    QByteArray header;
    QByteArray data;
    QSize pixels;
    if (f.hasProperty(PictureDataProperty)) {
        header = f.property(PictureHeaderProperty).toByteArray();
        data = f.property(PictureDataProperty).toByteArray();
        if (!header.startsWith('\\') || header.contains('{') || header.contains('}'))
            return;
    } else {
        const QVariant resource = doc_.resource(QTextDocument::ImageResource, QUrl(f.name()));
        QImage image;
        if (resource.typeId() == QMetaType::QByteArray) {
            data = resource.toByteArray();
            QBuffer buffer(&data);
            QImageReader reader(&buffer);
            pixels = reader.size();
            if (data.startsWith("\x89PNG"))
                header = "\\pngblip";
            else if (data.startsWith("\xFF\xD8"))
                header = "\\jpegblip";
            else
                image.loadFromData(data);
        } else if (resource.typeId() == QMetaType::QImage) {
            image = resource.value<QImage>();
        } else if (resource.typeId() == QMetaType::QPixmap) {
            image = resource.value<QPixmap>().toImage();
        }
        if (header.isEmpty()) {
            if (image.isNull())
                return;
            data.clear();
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            if (!image.save(&buffer, "PNG"))
                return;
            header = "\\pngblip";
            pixels = image.size();
        }
        if (pixels.isValid())
            header += "\\picw" + QByteArray::number(pixels.width()) + "\\pich" + QByteArray::number(pixels.height());
    }
    const qreal w = f.width() > 0 ? f.width() : pixels.width();
    const qreal h = f.height() > 0 ? f.height() : pixels.height();
    out_ += "{\\pict" + header;
    if (w > 0 && h > 0)
        out_ += "\\picwgoal" + QByteArray::number(twips(w)) + "\\pichgoal" + QByteArray::number(twips(h));
    out_ += '\n';
    static const char hex[] = "0123456789abcdef";
    const qsizetype start = out_.size();
    out_.resize(start + data.size() * 2 + data.size() / 64 + 1);
    char* o = out_.data() + start;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        *o++ = hex[b >> 4];
        *o++ = hex[b & 15];
        if (i % 64 == 63)
            *o++ = '\n';
    }
    out_.truncate(o - out_.data());
    out_ += "}";
}

int Writer::writeRunProps(const QTextCharFormat& f)
{
    const int font = fontIndex(familyOf(f, defaultFamily_));
    unicodeOnly_ = docNonAnsi_
        || std::find(kept_.nonAnsiFonts.begin(), kept_.nonAnsiFonts.end(), font) != kept_.nonAnsiFonts.end();
    symbolOnly_ = std::find(kept_.symbolFonts.begin(), kept_.symbolFonts.end(), font) != kept_.symbolFonts.end();
    out_ += "\\f" + QByteArray::number(font);
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
    return font;
}

// The marker's parts each in their own font, the first in the \listtext
// group itself: a marker in a symbol font reads another font's letters as
// that font's glyphs.
void Writer::writeMarker(const QTextBlock& block)
{
    out_ += "{\\listtext";
    bool first = true;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        const QTextCharFormat f = frag.charFormat();
        if (!f.boolProperty(ListLabelProperty))
            break;
        if (!first)
            out_ += '{';
        const int font = writeRunProps(f);
        out_ += ' ';
        writeMarkerText(frag.text(), font);
        if (!first)
            out_ += '}';
        first = false;
    }
    out_ += '}';
}

// A marker in a symbol font shows bytes as the font's glyphs, \u
// characters below 0x100 too. Each glyph goes as the font's byte: as \u of
// U+F0xx with the byte for readers without Unicode, or as itself where a
// digit or sign is its own glyph. Other characters below 0x100 go in a font
// that shows them as they are, the rest as \u.
void Writer::writeMarkerText(QStringView text, int font)
{
    const SymbolFont kind = markerSymbol(font);
    if (kind == SymbolFont::None) {
        writeText(text);
        return;
    }
    static const char hex[] = "0123456789abcdef";
    const bool wasUnicodeOnly = unicodeOnly_;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const int b = symbolByte(kind, c);
        if (b == c && c < 0x7F && c != '\\' && c != '{' && c != '}') {
            out_ += char(c);  // a digit or a sign, its own glyph
        } else if (b >= 0) {
            out_ += "\\u" + QByteArray::number(0xF000 + b - 65536) + "\\'" + hex[b >> 4] + hex[b & 15];
        } else if (c < 0x100 && c >= 0x20) {
            const int plain = plainFont();
            out_ += "{\\f" + QByteArray::number(plain) + ' ';
            unicodeOnly_ = docNonAnsi_
                || std::find(kept_.nonAnsiFonts.begin(), kept_.nonAnsiFonts.end(), plain) != kept_.nonAnsiFonts.end();
            symbolOnly_ = false;
            writeText(text.sliced(i, 1));
            out_ += '}';
        } else {
            unicodeOnly_ = true;  // a byte would be the font's glyph
            writeText(text.sliced(i, 1));
        }
    }
    unicodeOnly_ = wasUnicodeOnly;
}

SymbolFont Writer::markerSymbol(int font)
{
    auto it = markerSymbols_.find(font);
    if (it != markerSymbols_.end())
        return it->second;
    // A kept font is read back as it was read, a new one as \fcharset0.
    QString name;
    bool symbolCharset = false;
    const auto kept = std::find_if(kept_.fonts.begin(), kept_.fonts.end(), [&](const auto& f) { return f.first == font; });
    if (kept != kept_.fonts.end()) {
        name = kept->second;
        symbolCharset = std::find(kept_.symbolCharsetFonts.begin(), kept_.symbolCharsetFonts.end(), font)
            != kept_.symbolCharsetFonts.end();
    } else {
        for (const auto& [number, family] : fontOrder_) {
            if (number == font)
                name = family;
        }
    }
    return markerSymbols_[font] = symbolFontKind(name, symbolCharset);
}

int Writer::plainFont()
{
    if (plainFont_ >= 0)
        return plainFont_;
    const QString family = symbolFontKind(defaultFamily_, false) == SymbolFont::None ? defaultFamily_
                                                                                     : QStringLiteral("Times New Roman");
    auto it = fonts_.find(family);
    if (it != fonts_.end() && markerSymbol(it->second) == SymbolFont::None) {
        plainFont_ = it->second;
    } else {
        // The family's number is a symbol font of the file's: a new entry.
        plainFont_ = newFontNumber();
        fontOrder_.emplace_back(plainFont_, family);
    }
    return plainFont_;
}

void Writer::writeText(QStringView text)
{
    static const char hex[] = "0123456789abcdef";
    // Room for the longest escape of every character ("\\u-32768?"),
    // given back at the end.
    const qsizetype start = out_.size();
    out_.resize(start + text.size() * 9);
    char* o = out_.data() + start;
    auto put = [&o](const char* s, int n) {
        std::memcpy(o, s, size_t(n));
        o += n;
    };
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c >= 0x20 && c < 0x80 && !(symbolOnly_ && c != '\\' && c != '{' && c != '}')) {
            if (c == '\\' || c == '{' || c == '}')
                *o++ = '\\';
            *o++ = char(c);
            continue;
        }
        switch (c) {
        case '\t': put("\\tab ", 5); continue;
        case 0x2028: put("\\line ", 6); continue;
        case 0x00A0: put("\\~", 2); continue;
        case 0x00AD: put("\\-", 2); continue;
        case 0x2011: put("\\_", 2); continue;
        default: break;
        }
        if (c < 0x20)
            continue;
        const int b = unicodeOnly_ ? -1 : encodeWindows1252(c);
        if (b >= 0) {
            *o++ = '\\';
            *o++ = '\'';
            *o++ = hex[b >> 4];
            *o++ = hex[b & 15];
        } else {
            // Signed 16-bit, as RTF wants; '?' for readers without Unicode.
            put("\\u", 2);
            char digits[8];
            const int value = c > 32767 ? int(c) - 65536 : int(c);
            const int n = std::snprintf(digits, sizeof digits, "%d", value);
            put(digits, n);
            *o++ = '?';
        }
    }
    out_.truncate(o - out_.data());
}

} // namespace

QByteArray writeRtf(const QTextDocument& doc, QStringList* warnings)
{
    Writer writer(doc);
    QByteArray rtf = writer.run();
    if (warnings)
        *warnings = writer.warnings();
    return rtf;
}

} // namespace kvx::rtf
