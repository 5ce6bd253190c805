#pragma once

#include "wordspans.h"

#include <QObject>
#include <QTextBlock>

#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QTextEdit;

namespace wkvx {

class SpellChecker;

// Spelling in the word processor: the marks under unknown words in every
// document, the View menu's "Check Spelling as You Type" and the check of
// the whole document. Without an English dictionary spelling is off and the
// menu item says so.
class Spelling : public QObject {
    Q_OBJECT
public:
    using ActiveBox = std::function<QTextEdit*()>;
    // Shows the pop-up menu for the word now selected in the box.
    using ShowMenu = std::function<void(QTextEdit* box)>;

    Spelling(QMainWindow* frame, ActiveBox activeBox, ShowMenu showMenu);

    // View > "Check Spelling as You Type", checked while marks are drawn.
    QAction* mnuViewSpelling = nullptr;
    // "Check &Spelling..." (F7): the next unknown word of the active document.
    QAction* mnuSpellCheck = nullptr;

    bool available() const;
    bool asYouType() const;

    // Marks the box's current document while spelling is on; again after
    // the box was given another document.
    void attach(QTextEdit* box);

    // The unknown word at a document position, if the word there is one.
    std::optional<WordSpan> unknownWordAt(QTextEdit* box, int position);
    QStringList suggestions(const QString& word) const;
    void ignoreAll(const QString& word);
    void addToMyWords(const QString& word);

    // F7: selects the next unknown word after the caret (going round to the
    // start once) and offers the menu for it, or says there is none.
    void checkDocument();

    static constexpr int kMostSuggestions = 6;

private:
    void mnuViewSpelling_Toggled(bool on);
    void recheckEverywhere(const QString& word);
    QList<QTextEdit*> boxes() const;
    QList<WordSpan> unknownIn(QTextEdit* box, const QTextBlock& block);

    QMainWindow* frame_;
    ActiveBox activeBox_;
    ShowMenu showMenu_;
};

// The View menu of a frame: the one named mnuView among the frame's
// children, or a new "&View" placed before the menu that `before` opens.
QMenu* viewMenu(QMainWindow* frame, QAction* before);

}  // namespace wkvx
