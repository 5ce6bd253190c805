#include "dictstore/paths.h"

#include <cstdlib>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace dictstore {

namespace {

std::filesystem::path homeFolder()
{
#ifdef _WIN32
    return {};
#else
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
#endif
}

}  // namespace

std::filesystem::path lexivaneRoot()
{
#ifdef _WIN32
    return "C:\\Lexivane";
#else
    return homeFolder() / "Lexivane";
#endif
}

std::filesystem::path dictionaryPath() { return lexivaneRoot() / "db" / "dictionary.kvx"; }
std::filesystem::path savedSearchesPath() { return lexivaneRoot() / "SavedSearches"; }
std::filesystem::path helpFolderPath() { return lexivaneRoot() / "Help4Kavix"; }
std::filesystem::path helpIndexPath() { return helpFolderPath() / "index.htm"; }
std::filesystem::path personalWordsPath() { return lexivaneRoot() / "MyWords.txt"; }
std::filesystem::path recoveryPath() { return lexivaneRoot() / "Recovery"; }

}  // namespace dictstore
