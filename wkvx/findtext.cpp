#include "findtext.h"

#include <QTextDocument>

namespace wkvx {

namespace {

QTextDocument::FindFlags flagsFor(const FindOptions& options, bool backward)
{
    QTextDocument::FindFlags flags;
    if (options.matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (options.wholeWords)
        flags |= QTextDocument::FindWholeWords;
    if (backward)
        flags |= QTextDocument::FindBackward;
    return flags;
}

}  // namespace

QTextCursor findMatch(QTextDocument* doc, const QTextCursor& from, const FindOptions& options, bool backward,
                      bool* wrapped)
{
    if (wrapped)
        *wrapped = false;
    if (!doc || options.text.isEmpty())
        return {};
    const QTextDocument::FindFlags flags = flagsFor(options, backward);
    // Forward from the selection's end, backward from its start, so that
    // the current match is not found again.
    QTextCursor start(doc);
    start.setPosition(backward ? from.selectionStart() : from.selectionEnd());
    QTextCursor found = doc->find(options.text, start, flags);
    if (!found.isNull())
        return found;
    QTextCursor edge(doc);
    edge.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    found = doc->find(options.text, edge, flags);
    if (wrapped && !found.isNull())
        *wrapped = true;
    return found;
}

bool isMatch(const QTextCursor& selection, const FindOptions& options)
{
    if (!selection.hasSelection() || options.text.isEmpty())
        return false;
    // The document's own search decides, so that whole words mean the same
    // as when finding.
    QTextCursor start(selection.document());
    start.setPosition(selection.selectionStart());
    const QTextCursor found = selection.document()->find(options.text, start, flagsFor(options, false));
    return !found.isNull() && found.selectionStart() == selection.selectionStart()
           && found.selectionEnd() == selection.selectionEnd();
}

int replaceAll(QTextDocument* doc, const FindOptions& options, const QString& replacement)
{
    if (!doc || options.text.isEmpty())
        return 0;
    const QTextDocument::FindFlags flags = flagsFor(options, false);
    QTextCursor edit(doc);
    QTextCursor found = doc->find(options.text, QTextCursor(doc), flags);
    if (found.isNull())
        return 0;
    int count = 0;
    edit.beginEditBlock();
    while (!found.isNull()) {
        // Each match keeps the formatting of its first character.
        found.insertText(replacement);
        ++count;
        found = doc->find(options.text, found, flags);
    }
    edit.endEditBlock();
    return count;
}

}  // namespace wkvx
