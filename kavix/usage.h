#pragma once

namespace kavix {

// kavix --help. Any other command line is a look-up (or empty: the main window).
inline constexpr const char* kUsage =
    "usage: kavix [WORD | viewall | /1L | /2LL | /3LLL | /m DESCRIPTION | --selection]\n"
    "  without arguments  the splash screen, then the main window\n"
    "  WORD               the result card of that word (the whole command line is the word)\n"
    "  viewall            the complete list of words\n"
    "  /1L, /2LL, /3LLL   the words that begin with the 1, 2 or 3 letters given\n"
    "  /m DESCRIPTION     the words whose meaning best matches the description\n"
    "  --selection        the result card of the word selected in any program\n"
    "  --help             this text; --version: the program's version\n"
    "  (--help and --version alone are options, not words to look up)\n";

}  // namespace kavix
