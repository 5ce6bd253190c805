#pragma once

// --help and --version, answered the same way by every program of the suite
// before anything else looks at the command line. Standard C++ only.

#include <cstring>
#include <iostream>
#include <optional>

namespace lexi {

// When the whole command line is "--help" or "--version", prints the usage
// or "PROGRAM VERSION" on standard output and gives the exit status (0).
inline std::optional<int> answerHelpOrVersion(int argc, char** argv, const char* program, const char* usage)
{
    if (argc != 2)
        return std::nullopt;
    if (std::strcmp(argv[1], "--help") == 0) {
        std::cout << usage;
        return std::cout.flush() ? 0 : 1;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << program << ' ' << LEXIVANE_VERSION << '\n';
        return std::cout.flush() ? 0 : 1;
    }
    return std::nullopt;
}

}  // namespace lexi
