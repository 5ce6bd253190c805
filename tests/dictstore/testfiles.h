#pragma once

// Helpers for tests that build dictionary files byte by byte.

#include "dictstore/wordrecord.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testfiles {

// A fresh folder under the test's own temporary home.
inline std::filesystem::path freshDir(const std::string& name)
{
    // The home folder the program made for itself, removed when it ends.
    const auto dir = std::filesystem::path(std::getenv("HOME")) / "files" / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// 345 bytes: each field's text padded with spaces, given as raw bytes.
inline std::string rawRecord(const std::string& word, const std::string& meaning = {})
{
    std::string r(dictstore::kRecordSize, ' ');
    r.replace(0, word.size(), word);
    r.replace(30, meaning.size(), meaning);
    return r;
}

inline void writeBytes(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string readBytes(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace testfiles
