#pragma once

#include <QString>
#include <QTextCursor>

class QTextDocument;

namespace wkvx {

// What Find and Replace looks for.
struct FindOptions {
    QString text;
    bool matchCase = false;
    bool wholeWords = false;
};

// The next match after the cursor's selection (before it, backward),
// wrapping round the document's end once; a null cursor when the text is
// nowhere. *wrapped tells whether the search went past the end (or start).
QTextCursor findMatch(QTextDocument* doc, const QTextCursor& from, const FindOptions& options, bool backward,
                      bool* wrapped = nullptr);

// Whether the cursor's selection is exactly one match.
bool isMatch(const QTextCursor& selection, const FindOptions& options);

// Replaces every match by replacement as one undo step; the number replaced.
int replaceAll(QTextDocument* doc, const FindOptions& options, const QString& replacement);

}  // namespace wkvx
