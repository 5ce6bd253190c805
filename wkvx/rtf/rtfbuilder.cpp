#include "rtfbuilder.h"
#include "rtfbuilderimpl.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace kvx::rtf {

namespace {

// What QTextCursor would read as structure, and what a fragment may not hold.
bool isStructure(char16_t c)
{
    // Comparisons the compiler can make for many characters at once.
    return (c == QChar::ParagraphSeparator) | (char16_t(c - 0xFDD0) < 2) | (c == u'\n') | (c == u'\r');
}

} // namespace

DocumentBuilder::DocumentBuilder(QTextDocument* doc, qsizetype maxLength)
    : doc_(doc), maxLength_(std::min(maxLength, kMaxLength))
{
    doc_->clear();
}

DocumentBuilder::~DocumentBuilder() = default;

void DocumentBuilder::start()
{
    defaultCharFormat_ = charFormat(QTextCharFormat());
    blockFormat_ = blockFormat(QTextBlockFormat());
}

void DocumentBuilder::appendText(QStringView text, int charFormat)
{
    if (text.isEmpty() || finished_)
        return;
    if (text_.size() + text.size() > maxLength_) {
        truncated_ = true;
        return;
    }
    const qsizetype start = text_.size();
    text_.append(text);
    // One pass without branches finds whether anything needs replacing.
    const char16_t* chars = text.utf16();
    unsigned structure = 0;
    for (qsizetype i = 0, n = text.size(); i < n; ++i)
        structure |= unsigned(isStructure(chars[i]));
    if (structure) {
        for (QChar* c = text_.data() + start, *end = text_.data() + text_.size(); c != end; ++c) {
            if (isStructure(c->unicode()))
                *c = QChar(QChar::ReplacementCharacter);
        }
    }
    const int length = int(text.size());
    if (lastIsText_ && fragments_.back().format == charFormat)
        fragments_.back().length += length;
    else
        fragments_.push_back(Fragment{length, charFormat, 0});
    lastIsText_ = true;
    blockLength_ += length;
}

int DocumentBuilder::endBlock(char16_t separator, int charFormat, int nextBlockFormat)
{
    text_.append(QChar(QChar::ReplacementCharacter));
    fragments_.push_back(Fragment{1, charFormat, separator});
    blocks_.push_back(Block{blockLength_ + 1, blockFormat_});
    blockLength_ = 0;
    blockFormat_ = nextBlockFormat;
    lastIsText_ = false;
    return int(fragments_.size()) - 1;
}

void DocumentBuilder::appendBlock(int blockFormat, int charFormat)
{
    if (finished_)
        return;
    if (text_.size() >= maxLength_) {
        truncated_ = true;
        return;
    }
    endBlock(QChar::ParagraphSeparator, charFormat, blockFormat);
}

int DocumentBuilder::formatBefore()
{
    if (fragments_.empty())
        return defaultCharFormat_;
    const int last = fragments_.back().format;
    QTextCharFormat f = charFormatAt(last);
    if (!f.hasProperty(QTextFormat::ObjectIndex) && !f.hasProperty(QTextFormat::ObjectType))
        return last;
    f.clearProperty(QTextFormat::ObjectIndex);
    f.clearProperty(QTextFormat::ObjectType);
    return charFormat(f);
}

void DocumentBuilder::beginTable(int columns, const QTextTableFormat& format)
{
    if (finished_ || tableOpen_ || columns < 1)
        return;
    if (text_.size() >= maxLength_) {
        truncated_ = true;
        return;
    }
    Table t;
    t.columns = columns;
    t.format = format;
    t.format.setColumns(columns);
    t.cells.push_back(endBlock(kCellMark, defaultCharFormat_, blockFormat(QTextBlockFormat())));
    tables_.push_back(std::move(t));
    tableOpen_ = true;
}

void DocumentBuilder::nextCell()
{
    if (!tableOpen_)
        return;
    tables_.back().cells.push_back(endBlock(kCellMark, defaultCharFormat_, blockFormat(QTextBlockFormat())));
}

void DocumentBuilder::setCellFormat(const QTextCharFormat& properties)
{
    if (!tableOpen_)
        return;
    QTextCharFormat f = properties;
    f.clearProperty(QTextFormat::ObjectIndex);
    f.clearProperty(QTextFormat::ObjectType);
    fragments_[size_t(tables_.back().cells.back())].format = charFormat(f);
}

void DocumentBuilder::endTable()
{
    if (!tableOpen_)
        return;
    tables_.back().end = endBlock(kTableEndMark, defaultCharFormat_, blockFormat(QTextBlockFormat()));
    tableOpen_ = false;
}

void DocumentBuilder::finish()
{
    if (finished_)
        return;
    endTable();
    finished_ = true;
    const bool undo = doc_->isUndoRedoEnabled();
    doc_->setUndoRedoEnabled(false);
    if (fragments_.empty()) {
        QTextCursor(doc_).setBlockFormat(blockFormatAt(blockFormat_));
    } else {
        blocks_.push_back(Block{blockLength_ + 1, blockFormat_});
        write();
    }
    doc_->setUndoRedoEnabled(undo);
    text_ = QString();
    fragments_ = {};
    blocks_ = {};
    tables_ = {};
}

std::unique_ptr<DocumentBuilder> makeDocumentBuilder(QTextDocument* doc, BuilderKind kind, qsizetype maxLength)
{
#if KVX_RTF_FAST_BUILDER
    if (kind == BuilderKind::Fast || (kind == BuilderKind::Automatic && fastBuilderUsable()))
        return makeFastBuilder(doc, maxLength);
#else
    (void)kind;
#endif
    return makePublicBuilder(doc, maxLength);
}

bool fastBuilderBuilt()
{
    return KVX_RTF_FAST_BUILDER;
}

bool fastBuilderUsable()
{
    static const bool usable = fastBuilderUsable(qVersion());
    return usable;
}

bool fastBuilderUsable(const char* runningQtVersion)
{
    return fastBuilderBuilt() && runningQtVersion && qstrcmp(runningQtVersion, QT_VERSION_STR) == 0;
}

} // namespace kvx::rtf
