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

// Draws a wavy red line under the unknown words of one rich-text box. The
// marks are display formats of the paragraphs' layouts, not character
// formats: they make no undo step, are not saved and do not mark the
// document changed. An edited paragraph is checked at once where it is
// shown (only the words around the edit); the paragraphs on the screen are
// checked next, and the rest a few milliseconds at a time when the program
// is idle, so typing never waits for the whole document.
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

    // After a word became known: checks again the paragraphs where it was marked.
    void recheckWord(const QString& word);

    // Whether paragraphs still wait for the background check.
    bool waiting() const { return waitingFrom_ >= 0; }

    // Milliseconds of background work per turn of the event loop.
    static constexpr int kSliceMs = 4;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Batch;
    void relayout(const QTextBlock& block);
    void clearMarks(QTextBlock block);
    void contentsChange(int from, int removed, int added);
    // Checks the whole paragraph, or only the words around an edit.
    void check(QTextBlock block);
    void checkAround(QTextBlock block, int at, int removed, int added);
    void mark(QTextBlock block);
    void wait(const QTextBlock& block);
    void checkShown();
    void checkInBackground();
    bool shownNow(const QTextBlock& block);
    void shownMayHaveMoved();

    QPointer<QTextEdit> box_;
    QPointer<QTextDocument> doc_;
    CheckerSource checker_;
    QTimer shownTimer_;       // single shot: the paragraphs on the screen
    QTimer backgroundTimer_;  // idle slices for the rest
    int waitingFrom_ = -1;    // first paragraph number that may wait, -1 for none
    bool shownKnown_ = false;
    int firstShown_ = 0;
    int lastShown_ = -1;
    int batchDepth_ = 0;
    int dirtyFrom_ = -1;  // the text whose marks changed in this batch
    int dirtyTo_ = -1;
};

}  // namespace wkvx
