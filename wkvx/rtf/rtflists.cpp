#include "rtflists.h"

#include "rtfcodepage.h"

#include <algorithm>
#include <utility>

namespace kvx::rtf {

namespace {

// Symbol's 0x20..0xFF as Unicode; 0 where the font draws a piece of a larger
// sign (bracket parts, extenders) that has no character of its own.
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
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};

// The Wingdings glyphs that lists and everyday text use.
constexpr std::pair<unsigned char, char16_t> kWingdings[] = {
    {0x4A, 0x263A}, {0x4C, 0x2639}, {0x6C, 0x25CF}, {0x6D, 0x274D}, {0x6E, 0x25A0}, {0x6F, 0x25A1},
    {0x70, 0x25FB}, {0x71, 0x2751}, {0x72, 0x2752}, {0x73, 0x2B27}, {0x74, 0x29EB}, {0x75, 0x25C6},
    {0x76, 0x2756}, {0x77, 0x2B25}, {0x78, 0x2327}, {0x9E, 0x00B7}, {0x9F, 0x2022}, {0xA0, 0x25AA},
    {0xA1, 0x25CB}, {0xA4, 0x25C9}, {0xA5, 0x25CE}, {0xA7, 0x25AA}, {0xA8, 0x25FB}, {0xAA, 0x2726},
    {0xAB, 0x2605}, {0xAC, 0x2736}, {0xAD, 0x2734}, {0xAE, 0x2739}, {0xAF, 0x2735}, {0xD8, 0x27A2},
    {0xE8, 0x2794}, {0xF0, 0x21E8}, {0xFB, 0x2717}, {0xFC, 0x2713}, {0xFD, 0x2612}, {0xFE, 0x2611},
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

QString letterNumber(int n)
{
    QString out;
    for (; n > 0; n = (n - 1) / 26)
        out.prepend(QChar(char16_t('a' + (n - 1) % 26)));
    return out;
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
    return decodeWindows1252(b);
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
