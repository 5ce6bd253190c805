#include "dictstore/wordrecord.h"

#include "dictstore/codepage.h"

#include <algorithm>

namespace dictstore {

std::string_view trimSpaces(std::string_view text)
{
    // Plain loops: find_first_not_of tests each byte against a set, and
    // every field of every record is trimmed when a dictionary is indexed.
    std::size_t first = 0;
    while (first < text.size() && text[first] == ' ')
        ++first;
    std::size_t end = text.size();
    while (end > first && text[end - 1] == ' ')
        --end;
    return text.substr(first, end - first);
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
