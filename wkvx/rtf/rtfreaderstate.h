#pragma once

// The reader's shared state: the group stack of character and paragraph
// properties, the destination being read and the paragraph being gathered.
// Each concern (document tables, lists, tables, fields, notes and kept
// parts, pictures) interprets its own control words in a file of its own.
#include "rtfbuilder.h"
#include "rtfcodepage.h"
#include "rtfdocument.h"
#include "rtflists.h"
#include "rtfreader.h"
#include "rtftokenizer.h"

#include <QColor>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFormat>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QTextDocument;

namespace kvx::rtf::detail {


// Groups deeper than this share the state of the deepest real group, so a
// hostile file cannot make the state stack grow without bound.
constexpr int kMaxDepth = 4096;
// Word's own limit is 63 columns; wider rows spill into their last cell.
constexpr int kMaxColumns = 64;
// Bytes of input per table cell allowed, and the cells always allowed: beyond
// them the remaining tables are read as plain paragraphs. A real cell takes five bytes
// or more ("\\cell"), but padding the short rows of a table with one wide row
// could otherwise turn a small file into millions of cells.
constexpr long long kBytesPerTableCell = 4;
constexpr long long kMinTableCells = 100'000;
constexpr int kMaxFieldNesting = 64;
constexpr size_t kMaxCellParagraphs = 2048;
constexpr int kMaxFieldInstruction = 4096;
constexpr int kMaxFontName = 256;

enum class Dest : unsigned char {
    Body,
    Skip,
    FontTable,
    ColorTable,
    FieldInst,
    Generator,
    PnDef,     // Word 95 numbering of a paragraph
    PnBefore,  // its text before the number
    PnAfter,   // its text after the number
    ListTable,
    ListEntry,      // one \list
    ListLevel,
    LevelText,
    LevelNumbers,
    OverrideTable,
    Override,       // one \listoverride
    LfoLevel,       // a level of it
    Picture,
};

// Word 95 numbering (\pn): files without \listtext, AbiWord's for one,
// leave the numbers to the reader.
struct PnDef {
    enum Type : unsigned char { Bullet, Decimal, LowerLetter, UpperLetter, LowerRoman, UpperRoman };
    Type type = Bullet;
    int start = 1;
    QString before, after;
    int font = -1;  // \pnf: the font of the text before and after
};

// A \pict being read.
struct Picture {
    QByteArray kind;  // the blip keyword: "pngblip", "wmetafile", ...
    int kindParam = -1;
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
    QByteArray data;
    int nibble = -1;  // a first hex digit waiting for its second
    size_t depth = 0;  // stack size inside the \pict group
};

struct CharProps {
    int font = -1;
    int halfPoints = 24;
    int fg = 0;
    int bg = 0;
    int link = -1;
    int note = -1;  // the footnote or endnote whose mark this is
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool label = false;
    signed char vert = 0;  // 1 superscript, -1 subscript

    bool operator==(const CharProps&) const = default;
};

struct CharPropsHash {
    size_t operator()(const CharProps& p) const noexcept
    {
        size_t h = size_t(p.font) * 1000003u;
        h ^= size_t(p.halfPoints) * 10007u + size_t(p.fg) * 131u + size_t(p.bg) * 17u + size_t(p.link + 1) * 7919u + size_t(p.note + 1) * 104729u;
        h ^= (size_t(p.bold) | size_t(p.italic) << 1 | size_t(p.underline) << 2 | size_t(p.strike) << 3
              | size_t(p.label) << 4 | size_t(p.vert + 1) << 5) * 2654435761u;
        return h;
    }
};

struct ParaProps {
    int li = 0, ri = 0, fi = 0, sb = 0, sa = 0;
    int ls = 0;
    int ilvl = 0;
    int pn = -1;  // index of its \pn numbering
    Qt::Alignment align = Qt::AlignLeft;
    bool intbl = false;
    bool oldList = false;  // Word 95 numbering (\pn)
    bool pnContinued = false;  // \pnlvlcont: goes on from the item above, unnumbered
    int style = 0;     // \s
    int section = -1;  // the section break before it, -1 in the first section

