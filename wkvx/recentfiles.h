#pragma once

#include <QStringList>

namespace wkvx {

// The files last opened or saved, newest first, kept in the program's
// settings so that every run (and every running copy) shares them.
class RecentFiles {
public:
    static constexpr int kMaxFiles = 8;

    static QStringList files();
    // Puts path first, once, dropping the oldest beyond kMaxFiles.
    static void add(const QString& path);
    static void remove(const QString& path);
};

}  // namespace wkvx
