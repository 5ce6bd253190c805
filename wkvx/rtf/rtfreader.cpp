#include "rtfreader.h"

#include "rtfbuilder.h"
#include "rtftokenizer.h"
#include "rtfcodepage.h"
#include "rtfdocument.h"
#include "rtflists.h"

#include <QColor>
#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTableFormat>
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <string_view>
#include <optional>
#include <unordered_map>
#include <vector>

namespace kvx::rtf {

namespace {

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
        h ^= size_t(p.halfPoints) * 10007u + size_t(p.fg) * 131u + size_t(p.bg) * 17u + size_t(p.link + 1) * 7919u;
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

    bool inList() const { return ls > 0 || oldList; }
    // Equal when they give the same QTextBlockFormat.
    bool sameLayout(const ParaProps& o) const
    {
        return li == o.li && ri == o.ri && fi == o.fi && sb == o.sb && sa == o.sa && align == o.align
            && inList() == o.inList() && ilvl == o.ilvl;
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
};

struct FontEntry {
    QString name;
    int codePage = 0;  // 0: the document's
    bool symbolCharset = false;
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
    PageSetup,  // \margl and its kin; the value is the page property
    Char,  // a control word that stands for one character
};

struct KwInfo {
    Kw kw;
    char16_t value = 0;  // the character, or the code page of \ansi, \mac, ...
};

const std::unordered_map<std::string_view, KwInfo>& keywordTable()
{
    static const std::unordered_map<std::string_view, KwInfo> table = [] {
        std::unordered_map<std::string_view, KwInfo> t;
        const std::pair<const char*, Kw> words[] = {
            {"rtf", Kw::Rtf}, {"fonttbl", Kw::FontTbl}, {"colortbl", Kw::ColorTbl}, {"f", Kw::F},
            {"fcharset", Kw::FCharset}, {"cpg", Kw::Cpg}, {"deff", Kw::Deff}, {"ansicpg", Kw::AnsiCpg},
            {"red", Kw::Red}, {"green", Kw::Green}, {"blue", Kw::Blue}, {"uc", Kw::Uc}, {"u", Kw::U},
            {"bin", Kw::Bin}, {"par", Kw::Par}, {"line", Kw::Line}, {"tab", Kw::Tab}, {"sect", Kw::Sect}, {"column", Kw::Column},
            {"page", Kw::Page}, {"cell", Kw::Cell}, {"row", Kw::Row}, {"nestcell", Kw::NestCell},
            {"nestrow", Kw::NestRow}, {"trowd", Kw::Trowd}, {"intbl", Kw::Intbl}, {"itap", Kw::Itap}, {"pard", Kw::Pard},
            {"plain", Kw::Plain}, {"b", Kw::B}, {"i", Kw::I}, {"ul", Kw::Ul}, {"ulnone", Kw::UlNone},
            {"uld", Kw::Ul}, {"uldb", Kw::Ul}, {"ulw", Kw::Ul}, {"ulwave", Kw::Ul}, {"ulth", Kw::Ul},
            {"uldash", Kw::Ul}, {"uldashd", Kw::Ul}, {"uldashdd", Kw::Ul}, {"ulhair", Kw::Ul},
            {"ulthd", Kw::Ul}, {"ulthdash", Kw::Ul}, {"ulldash", Kw::Ul}, {"ulthldash", Kw::Ul},
            {"ulthdashd", Kw::Ul}, {"ulthdashdd", Kw::Ul}, {"ulhwave", Kw::Ul}, {"ululdbwave", Kw::Ul},
            {"strike", Kw::Strike}, {"striked", Kw::Strike}, {"fs", Kw::Fs}, {"cf", Kw::Cf},
            {"cb", Kw::Cb}, {"chcbpat", Kw::Cb}, {"highlight", Kw::Highlight}, {"super", Kw::Super},
            {"sub", Kw::Sub}, {"nosupersub", Kw::NoSuperSub}, {"ql", Kw::Ql}, {"qr", Kw::Qr},
            {"qc", Kw::Qc}, {"qj", Kw::Qj}, {"qd", Kw::Qj}, {"li", Kw::Li}, {"lin", Kw::Li},
            {"ri", Kw::Ri}, {"rin", Kw::Ri}, {"fi", Kw::Fi}, {"sb", Kw::Sb}, {"sa", Kw::Sa},
            {"ls", Kw::Ls}, {"ilvl", Kw::Ilvl}, {"pn", Kw::Pn}, {"pnlvl", Kw::PnLvl},
            {"pnf", Kw::PnFont}, {"pnstart", Kw::PnStart},
            {"listtext", Kw::ListText}, {"pntext", Kw::ListText}, {"field", Kw::Field},
            {"fldinst", Kw::FldInst}, {"fldrslt", Kw::FldRslt}, {"ud", Kw::Ud},
            {"footnote", Kw::Footnote}, {"generator", Kw::Generator},
            {"loch", Kw::Loch}, {"hich", Kw::Hich}, {"dbch", Kw::Dbch}, {"af", Kw::Af},
            {"listtable", Kw::ListTable}, {"list", Kw::List}, {"listlevel", Kw::ListLevel},
            {"leveltext", Kw::LevelText}, {"levelnumbers", Kw::LevelNumbers}, {"levelnfc", Kw::LevelNfc},
            {"levelnfcn", Kw::LevelNfc}, {"levelstartat", Kw::LevelStartAt}, {"levelfollow", Kw::LevelFollow},
            {"levellegal", Kw::LevelLegal}, {"levelnorestart", Kw::LevelNoRestart}, {"listid", Kw::ListId},
            {"listsimple", Kw::ListSimple}, {"listoverridetable", Kw::OverrideTable},
            {"listoverride", Kw::ListOverride}, {"lfolevel", Kw::LfoLevel}, {"pict", Kw::Pict}, {"shppict", Kw::ShpPict},
            {"picw", Kw::PicW}, {"pich", Kw::PicH}, {"picwgoal", Kw::PicWGoal}, {"pichgoal", Kw::PicHGoal},
            {"picscalex", Kw::PicScaleX}, {"picscaley", Kw::PicScaleY},
        };
        for (const auto& [name, kw] : words)
            t.emplace(name, KwInfo{kw});
        const std::pair<const char*, char16_t> charsets[] = {
            {"ansi", 1252}, {"mac", 10000}, {"pc", 437}, {"pca", 850},
        };
        for (const auto& [name, cp] : charsets)
            t.emplace(name, KwInfo{Kw::DocCharset, cp});
        const std::pair<const char*, char16_t> pnTypes[] = {
            {"pnlvlblt", PnDef::Bullet}, {"pndec", PnDef::Decimal}, {"pnlcltr", PnDef::LowerLetter},
            {"pnucltr", PnDef::UpperLetter}, {"pnlcrm", PnDef::LowerRoman}, {"pnucrm", PnDef::UpperRoman},
        };
        for (const auto& [name, type] : pnTypes)
            t.emplace(name, KwInfo{Kw::PnType, type});
        const std::pair<const char*, int> pageSetup[] = {
            {"margl", PageMarginLeftProperty}, {"margr", PageMarginRightProperty},
            {"margt", PageMarginTopProperty}, {"margb", PageMarginBottomProperty},
            {"paperw", PaperWidthProperty}, {"paperh", PaperHeightProperty},
        };
        for (const auto& [name, property] : pageSetup)
            t.emplace(name, KwInfo{Kw::PageSetup, char16_t(property - PageMarginLeftProperty)});
        t.emplace("pntxtb", KwInfo{Kw::PnText, 0});
        t.emplace("pntxta", KwInfo{Kw::PnText, 1});
        const std::pair<const char*, char16_t> chars[] = {
            {"emdash", 0x2014}, {"endash", 0x2013}, {"emspace", 0x2003}, {"enspace", 0x2002},
            {"qmspace", 0x2005}, {"bullet", 0x2022}, {"lquote", 0x2018}, {"rquote", 0x2019},
            {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"zwj", 0x200D}, {"zwnj", 0x200C},
            {"ltrmark", 0x200E}, {"rtlmark", 0x200F}, {"zwbo", 0x200B}, {"zwnbo", 0xFEFF},
        };
        for (const auto& [name, ch] : chars)
            t.emplace(name, KwInfo{Kw::Char, ch});
        const char* pictureKinds[] = {
            "pngblip", "jpegblip", "emfblip", "wmetafile", "macpict", "pmmetafile", "dibitmap", "wbitmap",
        };
        for (const char* name : pictureKinds)
            t.emplace(name, KwInfo{Kw::PictKind});
        // Destinations that hold no body text. Unknown destinations marked
        // with \* are skipped as well; unknown ones without it are read, as
        // RTF asks of readers.
        const char* skipped[] = {
            "stylesheet", "info", "header", "headerl", "headerr", "headerf", "footer", "footerl",
            "footerr", "footerf", "revtbl",
            "rsidtbl", "filetbl", "nonshppict", "shprslt", "shpinst", "shptxt", "themedata",
            "colorschememapping", "datastore", "latentstyles", "xmlnstbl", "mmathPr",
            "pnseclvl", "bkmkstart", "bkmkend", "atnid", "atnauthor",
            "annotation", "atrfstart", "atrfend", "atntime", "atnref", "atndate", "atnicn",
            "atnparent", "template", "docvar", "xe", "tc", "tcn", "txe", "ftnsep", "ftnsepc",
            "ftncn", "aftnsep", "aftnsepc", "aftncn", "background", "userprops", "fchars",
            "lchars", "pgdsctbl", "listpicture", "protusertbl", "objdata", "objclass", "objname",
            "objalias", "objsect", "objtime", "datafield", "do", "sp", "sn", "sv", "listname", "panose", "falt", "fname", "fontemb", "fontfile",
            "keycode", "author", "operator", "title", "subject", "company", "comment", "doccomm",
            "category", "keywords", "manager", "hlinkbase", "creatim", "revtim", "printim",
            "buptim", "passwordhash", "wgrffmtfilter", "mhtmltag", "dptxbxtext", "private",
            "xform", "pxe", "rxe", "bxe", "ebcstart", "ebcend", "blipuid", "picprop",
            "nesttableprops", "nonesttables", "formfield", "fldtype", "ffname", "ffdeftext",
            "ffformat", "ffhelptext", "ffstattext", "ffentrymcr", "ffexitmcr", "ffl",
            "oldcprops", "oldpprops", "oldtprops",
            "oldsprops", "mmath", "moMath", "moMathPara", "annotid", "shpgrp",
        };
        for (const char* name : skipped)
            t.emplace(name, KwInfo{Kw::SkipDest});
        return t;
    }();
    return table;
}

int hexValue(unsigned char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

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
    void skipGroupRest();
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
    void readPlainText();

    // --- lists and pictures ---
    void listKeyword(Kw kw, int param);
    void finishListLevel(Dest parent);
    bool listLabel(const ParaProps& props, QString& label);
    QString pnLabel(const PnDef& def, int counter) const;
    void pictureKeyword(Kw kw, std::string_view name, bool hasParam, int param);
    void pictureHex();
    void finishPicture();

    // --- structure ---
    void endParagraph();
    void endCell();
    void endRow();
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
    int fontEntry_ = -1;
    std::string fontNameBytes_;
    std::vector<QColor> colors_;
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
    std::map<int, int> pageSetup_;  // page property, twips
    int endnoteCount_ = 0;

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

RtfReadResult Reader::run()
{
    builder_ = makeDocumentBuilder(doc_, options_.builder);
    defaultCharFormat_ = builder_->charFormat(QTextCharFormat());
    // Leading white space and a UTF-8 byte order mark are tolerated.
    if (!lex_.skipLeadingSpace()) {
        result_.error = QStringLiteral("The file is empty.");
        return result_;
    }
    result_.ok = true;
    if (!lex_.lookingAt("{\\rtf")) {
        warn(QStringLiteral("The file is not in Rich Text Format; it was read as plain text."));
        readPlainText();
        finish();
        return result_;
    }

    while (!lex_.atEnd() && !rootClosed_) {
        const unsigned char c = lex_.peek();
        if (skipChars_ > 0 && c != '{' && c != '}') {
            // Each literal byte, \'hh or control word of a \u character's
            // fallback counts as one character.
            bool truncated = false;
            if (lex_.skipFallbackCharacter(&truncated))
                --skipChars_;
            if (truncated)
                warnBinary();
            continue;
        }
        switch (c) {
        case '{':
            lex_.advance();
            openGroup();
            break;
        case '}':
            lex_.advance();
            closeGroup();
            break;
        case '\\':
            controlSequence();
            break;
        case '\r':
        case '\n':
            lex_.advance();
            break;
        default:
            literalRun();
            break;
        }
    }
    if (!rootClosed_)
        warn(QStringLiteral("The file ends before its last group is closed; it may be truncated."));
    else if (!lex_.onlySpaceLeft())
        warn(QStringLiteral("Data after the end of the document was ignored."));
    finish();
    return result_;
}

void Reader::controlSequence()
{
    const RtfTokenizer::Control c = lex_.readControl();
    switch (c.kind) {
    case RtfTokenizer::Control::End:
        return;
    case RtfTokenizer::Control::Word:
        controlWord(c.word, c.hasParam, c.param);
        return;
    case RtfTokenizer::Control::Hex:
        addByte(c.ch);
        return;
    case RtfTokenizer::Control::BadHex:
        // The two characters of a broken escape go with it, as word
        // processors read them.
        warn(QStringLiteral("Invalid hexadecimal character escapes were ignored."));
        return;
    case RtfTokenizer::Control::Symbol:
        break;
    }
    switch (c.ch) {
    case '\\':
    case '{':
    case '}':
        // Escaped, it may still be the trail byte of a double-byte character
        // (Big5 writes \'a5\\ for one).
        if (isDoubleByteCodePage(st_.codePage) && !bytes_.empty())
            addByte(c.ch);
        else
            emitChar(c.ch);
        break;
    case '*':
        st_.starred = true;
        break;
    case '~': emitChar(0x00A0); break;
    case '-': emitChar(0x00AD); break;
    case '_': emitChar(0x2011); break;
    case '\t': emitChar('\t'); break;
    case '\r':
    case '\n':
        controlWord("par", false, 0);
        break;
    default:
        // \: \| and unknown symbols carry no text.
        break;
    }
}

void Reader::openGroup()
{
    flushBytes();
    skipChars_ = 0;
    if (int(stack_.size()) >= kMaxDepth) {
        if (overflowDepth_ == 0)
            warn(QStringLiteral("Groups nested deeper than %1 levels were flattened.").arg(kMaxDepth));
        ++overflowDepth_;
        return;
    }
    stack_.push_back(st_);
    st_.starred = false;
}

void Reader::closeGroup()
{
    flushBytes();
    skipChars_ = 0;
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        return;
    }
    if (stack_.empty()) {
        rootClosed_ = true;
        return;
    }
    if (st_.dest == Dest::FontTable && !fontNameBytes_.empty())
        commitFontName();
    const Dest closing = st_.dest;
    st_ = stack_.back();
    stack_.pop_back();
    refreshCodePage();
    if (closing == Dest::ListLevel && st_.dest != Dest::ListLevel)
        finishListLevel(st_.dest);
    else if (closing == Dest::ListEntry && st_.dest != Dest::ListEntry && !lists_.empty())
        listIndex_[lists_.back().id] = lists_.size() - 1;  // \listid ends the entry
    else if (closing == Dest::Override && st_.dest != Dest::Override) {
        if (overrideLs_ > 0) {
            override_.list = overrideList_;
            overrides_[overrideLs_] = std::move(override_);
        }
        override_ = ListOverride{};
    } else if (inPicture_ && stack_.size() < picture_.depth)
        finishPicture();
    if (!fields_.empty() && stack_.size() < fields_.back().depth)
        finishField();
    if (stack_.empty())
        rootClosed_ = true;
}

void Reader::skipGroupRest()
{
    bool truncated = false;
    const bool closed = lex_.skipGroup(&truncated);
    if (truncated)
        warnBinary();
    if (closed)
        closeGroup();
}

void Reader::literalRun()
{
    if (st_.dest == Dest::Skip) {
        skipGroupRest();
        return;
    }
    if (st_.dest == Dest::FontTable && lex_.peek() == ';') {
        lex_.advance();
        commitFontName();
        return;
    }
    if (st_.dest == Dest::Picture) {
        pictureHex();
        return;
    }
    if (st_.dest == Dest::LevelText || st_.dest == Dest::LevelNumbers) {
        // A literal ';' ends \levelnumbers; offsets come as \'hh.
        if (st_.dest == Dest::LevelText || lex_.peek() != ';')
            addByte(lex_.peek());
        lex_.advance();
        return;
    }
    // Plain ASCII text goes straight to the paragraph; everything else is a
    // byte of the current code page.
    const bool direct = st_.codePage != CodePageDecoder::kSymbol
        && !(isDoubleByteCodePage(st_.codePage) && !bytes_.empty());
    if (st_.dest == Dest::Body && direct && skipChars_ == 0) {
        const unsigned char* start = lex_.position();
        const QLatin1StringView ascii = lex_.takePlainText();
        if (!ascii.isEmpty()) {
            flushBytes();
            const unsigned char* before = lastLiteralEnd_;
            lastLiteralEnd_ = lex_.position();
            if (options_.libreOfficeSpaces && fromMicrosoft()) {
                // A space joins a run with the literal text right before it.
                const bool joined = before == start && start[-1] == ' ';
                if (ascii.contains(QLatin1String("  ")) || (joined && *start == ' ')) {
                    QString out;
                    out.reserve(ascii.size() * 2);
                    const unsigned char* stop = lex_.position();
                    for (const unsigned char* q = start; q < stop; ++q) {
                        const bool prev = q > start ? q[-1] == ' ' : joined;
                        if (*q == ' ' && (prev || (q + 1 < stop && q[1] == ' ')))
                            out += QChar(0x2006);
                        out += QLatin1Char(char(*q));
                    }
                    emitText(out);
                    return;
                }
            }
            if (st_.ch.label) {
                emitText(QString(ascii));
                return;
            }
            // Printable ASCII needs none of emitText's checks.
            if (hasPending() && !(pendingProps_ == st_.ch))
                closeRun();
            if (!hasPending())
                pendingProps_ = st_.ch;
            paraText_.append(ascii);
            emitted_ += ascii.size();
            return;
        }
    }
    const unsigned char* at = lex_.position();
    const unsigned char c = *at;
    lex_.advance();
    if (c == ' ' && options_.libreOfficeSpaces && st_.dest == Dest::Body && fromMicrosoft()
        && ((!lex_.atEnd() && lex_.peek() == ' ') || (lastLiteralEnd_ == at && at[-1] == ' '))) {
        emitChar(0x2006);  // see RtfReadOptions
        emitChar(' ');
        lastLiteralEnd_ = lex_.position();
        return;
    }
    lastLiteralEnd_ = lex_.position();
    if (c == '\t') {
        emitChar('\t');
    } else if (c < 0x20) {
        // Other control characters are not text.
    } else if (c >= 0x80 || !direct || st_.dest == Dest::FontTable) {
        addByte(c);
    } else {
        emitChar(c);
    }
}

void Reader::addByte(unsigned char b)
{
    if (st_.dest == Dest::FontTable) {
        if (fontNameBytes_.size() < kMaxFontName)
            fontNameBytes_.push_back(char(b));
        return;
    }
    // A level's text is decoded once the level's font is known, and its
    // placeholders are bytes that no code page may touch.
    if (st_.dest == Dest::LevelText) {
        if (levelText_.size() < 256)
            levelText_.push_back(ListLevelDef::kByteTag | b);
        return;
    }
    if (st_.dest == Dest::LevelNumbers) {
        if (levelNumbers_.size() < 16)
            levelNumbers_.push_back(char(b));
        return;
    }
    if (!bytes_.empty() && bytesCodePage_ != st_.codePage)
        flushBytes();
    bytesCodePage_ = st_.codePage;
    bytes_.push_back(char(b));
}

void Reader::flushBytes()
{
    if (bytes_.empty())
        return;
    QString text;
    decoder_.decode(bytesCodePage_, QByteArrayView(bytes_.data(), qsizetype(bytes_.size())), text);
    bytes_.clear();
    emitToDest(text);
}

void Reader::emitChar(char16_t c)
{
    flushBytes();
    const QChar ch(c);
    emitToDest(QStringView(&ch, 1));
}

void Reader::emitToDest(QStringView text)
{
    switch (st_.dest) {
    case Dest::Body:
        emitText(text);
        break;
    case Dest::FontTable:
        for (QChar c : text) {
            if (c.unicode() < 0x80 && fontNameBytes_.size() < kMaxFontName)
                fontNameBytes_.push_back(char(c.unicode()));
        }
        break;
    case Dest::ColorTable:
        for (QChar c : text) {
            if (c != QLatin1Char(';'))
                continue;
            if (red_ < 0 && green_ < 0 && blue_ < 0)
                colors_.emplace_back();  // "auto"
            else
                colors_.emplace_back(std::clamp(red_, 0, 255), std::clamp(green_, 0, 255), std::clamp(blue_, 0, 255));
            red_ = green_ = blue_ = -1;
            formatCache_.clear();
            indexCache_.clear();
        }
        break;
    case Dest::FieldInst:
        if (!fields_.empty() && fields_.back().instruction.size() < kMaxFieldInstruction)
            fields_.back().instruction += text;
        break;
    case Dest::PnBefore:
    case Dest::PnAfter:
        if (!pnDefs_.empty()) {
            QString& t = st_.dest == Dest::PnBefore ? pnDefs_.back().before : pnDefs_.back().after;
            for (QChar c : text) {
                if (t.size() < 16)
                    t += c;
            }
        }
        break;
    case Dest::Generator:
        if (generator_.size() < 256)
            generator_ += text;
        break;
    case Dest::LevelText:
        for (QChar c : text) {
            if (levelText_.size() < 256)
                levelText_.push_back(c.unicode());
        }
        break;
    case Dest::LevelNumbers:
        for (QChar c : text) {
            if (c.unicode() < 0x100 && levelNumbers_.size() < 16)
                levelNumbers_.push_back(char(c.unicode()));
        }
        break;
    case Dest::PnDef:
    case Dest::Skip:
    case Dest::ListTable:
    case Dest::ListEntry:
    case Dest::ListLevel:
    case Dest::OverrideTable:
    case Dest::Override:
    case Dest::LfoLevel:
    case Dest::Picture:
        break;
    }
}

void Reader::commitFontName()
{
    if (fontEntry_ >= 0) {
        FontEntry& f = fonts_[fontEntry_];
        QString name;
        decoder_.decode(f.codePage > 0 ? f.codePage : docCodePage_,
                        QByteArrayView(fontNameBytes_.data(), qsizetype(fontNameBytes_.size())), name);
        f.name = name.trimmed();
        formatCache_.clear();
        indexCache_.clear();
    }
    fontNameBytes_.clear();
}

void Reader::emitText(QStringView text)
{
    if (text.isEmpty())
        return;
    if (hasPending() && !(pendingProps_ == st_.ch))
        closeRun();
    if (!hasPending())
        pendingProps_ = st_.ch;
    const qsizetype before = paraText_.size();
    for (QChar c : text) {
        char16_t u = c.unicode();
        // Characters that QTextDocument reads as structure are not text.
        if (u == QChar::ParagraphSeparator || u == 0xFDD0 || u == 0xFDD1 || u == 0xFDEF || u == 0xFFFC)
            u = 0xFFFD;
        else if (u < 0x20 && u != '\t')
            continue;
        // Symbol-font bytes in a marker are the glyphs they show; letters
        // given as Unicode are letters.
        if (st_.ch.label && u >= 0xF020 && u <= 0xF0FF)
            u = symbolGlyph(symbolFont(st_.ch.font), u);
        paraText_.append(QChar(u));
    }
    emitted_ += paraText_.size() - before;
}

void Reader::closeRun()
{
    para_.push_back(Run{pendingStart_, paraText_.size() - pendingStart_, pendingProps_});
    pendingStart_ = paraText_.size();
}

void Reader::setFont(int index)
{
    st_.ch.font = index;
    refreshCodePage();
}

int Reader::fontCodePage(int font) const
{
    auto it = fonts_.find(font);
    const int cp = it != fonts_.end() ? it->second.codePage : 0;
    return cp != 0 ? cp : docCodePage_;
}

SymbolFont Reader::symbolFont(int font) const
{
    auto it = fonts_.find(font);
    if (it == fonts_.end())
        return SymbolFont::None;
    return symbolFontKind(it->second.name, it->second.symbolCharset);
}

void Reader::refreshCodePage()
{
    // A byte is decoded in the font of its kind of text where the file
    // names one (\loch, \hich, \dbch), else in the run's font.
    const int font = st_.runFonts[st_.runType];
    st_.codePage = fontCodePage(font >= 0 ? font : st_.ch.font);
}

void Reader::controlWord(std::string_view name, bool hasParam, int param)
{
    const auto& table = keywordTable();
    const auto it = table.find(name);
    const KwInfo info = it == table.end() ? KwInfo{Kw::Unknown} : it->second;
    const bool on = !hasParam || param != 0;

    if (st_.starred) {
        st_.starred = false;
        // Only the destinations below are read when marked ignorable. The
        // Unicode half of \upr (\ud) is read after its ANSI half, as
        // LibreOffice does.
        if (info.kw != Kw::FldInst && info.kw != Kw::Ud && info.kw != Kw::ListText && info.kw != Kw::FldRslt
            && info.kw != Kw::Pn && info.kw != Kw::PnText && info.kw != Kw::Generator
            && info.kw != Kw::Footnote && info.kw != Kw::ListTable && info.kw != Kw::OverrideTable
            && info.kw != Kw::ShpPict) {
            st_.dest = Dest::Skip;
            skipGroupRest();
            return;
        }
    }
    if (st_.dest == Dest::Skip) {
        if (info.kw == Kw::Bin && hasParam && param > 0)
            skipBinary(param);
        skipGroupRest();
        return;
    }
    if (st_.dest == Dest::Picture) {
        pictureKeyword(info.kw, name, hasParam, param);
        return;
    }

    // Keywords that end the current byte run before they change state.
    flushBytes();
    switch (info.kw) {
    case Kw::Unknown:
    case Kw::Rtf:
        break;
    case Kw::SkipDest:
        st_.dest = Dest::Skip;
        skipGroupRest();
        break;
    case Kw::FontTbl:
        st_.dest = Dest::FontTable;
        break;
    case Kw::ColorTbl:
        st_.dest = Dest::ColorTable;
        colors_.clear();
        red_ = green_ = blue_ = -1;
        break;
    case Kw::F:
        if (st_.dest == Dest::FontTable) {
            fontEntry_ = param;
            fonts_[param];
            fontNameBytes_.clear();
        } else if (st_.dest == Dest::ListLevel) {
            level_.font = param;
        } else {
            st_.runFonts[st_.runType] = param;
            setFont(param);
        }
        break;
    case Kw::Af:
        if (st_.dest != Dest::FontTable && st_.dest != Dest::ListLevel) {
            st_.runFonts[st_.runType] = param;
            refreshCodePage();
        }
        break;
    case Kw::Loch:
    case Kw::Hich:
    case Kw::Dbch:
        st_.runType = info.kw == Kw::Loch ? 0 : info.kw == Kw::Hich ? 1 : 2;
        refreshCodePage();
        break;
    case Kw::FCharset:
        if (st_.dest == Dest::FontTable && fontEntry_ >= 0) {
            // ANSI means Windows-1252 whatever the document's code page;
            // only a font without a character set follows the document.
            const int cp = param == 0 ? 1252 : codePageForCharset(param);
            FontEntry& f = fonts_[fontEntry_];
            if (param == 2)
                f.symbolCharset = true;
            if (f.codePage == 0 && (cp == CodePageDecoder::kSymbol || decoder_.isSupported(cp)))
                f.codePage = cp;
        }
        break;
    case Kw::Cpg:
        if (st_.dest == Dest::FontTable && fontEntry_ >= 0 && param > 0 && decoder_.isSupported(param))
            fonts_[fontEntry_].codePage = param;
        break;
    case Kw::PageSetup:
        // Sizes beyond a few metres are damage.
        if (hasParam && param >= 0 && param <= 31680 * 4)
            pageSetup_[PageMarginLeftProperty + info.value] = param;
        break;
    case Kw::Deff:
        defaultFont_ = param;
        if (st_.ch.font < 0)
            setFont(param);
        break;
    case Kw::DocCharset:
        docCodePage_ = info.value;
        refreshCodePage();
        break;
    case Kw::AnsiCpg:
        if (param > 0 && decoder_.isSupported(param))
            docCodePage_ = param;
        else
            warn(QStringLiteral("Code page %1 is not supported; Windows-1252 was used.").arg(param));
        refreshCodePage();
        break;
    case Kw::Red: red_ = param; break;
    case Kw::Green: green_ = param; break;
    case Kw::Blue: blue_ = param; break;
    case Kw::Uc:
        st_.uc = std::clamp(param, 0, 16);
        break;
    case Kw::U: {
        const char16_t c = char16_t(param < 0 ? param + 65536 : param);
        if (c == '\t' || c >= 0x20)
            emitChar(c);
        skipChars_ = st_.uc;
        break;
    }
    case Kw::Bin:
        if (hasParam && param > 0)
            skipBinary(param);
        break;
    case Kw::Par:
        endParagraph();
        break;
    case Kw::Sect:
    case Kw::Page:
    case Kw::Column:
        // Breaks end a paragraph that has text, as word processors do.
        if (paraHasContent())
            endParagraph();
        break;
    case Kw::Line: emitChar(QChar::LineSeparator); break;
    case Kw::Tab: emitChar('\t'); break;
    case Kw::Cell:
        // A cell mark with no table around it at all is ignored, as
        // LibreOffice does; a row definition or \intbl is enough of a table.
        if (tableOpen_ || rowDefined_ || st_.pa.intbl)
            endCell();
        break;
    case Kw::Trowd:
        rowDefined_ = true;
        break;
    case Kw::NestCell:
        st_.pa.intbl = true;
        endParagraph();
        break;
    case Kw::Row: endRow(); break;
    case Kw::NestRow: break;
    case Kw::Intbl: st_.pa.intbl = true; break;
    case Kw::Itap: st_.pa.intbl = param > 0; break;
    case Kw::Pard:
        st_.pa = ParaProps{};
        break;
    case Kw::Plain: {
        const CharProps keep = st_.ch;
        st_.ch = CharProps{};
        st_.ch.label = keep.label;
        st_.ch.link = keep.link;
        st_.runFonts = {-1, -1, -1};
        st_.runType = 0;
        setFont(defaultFont_);
        break;
    }
    case Kw::B: st_.ch.bold = on; break;
    case Kw::I: st_.ch.italic = on; break;
    case Kw::Ul: st_.ch.underline = on; break;
    case Kw::UlNone: st_.ch.underline = false; break;
    case Kw::Strike: st_.ch.strike = on; break;
    case Kw::Fs: st_.ch.halfPoints = hasParam && param > 0 ? std::min(param, 3276) : 24; break;
    case Kw::Cf: st_.ch.fg = std::max(param, 0); break;
    case Kw::Cb:
    case Kw::Highlight: st_.ch.bg = std::max(param, 0); break;
    case Kw::Super: st_.ch.vert = on ? 1 : 0; break;
    case Kw::Sub: st_.ch.vert = on ? -1 : 0; break;
    case Kw::NoSuperSub: st_.ch.vert = 0; break;
    case Kw::Ql: st_.pa.align = Qt::AlignLeft; break;
    case Kw::Qr: st_.pa.align = Qt::AlignRight; break;
    case Kw::Qc: st_.pa.align = Qt::AlignHCenter; break;
    case Kw::Qj: st_.pa.align = Qt::AlignJustify; break;
    case Kw::Li: st_.pa.li = std::clamp(param, -31680, 31680); break;
    case Kw::Ri: st_.pa.ri = std::clamp(param, -31680, 31680); break;
    case Kw::Fi: st_.pa.fi = std::clamp(param, -31680, 31680); break;
    case Kw::Sb: st_.pa.sb = std::clamp(param, 0, 31680); break;
    case Kw::Sa: st_.pa.sa = std::clamp(param, 0, 31680); break;
    case Kw::Ls:
        if (st_.dest == Dest::Override)
            overrideLs_ = std::max(param, 0);
        else
            st_.pa.ls = std::max(param, 0);
        break;
    case Kw::ListTable:
    case Kw::List:
    case Kw::ListLevel:
    case Kw::LevelText:
    case Kw::LevelNumbers:
    case Kw::LevelNfc:
    case Kw::LevelStartAt:
    case Kw::LevelFollow:
    case Kw::LevelLegal:
    case Kw::LevelNoRestart:
    case Kw::ListId:
    case Kw::ListSimple:
    case Kw::OverrideTable:
    case Kw::ListOverride:
    case Kw::LfoLevel:
        listKeyword(info.kw, hasParam ? param : 1);
        break;
    case Kw::Pict:
        if (st_.dest == Dest::Body && !inPicture_) {
            picture_ = Picture{};
            picture_.depth = stack_.size();
            inPicture_ = true;
            st_.dest = Dest::Picture;
        } else {
            st_.dest = Dest::Skip;
            skipGroupRest();
        }
        break;
    case Kw::ShpPict:
        // Word's picture with a plain one in \nonshppict for older readers;
        // this one is read, that one skipped.
        break;
    case Kw::PictKind:
    case Kw::PicW:
    case Kw::PicH:
    case Kw::PicWGoal:
    case Kw::PicHGoal:
    case Kw::PicScaleX:
    case Kw::PicScaleY:
        break;
    case Kw::Ilvl: st_.pa.ilvl = std::clamp(param, 0, 8); break;
    case Kw::Pn:
        // The \pn group describes Word 95 numbering of the paragraph around it.
        if (!stack_.empty() && st_.dest == Dest::Body) {
            stack_.back().pa.oldList = true;
            stack_.back().pa.pn = int(pnDefs_.size());
            pnDefs_.emplace_back();
            st_.dest = Dest::PnDef;
        } else {
            st_.dest = Dest::Skip;
            skipGroupRest();
        }
        break;
    case Kw::PnLvl: break;
    case Kw::PnType:
        if (st_.dest == Dest::PnDef && !pnDefs_.empty())
            pnDefs_.back().type = PnDef::Type(info.value);
        break;
    case Kw::PnStart:
        if (st_.dest == Dest::PnDef && !pnDefs_.empty())
            pnDefs_.back().start = std::clamp(param, 0, 32767);
        break;
    case Kw::PnFont:
        if (st_.dest == Dest::PnDef) {
            setFont(param);
            if (!pnDefs_.empty())
                pnDefs_.back().font = param;
        }
        break;
    case Kw::PnText:
        if (st_.dest == Dest::PnDef)
            st_.dest = info.value ? Dest::PnAfter : Dest::PnBefore;
        break;
    case Kw::ListText: {
        // Writers that give both \listtext and the older \pntext mean one
        // marker: the second is dropped.
        const bool haveLabel = (hasPending() && pendingProps_.label)
            || std::any_of(para_.begin(), para_.end(), [](const Run& r) { return r.props.label; });
        if (haveLabel && !st_.ch.label) {
            st_.dest = Dest::Skip;
            skipGroupRest();
            break;
        }
        st_.ch.label = true;
        break;
    }
    case Kw::Field:
        if (int(fields_.size()) < kMaxFieldNesting) {
            Field f;
            f.depth = stack_.size();
            f.outerDest = st_.dest;
            f.emittedAtStart = emitted_;
            fields_.push_back(f);
        }
        break;
    case Kw::FldInst:
        if (!fields_.empty() && fields_.back().depth + 1 == stack_.size()) {
            st_.dest = Dest::FieldInst;
        } else {
            st_.dest = Dest::Skip;
            skipGroupRest();
        }
        break;
    case Kw::FldRslt:
        if (!fields_.empty() && fields_.back().depth + 1 == stack_.size()) {
            Field& f = fields_.back();
            f.resultSeen = true;
            st_.dest = f.outerDest;
            const QString inst = f.instruction.trimmed();
            if (inst.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive)) {
                QString target;
                const qsizetype q1 = inst.indexOf(QLatin1Char('"'));
                const qsizetype q2 = q1 >= 0 ? inst.indexOf(QLatin1Char('"'), q1 + 1) : -1;
                if (q2 > q1)
                    target = inst.mid(q1 + 1, q2 - q1 - 1);
                else
                    target = inst.mid(9).trimmed().section(QLatin1Char(' '), 0, 0);
                if (!target.isEmpty()) {
                    links_.push_back(target);
                    st_.ch.link = int(links_.size()) - 1;
                }
            }
        }
        break;
    case Kw::Ud:
        break;
    case Kw::Generator:
        // Only the producer named before the text counts, as in LibreOffice.
        if (emitted_ == 0 && generator_.isEmpty()) {
            st_.dest = Dest::Generator;
        } else {
            st_.dest = Dest::Skip;
            skipGroupRest();
        }
        break;
    case Kw::Footnote:
        // The note's number stands where the note is; \chftn in the text
        // before it is the same number and not shown twice (LibreOffice
        // reads notes so). Endnotes (\ftnalt) count in roman numerals.
        if (st_.dest == Dest::Body) {
            if (lex_.nextIs("\\ftnalt"))
                emitText(formatListNumber(++endnoteCount_, 2));
            else
                emitText(QString::number(++footnoteCount_));
        }
        st_.dest = Dest::Skip;
        skipGroupRest();
        break;
    case Kw::Char:
        emitChar(info.value);
        break;
    }
}

void Reader::finishField()
{
    Field f = std::move(fields_.back());
    fields_.pop_back();
    // A symbol field whose result is empty shows its character.
    if (emitted_ == f.emittedAtStart && st_.dest == Dest::Body) {
        const QString inst = f.instruction.trimmed();
        if (inst.startsWith(QLatin1String("SYMBOL"), Qt::CaseInsensitive)) {
            const QString num = inst.mid(6).trimmed().section(QLatin1Char(' '), 0, 0);
            bool ok = false;
            const uint code = num.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? num.mid(2).toUInt(&ok, 16)
                                                                                     : num.toUInt(&ok);
            if (ok && code >= 0x20 && code < 0xFFFE)
                emitChar(char16_t(code));
        }
    }
}

Para Reader::takeParagraph()
{
    if (hasPending())
        closeRun();
    Para para{std::move(paraText_), std::move(para_), st_.pa};
    paraText_ = QString();
    para_.clear();
    pendingStart_ = 0;
    return para;
}

void Reader::endParagraph()
{
    flushBytes();
    Para para = takeParagraph();
    // Text in a row that has not ended yet belongs to the table even where
    // the writer forgot \intbl.
    if (para.props.intbl || (tableOpen_ && (!cell_.empty() || !row_.empty()))) {
        tableOpen_ = true;
        cell_.push_back(std::move(para));
        return;
    }
    if (tableOpen_)
        flushTable();
    emitPara(std::move(para));
}

void Reader::endCell()
{
    flushBytes();
    cell_.push_back(takeParagraph());
    row_.push_back(std::move(cell_));
    cell_.clear();
    tableOpen_ = true;
}

void Reader::endRow()
{
    flushBytes();
    if (paraHasContent())
        endCell();
    if (!cell_.empty()) {
        row_.push_back(std::move(cell_));
        cell_.clear();
    }
    if (!row_.empty()) {
        rows_.push_back(std::move(row_));
        row_.clear();
    }
}

void Reader::finish()
{
    flushBytes();
    // Text after the last paragraph mark is a paragraph of its own; an empty
    // one is not (RTF files end with \par).
    if (hasPending() || !para_.empty())
        endParagraph();
    if (tableOpen_) {
        endRow();
        flushTable();
    }
    // An empty block left after a final table stays: word processors keep a
    // paragraph after every table.
    builder_->finish();
    if (!pageSetup_.empty()) {
        QTextFrameFormat page = doc_->rootFrame()->frameFormat();
        for (const auto& [property, value] : pageSetup_)
            page.setProperty(property, value);
        // Not an edit the user could undo.
        doc_->setUndoRedoEnabled(false);
        doc_->rootFrame()->setFrameFormat(page);
        doc_->setUndoRedoEnabled(true);
    }
    if (builder_->truncated())
        warn(QStringLiteral("The document is too long to be held whole; its end was left out."));
}

const QTextCharFormat& Reader::charFormat(const CharProps& p)
{
    auto it = formatCache_.find(p);
    if (it != formatCache_.end())
        return it->second;
    QTextCharFormat f;
    auto font = fonts_.find(p.font);
    if (font != fonts_.end() && !font->second.name.isEmpty())
        f.setFontFamilies(QStringList{font->second.name});
    f.setFontPointSize(p.halfPoints / 2.0);
    f.setFontWeight(p.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(p.italic);
    f.setFontUnderline(p.underline);
    f.setFontStrikeOut(p.strike);
    if (p.fg > 0 && size_t(p.fg) < colors_.size() && colors_[p.fg].isValid())
        f.setForeground(colors_[p.fg]);
    if (p.bg > 0 && size_t(p.bg) < colors_.size() && colors_[p.bg].isValid())
        f.setBackground(colors_[p.bg]);
    if (p.vert != 0)
        f.setVerticalAlignment(p.vert > 0 ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignSubScript);
    if (p.link >= 0 && size_t(p.link) < links_.size()) {
        f.setAnchor(true);
        f.setAnchorHref(links_[p.link]);
    }
    if (p.label)
        f.setProperty(ListLabelProperty, true);
    return formatCache_.emplace(p, f).first->second;
}

const QTextBlockFormat& Reader::blockFormat(const ParaProps& p)
{
    // Runs of paragraphs mostly share one layout.
    if (lastBlockValid_ && lastBlockProps_.sameLayout(p))
        return lastBlockFormat_;
    lastBlockValid_ = true;
    lastBlockProps_ = p;
    // 15 twips make one pixel at 96 dpi, QTextDocument's unit.
    QTextBlockFormat& f = lastBlockFormat_;
    f = QTextBlockFormat();
    f.setAlignment(p.align);
    if (p.li != 0) f.setLeftMargin(p.li / 15.0);
    if (p.ri != 0) f.setRightMargin(p.ri / 15.0);
    if (p.fi != 0) f.setTextIndent(p.fi / 15.0);
    if (p.sb != 0) f.setTopMargin(p.sb / 15.0);
    if (p.sa != 0) f.setBottomMargin(p.sa / 15.0);
    if (p.inList())
        f.setProperty(ListLevelProperty, p.ilvl);
    return f;
}

void Reader::insertRuns(const Para& para)
{
    for (const Run& r : para.runs) {
        if (r.picture >= 0 && size_t(r.picture) < pictures_.size()) {
            QTextCharFormat f = charFormat(r.props);
            f.merge(pictures_[size_t(r.picture)]);
            builder_->appendText(para.textOf(r), builder_->charFormat(f));
        } else {
            builder_->appendText(para.textOf(r), charFormatIndex(r.props));
        }
    }
}

// A paragraph after the current block, or in it while it is still empty.
void Reader::insertParagraph(const Para& para, bool newBlock)
{
    const int bf = blockFormatIndex(para.props);
    if (newBlock)
        builder_->appendBlock(bf, para.runs.empty() ? defaultCharFormat_ : charFormatIndex(para.runs.front().props));
    else
        builder_->setBlockFormat(bf);
    insertRuns(para);
}

// A marker as text: no control characters but tabs, nothing QTextDocument reads as
// structure.
QString markerText(const QString& label)
{
    QString out;
    out.reserve(label.size());
    for (QChar c : label) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != '\t')
            continue;
        const bool structure = u == QChar::ParagraphSeparator || u == 0xFDD0
            || u == 0xFDD1 || u == 0xFDEF || u == 0xFFFC;
        out += structure ? QChar(0xFFFD) : c;
    }
    return out;
}

