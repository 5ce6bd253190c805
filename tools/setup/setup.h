#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace setup {

struct Options {
    std::filesystem::path dataDir;   // dictionary.csv and the notices that go beside it
    std::filesystem::path iconFile;  // kavix's icon for the desktop menu
    std::filesystem::path kavixPath; // the program the menu entry starts
    std::filesystem::path wkvxIconFile;  // the word processor's icon
    std::filesystem::path wkvxPath;      // the word processor, which opens RTF files
};

struct Report {
    std::vector<std::string> lines;  // what was done, for the user
    bool ok = true;
};

// Creates the Lexivane folders, installs the default dictionary where no
// dictionary file exists (an existing one, even empty, is never touched),
// the notices beside it, and desktop menu entries for kavix and wkvx.
Report run(const Options& options);

// Builds a dictionary file from the default CSV data at `target`, which must
// not exist yet. Returns an empty string, or what went wrong.
std::string installDictionary(const std::filesystem::path& csv, const std::filesystem::path& target);

}  // namespace setup
