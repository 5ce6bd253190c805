#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kvx::rtf {

// Fonts whose characters are pictures rather than letters.
enum class SymbolFont : unsigned char { None, Symbol, Wingdings };

// Which symbol font a family is; a font of the symbol character set that is
// not one of the known ones counts as Symbol.
SymbolFont symbolFontKind(const QString& family, bool symbolCharset);

// The Unicode character a symbol font shows for c (a byte, or the byte in the
// private-use block U+F000..U+F0FF as \u gives it). Characters outside a symbol
// font, and bytes without a known glyph, stay as they are, except that
// private-use symbol bytes fall back to their Windows-1252 meaning.
char16_t symbolGlyph(SymbolFont font, char16_t c);

// The byte (0x20..0xFF) that shows glyph in a symbol font, where
// symbolGlyph gives glyph back for it; -1 where the font has no such byte.
int symbolByte(SymbolFont font, char16_t glyph);

// A list number as a \levelnfc format shows it: 0 decimal, 1/2 upper/lower
// roman, 3/4 upper/lower letter, 5 ordinal, 22 two digits; others decimal.
QString formatListNumber(int n, int nfc);

// One level of a list table entry.
struct ListLevelDef {
    int nfc = 0;       // 23 bullet, 255 no number
    int start = 1;
    int follow = 0;    // 0 tab, 1 space, 2 nothing
    int font = -1;
    bool legal = false;     // higher levels' numbers in decimal
    bool noRestart = false; // not reset by a higher level
    // \leveltext: its first item is the length; bytes are tagged with
    // kByteTag, \uN characters are kept as they are.
    std::vector<uint32_t> text;
    std::string numbers;    // \levelnumbers: offsets into text
    static constexpr uint32_t kByteTag = 0x10000;
};

struct ListDef {
    int id = 0;
    bool simple = false;  // one level only
    std::vector<ListLevelDef> levels;
};

// A \ls: the list it numbers with, and levels it formats its own way.
struct ListOverride {
    int list = 0;
    std::vector<std::pair<int, ListLevelDef>> formats;
};

// Counters of one list, shared by every \ls that names it.
struct ListCounters {
    std::array<int, 9> value{};
    std::array<bool, 9> started{};

    // Counts a paragraph at level and restarts the levels below it.
    void count(const ListDef& list, int level);
};

} // namespace kvx::rtf
