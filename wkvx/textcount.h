#pragma once

#include <QStringView>

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
// The cursor's selection.
TextCount countSelection(const QTextCursor& cursor);

// The caret's line as the window shows it, counting wrapped lines, from 1.
int visualLine(const QTextCursor& cursor);

}  // namespace wkvx
