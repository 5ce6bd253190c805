#pragma once

#include <QStringView>

#include <unordered_map>

class QTextCursor;
class QTextDocument;

namespace wkvx {

struct TextCount {
    qsizetype words = 0;
    // Every character a writer sees, spaces included; paragraph and line
    // breaks and pictures are not counted.
    qsizetype characters = 0;

    TextCount& operator+=(const TextCount& other)
    {
        words += other.words;
        characters += other.characters;
        return *this;
    }
};

// A word is a run of characters between spaces that holds a letter or a digit.
TextCount countText(QStringView text);
// The whole document, block by block.
TextCount countDocument(const QTextDocument& doc);

// Counts one document again and again, recounting only the paragraphs that
// changed since the last count, so that a long document costs little more
// than a walk over its paragraphs.
class DocumentCounter {
public:
    TextCount count(const QTextDocument& doc);

private:
    struct Block {
        int revision = 0;
        unsigned generation = 0;  // the count that last saw it; 0 for new
        TextCount count;
    };
    const QTextDocument* doc_ = nullptr;
    unsigned generation_ = 0;
    std::unordered_map<int, Block> blocks_;  // by the block's fragment index
};
// The cursor's selection.
TextCount countSelection(const QTextCursor& cursor);

// The caret's line as the window shows it, counting wrapped lines, from 1.
int visualLine(const QTextCursor& cursor);

}  // namespace wkvx
