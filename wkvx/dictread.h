#pragma once

#include "dictstore/dictionary.h"
#include "dictstore/paths.h"

#include <filesystem>
#include <system_error>

namespace wkvx {

// Opens the dictionary for a command that only reads it, so that a
// read-only dictionary serves. A missing one is created empty, as these
// commands always have; where it cannot be created it is simply not there.
inline dictstore::Error openDictionaryToRead(dictstore::Dictionary& dict)
{
    const std::filesystem::path path = dictstore::dictionaryPath();
    std::error_code ec;
    const bool existed = std::filesystem::exists(std::filesystem::symlink_status(path, ec));
    const dictstore::Error error = dict.openForLookUp(path);
    if (!existed && error == dictstore::Error::PermissionDenied)
        return dictstore::Error::FileNotFound;
    return error;
}

}  // namespace wkvx