void Reader::listKeyword(Kw kw, int param)
{
    // Files are small, but a hostile one could declare lists by the million.
    constexpr size_t kMaxLists = 4096;
    const Dest d = st_.dest;
    auto skip = [this] {
        st_.dest = Dest::Skip;
        skipGroupRest();
    };
    switch (kw) {
    case Kw::ListTable:
        if (d == Dest::Body)
            st_.dest = Dest::ListTable;
        else
            skip();
        break;
    case Kw::OverrideTable:
        if (d == Dest::Body)
            st_.dest = Dest::OverrideTable;
        else
            skip();
        break;
    case Kw::List:
        if (d != Dest::ListTable || lists_.size() >= kMaxLists)
            return skip();
        st_.dest = Dest::ListEntry;
        lists_.emplace_back();
        break;
    case Kw::ListLevel:
        if (d != Dest::ListEntry && d != Dest::LfoLevel)
            return skip();
        st_.dest = Dest::ListLevel;
        level_ = ListLevelDef{};
        levelText_.clear();
        levelNumbers_.clear();
        break;
    case Kw::LevelText:
    case Kw::LevelNumbers:
        if (d != Dest::ListLevel)
            return skip();
        st_.dest = kw == Kw::LevelText ? Dest::LevelText : Dest::LevelNumbers;
        (kw == Kw::LevelText ? (void)levelText_.clear() : levelNumbers_.clear());
        break;
    case Kw::ListOverride:
        if (d != Dest::OverrideTable)
            return skip();
        st_.dest = Dest::Override;
        overrideLs_ = overrideList_ = 0;
        override_ = ListOverride{};
        lfoIndex_ = -1;
        break;
    case Kw::LfoLevel:
        if (d != Dest::Override)
            return skip();
        st_.dest = Dest::LfoLevel;
        ++lfoIndex_;
        break;
    case Kw::ListId:
        if (d == Dest::ListEntry && !lists_.empty())
            lists_.back().id = param;
        else if (d == Dest::Override)
            overrideList_ = param;
        break;
    case Kw::ListSimple:
        if (d == Dest::ListEntry && !lists_.empty())
            lists_.back().simple = param != 0;
        break;
    default:
        if (d != Dest::ListLevel)
            break;
        if (kw == Kw::LevelNfc)
            level_.nfc = std::clamp(param, 0, 255);
        else if (kw == Kw::LevelStartAt)
            level_.start = std::clamp(param, 0, 32767);
        else if (kw == Kw::LevelFollow)
            level_.follow = std::clamp(param, 0, 2);
        else if (kw == Kw::LevelLegal)
            level_.legal = param != 0;
        else if (kw == Kw::LevelNoRestart)
            level_.noRestart = param != 0;
        break;
    }
}

