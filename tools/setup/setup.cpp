#include "setup.h"

#include "desktopentry.h"

#include "dictstore/csvreader.h"
#include "dictstore/dictionary.h"
#include "dictstore/paths.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace setup {

namespace {

std::string describeError(dictstore::Error e) { return std::string(dictstore::describe(e)); }

fs::path xdgDataHome()
{
    if (const char* v = std::getenv("XDG_DATA_HOME"); v && *v == '/')
        return v;
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/") / ".local" / "share";
}

fs::path homeFolder()
{
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/");
}

// The entry of a system-wide install (cmake --install, the package) in the
// desktop's data folders, if there is one.
std::optional<fs::path> installedMenuEntry()
{
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    for (size_t start = 0; start <= list.size();) {
        size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        const std::string dir = list.substr(start, end - start);
        start = end + 1;
        if (dir.empty() || dir.front() != '/')
            continue;
        const fs::path entry = fs::path(dir) / "applications" / (std::string(lexi::kKavixDesktopId) + ".desktop");
        std::error_code ec;
        if (fs::exists(entry, ec))
            return entry;
    }
    return std::nullopt;
}

bool writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    // A short text is only written when the file closes.
    out.close();
    return static_cast<bool>(out);
}

// Names of the help pages the last set-up installed, kept in the help folder.
constexpr const char* kHelpManifest = ".lexivane-help-pages";

}  // namespace

std::string installHelpPages(const fs::path& from, const fs::path& to, int& copied)
{
    copied = 0;
    std::error_code ec;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(from, ec))
        if (entry.is_regular_file(ec) && entry.path().filename().string().front() != '.')
            names.push_back(entry.path().filename().string());
    if (ec)
        return "cannot read " + from.string() + ": " + ec.message();

    const fs::path manifest = to / kHelpManifest;
    {
        std::ifstream old(manifest);
        std::string name;
        while (std::getline(old, name)) {
            // Only plain names of ours: a damaged list must not reach outside the folder.
            if (name.empty() || name.find('/') != std::string::npos || name.find('\\') != std::string::npos ||
                name == "." || name == ".." || std::find(names.begin(), names.end(), name) != names.end())
                continue;
            fs::remove(to / name, ec);
        }
    }
    for (const std::string& name : names) {
        fs::copy_file(from / name, to / name, fs::copy_options::overwrite_existing, ec);
        if (ec)
            return "cannot copy " + (from / name).string() + ": " + ec.message();
        ++copied;
    }
    std::string list;
    for (const std::string& name : names)
        list += name + "\n";
    if (!writeFile(manifest, list))
        return "cannot write " + manifest.string();
    return {};
}

fs::path documentsFolder()
{
    const fs::path home = homeFolder();
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::ifstream dirs((config && *config == '/' ? fs::path(config) : home / ".config") / "user-dirs.dirs");
    for (std::string line; std::getline(dirs, line);) {
        const std::string key = "XDG_DOCUMENTS_DIR=\"";
        if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"')
            continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.rfind("$HOME", 0) == 0)
            value = home.string() + value.substr(5);
        std::error_code ec;
        // A documents folder that is the home folder itself means none.
        if (!value.empty() && value.front() == '/' && fs::is_directory(value, ec) &&
            !fs::equivalent(value, home, ec))
            return value;
    }
    return home;
}

std::string installDictionary(const fs::path& csv, const fs::path& target)
{
    std::ifstream in(csv, std::ios::binary);
    if (!in)
        return "cannot read " + csv.string();

    // Built beside the target and linked into place only when complete, so
    // a failure never leaves a half dictionary, and an existing file is
    // never replaced.
#ifdef _WIN32
    const fs::path temp = target.string() + ".new";
#else
    const fs::path temp = target.string() + ".new-" + std::to_string(::getpid());
#endif
    std::error_code ec;
    fs::remove(temp, ec);
    std::string failure;
    {
        dictstore::Dictionary dict;
        if (const auto e = dict.openForUpdate(temp); e != dictstore::Error::None)
            return "cannot create " + temp.string() + ": " + describeError(e);
        dictstore::CsvReader reader(in);
        std::int64_t line = 0;
        while (failure.empty() && !reader.atEnd()) {
            ++line;
            dictstore::CsvRecord values;
            if (const auto e = dictstore::readCsvRecord(reader, values); e != dictstore::Error::None) {
                failure = csv.string() + ", entry " + std::to_string(line) + ": " + describeError(e);
                break;
            }
            std::int64_t number = 0;
            const auto e = dict.append(dictstore::recordFromImportValues(values), number);
            if (e != dictstore::Error::None)
                failure = "cannot write " + temp.string() + ": " + describeError(e);
        }
    }
    if (failure.empty()) {
        fs::create_hard_link(temp, target, ec);
        if (ec)
            failure = "cannot install " + target.string() + ": " + ec.message();
    }
    fs::remove(temp, ec);
    return failure;
}