    bool lsZero = false;  // \ls0 where the file defines a list \ls0
    bool inList() const { return ls > 0 || lsZero || oldList; }
    // Equal when they give the same QTextBlockFormat.
    bool sameLayout(const ParaProps& o) const
    {
        return li == o.li && ri == o.ri && fi == o.fi && sb == o.sb && sa == o.sa && align == o.align
            && inList() == o.inList() && ilvl == o.ilvl && style == o.style && section == o.section;
    }
};

struct State {
    Dest dest = Dest::Body;
    CharProps ch;
    ParaProps pa;
    int uc = 1;
    int codePage = 1252;  // of the font that decodes the next byte
    // Fonts of low-ANSI, high-ANSI and double-byte text (\loch, \hich,
    // \dbch with \af or \f); -1 for the run's own font.
    std::array<int, 3> runFonts{-1, -1, -1};
    unsigned char runType = 0;
    bool starred = false;
    int skipChars = 0;  // of a \u fallback, when the group was opened
    long long emittedAtOpen = 0;  // characters read before the group
    long long paragraphsAtOpen = 0;
};

struct FontEntry {
    QString name;
    int codePage = 0;  // 0: the document's
    bool symbolCharset = false;
    int table = 0;  // the font table that defined it, 1 for the first
};

// A run is a stretch of its paragraph's text: one buffer per paragraph
// rather than a string per run.
struct Run {
    qsizetype start = 0;
    qsizetype length = 0;
    CharProps props;
    int picture = -1;  // index of its image format: the run is one picture
};

struct Para {
    QString text;
    std::vector<Run> runs;
    ParaProps props;

    QStringView textOf(const Run& r) const { return QStringView(text).mid(r.start, r.length); }
};

using Cell = std::vector<Para>;
using Row = std::vector<Cell>;

struct Field {
    size_t depth = 0;       // stack size inside the \field group
    Dest outerDest = Dest::Body;
    QString instruction;
    qsizetype emittedAtStart = 0;
    bool resultSeen = false;
};

enum class Kw : unsigned char {
    Unknown,
    SkipDest,
    Rtf, FontTbl, ColorTbl, F, FCharset, Cpg, Deff, DocCharset, AnsiCpg,
    Red, Green, Blue, Uc, U, Bin,
    Par, Line, Tab, Sect, Page, Column, Cell, Row, Trowd, NestCell, NestRow, Intbl, Itap,
    Pard, Plain, B, I, Ul, UlNone, Strike, Fs, Cf, Cb, Highlight, Super, Sub, NoSuperSub,
    Ql, Qr, Qc, Qj, Li, Ri, Fi, Sb, Sa, Ls, Ilvl, Pn, PnLvl,
    ListText, Field, FldInst, FldRslt, Ud, Footnote, Generator, PnType, PnStart, PnFont, PnText,
    Loch, Hich, Dbch, Af,
    ListTable, List, ListLevel, LevelText, LevelNumbers, LevelNfc, LevelStartAt, LevelFollow, LevelLegal,
    LevelNoRestart, ListId, ListSimple, OverrideTable, ListOverride, LfoLevel,
    Pict, ShpPict, PictKind, PicW, PicH, PicWGoal, PicHGoal, PicScaleX, PicScaleY,
    // Parts the document does not show, kept for the writer.
    StyleSheet, Info, HeaderFooter, DocGroup, SectGroup, DocFormat, SectFormat, S, Chftn,
    Char,  // a control word that stands for one character
};


// Which part of the reader interprets a control word.
enum class Concern : unsigned char { Core, DocumentTables, Lists, Tables, Fields, Notes, Pictures };

struct KwInfo {
    Kw kw;
    char16_t value = 0;  // the character, or the code page of \ansi, \mac, ...
    Concern concern = Concern::Core;
};

const std::unordered_map<std::string_view, KwInfo>& keywordTable();

// A marker as text: no control characters but tabs, nothing QTextDocument
// reads as structure.
QString markerText(const QString& label);

class Reader {
public:
    Reader(QByteArrayView data, QTextDocument* doc, const RtfReadOptions& options)
        : options_(options),
          data_(data),
          lex_(data),
          inputSize_(data.size()),
          doc_(doc)
    {
    }

