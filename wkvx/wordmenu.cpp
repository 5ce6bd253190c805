#include "wordmenu.h"

#include "kavixtools.h"
#include "kvxmessage.h"
#include "spelling.h"
#include "thesaurus.h"
#include "wordspans.h"

#include <QAction>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace wkvx {

namespace {

QString menuText(QString text) { return text.replace(QLatin1Char('&'), QStringLiteral("&&")); }

bool hasDigit(const QString& word)
{
    return std::any_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); });
}

}  // namespace

std::optional<int> wordUnder(QTextEdit* box, QPoint point)
{
    const QTextCursor at = box->cursorForPosition(point);
    const QTextBlock block = at.block();
    const std::optional<WordSpan> span = wordAt(block.text(), at.position() - block.position());
    if (!span)
        return std::nullopt;
    QTextCursor edge(box->document());
    edge.setPosition(block.position() + span->start);
    const QRect first = box->cursorRect(edge);
    edge.setPosition(block.position() + span->end());
    const QRect last = box->cursorRect(edge);
    // A word broken over two lines counts wherever it is hit.
    constexpr int kSlack = 2;
    if (first.top() == last.top()
        && (point.x() < first.left() - kSlack || point.x() > last.right() + kSlack || point.y() < first.top()
            || point.y() > first.bottom()))
        return std::nullopt;
    return at.position();
}

bool replaceWord(QTextEdit* box, int position, const QString& old, const QString& with)
{
    QTextCursor c(box->document());
    c.setPosition(position);
    c.setPosition(position + int(old.size()), QTextCursor::KeepAnchor);
    if (c.selectedText() != old)
        return false;
    c.beginEditBlock();
    c.insertText(with);
    c.endEditBlock();
    box->setTextCursor(c);
    return true;
}

WordMenu::WordMenu(QWidget* frame, Spelling* spelling, KavixTools* tools)
    : QObject(frame), frame_(frame), spelling_(spelling), tools_(tools)
{
    mnuLookUpKvx = new QAction(QStringLiteral("&Look up in Kavix"), this);
    mnuLookUpKvx->setObjectName(QStringLiteral("mnuLookUpKvx"));
    mnuLookUpKvx->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F7));
}

void WordMenu::addItems(QMenu* menu, QTextEdit* box, int position)
{
    if (!box)
        return;
    const QTextBlock block = box->document()->findBlock(position);
    const QString text = block.text();
    const std::optional<WordSpan> span = wordAt(text, position - block.position());
    if (!span)
        return;
    const int at = block.position() + span->start;
    const QString shown = text.mid(span->start, span->length);
    const QString word = plainWord(text, *span);

    // Everything added belongs to the holder, which goes when the menu hides.
    auto* holder = new QObject(menu);
    QList<QAction*> items;
    QList<QMenu*> subs;
    auto item = [&](const QString& caption, const char* name, auto handler) {
        auto* a = new QAction(caption, holder);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, handler);
        items << a;
        return a;
    };
    auto separator = [&] {
        auto* a = new QAction(holder);
        a->setSeparator(true);
        items << a;
    };
    const QPointer<QTextEdit> target(box);

    if (spelling_ && spelling_->unknownWordAt(box, position)) {
        const QStringList suggestions = spelling_->suggestions(word);
        for (const QString& s : suggestions)
            item(menuText(s), "mnuSuggestion", [target, at, shown, s] {
                if (target)
                    replaceWord(target, at, shown, s);
            });
        if (suggestions.isEmpty())
            item(QStringLiteral("(no suggestions)"), "mnuNoSuggestions", [] {})->setEnabled(false);
        item(QStringLiteral("&Ignore All"), "mnuIgnoreAll", [this, word] { spelling_->ignoreAll(word); });
        item(QStringLiteral("A&dd to My Words"), "mnuAddWord", [this, word] { spelling_->addToMyWords(word); });
        separator();
    }

    const std::optional<ThesaurusEntry> entry = hasDigit(word) ? std::nullopt : findInThesaurus(word);
    auto wordList = [&](const QString& caption, const char* name, const QStringList& words) {
        if (words.isEmpty())
            return;
        auto* sub = new QMenu(caption.arg(menuText(entry->word)), menu);
        subs << sub;
        sub->setObjectName(QLatin1String(name));
        sub->menuAction()->setObjectName(QLatin1String(name));
        for (const QString& w : words) {
            const QString replacement = matchCase(w, shown);
            QAction* a = sub->addAction(menuText(replacement));
            a->setObjectName(QStringLiteral("mnuReplaceBy"));
            connect(a, &QAction::triggered, this, [target, at, shown, replacement] {
                if (target)
                    replaceWord(target, at, shown, replacement);
            });
        }
        items << sub->menuAction();
    };
    if (entry) {
        wordList(QStringLiteral("S&ynonyms of \u201C%1\u201D"), "mnuSynonyms", entry->synonyms);
        wordList(QStringLiteral("A&ntonyms of \u201C%1\u201D"), "mnuAntonyms", entry->antonyms);
    }
    item(QStringLiteral("&Look up in Kavix\tShift+F7"), "mnuLookUpWord",
         [this, target, at, len = span->length] {
             if (target)
                 lookUp(target, at, len);
         });
    separator();

    QAction* first = menu->actions().value(0);
    menu->insertActions(first, items);
    // The items are triggered after the menu hides; they go a moment later.
    connect(menu, &QMenu::aboutToHide, holder, [menu, holder, items, subs] {
        for (QAction* a : items)
            menu->removeAction(a);
        for (QMenu* sub : subs)
            sub->deleteLater();
        holder->deleteLater();
    }, Qt::SingleShotConnection);
}

void WordMenu::lookUp(QTextEdit* box, int position, int length)
{
    QTextCursor c(box->document());
    c.setPosition(position);
    c.setPosition(position + length, QTextCursor::KeepAnchor);
    box->setTextCursor(c);
    const QTextBlock block = c.block();
    const QString word = plainWord(block.text(), {position - block.position(), length});
    if (const std::optional<ThesaurusEntry> entry = findInThesaurus(word))
        tools_->showEntry(entry->record);
    else
        tools_->findSelection();
}

void WordMenu::lookUpAtCaret(QTextEdit* box)
{
    if (!box)
        return;
    const QTextCursor caret = box->textCursor();
    const QTextBlock block = caret.block();
    const std::optional<WordSpan> span = wordAt(block.text(), caret.position() - block.position());
    if (!span) {
        showMessage(frame_, QStringLiteral("There is no word at the caret to look up in Kavix."),
                    lexi::MsgIcon::Information);
        return;
    }
    lookUp(box, block.position() + span->start, span->length);
}

}  // namespace wkvx
