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
enum class CsvEncoding { Windows1252, Utf8 };

class CsvReader {
public:
    explicit CsvReader(std::istream& in, CsvEncoding encoding = CsvEncoding::Windows1252)
        : in_(in), encoding_(encoding)
    {
    }

    // True when nothing but line ends and spaces is left.
    bool atEnd();

    // When the input from here on is exactly these bytes followed by a line
    // end (CR LF, LF or CR) or by the end of the file, moves past them and
    // returns true; otherwise leaves the position where it was.
    bool skipLine(std::string_view bytes);

    // Bytes consumed so far, for progress; -1 when the stream cannot say.
    std::int64_t position();

    // The line the reader is in, from 1: the one its next byte belongs to.
    std::int64_t line() const { return line_; }
    // The line the last value read began in.
    std::int64_t valueLine() const { return valueLine_; }

    // The next value. InputPastEnd when the file has no value left; DeviceIO
    // on a read error.
    Error next(std::string& utf8Value);

private:
    int peek();
    int get();
    void skipSpaces();

    std::istream& in_;
    CsvEncoding encoding_;
    // True after a value that ended at a comma: an empty value may follow.
    bool afterComma_ = false;
    std::int64_t line_ = 1;
    std::int64_t valueLine_ = 1;
    bool afterCr_ = false;  // a CR LF pair counts as one line end
};

// What a whole file turned out to be, before anything is read from it.
struct TextCheck {
    Error error = Error::None;  // NotText, or a read error
    CsvEncoding encoding = CsvEncoding::Windows1252;
    bool byteOrderMark = false;  // the file starts with UTF-8's EF BB BF
    std::int64_t line = 0;       // where the first byte that is not text stands
};

// Reads the stream to its end and tells how its text is encoded: UTF-8 when
// it starts with a byte order mark, or when it is valid UTF-8 and not plain
// ASCII; Windows-1252 otherwise. NotText for a NUL or another control byte
// (tab, line ends, form feed and the DOS end-of-file mark are text), for
// invalid UTF-8 after a byte order mark, and for a file valid in neither
// encoding (invalid UTF-8 holding one of the bytes Windows-1252 leaves
// undefined). Puts the stream back at its start.
TextCheck checkCsvText(std::istream& in);

// Eleven values in a row: one dictionary record as the import reads it.
inline constexpr std::size_t kCsvRecordValues = 11;
using CsvRecord = std::array<std::string, kCsvRecordValues>;

// startLine, when given, receives the line of the record's first value.
Error readCsvRecord(CsvReader& reader, CsvRecord& values, std::int64_t* startLine = nullptr);

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
