#pragma once

#include <QString>

class QWidget;

namespace kavix {

// The command-line look-up: "viewall" opens the complete list; "/1", "/2" or
// "/3" followed by letters the results grid for that many starting letters;
// "/m" and a space followed by a description the grid of the words that best
// match that meaning; anything else the result card for the whole text as
// one exact word ("/mnt" is a word). The
// window opens without an owner, shown and set to be deleted when closed,
// and is returned; it is the program's only window.
QWidget* runCommandLine(const QString& commandLine);

bool isMeaningSearch(const QString& commandLine);

}  // namespace kavix
