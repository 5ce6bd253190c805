#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <optional>

class QAction;
class QMenu;
class QTextEdit;

namespace wkvx {

class KavixTools;
class Spelling;

// What the pop-up menu offers for the word under the pointer: spelling
// suggestions, "Ignore All" and "Add to My Words" for an unknown word, the
// word's synonyms and antonyms from the Lexivane dictionary (of its base
// form when it is inflected), and "Look up in Kavix".
class WordMenu : public QObject {
    Q_OBJECT
public:
    WordMenu(QWidget* frame, Spelling* spelling, KavixTools* tools);

    // "&Look up in Kavix" (Shift+F7): the word at the caret of the active
    // document in "Replace with".
    QAction* mnuLookUpKvx = nullptr;

    // Puts the items for the word at a document position at the top of the
    // menu; they go when the menu hides. Nothing when no word is there.
    void addItems(QMenu* menu, QTextEdit* box, int position);

    // The word at the caret, selected and shown in "Replace with".
    void lookUpAtCaret(QTextEdit* box);

private:
    void lookUp(QTextEdit* box, int position, int length);

    QWidget* frame_;
    Spelling* spelling_;
    KavixTools* tools_;
};

// The document position under a point of the box's viewport when a word
// is drawn there; nothing over blank space.
std::optional<int> wordUnder(QTextEdit* box, QPoint point);

// Replaces the text at position when it still reads `old`, as one undo
// step, in the format of the text replaced; the caret ends after it.
bool replaceWord(QTextEdit* box, int position, const QString& old, const QString& with);

}  // namespace wkvx
