#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace dictstore {

inline constexpr std::size_t kRecordSize = 345;

// The eleven fields, in the order they stand in a record.
enum class Field {
    Word,
    Meaning,
    PartOfSpeech,
    Pronu,
    Synonym1,
    Synonym2,
    Synonym3,
    Usage,
    Antonym1,
    Antonym2,
    Antonym3,
};

inline constexpr std::size_t kFieldCount = 11;

struct FieldLayout {
    Field field;
    std::size_t offset;
    std::size_t width;
    std::string_view name;  // the field's name in files and code: "word", "pronu", ...
};

inline constexpr std::array<FieldLayout, kFieldCount> kLayout = {{
    {Field::Word, 0, 30, "word"},
    {Field::Meaning, 30, 40, "meaning"},
    {Field::PartOfSpeech, 70, 15, "partofspeech"},
    {Field::Pronu, 85, 30, "pronu"},
    {Field::Synonym1, 115, 30, "synonym1"},
    {Field::Synonym2, 145, 30, "synonym2"},
    {Field::Synonym3, 175, 30, "synonym3"},
    {Field::Usage, 205, 50, "usage"},
    {Field::Antonym1, 255, 30, "antonym1"},
    {Field::Antonym2, 285, 30, "antonym2"},
    {Field::Antonym3, 315, 30, "antonym3"},
}};

constexpr const FieldLayout& layoutOf(Field f) { return kLayout[static_cast<std::size_t>(f)]; }

// One dictionary entry exactly as it is stored: 345 Windows-1252 bytes,
// every field space-padded to its width. A new record is all spaces.
struct WordRecord {
    std::array<char, kRecordSize> bytes;

    WordRecord() { bytes.fill(' '); }

    // The stored bytes of a field, padding included.
    std::string_view raw(Field f) const
    {
        const auto& l = layoutOf(f);
        return {bytes.data() + l.offset, l.width};
    }

    // The field as UTF-8 text at its full width, padding included.
    std::string field(Field f) const;

    // The field as UTF-8 without leading and trailing spaces.
    std::string trimmed(Field f) const;
};

// Stores UTF-8 text into a field: converted to Windows-1252 ('?' for what it
// cannot hold), left-justified, padded with spaces or cut to the width.
void assignField(WordRecord& record, Field f, std::string_view utf8);

// Removes leading and trailing space characters (only ' ', not tabs).
std::string_view trimSpaces(std::string_view text);

}  // namespace dictstore
