#include "textcount.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace wkvx {

namespace {

bool isBreak(QChar c)
{
    switch (c.unicode()) {
    case QChar::ParagraphSeparator:
    case QChar::LineSeparator:
    case QChar::ObjectReplacementCharacter:
    case u'\n':
    case u'\r':
    case 0xFDD0:  // the edges of frames and tables in a selection
    case 0xFDD1:
        return true;
    default:
        return false;
    }
}

}  // namespace

TextCount countText(QStringView text)
{
    TextCount count;
    bool inWord = false;
    bool counted = false;
    for (const QChar c : text) {
        if (isBreak(c) || c.isSpace()) {
            inWord = false;
            if (!isBreak(c))
                ++count.characters;
            continue;
        }
        ++count.characters;
        if (!inWord) {
            inWord = true;
            counted = false;
        }
        if (!counted && c.isLetterOrNumber()) {
            counted = true;
            ++count.words;
        }
    }
    return count;
}

TextCount countDocument(const QTextDocument& doc)
{
    TextCount count;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        count += countText(b.text());
    return count;
}

TextCount DocumentCounter::count(const QTextDocument& doc)
{
    // Revisions are kept only where undo is.
    if (!doc.isUndoRedoEnabled())
        return countDocument(doc);
    if (doc_ != &doc) {
        doc_ = &doc;
        blocks_.clear();
    }
    ++generation_;
    TextCount total;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        // A paragraph that changes gets a new revision; a new paragraph in
        // the place of a deleted one does too.
        Block& entry = blocks_[b.fragmentIndex()];
        if (entry.generation == 0 || entry.revision != b.revision()) {
            entry.revision = b.revision();
            entry.count = countText(b.text());
        }
        entry.generation = generation_;
        total += entry.count;
    }
    // Paragraphs that are gone.
    if (blocks_.size() > size_t(doc.blockCount()))
        std::erase_if(blocks_, [this](const auto& item) { return item.second.generation != generation_; });
    return total;
}

TextCount countSelection(const QTextCursor& cursor)
{
    if (!cursor.hasSelection())
        return {};
    return countText(cursor.selectedText());
}

int visualLine(const QTextCursor& cursor)
{
    const QTextBlock here = cursor.block();
    if (!here.isValid())
        return 1;
    int line = 0;
    for (QTextBlock b = cursor.document()->begin(); b.isValid() && b != here; b = b.next()) {
        const QTextLayout* layout = b.layout();
        line += layout && layout->lineCount() > 0 ? layout->lineCount() : 1;
    }
    const QTextLayout* layout = here.layout();
    const int inBlock = cursor.position() - here.position();
    if (layout && layout->lineCount() > 0)
        line += layout->lineForTextPosition(inBlock).isValid() ? layout->lineForTextPosition(inBlock).lineNumber() : 0;
    return line + 1;
}

}  // namespace wkvx
