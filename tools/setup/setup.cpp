#include "setup.h"

#include "dictstore/csvreader.h"
#include "dictstore/dictionary.h"
#include "dictstore/paths.h"

#include <cstdlib>
#include <fstream>
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

std::string desktopEntry(const fs::path& kavix)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Lexivane\n"
           "GenericName=Thesaurus\n"
           "Comment=Look up English words, their meanings, synonyms and antonyms\n"
           "Exec=\"" + kavix.string() + "\"\n"
           "Icon=lexivane-kavix\n"
           "Terminal=false\n"
           "Categories=Office;Dictionary;Education;Qt;\n"
           "Keywords=thesaurus;dictionary;synonym;antonym;words;\n";
}

// The word processor takes the files a desktop opens with it.
std::string writerDesktopEntry(const fs::path& wkvx)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Kavix Writer\n"
           "GenericName=Word Processor\n"
           "Comment=Write rich-text documents with the Lexivane thesaurus at hand\n"
           "Exec=\"" + wkvx.string() + "\" %F\n"
           "Icon=lexivane-wkvx\n"
           "Terminal=false\n"
           "MimeType=text/rtf;application/rtf;\n"
           "Categories=Office;WordProcessor;Qt;\n";
}

bool writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

}  // namespace

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

#ifndef _WIN32
    const fs::path apps = xdgDataHome() / "applications";
    const fs::path icons = xdgDataHome() / "icons" / "hicolor" / "scalable" / "apps";
    fs::create_directories(apps, ec);
    fs::create_directories(icons, ec);
    if (!options.iconFile.empty()) {
        std::error_code copyError;
        fs::copy_file(options.iconFile, icons / "lexivane-kavix.svg", fs::copy_options::overwrite_existing,
                      copyError);
        if (copyError)
            fail("cannot install the icon: " + copyError.message());
    }
    if (!options.kavixPath.empty()) {
        const fs::path entryPath = apps / "lexivane-kavix.desktop";
        if (writeFile(entryPath, desktopEntry(fs::absolute(options.kavixPath))))
            report.lines.push_back("menu entry: " + entryPath.string());
        else
            fail("cannot write " + entryPath.string());
    }
    if (!options.wkvxIconFile.empty()) {
        std::error_code copyError;
        fs::copy_file(options.wkvxIconFile, icons / "lexivane-wkvx.svg", fs::copy_options::overwrite_existing,
                      copyError);
        if (copyError)
            fail("cannot install the word processor's icon: " + copyError.message());
    }
    if (!options.wkvxPath.empty()) {
        const fs::path entryPath = apps / "lexivane-wkvx.desktop";
        if (writeFile(entryPath, writerDesktopEntry(fs::absolute(options.wkvxPath))))
            report.lines.push_back("menu entry: " + entryPath.string());
        else
            fail("cannot write " + entryPath.string());
    }
#endif
    return report;
}

}  // namespace setup
