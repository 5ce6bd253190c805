#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <vector>

class QTextCharFormat;
class QTextBlockFormat;
class QTextDocument;
class QTextTable;
class QTextTableFormat;

namespace kvx::rtf {

// Builds a QTextDocument front to back: blocks, runs of text and tables are
// gathered here and laid into the document in one step by finish(), its
// blocks and fragments written as balanced trees. Inserting them one at a
// time, even below QTextCursor, costs Qt a walk of both trees per run and
// block, about a microsecond each in a long document; a document of a few
// hundred thousand runs then spends most of its reading time there.
//
// The document is cleared when the builder is made and must not be edited
// until finish(). Format indices are those of the document's collection.
class DocumentBuilder {
public:
    // QTextDocument counts in int; a longer text is cut rather than wrapped.
    static constexpr qsizetype kMaxLength = qsizetype(1) << 30;

    explicit DocumentBuilder(QTextDocument* doc, qsizetype maxLength = kMaxLength);
    ~DocumentBuilder();
    DocumentBuilder(const DocumentBuilder&) = delete;
    DocumentBuilder& operator=(const DocumentBuilder&) = delete;

    int charFormat(const QTextCharFormat& format);
    int blockFormat(const QTextBlockFormat& format);
    QTextBlockFormat blockFormatAt(int index) const;

    // The block being filled: its format, and text at its end. Text holds
    // no block separators (U+2029, U+FDD0, U+FDD1 become U+FFFD); runs of
    // one format next to each other become one fragment.
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
    // block. Tables do not nest. The table exists at once but holds its
    // cells only after finish().
    QTextTable* beginTable(int columns, const QTextTableFormat& format);
    void nextCell();
    // Properties of the current cell's own format (QTextTableCell::format()).
    void setCellFormat(const QTextCharFormat& properties);
    // The block after the table becomes the current one.
    void endTable();

    // Lays everything into the document; nothing may be added after.
    void finish();
    // Text was left out for the length limit.
    bool truncated() const { return truncated_; }

private:
    struct Fragment {
        int length;
        int format;
    };
    struct Block {
        int length;  // with the separator that ends it
        int format;
    };
    struct Table {
        QTextTable* table = nullptr;
        int cellFormat = -1;      // of its cell and end markers
        int cellBlockFormat = -1;
        std::vector<int> cells;   // fragment numbers of the cell markers
        int end = 0;
    };

    int endBlock(QChar separator, int charFormat, int nextBlockFormat);
    void writeDocument();

    QTextDocument* doc_;
    qsizetype maxLength_;
    QString text_;
    std::vector<Fragment> fragments_;
    std::vector<Block> blocks_;
    int blockLength_ = 0;
    int blockFormat_ = -1;
    bool lastIsText_ = false;
    bool tableOpen_ = false;
    std::vector<Table> tables_;
    bool finished_ = false;
    bool truncated_ = false;
};

// What is wrong with the document's block and fragment trees as Qt's own
// editing expects them (order, sizes, red-black balance, separators alone),
// or an empty string. For tests and fuzzing.
std::string documentTreeFault(QTextDocument* doc);

} // namespace kvx::rtf