    RtfReadResult run();

private:
    // --- scanning ---
    void controlSequence();
    void controlWord(std::string_view name, bool hasParam, int param);
    void literalRun();
    bool skipGroupRest();
    void skipBinary(int length)
    {
        bool truncated = false;
        lex_.takeBinary(length, &truncated);
        if (truncated)
            warnBinary();
    }
    void openGroup();
    void closeGroup();

    // --- text ---
    void flushBytes();
    void addByte(unsigned char b);
    void emitChar(char16_t c);
    void emitText(QStringView text);
    void emitToDest(QStringView text);
    void commitFontName();
    void closeRun();
    bool fromMicrosoft() const
    {
        const QString g = generator_.trimmed();
        return g.isEmpty() || g.startsWith(QLatin1String("Microsoft"), Qt::CaseInsensitive);
    }
    void setFont(int index);
    void refreshCodePage();
    int fontCodePage(int font) const;
    SymbolFont symbolFont(int font) const;
    // A marker's character in the marker's font: a font named Symbol or
    // Wingdings shows its glyph even where the file gives it no symbol
    // character set.
    char16_t labelGlyph(char16_t c) const
    {
        const SymbolFont kind = symbolFont(st_.ch.font);
        return kind == SymbolFont::None ? c : symbolGlyph(kind, c);
    }
    void readPlainText();

    // --- interpretation by concern, each in its own file ---
    void documentTableKeyword(const KwInfo& info, int param);
    void colorTableText(QStringView text);
    void listKeyword(const KwInfo& info, bool hasParam, int param);
    void tableKeyword(Kw kw, int param);
    void fieldKeyword(Kw kw);
    void noteKeyword(const KwInfo& info, std::string_view name, bool hasParam, int param);
    void pictureStart(Kw kw);

    // --- lists and pictures ---
    void listTableKeyword(Kw kw, int param);
    void finishListLevel(Dest parent);
    bool listLabel(const ParaProps& props, QString& label);
    QString pnLabel(const PnDef& def, int counter) const;
    void pictureKeyword(Kw kw, std::string_view name, bool hasParam, int param);
    void pictureHex();
    void finishPicture();

    // --- structure ---
    void endParagraph();
    void endCell();
    void addToCell(Para&& para);
    void endRow();
    void keepOpenCellAndRow();
    void finishField();
    void finish();
    void emitPara(Para&& para);
    void prepareLabel(Para& para);
    void flushTable();
    const QTextCharFormat& charFormat(const CharProps& p);
    const QTextBlockFormat& blockFormat(const ParaProps& p);
    void insertRuns(const Para& para);
    void insertParagraph(const Para& para, bool newBlock);
    int charFormatIndex(const CharProps& p)
    {
        auto it = indexCache_.find(p);
        if (it != indexCache_.end())
            return it->second;
        const int index = builder_->charFormat(charFormat(p));
        indexCache_.emplace(p, index);
        return index;
    }
    int blockFormatIndex(const ParaProps& p)
    {
        if (lastBlockIndex_ < 0 || !lastBlockIndexProps_.sameLayout(p)) {
            lastBlockIndexProps_ = p;
            lastBlockIndex_ = builder_->blockFormat(blockFormat(p));
        }
        return lastBlockIndex_;
    }
    bool hasPending() const { return paraText_.size() > pendingStart_; }
    bool paraHasContent() const { return !para_.empty() || hasPending() || !bytes_.empty(); }
    Para takeParagraph();
    void warn(const QString& w)
    {
        if (!result_.warnings.contains(w))
            result_.warnings << w;
    }
    void warnBinary() { warn(QStringLiteral("Binary data runs past the end of the file.")); }

    RtfReadOptions options_;
    QString generator_;
    const unsigned char* lastLiteralEnd_ = nullptr;  // for runs of spaces, see RtfReadOptions
    QByteArrayView data_;
    RtfTokenizer lex_;
    long long inputSize_;
    QTextDocument* doc_;
    std::unique_ptr<DocumentBuilder> builder_;
    std::map<int, int> pageSetup_;  // page property, twips, as the file gives them
    RtfReadResult result_;

    std::vector<State> stack_;
    State st_;
    int overflowDepth_ = 0;
    bool rootClosed_ = false;
    int skipChars_ = 0;

