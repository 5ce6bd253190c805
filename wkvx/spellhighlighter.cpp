#include "spellhighlighter.h"

#include "spellchecker.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QEvent>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>

namespace wkvx {

namespace {

// Paragraphs above and below the screen that count as shown, so that
// scrolling by a line meets checked text.
constexpr int kShownMargin = 3;

// What is known about one paragraph's words.
struct SpellData : QTextBlockUserData {
    bool checked = false;
    int length = 0;  // the paragraph's length when checked
    QList<WordSpan> unknown;
};

SpellData* dataOf(const QTextBlock& block) { return dynamic_cast<SpellData*>(block.userData()); }

SpellData* ensureData(QTextBlock block)
{
    SpellData* data = dataOf(block);
    if (!data) {
        data = new SpellData;
        block.setUserData(data);
    }
    return data;
}

QTextCharFormat unknownWordFormat()
{
    QTextCharFormat f;
    f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    f.setUnderlineColor(QColor(220, 0, 0));
    return f;
}

bool isUnknown(SpellChecker* checker, const QString& text, WordSpan span)
{
    return worthChecking(text, span) && !checker->isKnown(plainWord(text, span));
}

}  // namespace

// Laying out one paragraph again costs the layout as much as laying out a
// few hundred in one go: the paragraphs whose marks change while one of
// these lives are laid out together when it goes.
class SpellHighlighter::Batch {
public:
    explicit Batch(SpellHighlighter* h) : h_(h) { ++h_->batchDepth_; }
    ~Batch()
    {
        if (--h_->batchDepth_ > 0 || h_->dirtyFrom_ < 0)
            return;
        if (h_->doc_)
            h_->doc_->markContentsDirty(h_->dirtyFrom_, h_->dirtyTo_ - h_->dirtyFrom_);
        h_->dirtyFrom_ = h_->dirtyTo_ = -1;
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

private:
    SpellHighlighter* h_;
};

void SpellHighlighter::relayout(const QTextBlock& block)
{
    const int from = block.position();
    const int to = from + block.length();
    dirtyFrom_ = dirtyFrom_ < 0 ? from : std::min(dirtyFrom_, from);
    dirtyTo_ = std::max(dirtyTo_, to);
    if (batchDepth_ == 0)
        Batch flush(this);
}

void SpellHighlighter::clearMarks(QTextBlock block)
{
    if (block.layout() && !block.layout()->formats().isEmpty()) {
        block.layout()->clearFormats();
        relayout(block);
    }
}

SpellHighlighter::SpellHighlighter(QTextEdit* box, CheckerSource checker)
    : QObject(box->document()), box_(box), doc_(box->document()), checker_(std::move(checker))
{
    shownTimer_.setSingleShot(true);
    shownTimer_.setInterval(0);
    backgroundTimer_.setInterval(0);
    connect(&shownTimer_, &QTimer::timeout, this, &SpellHighlighter::checkShown);
    connect(&backgroundTimer_, &QTimer::timeout, this, &SpellHighlighter::checkInBackground);
    connect(doc_, &QTextDocument::contentsChange, this, &SpellHighlighter::contentsChange);
    connect(doc_, &QTextDocument::blockCountChanged, this, &SpellHighlighter::shownMayHaveMoved);
    connect(box->verticalScrollBar(), &QScrollBar::valueChanged, this, &SpellHighlighter::shownMayHaveMoved);
    connect(box->horizontalScrollBar(), &QScrollBar::valueChanged, this, &SpellHighlighter::shownMayHaveMoved);
    box->viewport()->installEventFilter(this);
    // Every paragraph waits; the ones on the screen go first.
    waitingFrom_ = 0;
    shownTimer_.start();
}

SpellHighlighter::~SpellHighlighter()
{
    if (!doc_)
        return;
    Batch batch(this);
    for (QTextBlock b = doc_->begin(); b.isValid(); b = b.next()) {
        if (dataOf(b)) {
            clearMarks(b);
            b.setUserData(nullptr);
        }
    }
}

SpellHighlighter* SpellHighlighter::of(const QTextEdit* box)
{
    return box ? box->document()->findChild<SpellHighlighter*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

bool SpellHighlighter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
        shownMayHaveMoved();
    return QObject::eventFilter(watched, event);
}

void SpellHighlighter::shownMayHaveMoved()
{
    shownKnown_ = false;
    shownTimer_.start();
}

bool SpellHighlighter::shownNow(const QTextBlock& block)
{
    if (box_ && box_->textCursor().block() == block)
        return true;
    return block.blockNumber() >= firstShown_ && block.blockNumber() <= lastShown_;
}

void SpellHighlighter::check(QTextBlock block)
{
    SpellChecker* checker = checker_ ? checker_() : nullptr;
    if (!checker)
        return;
    SpellData* data = ensureData(block);
    const QString text = block.text();
    data->unknown.clear();
    for (const WordSpan& w : wordSpans(text)) {
        if (isUnknown(checker, text, w))
            data->unknown << w;
    }
    data->checked = true;
    data->length = block.length();
    mark(block);
}

void SpellHighlighter::checkAround(QTextBlock block, int at, int removed, int added)
{
    SpellData* data = dataOf(block);
    SpellChecker* checker = checker_ ? checker_() : nullptr;
    // Only a paragraph checked before, and edited inside itself, keeps what
    // is known about the words away from the edit.
    if (!checker || !data || !data->checked || block.length() != data->length + added - removed) {
        check(block);
        return;
    }
    const int delta = added - removed;
    QList<WordSpan> kept;
    for (const WordSpan& w : std::as_const(data->unknown)) {
        if (w.end() < at)
            kept << w;
        else if (w.start > at + removed)
            kept << WordSpan{w.start + delta, w.length};
    }
    const QString text = block.text();
    for (const WordSpan& w : wordSpans(text)) {
        if (w.end() >= at && w.start <= at + added && isUnknown(checker, text, w))
            kept << w;
    }
    std::sort(kept.begin(), kept.end(), [](const WordSpan& a, const WordSpan& b) { return a.start < b.start; });
    data->unknown = kept;
    data->length = block.length();
    mark(block);
}

void SpellHighlighter::mark(QTextBlock block)
{
    const SpellData* data = dataOf(block);
    if (!block.layout() || !data)
        return;
    QList<QTextLayout::FormatRange> ranges;
    static const QTextCharFormat format = unknownWordFormat();
    for (const WordSpan& w : data->unknown)
        ranges.append({w.start, w.length, format});
    if (ranges.isEmpty() && block.layout()->formats().isEmpty())
        return;
    block.layout()->setFormats(ranges);
    relayout(block);
}

void SpellHighlighter::wait(const QTextBlock& block)
{
    if (SpellData* data = dataOf(block)) {
        data->checked = false;
        data->unknown.clear();
    }
    clearMarks(block);
    const int n = block.blockNumber();
    waitingFrom_ = waitingFrom_ < 0 ? n : std::min(waitingFrom_, n);
}

void SpellHighlighter::contentsChange(int from, int removed, int added)
{
    if (!doc_)
        return;
    Batch batch(this);
    const QTextBlock first = doc_->findBlock(from);
    const QTextBlock last = doc_->findBlock(from + added);
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        const bool single = b == first && b == last;
        if (!shownNow(b))
            wait(b);
        else if (single)
            checkAround(b, from - b.position(), removed, added);
        else
            check(b);
        if (b == last)
            break;
    }
    // Where the change moved the screen to is known once it is laid out.
    shownTimer_.start();
}

void SpellHighlighter::checkShown()
{
    if (!doc_ || !box_)
        return;
    if (!shownKnown_) {
        const QRect r = box_->viewport()->rect();
        if (box_->isVisible() && !r.isEmpty()) {
            firstShown_ = std::max(0, box_->cursorForPosition(r.topLeft()).block().blockNumber() - kShownMargin);
            lastShown_ = box_->cursorForPosition(r.bottomRight()).block().blockNumber() + kShownMargin;
        } else {
            firstShown_ = 0;
            lastShown_ = -1;
        }
        shownKnown_ = true;
    }
    Batch batch(this);
    for (QTextBlock b = doc_->findBlockByNumber(firstShown_); b.isValid() && b.blockNumber() <= lastShown_;
         b = b.next()) {
        const SpellData* data = dataOf(b);
        if (!data || !data->checked)
            check(b);
    }
    if (waitingFrom_ >= 0 && !backgroundTimer_.isActive())
        backgroundTimer_.start();
}

void SpellHighlighter::checkInBackground()
{
    if (!doc_ || waitingFrom_ < 0 || !(checker_ && checker_())) {
        backgroundTimer_.stop();
        return;
    }
    QElapsedTimer slice;
    slice.start();
    Batch batch(this);
    QTextBlock b = doc_->findBlockByNumber(waitingFrom_);
    for (; b.isValid() && slice.elapsed() < kSliceMs; b = b.next()) {
        const SpellData* data = dataOf(b);
        if (!data || !data->checked)
            check(b);
    }
    if (b.isValid()) {
        waitingFrom_ = b.blockNumber();
        return;
    }
    waitingFrom_ = -1;
    backgroundTimer_.stop();
}

QList<WordSpan> SpellHighlighter::unknownWords(const QTextBlock& block)
{
    const SpellData* data = dataOf(block);
    if (!data || !data->checked)
        check(block);
    data = dataOf(block);
    return data ? data->unknown : QList<WordSpan>();
}

void SpellHighlighter::recheckWord(const QString& word)
{
    if (!doc_)
        return;
    Batch batch(this);
    for (QTextBlock b = doc_->begin(); b.isValid(); b = b.next()) {
        const SpellData* data = dataOf(b);
        if (!data || !data->checked)
            continue;
        const QString text = b.text();
        const bool marked = std::any_of(data->unknown.begin(), data->unknown.end(), [&](const WordSpan& w) {
            return plainWord(text, w).compare(word, Qt::CaseInsensitive) == 0;
        });
        if (marked)
            check(b);
    }
}

}  // namespace wkvx
