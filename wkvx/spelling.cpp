#include "spelling.h"

#include "kvxmessage.h"
#include "spellchecker.h"
#include "spellhighlighter.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace wkvx {

namespace {

const QString kSpellingCaption = QStringLiteral("Check Spelling as You Type");

SpellChecker* checker() { return SpellChecker::shared().get(); }

}  // namespace

QMenu* viewMenu(QMainWindow* frame, QAction* before)
{
    if (auto* menu = frame->findChild<QMenu*>(QStringLiteral("mnuView")))
        return menu;
    auto* menu = new QMenu(QStringLiteral("&View"), frame->menuBar());
    menu->setObjectName(QStringLiteral("mnuView"));
    menu->menuAction()->setObjectName(QStringLiteral("mnuView"));
    frame->menuBar()->insertMenu(before, menu);
    return menu;
}

Spelling::Spelling(QMainWindow* frame, ActiveBox activeBox, ShowMenu showMenu)
    : QObject(frame), frame_(frame), activeBox_(std::move(activeBox)), showMenu_(std::move(showMenu))
{
    mnuViewSpelling = new QAction(kSpellingCaption, this);
    mnuViewSpelling->setObjectName(QStringLiteral("mnuViewSpelling"));
    mnuViewSpelling->setCheckable(true);
    if (SpellChecker::installed()) {
        mnuViewSpelling->setChecked(true);
    } else {
        mnuViewSpelling->setText(kSpellingCaption + QStringLiteral(" (no dictionary installed)"));
        mnuViewSpelling->setEnabled(false);
    }
    connect(mnuViewSpelling, &QAction::toggled, this, &Spelling::mnuViewSpelling_Toggled);

    mnuSpellCheck = new QAction(QStringLiteral("Check &Spelling..."), this);
    mnuSpellCheck->setObjectName(QStringLiteral("mnuSpellCheck"));
    mnuSpellCheck->setShortcut(QKeySequence(Qt::Key_F7));
    connect(mnuSpellCheck, &QAction::triggered, this, &Spelling::checkDocument);
}

bool Spelling::available() const { return SpellChecker::installed(); }

bool Spelling::asYouType() const { return mnuViewSpelling->isChecked() && mnuViewSpelling->isEnabled(); }

QList<QTextEdit*> Spelling::boxes() const
{
    QList<QTextEdit*> out;
    for (QTextEdit* box : frame_->findChildren<QTextEdit*>(QStringLiteral("rtfText")))
        out << box;
    return out;
}

void Spelling::attach(QTextEdit* box)
{
    if (!box || !asYouType() || SpellHighlighter::of(box))
        return;
    new SpellHighlighter(box, [] { return checker(); });
}

void Spelling::mnuViewSpelling_Toggled(bool on)
{
    for (QTextEdit* box : boxes()) {
        if (on)
            attach(box);
        else
            delete SpellHighlighter::of(box);
    }
}

QList<WordSpan> Spelling::unknownIn(QTextEdit* box, const QTextBlock& block)
{
    if (SpellHighlighter* h = SpellHighlighter::of(box))
        return h->unknownWords(block);
    QList<WordSpan> out;
    SpellChecker* c = checker();
    if (!c)
        return out;
    const QString text = block.text();
    for (const WordSpan& w : wordSpans(text)) {
        if (worthChecking(text, w) && !c->isKnown(plainWord(text, w)))
            out << w;
    }
    return out;
}

std::optional<WordSpan> Spelling::unknownWordAt(QTextEdit* box, int position)
{
    if (!box || !checker())
        return std::nullopt;
    const QTextBlock block = box->document()->findBlock(position);
    const std::optional<WordSpan> word = wordAt(block.text(), position - block.position());
    if (!word)
        return std::nullopt;
    for (const WordSpan& w : unknownIn(box, block)) {
        if (w == *word)
            return w;
    }
    return std::nullopt;
}

QStringList Spelling::suggestions(const QString& word) const
{
    SpellChecker* c = checker();
    return c ? c->suggestions(word, kMostSuggestions) : QStringList();
}

void Spelling::recheckEverywhere(const QString& word)
{
    for (QTextEdit* box : boxes()) {
        if (SpellHighlighter* h = SpellHighlighter::of(box))
            h->recheckWord(word);
    }
}

void Spelling::ignoreAll(const QString& word)
{
    if (SpellChecker* c = checker()) {
        c->ignoreAll(word);
        recheckEverywhere(word);
    }
}

void Spelling::addToMyWords(const QString& word)
{
    SpellChecker* c = checker();
    if (!c)
        return;
    QString error;
    const bool written = c->addToMyWords(word, &error);
    recheckEverywhere(word);
    if (!written)
        showMessage(frame_,
                    QStringLiteral("%1 is accepted until Kavix Writer closes, but it could not be added to My "
                                   "Words.\n\n%2")
                        .arg(word, error),
                    lexi::MsgIcon::Exclamation);
}

void Spelling::checkDocument()
{
    QTextEdit* box = activeBox_ ? activeBox_() : nullptr;
    if (!box)
        return;
    if (!checker()) {
        showMessage(frame_,
                    QStringLiteral("Spelling cannot be checked: no English dictionary for Hunspell is installed."),
                    lexi::MsgIcon::Information);
        return;
    }
    QTextDocument* doc = box->document();
    const int from = box->textCursor().selectionEnd();
    const QTextBlock start = doc->findBlock(from);
    // From the caret to the end, then from the top back to the caret.
    QTextBlock b = start;
    for (int round = 0; round < 2; ++round) {
        for (; b.isValid(); b = b.next()) {
            for (const WordSpan& w : unknownIn(box, b)) {
                const int at = b.position() + w.start;
                if (b == start && (round == 0) != (at >= from))
                    continue;
                QTextCursor c(doc);
                c.setPosition(at);
                c.setPosition(at + w.length, QTextCursor::KeepAnchor);
                box->setTextCursor(c);
                box->ensureCursorVisible();
                if (showMenu_)
                    showMenu_(box);
                return;
            }
            if (round == 1 && b == start)
                break;
        }
        b = doc->begin();
    }
    showMessage(frame_, QStringLiteral("The spelling check is complete: no unknown words were found."),
                lexi::MsgIcon::Information);
}

}  // namespace wkvx
