#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace setup {

struct Options {
    std::filesystem::path dataDir;   // dictionary.csv and the notices that go beside it; help/ the help pages
    std::filesystem::path iconFile;  // kavix's icon for the desktop menu
    std::filesystem::path kavixPath; // the program the menu entry starts
    std::filesystem::path exportUtilPath{};  // exportUtil4Kavix, for a menu entry of its own
    std::filesystem::path exportIconFile{};  // its icon
    std::filesystem::path wkvxIconFile{};  // the word processor's icon
    std::filesystem::path wkvxPath{};      // the word processor, which opens RTF files
};

struct Report {
    std::vector<std::string> lines;  // what was done, for the user
    bool ok = true;
};

// Creates the Lexivane folders, installs the default dictionary where no
// dictionary file exists (an existing one, even empty, is never touched),
// the notices beside it, the help pages, and desktop menu entries for kavix,
// wkvx and the export/import utility (which starts in the user's documents
// folder, where it writes and reads its CSV files).
Report run(const Options& options);

// Copies the help pages from `from` into `to`, replacing pages an earlier
// set-up put there and removing those of them that are gone; other files in
// `to` are left alone. Returns an empty string, or what went wrong.
std::string installHelpPages(const std::filesystem::path& from, const std::filesystem::path& to, int& copied);

// The user's documents folder as the desktop names it (XDG_DOCUMENTS_DIR),
// or the home folder when there is none.
std::filesystem::path documentsFolder();

// Builds a dictionary file from the default CSV data at `target`, which must
// not exist yet. Returns an empty string, or what went wrong.
std::string installDictionary(const std::filesystem::path& csv, const std::filesystem::path& target);

}  // namespace setup
