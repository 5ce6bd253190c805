#include "desktopentry.h"

#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace setup {

namespace {

bool hasControl(const std::string& text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    return false;
}

struct EntryText {
    MenuProgram which;
    const char* id;
    const char* icon;
    const char* binary;
    const char* wmClass;  // the program's QCoreApplication::applicationName()
    const char* body;     // everything but the paths
    const char* fieldCodes;
};

constexpr EntryText kEntries[] = {
    {MenuProgram::Kavix, lexi::kKavixDesktopId, lexi::kKavixDesktopId, "kavix", "kavix",
     "Name=Lexivane\n"
     "GenericName=Thesaurus\n"
     "Comment=Look up English words, their meanings, synonyms and antonyms\n"
     "Categories=Office;Dictionary;Qt;\n"
     "Keywords=thesaurus;dictionary;synonym;antonym;words;\n",
     ""},
    {MenuProgram::Selection, lexi::kSelectionDesktopId, lexi::kKavixDesktopId, "kavix", "kavix",
     "Name=Look Up Selected Word\n"
     "GenericName=Thesaurus look-up\n"
     "Comment=Look up the word selected in any program in the Lexivane thesaurus\n"
     "Categories=Office;Dictionary;Qt;\n"
     "Keywords=thesaurus;selection;selected;look up;\n",
     " --selection"},
    {MenuProgram::Writer, lexi::kWriterDesktopId, lexi::kWriterDesktopId, "wkvx", "wkvx",
     "Name=Kavix Writer\n"
     "GenericName=Word Processor\n"
     "Comment=Write rich-text documents with the Lexivane thesaurus at hand\n"
     "MimeType=text/rtf;application/rtf;\n"
     "Categories=Office;WordProcessor;Qt;\n",
     " %F"},
    {MenuProgram::ExportUtil, lexi::kExportUtilDesktopId, lexi::kExportUtilDesktopId, "exportUtil4Kavix", "exportUtil4Kavix",
     "Name=Lexivane Export and Import\n"
     "GenericName=Dictionary export and import\n"
     "Comment=Export the Lexivane dictionary to a CSV file or import word lists from one\n"
     "Categories=Office;Dictionary;Qt;\n"
     "Keywords=csv;export;import;spreadsheet;thesaurus;\n",
     ""},
};

const EntryText& entryText(MenuProgram which)
{
    for (const EntryText& e : kEntries)
        if (e.which == which)
            return e;
    return kEntries[0];
}

}  // namespace

std::optional<std::string> stringValue(const std::string& text)
{
    if (hasControl(text))
        return std::nullopt;
    std::string out;
    for (const char c : text)
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

std::optional<std::string> execArgument(const fs::path& program)
{
    // Inside a quoted argument ", `, $ and \ take a backslash, and a literal
    // % is %%; the line is then a string value, whose escaping doubles every
    // backslash again.
    std::string quoted = "\"";
    for (const char c : program.string()) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
        if (c == '%')
            quoted += '%';
    }
    quoted += '"';
    return stringValue(quoted);
}

const char* desktopId(MenuProgram program) { return entryText(program).id; }

std::optional<std::string> menuEntry(MenuProgram which, const fs::path& program, const fs::path& folder)
{
    const EntryText& e = entryText(which);
    const auto exec = execArgument(program);
    const auto tryExec = stringValue(program.string());
    const auto path = stringValue(folder.string());
    if (!exec || !tryExec || !path)
        return std::nullopt;
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n";
    text += e.body;
    text += "TryExec=" + *tryExec + "\n";
    text += "Exec=" + *exec + e.fieldCodes + "\n";
    if (!folder.empty())
        text += "Path=" + *path + "\n";
    text += std::string("Icon=") + e.icon + "\n";
    text += "Terminal=false\n";
    text += std::string("StartupWMClass=") + e.wmClass + "\n";
    return text;
}

std::string writeMenuEntries(const fs::path& applications, const fs::path& binDir)
{
    std::error_code ec;
    fs::create_directories(applications, ec);
    if (ec)
        return "cannot create " + applications.string() + ": " + ec.message();
    for (const EntryText& e : kEntries) {
        const auto text = menuEntry(e.which, binDir / e.binary);
        if (!text)
            return "a menu entry cannot name " + (binDir / e.binary).string();
        const fs::path file = applications / (std::string(e.id) + ".desktop");
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << *text;
        out.close();
        if (!out)
            return "cannot write " + file.string();
    }
    return {};
}

}  // namespace setup
