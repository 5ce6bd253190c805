#pragma once

#include "dictstore/paths.h"

#include <QString>

namespace lexi {

// The store's paths as the Qt side shows them.
inline QString qpath(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }
inline QString dictionaryFile() { return qpath(dictstore::dictionaryPath()); }
inline QString savedSearchesFolder() { return qpath(dictstore::savedSearchesPath()); }
inline QString helpIndexFile() { return qpath(dictstore::helpIndexPath()); }

// std::filesystem path from a QString, keeping non-ASCII names intact.
inline std::filesystem::path fspath(const QString& p) { return std::filesystem::path(p.toStdString()); }

}  // namespace lexi
