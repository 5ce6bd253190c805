#pragma once

#include <filesystem>

namespace dictstore {

// The Lexivane root: C:\Lexivane\ on Windows, ~/Lexivane elsewhere. Every
// path of the suite hangs under it and is built here, nowhere else.
std::filesystem::path lexivaneRoot();

std::filesystem::path dictionaryPath();     // <root>/db/dictionary.kvx
std::filesystem::path savedSearchesPath();  // <root>/SavedSearches
std::filesystem::path helpFolderPath();     // <root>/Help4Kavix
std::filesystem::path helpIndexPath();      // <root>/Help4Kavix/index.htm
std::filesystem::path personalWordsPath();  // <root>/MyWords.txt: words the spelling check accepts
std::filesystem::path recoveryPath();       // <root>/Recovery: copies of unsaved documents

}  // namespace dictstore
