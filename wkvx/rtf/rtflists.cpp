#include "rtflists.h"

#include "rtfcodepage.h"

#include <algorithm>
#include <utility>

namespace kvx::rtf {

namespace {

// Symbol's 0x20..0xFF as Unicode, bracket and integral pieces included; 0
// where the font has no glyph.
constexpr char16_t kSymbol[224] = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,
    0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,
    0, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F, 0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0,
};

// The Wingdings glyphs that lists and everyday text use.
constexpr std::pair<unsigned char, char16_t> kWingdings[] = {
    {0x4A, 0x263A}, {0x4C, 0x2639}, {0x6C, 0x25CF}, {0x6D, 0x274D}, {0x6E, 0x25A0}, {0x6F, 0x25A1},
    {0x70, 0x25FB}, {0x71, 0x2751}, {0x72, 0x2752}, {0x73, 0x2B27}, {0x74, 0x29EB}, {0x75, 0x25C6},
    {0x76, 0x2756}, {0x77, 0x2B25}, {0x78, 0x2327}, {0x9E, 0x00B7}, {0x9F, 0x2022}, {0xA0, 0x25AA},
    {0xA1, 0x25CB}, {0xA4, 0x25C9}, {0xA5, 0x25CE}, {0xA7, 0x25AA}, {0xA8, 0x25FB}, {0xAA, 0x2726},
    {0xAB, 0x2605}, {0xAC, 0x2736}, {0xAD, 0x2734}, {0xAE, 0x2739}, {0xAF, 0x2735}, {0xD8, 0x27A2},
    {0xE8, 0x2794}, {0xF0, 0x21E8}, {0xFB, 0x2717}, {0xFC, 0x2713}, {0xFD, 0x2612}, {0xFE, 0x2611},
    {0x22, 0x2702}, {0x28, 0x260E}, {0x2A, 0x2709}, {0x3F, 0x270D}, {0x41, 0x270C}, {0x43, 0x1F44D},
    {0x46, 0x261E}, {0x47, 0x261D}, {0x48, 0x261F}, {0x52, 0x263C}, {0x54, 0x2744}, {0x58, 0x2720},
    {0x59, 0x2721}, {0x5B, 0x262F}, {0x7A, 0x2318}, {0x7B, 0x2740}, {0x7C, 0x273F}, {0x84, 0x2463},
    {0x8C, 0x2469}, {0x9B, 0x2766}, {0xA2, 0x25CB}, {0xA3, 0x25CB}, {0xA6, 0x25CE}, {0xA9, 0x25B4},
    {0xB2, 0x2727}, {0xB5, 0x25CC}, {0xD5, 0x232B}, {0xD6, 0x2326}, {0xDF, 0x2190}, {0xE0, 0x2192},
    {0xE1, 0x2191}, {0xE2, 0x2193}, {0xEF, 0x21E6}, {0xF1, 0x21E7}, {0xF2, 0x21E9}, {0xF3, 0x2B04},
    {0xF4, 0x21F3}, {0xF9, 0x25AD}, {0xFA, 0x25AB},
};

QString romanNumeral(int n)
{
    static const std::pair<int, const char*> parts[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"},
        {50, "l"}, {40, "xl"}, {10, "x"}, {9, "ix"}, {5, "v"}, {4, "iv"}, {1, "i"},
    };
    QString out;
    for (const auto& [value, text] : parts) {
        for (; n >= value; n -= value)
            out += QLatin1String(text);
    }
    return out;
}

// Past "z" the letter repeats: 27 is "aa", 28 "bb", 53 "aaa", as Word and
// LibreOffice count.
QString letterNumber(int n)
{
    if (n <= 0)
        return QString();
    constexpr int kMaxRepeat = 64;
    return QString(std::min((n - 1) / 26 + 1, kMaxRepeat), QChar(char16_t('a' + (n - 1) % 26)));
}

} // namespace

SymbolFont symbolFontKind(const QString& family, bool symbolCharset)
{
    if (family.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)
        || family.startsWith(QLatin1String("Webdings"), Qt::CaseInsensitive))
        return SymbolFont::Wingdings;
    if (family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0 || symbolCharset)
        return SymbolFont::Symbol;
    return SymbolFont::None;
}

