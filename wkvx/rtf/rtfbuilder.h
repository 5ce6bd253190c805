#pragma once

#include "rtfbuilderkind.h"

#include <QString>
#include <QStringView>
#include <QTextFormat>

#include <memory>
#include <string>
#include <vector>

class QTextDocument;

namespace kvx::rtf {

// Builds a QTextDocument front to back: blocks, runs of text and tables are
// gathered here and laid into the document in one step by finish(). Two
// builders share this interface: the public one replays what was gathered
// through QTextCursor; the fast one writes the document's blocks and
// fragments as balanced trees through Qt's private API (README.md says why),
// and exists only in builds where that API was verified.
//
// The document is cleared when the builder is made and must not be edited
// until finish(). Format indices are the builder's own: pass them back only
// to the builder that gave them.
class DocumentBuilder {
public:
    // QTextDocument counts in int; a longer text is cut rather than wrapped.
    static constexpr qsizetype kMaxLength = qsizetype(1) << 30;

    virtual ~DocumentBuilder();
    DocumentBuilder(const DocumentBuilder&) = delete;
    DocumentBuilder& operator=(const DocumentBuilder&) = delete;

    virtual BuilderKind kind() const = 0;
    virtual int charFormat(const QTextCharFormat& format) = 0;
    virtual int blockFormat(const QTextBlockFormat& format) = 0;
    virtual QTextBlockFormat blockFormatAt(int index) const = 0;

    // The block being filled: its format, and text at its end. Text holds
    // no block separators or line ends (U+2029, U+FDD0, U+FDD1, CR and LF
    // become U+FFFD); runs of one format next to each other become one
    // fragment.
    int currentBlockFormat() const { return blockFormat_; }
    void setBlockFormat(int blockFormat) { blockFormat_ = blockFormat; }
    void appendText(QStringView text, int charFormat);
    // Ends the current block; the next one has blockFormat, and charFormat is
    // the format of the separator between them (the new block's charFormat()).
    void appendBlock(int blockFormat, int charFormat);
    // The format of the last character so far, as QTextCursor::insertBlock
    // without a character format takes it: without its object (a picture's
    // gives its text format, a table marker's the default).
    int formatBefore();

    // A table after the current block; its first cell is then the current
    // block. Tables do not nest, and their rows are whole: the cells given
    // are a multiple of the columns. The table exists after finish().
    void beginTable(int columns, const QTextTableFormat& format);
    void nextCell();
    // Properties of the current cell's own format (QTextTableCell::format()).
    void setCellFormat(const QTextCharFormat& properties);
    // The block after the table becomes the current one.
    void endTable();

    // Lays everything into the document; nothing may be added after.
    void finish();
    // Text was left out for the length limit.
    bool truncated() const { return truncated_; }

protected:
    DocumentBuilder(QTextDocument* doc, qsizetype maxLength);
    // Called by each builder's constructor once its formats can be made.
    void start();

    virtual QTextCharFormat charFormatAt(int index) const = 0;
    // Writes what was gathered into the cleared document (never empty).
    virtual void write() = 0;

    // Fragments hold their text, in order, in text_; a block mark (separator
    // != 0) holds a U+FFFD there in its place, so that text_ can go to Qt
    // in one insertion that holds no block marks.
    // The marks QTextDocument starts a table cell and ends a table with.
    static constexpr char16_t kCellMark = 0xFDD0;
    static constexpr char16_t kTableEndMark = 0xFDD1;

    struct Fragment {
        int length;
        int format;
        char16_t separator;
    };
    struct Block {
        int length;  // with the separator that ends it
        int format;
    };
    struct Table {
        int columns = 0;
        QTextTableFormat format;
        // Fragment numbers (from 0) of the cell markers and of the end marker;
        // a cell marker's format holds the cell's own properties.
        std::vector<int> cells;
        int end = 0;
    };

    QTextDocument* doc_;
    QString text_;
    std::vector<Fragment> fragments_;
    std::vector<Block> blocks_;  // every block, the last one included, once writing
    std::vector<Table> tables_;
    int defaultCharFormat_ = -1;

private:
    int endBlock(char16_t separator, int charFormat, int nextBlockFormat);

    qsizetype maxLength_;
    int blockLength_ = 0;
    int blockFormat_ = -1;
    bool lastIsText_ = false;
    bool tableOpen_ = false;
    bool finished_ = false;
    bool truncated_ = false;
};

// A builder of the given kind; the fast one only where fastBuilderUsable().
std::unique_ptr<DocumentBuilder> makeDocumentBuilder(QTextDocument* doc, BuilderKind kind = BuilderKind::Automatic,
                                                     qsizetype maxLength = DocumentBuilder::kMaxLength);

// The fast builder is in this build and the Qt running is the one it was
// built against: its private structures may differ in any other.
bool fastBuilderBuilt();
bool fastBuilderUsable(const char* runningQtVersion);
bool fastBuilderUsable();  // with the running Qt's qVersion()

// What is wrong with the document's block and fragment trees as Qt's own
// editing expects them (order, sizes, red-black balance, separators alone),
// or an empty string. Only in builds with the fast builder; for tests and
// fuzzing.
std::string documentTreeFault(QTextDocument* doc);

} // namespace kvx::rtf