Report run(const Options& options)
{
    Report report;
    auto fail = [&](std::string line) {
        report.ok = false;
        report.lines.push_back("error: " + std::move(line));
    };
    {
        std::error_code ec;
        if (!fs::is_directory(options.dataDir, ec)) {
            fail("the data folder " + options.dataDir.string() + " does not exist");
            return report;
        }
    }

    const fs::path root = dictstore::lexivaneRoot();
    const fs::path db = dictstore::dictionaryPath().parent_path();
    for (const fs::path& dir : {root, db, dictstore::savedSearchesPath(), dictstore::helpFolderPath()}) {
        std::error_code ec;
        fs::create_directories(dir, ec);
        if (ec)
            fail("cannot create " + dir.string() + ": " + ec.message());
    }
    if (!report.ok)
        return report;
    report.lines.push_back("Lexivane folder: " + root.string());

    const fs::path dictionary = dictstore::dictionaryPath();
    const fs::path csv = options.dataDir / "dictionary.csv";
    std::error_code ec;
    if (fs::exists(fs::symlink_status(dictionary, ec))) {
        report.lines.push_back("kept the existing dictionary " + dictionary.string());
    } else if (!fs::exists(csv, ec)) {
        report.lines.push_back("no default dictionary to install (" + csv.string() + " is missing)");
    } else if (const std::string failure = installDictionary(csv, dictionary); !failure.empty()) {
        fail(failure);
    } else {
        report.lines.push_back("installed the default dictionary " + dictionary.string());
    }

    // The data's licence and acknowledgement notices go beside the dictionary.
    for (const auto& entry : fs::directory_iterator(options.dataDir, ec)) {
        if (entry.path().extension() != ".txt")
            continue;
        std::error_code copyError;
        fs::copy_file(entry.path(), db / entry.path().filename(), fs::copy_options::overwrite_existing,
                      copyError);
        if (copyError)
            fail("cannot copy " + entry.path().string() + ": " + copyError.message());
    }

    const fs::path helpSource = options.dataDir / "help";
    if (!fs::is_directory(helpSource, ec)) {
        report.lines.push_back("no help pages to install (" + helpSource.string() + " is missing)");
    } else {
        int copied = 0;
        if (const std::string failure = installHelpPages(helpSource, dictstore::helpFolderPath(), copied);
            !failure.empty())
            fail(failure);
        else
            report.lines.push_back("installed " + std::to_string(copied) + " help pages in " +
                                   dictstore::helpFolderPath().string());
    }

#ifndef _WIN32
    const fs::path apps = xdgDataHome() / "applications";
    const fs::path icons = xdgDataHome() / "icons" / "hicolor" / "scalable" / "apps";
    // Entries and icons of earlier set-ups, before the programs had ids.
    for (const char* old : {"lexivane-kavix", "lexivane-wkvx", "lexivane-exportutil"}) {
        fs::remove(apps / (std::string(old) + ".desktop"), ec);
        fs::remove(icons / (std::string(old) + ".svg"), ec);
    }
    if (const auto installed = installedMenuEntry()) {
        report.lines.push_back("menu entries: installed with the programs (" + installed->string() + ")");
        return report;
    }
    fs::create_directories(apps, ec);
    fs::create_directories(icons, ec);
    struct MenuEntry {
        const fs::path& icon;
        const fs::path& program;
        MenuProgram which;
    };
    const fs::path noIcon;  // the entry shares kavix's icon
    const MenuEntry entries[] = {
        {options.iconFile, options.kavixPath, MenuProgram::Kavix},
        {noIcon, options.kavixPath, MenuProgram::Selection},
        {options.wkvxIconFile, options.wkvxPath, MenuProgram::Writer},
        {options.exportIconFile, options.exportUtilPath, MenuProgram::ExportUtil},
    };
    for (const MenuEntry& entry : entries) {
        const std::string id = desktopId(entry.which);
        // An install into ~/.local has put the icon in place already.
        const fs::path iconPath = icons / (id + ".svg");
        if (!entry.icon.empty() && !fs::equivalent(entry.icon, iconPath, ec)) {
            std::error_code copyError;
            fs::copy_file(entry.icon, iconPath, fs::copy_options::overwrite_existing, copyError);
            if (copyError)
                fail("cannot install the icon " + entry.icon.string() + ": " + copyError.message());
        }
        if (entry.program.empty())
            continue;
        const fs::path entryPath = apps / (id + ".desktop");
        // The utility starts where it writes and reads its CSV files.
        const auto text = menuEntry(entry.which, fs::absolute(entry.program),
                                    entry.which == MenuProgram::ExportUtil ? documentsFolder() : fs::path());
        if (!text)
            fail("a menu entry cannot name " + entry.program.string());
        else if (writeFile(entryPath, *text))
            report.lines.push_back("menu entry: " + entryPath.string());
        else
            fail("cannot write " + entryPath.string());
    }
#endif
    return report;
}

}  // namespace setup
