#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace wkvx {

// Where a word stands in a paragraph's text. A word is a run of letters,
// digits and combining marks; an apostrophe or hyphen between two of them
// belongs to the word (don't, well-known), one at either end does not.
struct WordSpan {
    int start = 0;
    int length = 0;
    int end() const { return start + length; }
    bool operator==(const WordSpan&) const = default;
};

QList<WordSpan> wordSpans(const QString& text);

// The word at a caret position: the one the position lies in, or the one
// that ends just before it.
std::optional<WordSpan> wordAt(const QString& text, int position);

// The word as the dictionaries spell it: typographic apostrophes as plain ones.
QString plainWord(const QString& text, WordSpan span);

// Whether the spelling check looks at the word at all: not single letters,
// not words with digits (3rd, A4), not words in capitals (NATO), not parts
// of web or mail addresses.
bool worthChecking(const QString& text, WordSpan span);

// The replacement written as the original was: in capitals when it was in
// capitals, with a capital first letter when it had one, else as given.
QString matchCase(const QString& replacement, const QString& original);

}  // namespace wkvx