void Reader::finishListLevel(Dest parent)
{
    level_.text = std::move(levelText_);
    level_.numbers = std::move(levelNumbers_);
    if (parent == Dest::LfoLevel) {
        // An override's own format for one level of its list.
        if (lfoIndex_ >= 0 && lfoIndex_ < 9 && override_.formats.size() < 9)
            override_.formats.emplace_back(lfoIndex_, std::move(level_));
    } else if (!lists_.empty() && lists_.back().levels.size() < 9) {
        lists_.back().levels.push_back(std::move(level_));
    }
    level_ = ListLevelDef{};
    levelText_.clear();
    levelNumbers_.clear();
}

// The marker of a paragraph of a list table's list, counted. False when the
// paragraph's \ls names no list of the file.
bool Reader::listLabel(const ParaProps& props, QString& label)
{
    const auto o = overrides_.find(props.ls);
    if (o == overrides_.end())
        return false;
    const auto found = listIndex_.find(o->second.list);
    if (found == listIndex_.end() || lists_[found->second].levels.empty())
        return false;
    const ListDef* list = &lists_[found->second];
    const int level = list->simple ? 0 : std::clamp(props.ilvl, 0, int(list->levels.size()) - 1);
    ListCounters& counters = counters_[list->id];
    counters.count(*list, level);
    // The override's own format of a level, else the list's.
    auto levelDef = [&](int k) -> const ListLevelDef& {
        for (const auto& [index, format] : o->second.formats) {
            if (index == k)
                return format;
        }
        return list->levels[size_t(k)];
    };
    const ListLevelDef& def = levelDef(level);
    label.clear();
    if (!def.text.empty()) {
        const uint32_t first = def.text.front();
        const size_t length = std::min<size_t>(first & 0xFF, def.text.size() - 1);
        const SymbolFont symbol = symbolFont(def.font);
        const int codePage = fontCodePage(def.font);
        std::string bytes;
        auto flush = [&] {
            if (bytes.empty())
                return;
            QString text;
            decoder_.decode(codePage, QByteArrayView(bytes.data(), qsizetype(bytes.size())), text);
            for (QChar c : text)
                label += QChar(symbolGlyph(SymbolFont::None, c.unicode()));
            bytes.clear();
        };
        for (size_t i = 1; i <= length; ++i) {
            const uint32_t item = def.text[i];
            const bool isByte = item & ListLevelDef::kByteTag;
            const char16_t value = char16_t(item & 0xFFFF);
            // \levelnumbers names the placeholders; without it, bytes below 9.
            const bool placeholder = def.numbers.empty() ? isByte && value < 9
                                                         : def.numbers.find(char(i)) != std::string::npos;
            if (placeholder) {
                flush();
                if (value < list->levels.size() && value < 9) {
                    const ListLevelDef& numbered = levelDef(value);
                    const int n = counters.started[value] ? counters.value[value] : numbered.start;
                    label += formatListNumber(n, def.legal && int(value) < level ? 0 : numbered.nfc);
                }
            } else if (isByte && symbol == SymbolFont::None) {
                bytes.push_back(char(value));
            } else {
                flush();
                label += QChar(symbolGlyph(symbol, value));
            }
        }
        flush();
    }
    label = markerText(label);
    if (!label.isEmpty() && def.follow != 2)
        label += def.follow == 1 ? QLatin1Char(' ') : QLatin1Char('\t');
    return true;
}

