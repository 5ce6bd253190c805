#pragma once

#include "dictstore/errors.h"
#include "dictstore/paths.h"

#include <QString>

namespace lexi {

// The store's paths as the Qt side shows them.
inline QString qpath(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }
inline QString dictionaryFile() { return qpath(dictstore::dictionaryPath()); }
inline QString savedSearchesFolder() { return qpath(dictstore::savedSearchesPath()); }
inline QString helpIndexFile() { return qpath(dictstore::helpIndexPath()); }

// A store error as the messages word it.
inline QString describe(dictstore::Error error)
{
    const std::string_view d = dictstore::describe(error);
    return QString::fromUtf8(d.data(), static_cast<qsizetype>(d.size()));
}

// std::filesystem path from a QString, keeping non-ASCII names intact.
inline std::filesystem::path fspath(const QString& p) { return std::filesystem::path(p.toStdString()); }

}  // namespace lexi
