#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace setup {

struct Options {
    std::filesystem::path dataDir;   // dictionary.csv and the notices that go beside it; help/ the help pages
    std::filesystem::path iconFile;  // kavix's icon for the desktop menu
    std::filesystem::path kavixPath; // the program the menu entry starts
};

struct Report {
    std::vector<std::string> lines;  // what was done, for the user
    bool ok = true;
};

// Creates the Lexivane folders, installs the default dictionary where no
// dictionary file exists (an existing one, even empty, is never touched),
// the notices beside it, the help pages, and a desktop menu entry for kavix.
Report run(const Options& options);

// Copies the help pages from `from` into `to`, replacing pages an earlier
// set-up put there and removing those of them that are gone; other files in
// `to` are left alone. Returns an empty string, or what went wrong.
std::string installHelpPages(const std::filesystem::path& from, const std::filesystem::path& to, int& copied);

// Builds a dictionary file from the default CSV data at `target`, which must
// not exist yet. Returns an empty string, or what went wrong.
std::string installDictionary(const std::filesystem::path& csv, const std::filesystem::path& target);

}  // namespace setup