QString Reader::pnLabel(const PnDef& def, int counter) const
{
    QString number;
    switch (def.type) {
    case PnDef::Bullet: break;
    case PnDef::Decimal: number = QString::number(counter); break;
    case PnDef::LowerLetter: number = formatListNumber(counter, 4); break;
    case PnDef::UpperLetter: number = formatListNumber(counter, 3); break;
    case PnDef::LowerRoman: number = formatListNumber(counter, 2); break;
    case PnDef::UpperRoman: number = formatListNumber(counter, 1); break;
    }
    const SymbolFont symbol = symbolFont(def.font);
    QString label;
    for (QChar c : def.before)
        label += QChar(symbolGlyph(symbol, c.unicode()));
    label += number;
    for (QChar c : def.after)
        label += QChar(symbolGlyph(symbol, c.unicode()));
    return markerText(label);
}

void Reader::pictureKeyword(Kw kw, std::string_view name, bool hasParam, int param)
{
    constexpr int kMaxExtent = 1 << 22;
    Picture& p = picture_;
    switch (kw) {
    case Kw::PictKind:
        p.kind = QByteArray(name.data(), qsizetype(name.size()));
        p.kindParam = hasParam ? param : -1;
        break;
    case Kw::PicW: p.picw = std::clamp(param, 0, kMaxExtent); break;
    case Kw::PicH: p.pich = std::clamp(param, 0, kMaxExtent); break;
    case Kw::PicWGoal: p.goalw = std::clamp(param, 0, kMaxExtent); break;
    case Kw::PicHGoal: p.goalh = std::clamp(param, 0, kMaxExtent); break;
    case Kw::PicScaleX: p.scalex = std::clamp(param, 1, 10000); break;
    case Kw::PicScaleY: p.scaley = std::clamp(param, 1, 10000); break;
    case Kw::Bin:
        if (hasParam && param > 0) {
            bool truncated = false;
            p.data.append(lex_.takeBinary(param, &truncated));
            if (truncated)
                warnBinary();
        }
        break;
    default:
        break;
    }
}

