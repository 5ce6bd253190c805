#include "spellhighlighter.h"

#include "spellchecker.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QWidget>

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

bool isUnknown(SpellChecker* checker, const QString& text, WordSpan span)
{
    return worthChecking(text, span) && !checker->isKnown(plainWord(text, span));
}

// A wave two pixels high under [x1, x2] at y.
void drawWave(QPainter& p, qreal x1, qreal x2, qreal y)
{
    constexpr qreal kHalf = 2;
    QPainterPath path(QPointF(x1, y));
    bool up = true;
    for (qreal x = x1; x < x2; x += kHalf) {
        path.lineTo(std::min(x + kHalf, x2), up ? y - 1 : y + 1);
        up = !up;
    }
    p.drawPath(path);
}

}  // namespace

// The transparent layer over a box's text that draws the waves under the
// words marked in the paragraphs on the screen.
class SpellMarks : public QWidget {
public:
    explicit SpellMarks(QTextEdit* box)
        : QWidget(box->viewport()), box_(box)
    {
        setObjectName(QStringLiteral("spellMarks"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        follow();
        show();
    }

    // Back over the whole viewport (scrolling moves the box's children),
    // drawn again where the text now is.
    void follow()
    {
        if (geometry() != box_->viewport()->rect())
            setGeometry(box_->viewport()->rect());
        raise();
        update();
    }

    // Draws a paragraph's waves again.
    void redraw(const QTextBlock& block)
    {
        const QPointF scroll(box_->horizontalScrollBar()->value(), box_->verticalScrollBar()->value());
        const QRectF r = box_->document()->documentLayout()->blockBoundingRect(block).translated(-scroll);
        if (r.isValid())
            update(r.toAlignedRect().adjusted(-2, -2, 2, 4));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QTextDocument* doc = box_->document();
        const QRect r = rect();
        const QTextBlock first = box_->cursorForPosition(r.topLeft()).block();
        const QTextBlock last = box_->cursorForPosition(r.bottomRight()).block();
        if (!first.isValid())
            return;
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(220, 0, 0), 1));
        const QPointF scroll(box_->horizontalScrollBar()->value(), box_->verticalScrollBar()->value());
        for (QTextBlock b = first; b.isValid(); b = b.next()) {
            const QList<WordSpan> words = SpellHighlighter::marked(b);
            const QTextLayout* layout = b.layout();
            if (!words.isEmpty() && layout) {
                const QPointF origin = doc->documentLayout()->blockBoundingRect(b).topLeft() - scroll;
                for (int i = 0; i < layout->lineCount(); ++i)
                    drawLine(p, layout->lineAt(i), words, origin);
            }
            if (b == last)
                break;
        }
    }

private:
    static void drawLine(QPainter& p, const QTextLine& line, const QList<WordSpan>& words, QPointF origin)
    {
        const int from = line.textStart();
        const int to = from + line.textLength();
        const qreal y = origin.y() + line.y() + line.ascent() + 2;
        for (const WordSpan& w : words) {
            const int a = std::max(w.start, from);
            const int b = std::min(w.end(), to);
            if (a < b)
                drawWave(p, origin.x() + line.cursorToX(a), origin.x() + line.cursorToX(b), y);
        }
    }

    QTextEdit* box_;
};

SpellHighlighter::SpellHighlighter(QTextEdit* box, CheckerSource checker)
    : QObject(box->document()), box_(box), doc_(box->document()), checker_(std::move(checker))
{
    // One layer per box, shared by the documents it shows in turn.
    // Found by name: the layer is no Q_OBJECT class of its own.
    marks_ = static_cast<SpellMarks*>(
        box->viewport()->findChild<QWidget*>(QStringLiteral("spellMarks"), Qt::FindDirectChildrenOnly));
    if (!marks_)
        marks_ = new SpellMarks(box);
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
    for (QTextBlock b = doc_->begin(); b.isValid(); b = b.next()) {
        if (dataOf(b))
            b.setUserData(nullptr);
    }
    if (marks_)
        marks_->update();
}

SpellHighlighter* SpellHighlighter::of(const QTextEdit* box)
{
    return box ? box->document()->findChild<SpellHighlighter*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

QList<WordSpan> SpellHighlighter::marked(const QTextBlock& block)
{
    const SpellData* data = dataOf(block);
    return data && data->checked ? data->unknown : QList<WordSpan>();
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
    if (marks_ && stillShown())
        marks_->follow();
}

bool SpellHighlighter::shownNow(const QTextBlock& block)
{
    if (box_ && box_->textCursor().block() == block)
        return true;
    return block.blockNumber() >= firstShown_ && block.blockNumber() <= lastShown_;
}

void SpellHighlighter::redraw(const QTextBlock& block)
{
    if (marks_ && shownNow(block))
        marks_->redraw(block);
}

void SpellHighlighter::check(QTextBlock block)
{
    SpellChecker* checker = checker_ ? checker_() : nullptr;
    if (!checker)
        return;
    SpellData* data = ensureData(block);
    const QString text = block.text();
    const bool hadMarks = !data->unknown.isEmpty();
    data->unknown.clear();
    for (const WordSpan& w : wordSpans(text)) {
        if (isUnknown(checker, text, w))
            data->unknown << w;
    }
    data->checked = true;
    data->length = block.length();
    if (hadMarks || !data->unknown.isEmpty())
        redraw(block);
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
    redraw(block);
}

void SpellHighlighter::wait(const QTextBlock& block)
{
    if (SpellData* data = dataOf(block)) {
        data->checked = false;
        data->unknown.clear();
    }
    const int n = block.blockNumber();
    waitingFrom_ = waitingFrom_ < 0 ? n : std::min(waitingFrom_, n);
}

void SpellHighlighter::contentsChange(int from, int removed, int added)
{
    if (!doc_)
        return;
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

bool SpellHighlighter::stillShown()
{
    if (doc_ && box_ && box_->document() == doc_)
        return true;
    // The box was given another document: this one is not shown any more.
    shownTimer_.stop();
    backgroundTimer_.stop();
    return false;
}

void SpellHighlighter::checkShown()
{
    if (!stillShown())
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
    if (!stillShown() || waitingFrom_ < 0 || !(checker_ && checker_())) {
        backgroundTimer_.stop();
        return;
    }
    QElapsedTimer slice;
    slice.start();
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