    int docCodePage_ = 1252;
    int defaultFont_ = 0;
    CodePageDecoder decoder_;
    std::string bytes_;
    int bytesCodePage_ = 1252;

    std::unordered_map<int, FontEntry> fonts_;
    int fontTables_ = 0;  // read so far
    int fontEntry_ = -1;
    std::string fontNameBytes_;
    std::vector<QColor> colors_;
    size_t colorEntry_ = 0;    // of the table being read
    int colorTables_ = 0;      // read so far
    size_t firstTableColors_ = 0;
    int red_ = -1, green_ = -1, blue_ = -1;

    std::vector<ListDef> lists_;
    std::unordered_map<int, size_t> listIndex_;  // by \listid, the last one defined
    std::unordered_map<int, ListOverride> overrides_;  // by \ls
    ListOverride override_;
    int lfoIndex_ = -1;
    std::unordered_map<int, ListCounters> counters_;  // by \listid
    int overrideLs_ = 0, overrideList_ = 0;
    ListLevelDef level_;
    std::vector<uint32_t> levelText_;
    std::string levelNumbers_;
    Picture picture_;
    bool inPicture_ = false;
    bool placeholderAdded_ = false;
    std::vector<QTextImageFormat> pictures_;
    std::vector<Field> fields_;
    std::vector<PnDef> pnDefs_;
    int lastPn_ = -1;  // of the paragraph before, while it was numbered
    int pnCounter_ = 0;
    std::vector<QString> links_;
    int footnoteCount_ = 0;
    int endnoteCount_ = 0;

    // --- kept parts (rtfreadnotes.cpp) ---
    struct Note {
        QByteArray group;
        QString anchor;
        bool automatic = true;
    };
    // A \chftn mark in the text, waiting for its note.
    struct Anchor {
        int note = -1;
        qsizetype start = 0, length = 0;
        long long paragraph = 0;  // paragraphs_ when it was read
    };
    // A group being kept as it reads while the reader reads it too.
    struct Capture {
        QByteArray* into = nullptr;
        const unsigned char* start = nullptr;
        size_t depth = 0;
        long long emitted = 0;  // text and paragraphs read before it
        long long paragraphs = 0;
        bool spoiled = false;
    };
    bool keepGroup(QByteArray& into);
    bool groupIsOwn() const;
    void startCapture(QByteArray& into, std::string_view word);
    void endCapture();
    void sectionBreak();
    void footnote();
    void chftn();
    qsizetype ownMarkLength();
    QByteArray* sectionBytes();
    void notePageSetup(std::string_view name, bool hasParam, int param);
    void storeKeptParts();
    const unsigned char* groupOpen_ = nullptr;  // the last '{' read
    size_t groupOpenDepth_ = 0;
    std::optional<Capture> capture_;
    KeptParts kept_;
    std::vector<QByteArray> sections_;
    bool sectionFrozen_ = false;  // its first paragraph has its bytes
    long long paragraphs_ = 0;    // taken so far
    std::vector<Note> notes_;
    Anchor anchor_;

    // The paragraph being read: its text, its finished runs, and the current
    // run from pendingStart_ to the end of the text.
    QString paraText_;
    std::vector<Run> para_;
    qsizetype pendingStart_ = 0;
    CharProps pendingProps_;
    qsizetype emitted_ = 0;

    // Table rows are gathered and inserted whole: growing a QTextTable row by
    // row costs a rebuild of its cell grid per row.
    std::vector<Row> rows_;
    Row row_;
    Cell cell_;
    bool tableOpen_ = false;
    bool rowDefined_ = false;  // \trowd seen since the last table
    bool tableOverflow_ = false;  // a cell grew too long: table text is read as paragraphs
    long long tableCells_ = 0;

    bool blockUsed_ = false;
    std::unordered_map<CharProps, QTextCharFormat, CharPropsHash> formatCache_;
    std::unordered_map<CharProps, int, CharPropsHash> indexCache_;
    ParaProps lastBlockIndexProps_;
    int lastBlockIndex_ = -1;
    int defaultCharFormat_ = -1;
    ParaProps lastBlockProps_;
    QTextBlockFormat lastBlockFormat_;
    bool lastBlockValid_ = false;
};

} // namespace kvx::rtf::detail