void Reader::pictureHex()
{
    Picture& pic = picture_;
    const QByteArrayView hex = lex_.takeUntilControl();
    pic.data.reserve(pic.data.size() + hex.size() / 2);
    for (const char q : hex) {
        const int v = hexValue(static_cast<unsigned char>(q));
        if (v < 0)
            continue;
        if (pic.nibble < 0) {
            pic.nibble = v;
        } else {
            pic.data.append(char(pic.nibble * 16 + v));
            pic.nibble = -1;
        }
    }
}

void Reader::finishPicture()
{
    inPicture_ = false;
    Picture pic = std::move(picture_);
    picture_ = Picture{};
    // A picture in a list marker is no marker text.
    if (st_.dest != Dest::Body || st_.ch.label)
        return;
    const bool png = pic.kind == "pngblip" && pic.data.startsWith("\x89PNG");
    const bool jpeg = pic.kind == "jpegblip" && pic.data.startsWith("\xFF\xD8");
    const bool bitmap = pic.kind == "pngblip" || pic.kind == "jpegblip" || pic.kind == "dibitmap" || pic.kind == "wbitmap";
    // Sizes in pixels at 96 dpi: goals are in twips, bitmaps' \picw in
    // pixels, metafiles' in hundredths of a millimetre.
    double w = pic.goalw / 15.0, h = pic.goalh / 15.0;
    if (w <= 0)
        w = bitmap ? pic.picw : pic.picw * 96.0 / 2540.0;
    if (h <= 0)
        h = bitmap ? pic.pich : pic.pich * 96.0 / 2540.0;
    if ((w <= 0 || h <= 0) && (png || jpeg)) {
        QBuffer buffer(&pic.data);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        if (w <= 0) w = size.width();
        if (h <= 0) h = size.height();
    }
    w = std::clamp(w * pic.scalex / 100.0, 1.0, 20000.0);
    h = std::clamp(h * pic.scaley / 100.0, 1.0, 20000.0);
    if (w <= 1 && h <= 1)
        w = h = 32;  // no size given at all

    QTextImageFormat f;
    if (png || jpeg) {
        const QString name = QStringLiteral("rtfpict:%1").arg(pictures_.size());
        doc_->addResource(QTextDocument::ImageResource, QUrl(name), pic.data);
        f.setName(name);
    } else {
        // A kind Qt cannot draw: a box of its size, the data kept for the writer.
        static const QString placeholder = QStringLiteral("rtfpict:placeholder");
        if (!placeholderAdded_) {
            QImage box(48, 48, QImage::Format_RGB32);
            box.fill(QColor(0xE8, 0xE8, 0xE8));
            for (int i = 0; i < 48; ++i) {
                for (const QPoint pt : {QPoint(i, 0), QPoint(i, 47), QPoint(0, i), QPoint(47, i), QPoint(i, i), QPoint(47 - i, i)})
                    box.setPixel(pt, qRgb(0x80, 0x80, 0x80));
            }
            doc_->addResource(QTextDocument::ImageResource, QUrl(placeholder), box);
            placeholderAdded_ = true;
        }
        f.setName(placeholder);
        QByteArray header = "\\" + (pic.kind.isEmpty() ? QByteArray("wmetafile") : pic.kind);
        if (pic.kindParam >= 0)
            header += QByteArray::number(pic.kindParam);
        if (pic.picw > 0)
            header += "\\picw" + QByteArray::number(pic.picw);
        if (pic.pich > 0)
            header += "\\pich" + QByteArray::number(pic.pich);
        f.setProperty(PictureHeaderProperty, header);
        f.setProperty(PictureDataProperty, pic.data);
    }
    f.setWidth(w);
    f.setHeight(h);
    const int index = int(pictures_.size());
    pictures_.push_back(f);
    flushBytes();
    if (hasPending())
        closeRun();
    para_.push_back(Run{paraText_.size(), 1, st_.ch, index});
    paraText_.append(QChar(QChar::ObjectReplacementCharacter));
    pendingStart_ = paraText_.size();
    ++emitted_;
}

