// lexivane-setup: prepares the current user's Lexivane folder.

#include "setup.h"

#include <cstring>
#include <iostream>

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    setup::Options options;
    options.dataDir = LEXIVANE_SHARE_DIR;
    options.iconFile = fs::path(LEXIVANE_SHARE_DIR) / "kavix.svg";
    options.kavixPath = fs::absolute(fs::path(argv[0])).parent_path() / "kavix";
    options.exportUtilPath = fs::absolute(fs::path(argv[0])).parent_path() / "exportUtil4Kavix";
    options.exportIconFile = fs::path(LEXIVANE_SHARE_DIR) / "exportutil.svg";
    options.wkvxIconFile = fs::path(LEXIVANE_SHARE_DIR) / "wkvx.svg";
    options.wkvxPath = fs::absolute(fs::path(argv[0])).parent_path() / "wkvx";

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
        } else {
            std::cerr << "usage: lexivane-setup [--data DIR] [--icon FILE] [--kavix PROGRAM]"
                         " [--export-util PROGRAM] [--export-icon FILE] [--wkvx PROGRAM] [--wkvx-icon FILE]\n";
            return 2;
        }
    }

    const setup::Report report = setup::run(options);
    for (const auto& line : report.lines)
        (line.rfind("error:", 0) == 0 ? std::cerr : std::cout) << line << '\n';
    return report.ok ? 0 : 1;
}
