#pragma once

#include <QString>
#include <QStringList>

namespace kavix {

// The words last looked up in the look-up dialog, newest first, kept
// between runs in the user's settings (an INI file of "Lexivane/kavix").
class RecentWords {
public:
    static constexpr int kMost = 20;

    static QStringList load();
    // Puts a word first (trimmed; an empty one is not kept), drops an
    // earlier copy in any letter case and keeps the newest kMost.
    static void remember(const QString& word);

    // Where the words are kept; tests point it into their own folder.
    static QString storeFile();
    static void setStoreFile(const QString& path);
};

}  // namespace kavix