void Reader::readPlainText()
{
    // Not RTF at all: UTF-8 when it says so with a byte order mark or is
    // valid UTF-8 throughout (text files on this platform are), else text in
    // the system's code page, Windows-1252.
    QString text;
    const bool bom = data_.startsWith("\xEF\xBB\xBF");
    const QByteArrayView bytes = data_.sliced(bom ? 3 : 0);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = utf8.decode(bytes);
    if (!bom && utf8.hasError()) {
        text.clear();
        decoder_.decode(1252, bytes, text);
    }
    text.replace(QChar(u'\0'), QChar(QChar::ReplacementCharacter));
    qsizetype lineStart = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && text.at(i) != QLatin1Char('\r') && text.at(i) != QLatin1Char('\n'))
            continue;
        if (i == n && lineStart == n && n > 0)
            break;  // the last line's end is no empty paragraph
        emitText(QStringView(text).mid(lineStart, i - lineStart));
        endParagraph();
        if (i + 1 < n && text.at(i) == QLatin1Char('\r') && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        lineStart = i + 1;
    }
}

void Reader::prepareLabel(Para& para)
{
    // A marker belongs to the paragraph only when the paragraph is in a list;
    // elsewhere \listtext is a stale leftover and word processors drop it.
    if (!para.props.inList()) {
        std::erase_if(para.runs, [](const Run& r) { return r.props.label; });
        lastPn_ = -1;
        return;
    }
    // The list's own definition gives the marker; \listtext and \pntext are
    // for readers without lists and are used only when that is missing.
    QString label;
    bool resolved = para.props.ls > 0 && listLabel(para.props, label);
    if (resolved) {
        lastPn_ = -1;
    } else if (para.props.pn >= 0 && size_t(para.props.pn) < pnDefs_.size()) {
        const PnDef& def = pnDefs_[para.props.pn];
        // Numbers run on while paragraphs keep the same kind of numbering.
        if (lastPn_ >= 0 && pnDefs_[lastPn_].type == def.type && def.type != PnDef::Bullet)
            ++pnCounter_;
        else
            pnCounter_ = def.start;
        lastPn_ = para.props.pn;
        label = pnLabel(def, pnCounter_);
        if (!label.isEmpty())
            label += QLatin1Char('\t');
        resolved = true;
    } else {
        lastPn_ = -1;
    }
    if (!resolved) {
        QString labelText;
        for (const Run& r : para.runs) {
            if (r.props.label)
                labelText += para.textOf(r);
        }
        if (labelText.trimmed().isEmpty())
            std::erase_if(para.runs, [](const Run& r) { return r.props.label; });
        else  // a marker after stray text still leads its paragraph
            std::stable_partition(para.runs.begin(), para.runs.end(), [](const Run& r) { return r.props.label; });
        return;
    }
    std::erase_if(para.runs, [](const Run& r) { return r.props.label; });
    if (label.isEmpty())
        return;
    CharProps props = para.runs.empty() ? CharProps{} : para.runs.front().props;
    props.label = true;
    props.link = -1;
    para.runs.insert(para.runs.begin(), Run{para.text.size(), label.size(), props});
    para.text += label;
}

