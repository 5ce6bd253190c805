#pragma once

// The windows the accessibility test opens, program by program. A program
// adds its windows from a source file of its own:
//
//     const bool added = a11ytest::addWindows({{"wkvx", "MDImain", [] { ... }}, ...});
//
// and the test checks each of them as a screen reader meets it.

#include <QWidget>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace a11ytest {

struct WindowCase {
    std::string program;  // "kavix", "wkvx", ...
    std::string window;   // a name for the window in its state, letters, digits and '_' only
    // Builds the window as the program opens it and returns it, not yet shown.
    // It runs with a small dictionary in place and every message box answered.
    std::function<std::unique_ptr<QWidget>()> open;
};

// Names the case in a failure message instead of dumping its bytes.
inline void PrintTo(const WindowCase& c, std::ostream* out) { *out << c.program << ' ' << c.window; }

bool addWindows(std::vector<WindowCase> cases);
const std::vector<WindowCase>& allWindows();

}  // namespace a11ytest
