#pragma once

#include "dictstore/errors.h"
#include "dictstore/wordrecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace dictstore {

// Reads the comma-separated files of the suite value by value (Windows-1252
// bytes in, UTF-8 out):
// - spaces before a value are skipped;
// - a value that starts with a double quote runs to the next double quote;
//   what follows the closing quote up to the next comma or line end is
//   dropped;
// - any other value runs to the next comma or line end, trailing spaces cut;
// - a line end separates values just as a comma does, so a record is simply
//   the next values in the file, however they are spread over lines.
class CsvReader {
public:
    explicit CsvReader(std::istream& in) : in_(in) {}

    // True when nothing but line ends and spaces is left.
    bool atEnd();

    // When the input from here on is exactly these bytes followed by a line
    // end (CR LF, LF or CR) or by the end of the file, moves past them and
    // returns true; otherwise leaves the position where it was.
    bool skipLine(std::string_view bytes);

    // Bytes consumed so far, for progress; -1 when the stream cannot say.
    std::int64_t position();

    // The next value. InputPastEnd when the file has no value left; DeviceIO
    // on a read error.
    Error next(std::string& utf8Value);

private:
    int peek();
    int get();
    void skipSpaces();

    std::istream& in_;
    // True after a value that ended at a comma: an empty value may follow.
    bool afterComma_ = false;
};

// Eleven values in a row: one dictionary record as the import reads it.
inline constexpr std::size_t kCsvRecordValues = 11;
using CsvRecord = std::array<std::string, kCsvRecordValues>;

Error readCsvRecord(CsvReader& reader, CsvRecord& values);

// The import's column order: word, meaning, partofspeech, usage,
// synonym1-3, antonym1-3, pronu (not the export's order).
inline constexpr std::array<Field, kCsvRecordValues> kImportColumns = {
    Field::Word,     Field::Meaning,  Field::PartOfSpeech, Field::Usage,
    Field::Synonym1, Field::Synonym2, Field::Synonym3,     Field::Antonym1,
    Field::Antonym2, Field::Antonym3, Field::Pronu,
};

// The export's column order, which its header line names.
inline constexpr std::array<Field, kCsvRecordValues> kExportColumns = {
    Field::Word,     Field::Meaning,  Field::PartOfSpeech, Field::Usage,
    Field::Antonym1, Field::Antonym2, Field::Antonym3,     Field::Synonym1,
    Field::Synonym2, Field::Synonym3, Field::Pronu,
};

using CsvColumns = std::array<Field, kCsvRecordValues>;

// A record filled from eleven values in the given column order, each value
// stored as read (padded or cut to its field).
WordRecord recordFromValues(const CsvRecord& values, const CsvColumns& columns);

inline WordRecord recordFromImportValues(const CsvRecord& values)
{
    return recordFromValues(values, kImportColumns);
}

}  // namespace dictstore
