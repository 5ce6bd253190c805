#pragma once

// The suite's desktop menu entries, for an install (cmake --install, the
// package) and for the set-up alike.

#include "desktopids.h"

#include <filesystem>
#include <optional>
#include <string>

namespace setup {

// A program path as one argument of an Exec line, quoted and escaped, or
// nothing when no entry can hold it (a control character such as a line end).
std::optional<std::string> execArgument(const std::filesystem::path& program);
// A value of the string type: backslashes escaped; nothing for control characters.
std::optional<std::string> stringValue(const std::string& text);

enum class MenuProgram { Kavix, Selection, Writer, ExportUtil };
const char* desktopId(MenuProgram program);

// The entry for a program at `program`; the utility's starts in `folder`
// when one is given. Nothing when the paths cannot be written in an entry.
std::optional<std::string> menuEntry(MenuProgram which, const std::filesystem::path& program,
                                     const std::filesystem::path& folder = {});

// Writes the programs' entries, for programs in `binDir`, into
// `applications`. Returns an empty string, or what went wrong.
std::string writeMenuEntries(const std::filesystem::path& applications, const std::filesystem::path& binDir);

}  // namespace setup