void Reader::emitPara(Para&& para)
{
    prepareLabel(para);
    insertParagraph(para, blockUsed_);
    blockUsed_ = true;
    // The next paragraph reuses the buffers.
    if (paraText_.isEmpty() && para_.empty()) {
        paraText_ = std::move(para.text);
        paraText_.resize(0);
        para_ = std::move(para.runs);
        para_.clear();
    }
}

void Reader::flushTable()
{
    tableOpen_ = false;
    rowDefined_ = false;
    if (!cell_.empty()) {
        row_.push_back(std::move(cell_));
        cell_.clear();
    }
    if (!row_.empty()) {
        rows_.push_back(std::move(row_));
        row_.clear();
    }
    std::vector<Row> rows = std::move(rows_);
    rows_.clear();
    if (rows.empty())
        return;
    int columns = 1;
    for (Row& row : rows) {
        if (int(row.size()) > kMaxColumns) {
            Cell& last = row[kMaxColumns - 1];
            for (size_t i = kMaxColumns; i < row.size(); ++i)
                for (Para& para : row[i])
                    last.push_back(std::move(para));
            row.resize(kMaxColumns);
        }
        columns = std::max(columns, int(row.size()));
    }
    const long long cells = (long long)rows.size() * columns;
    if (tableCells_ + cells > std::max(kMinTableCells, inputSize_ / kBytesPerTableCell)) {
        warn(QStringLiteral("Tables too large to lay out were read as paragraphs."));
        for (Row& row : rows)
            for (Cell& cell : row)
                for (Para& para : cell)
                    emitPara(std::move(para));
        return;
    }
    tableCells_ += cells;

    if (!blockUsed_) {
        // QTextDocument keeps a block before every table.
        QTextBlockFormat filler = builder_->blockFormatAt(builder_->currentBlockFormat());
        filler.setProperty(FillerBlockProperty, true);
        builder_->setBlockFormat(builder_->blockFormat(filler));
    }
    QTextTableFormat tf;
    tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    tf.setBorder(1);
    tf.setCellPadding(2);
    tf.setCellSpacing(0);
    builder_->beginTable(columns, tf);
    QTextCharFormat padding;
    padding.setProperty(PaddingCellProperty, true);
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < columns; ++c) {
            if (c < int(rows[r].size())) {
                bool first = true;
                for (Para& para : rows[r][c]) {
                    prepareLabel(para);
                    if (first) {
                        builder_->setBlockFormat(blockFormatIndex(para.props));
                    } else {
                        // A cell's later paragraphs carry on the format of the text before.
                        builder_->appendBlock(blockFormatIndex(para.props), builder_->formatBefore());
                    }
                    insertRuns(para);
                    first = false;
                }
            } else {
                builder_->setCellFormat(padding);
            }
            if (r + 1 < int(rows.size()) || c + 1 < columns)
                builder_->nextCell();
        }
    }
    builder_->endTable();
    blockUsed_ = false;
}

} // namespace

RtfReadResult readRtf(QByteArrayView data, QTextDocument* doc, const RtfReadOptions& options)
{
    if (!doc) {
        RtfReadResult r;
        r.error = QStringLiteral("No document to read into.");
        return r;
    }
    Reader reader(data, doc, options);
    return reader.run();
}

} // namespace kvx::rtf
