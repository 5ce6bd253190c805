// lexivane-setup: prepares the current user's Lexivane folder.

#include "desktopentry.h"
#include "setup.h"

#include "commandoptions.h"

#include <cstring>
#include <iostream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: lexivane-setup [--data DIR] [--icon FILE] [--kavix PROGRAM] [--export-util PROGRAM]\n"
    "                      [--export-icon FILE] [--wkvx PROGRAM] [--wkvx-icon FILE]\n"
    "       lexivane-setup --menu-entries DIR --bindir DIR\n"
    "  sets up ~/Lexivane (folders, the default dictionary where there is none, the help\n"
    "  pages) and, unless the programs are installed system-wide, menu entries and icons\n"
    "  under ~/.local/share; the defaults are those of the build tree or install it runs from\n"
    "  --menu-entries DIR  only writes the menu entries for programs in the --bindir DIR\n"
    "  --help, --version\n";

fs::path programFolder(const char* argv0)
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return (ec ? fs::absolute(argv0) : self).parent_path();
}

// Where the data, icons and programs are: beside the sources when this is
// the build tree's set-up, else in the install this program belongs to.
setup::Options defaults(const fs::path& here)
{
    setup::Options o;
    std::error_code ec;
    if (fs::equivalent(here, LEXIVANE_SETUP_BUILD_DIR, ec)) {
        const fs::path source = LEXIVANE_SOURCE_DIR;
        o.dataDir = source / "data";
        o.iconFile = source / "kavix/icons/kavix.svg";
        o.exportIconFile = source / "exportutil/icons/exportutil.svg";
        o.wkvxIconFile = source / "wkvx/icons/wkvx.svg";
        o.kavixPath = LEXIVANE_BUILD_KAVIX;
        o.exportUtilPath = LEXIVANE_BUILD_EXPORTUTIL;
        o.wkvxPath = LEXIVANE_BUILD_WKVX;
        return o;
    }
    const fs::path share = (here / LEXIVANE_BIN_TO_DATA).lexically_normal();
    const fs::path icons = share / "icons/hicolor/scalable/apps";
    o.dataDir = share / "lexivane";
    o.iconFile = icons / (std::string(lexi::kKavixDesktopId) + ".svg");
    o.exportIconFile = icons / (std::string(lexi::kExportUtilDesktopId) + ".svg");
    o.wkvxIconFile = icons / (std::string(lexi::kWriterDesktopId) + ".svg");
    o.kavixPath = here / "kavix";
    o.exportUtilPath = here / "exportUtil4Kavix";
    o.wkvxPath = here / "wkvx";
    return o;
}

}  // namespace

int main(int argc, char** argv)
{
    if (const auto status = lexi::answerHelpOrVersion(argc, argv, "lexivane-setup", kUsage))
        return *status;
    setup::Options options = defaults(programFolder(argv[0]));
    fs::path menuEntries, binDir;

    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--data") == 0 && hasValue) {
            options.dataDir = argv[++i];
        } else if (std::strcmp(argv[i], "--icon") == 0 && hasValue) {
            options.iconFile = argv[++i];
        } else if (std::strcmp(argv[i], "--kavix") == 0 && hasValue) {
            options.kavixPath = argv[++i];
        } else if (std::strcmp(argv[i], "--export-util") == 0 && hasValue) {
            options.exportUtilPath = argv[++i];
        } else if (std::strcmp(argv[i], "--export-icon") == 0 && hasValue) {
            options.exportIconFile = argv[++i];
        } else if (std::strcmp(argv[i], "--wkvx-icon") == 0 && hasValue) {
            options.wkvxIconFile = argv[++i];
        } else if (std::strcmp(argv[i], "--wkvx") == 0 && hasValue) {
            options.wkvxPath = argv[++i];
        } else if (std::strcmp(argv[i], "--menu-entries") == 0 && hasValue) {
            menuEntries = argv[++i];
        } else if (std::strcmp(argv[i], "--bindir") == 0 && hasValue) {
            binDir = argv[++i];
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }

    if (!menuEntries.empty() || !binDir.empty()) {
        if (menuEntries.empty() || binDir.empty()) {
            std::cerr << kUsage;
            return 2;
        }
        const std::string failure = setup::writeMenuEntries(menuEntries, binDir);
        if (!failure.empty())
            std::cerr << "lexivane-setup: error: " << failure << '\n';
        return failure.empty() ? 0 : 1;
    }

    const setup::Report report = setup::run(options);
    for (const auto& line : report.lines)
        (line.rfind("error:", 0) == 0 ? std::cerr : std::cout) << line << '\n';
    return report.ok ? 0 : 1;
}
