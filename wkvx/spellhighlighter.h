#pragma once

#include "wordspans.h"

#include <QObject>
#include <QPointer>
#include <QTextBlock>
#include <QTimer>

#include <functional>

class QTextDocument;
class QTextEdit;

namespace wkvx {

class SpellChecker;
class SpellMarks;

// Draws a wavy red line under the unknown words of one rich-text box. The
// lines are drawn over the text by a transparent layer of the box; they are
// not part of the document: they make no undo step, are not saved, do not
// mark the document changed and never make it lay itself out again. An
// edited paragraph is checked at once where it is shown (only the words
// around the edit); the paragraphs on the screen are checked next, and the
// rest a few milliseconds at a time when the program is idle, so typing
// never waits for the whole document.
//
// Lives as long as the document it marks (it is the document's child).
class SpellHighlighter : public QObject {
    Q_OBJECT
public:
    using CheckerSource = std::function<SpellChecker*()>;

    SpellHighlighter(QTextEdit* box, CheckerSource checker);
    ~SpellHighlighter() override;

    // The highlighter of the box's current document, or nullptr.
    static SpellHighlighter* of(const QTextEdit* box);

    QTextDocument* document() const { return doc_; }

    // The unknown words of a paragraph, checking it first when it has not
    // been checked yet.
    QList<WordSpan> unknownWords(const QTextBlock& block);
    // The words marked in a paragraph now; none while it waits for its check.
    static QList<WordSpan> marked(const QTextBlock& block);

    // After a word became known: checks again the paragraphs where it was marked.
    void recheckWord(const QString& word);

    // Whether paragraphs still wait for the background check.
    bool waiting() const { return waitingFrom_ >= 0; }

    // Milliseconds of background work per turn of the event loop.
    static constexpr int kSliceMs = 4;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void contentsChange(int from, int removed, int added);
    // Checks the whole paragraph, or only the words around an edit.
    void check(QTextBlock block);
    void checkAround(QTextBlock block, int at, int removed, int added);
    void wait(const QTextBlock& block);
    bool stillShown();
    void checkShown();
    void checkInBackground();
    bool shownNow(const QTextBlock& block);
    void shownMayHaveMoved();
    void redraw(const QTextBlock& block);

    QPointer<QTextEdit> box_;
    QPointer<QTextDocument> doc_;
    QPointer<SpellMarks> marks_;
    CheckerSource checker_;
    QTimer shownTimer_;       // single shot: the paragraphs on the screen
    QTimer backgroundTimer_;  // idle slices for the rest
    int waitingFrom_ = -1;    // first paragraph number that may wait, -1 for none
    bool shownKnown_ = false;
    int firstShown_ = 0;
    int lastShown_ = -1;
};

}  // namespace wkvx
