#pragma once

#include <QString>

class QWidget;

namespace kavix {

// The command-line look-up: "viewall" opens the complete list; "/1", "/2" or
// "/3" followed by letters the results grid for that many starting letters;
// "/m" and a space followed by a description the grid of the words that best
// match that meaning; "--selection" the card of the word selected in any
// program (nothing when none is: a message says so, and nullptr comes
// back); anything else the result card for the whole text as one exact
// word ("/mnt" is a word). The
// window opens without an owner, shown and set to be deleted when closed,
// and is returned; it is the program's only window.
QWidget* runCommandLine(const QString& commandLine);

bool isMeaningSearch(const QString& commandLine);

// The text selected in any program: the X11 primary selection, or the
// clipboard where there is none (Wayland, other systems).
QString selectedText();
// The word to look up in a selection: spaces simplified, marks around it
// dropped, only its first word when it is longer than an entry's word.
QString selectedWord(const QString& selection);

}  // namespace kavix