char16_t symbolGlyph(SymbolFont font, char16_t c)
{
    const bool privateUse = c >= 0xF020 && c <= 0xF0FF;
    if (font == SymbolFont::None && !privateUse)
        return c;
    const auto b = static_cast<unsigned char>(privateUse ? c - 0xF000 : c);
    if (!privateUse && c > 0xFF)
        return c;
    if (font == SymbolFont::None) {
        // Private-use bytes in a text font: most come from a symbol font the
        // file does not name.
        switch (b) {
        case 0xB7: return 0x2022;
        case 0xA7: return 0x25AA;
        case 0xD8: return 0x27A2;
        case 0x76: return 0x2756;
        case 0xFC: return 0x2713;
        case 0x6F: return 0x25A1;
        case 0x6E: return 0x25A0;
        default: return decodeWindows1252(b);
        }
    }
    if (font == SymbolFont::Wingdings) {
        for (const auto& [byte, glyph] : kWingdings) {
            if (byte == b)
                return glyph;
        }
        // An unknown picture still marks a list item.
        return 0x2022;
    }
    if (b >= 0x20 && kSymbol[b - 0x20] != 0)
        return kSymbol[b - 0x20];
    // A byte without a glyph is no letter: as a marker it is a bullet.
    return b >= 0x7F ? char16_t(0x2022) : decodeWindows1252(b);
}

int symbolByte(SymbolFont font, char16_t glyph)
{
    if (font == SymbolFont::None)
        return -1;
    // Glyph to byte, built once per font; the table's own bytes come first,
    // so that a bullet is Symbol's 0xB7 or Wingdings' 0x9F, as other
    // readers show it too.
    static const auto reverse = [] {
        std::array<std::vector<std::pair<char16_t, unsigned char>>, 2> byFont;
        for (int b = 0x20; b <= 0xFF; ++b) {
            if (kSymbol[b - 0x20] != 0)
                byFont[0].emplace_back(kSymbol[b - 0x20], static_cast<unsigned char>(b));
        }
        for (const auto& [byte, g] : kWingdings)
            byFont[1].emplace_back(g, byte);
        for (int b = 0x20; b <= 0xFF; ++b) {
            const auto u = static_cast<unsigned char>(b);
            byFont[0].emplace_back(symbolGlyph(SymbolFont::Symbol, char16_t(0xF000 + b)), u);
            byFont[1].emplace_back(symbolGlyph(SymbolFont::Wingdings, char16_t(0xF000 + b)), u);
        }
        for (auto& list : byFont)
            std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        return byFont;
    }();
    const auto& list = reverse[font == SymbolFont::Symbol ? 0 : 1];
    const auto it = std::lower_bound(list.begin(), list.end(), glyph,
                                     [](const auto& entry, char16_t g) { return entry.first < g; });
    return it != list.end() && it->first == glyph ? int(it->second) : -1;
}

QString formatListNumber(int n, int nfc)
{
    switch (nfc) {
    case 1: return romanNumeral(n).toUpper();
    case 2: return romanNumeral(n);
    case 3: return letterNumber(n).toUpper();
    case 4: return letterNumber(n);
    case 5: {
        const int tens = n % 100;
        const int ones = n % 10;
        const char* suffix = (tens >= 11 && tens <= 13) ? "th" : ones == 1 ? "st" : ones == 2 ? "nd" : ones == 3 ? "rd" : "th";
        return QString::number(n) + QLatin1String(suffix);
    }
    case 22: return n < 10 && n >= 0 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
    case 23:
    case 255: return QString();
    default: return QString::number(n);
    }
}

void ListCounters::count(const ListDef& list, int level)
{
    if (level < 0 || level >= int(list.levels.size()) || level >= 9)
        return;
    const ListLevelDef& def = list.levels[size_t(level)];
    value[size_t(level)] = started[size_t(level)] ? value[size_t(level)] + 1 : def.start;
    started[size_t(level)] = true;
    for (size_t deeper = size_t(level) + 1; deeper < list.levels.size() && deeper < 9; ++deeper) {
        if (!list.levels[deeper].noRestart)
            started[deeper] = false;
    }
}

} // namespace kvx::rtf
