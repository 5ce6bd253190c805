#pragma once

// Moving the whole dictionary out to a comma-separated file and word lists
// back in, as the export/import utility does it.

#include "dictstore/dictionary.h"
#include "dictstore/errors.h"
#include "dictstore/wordrecord.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <istream>
#include <string>

namespace dictstore {

// The utility counts exported and imported entries in 16 bits.
inline constexpr std::int64_t kMaxTransferCount = 32767;

// The export's first line without its line end: the eleven column names in
// the export's order, each in double quotes.
const std::string& exportHeader();

// One record as an export line, CR LF included: every field trimmed of
// spaces except antonym3, which keeps its full width; each value in double
// quotes, nothing escaped. Windows-1252 bytes.
std::string exportLine(const WordRecord& record);

// Done so far and the total, for a progress bar. Called now and then, not
// for every record.
using ProgressFn = std::function<void(std::int64_t done, std::int64_t total)>;

struct ExportResult {
    std::int64_t count = 0;  // entries written
    Error error = Error::None;
};

// Writes the dictionary at `dictionary` to `csv`. The dictionary is opened
// first, so a missing one leaves `csv` untouched. The file is built beside
// `csv` and put in its place only when complete: after any failure an
// existing `csv` is as it was and no partial file is left.
ExportResult exportDictionary(const std::filesystem::path& dictionary, const std::filesystem::path& csv,
                              const ProgressFn& progress = {});

// Opens a CSV file for reading and tells its size. FileNotFound,
// PathNotFound (its folder is missing), PermissionDenied, NotRegularFile
// (a pipe or a device, which is never opened), ...
Error openCsvForReading(const std::filesystem::path& csv, std::ifstream& in, std::int64_t& size);

// How the import finds out whether a word is present. Both give the same
// results; ReReadPerLine scans the dictionary file for every line.
enum class ImportLookup { Index, ReReadPerLine };

struct ImportHooks {
    // A word already present (trimmed, as the line gave it); its line is not
    // imported. Called in file order, before the import goes on.
    std::function<void(const std::string& word)> refused;
    // Bytes of the CSV read so far.
    ProgressFn progress;
};

struct ImportResult {
    std::int64_t count = 0;  // entries appended, also when an error ended the import
    Error error = Error::None;
    bool headerSkipped = false;  // the file was the export's, read by its column names
    // The CSV line at which an error stopped the import; 0 when the error
    // belongs to no line.
    std::int64_t line = 0;
    // Error::Overflow because the dictionary holds as many records as kavix
    // can number (kMaxKavixRecords).
    bool dictionaryFull = false;
};

// Reads `csv` eleven values at a time and appends to `dict` (open for update)
// every entry whose word is not present yet, in file order; a word appended
// counts for the lines after it. A file that starts with the export's header
// line is read in the export's column order and its header is not imported;
// any other file is read in the import order, every line as data. The first
// error ends the import; entries appended before it stay.
//
// The whole file is checked first: one that is not text appends nothing
// (NotText). UTF-8, with or without a byte order mark, is read as UTF-8;
// anything else as Windows-1252. The dictionary's write lock is held for the
// whole import, so no other program's entries come in between the duplicate
// check and the appends (InUse while another program holds it). The import
// stops at kMaxKavixRecords records in the dictionary.
ImportResult importCsv(Dictionary& dict, std::istream& csv, std::int64_t csvSize, const ImportHooks& hooks,
                       ImportLookup lookup = ImportLookup::Index);

}  // namespace dictstore
