#include "dictstore/wordrecord.h"

#include "dictstore/codepage.h"

#include <algorithm>

namespace dictstore {

std::string_view trimSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string WordRecord::field(Field f) const
{
    return fromCp1252(raw(f));
}

std::string WordRecord::trimmed(Field f) const
{
    return fromCp1252(trimSpaces(raw(f)));
}

void assignField(WordRecord& record, Field f, std::string_view utf8)
{
    const auto& l = layoutOf(f);
    // Encoding first gives one byte per character, so the cut below never
    // splits a character.
    const std::string encoded = toCp1252(utf8);
    const std::size_t n = std::min(encoded.size(), l.width);
    char* dest = record.bytes.data() + l.offset;
    std::copy_n(encoded.data(), n, dest);
    std::fill(dest + n, dest + l.width, ' ');
}

}  // namespace dictstore
