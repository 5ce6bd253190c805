// The windows of exportUtil4Kavix: the first page and the two result windows,
// the import's also with words refused and with an error.

#include "windows.h"

#include "frmExport.h"
#include "frmImport.h"
#include "frmIntro.h"

#include <filesystem>
#include <fstream>

namespace {

using a11ytest::WindowCase;

// A CSV file in the current folder, where the utility reads it.
void writeCsv(const char* name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

std::unique_ptr<QWidget> importOf(const QString& name)
{
    return std::make_unique<exportutil::frmImport>(name);
}

const bool added = a11ytest::addWindows({
    {"exportUtil4Kavix", "frmIntro", [] { return std::unique_ptr<QWidget>(new exportutil::frmIntro); }},
    {"exportUtil4Kavix", "frmExport", [] { return std::unique_ptr<QWidget>(new exportutil::frmExport); }},
    {"exportUtil4Kavix", "frmImport",
     [] {
         writeCsv("fresh.csv", "joy,great pleasure,noun,,glee,,,sorrow,,,JOY\r\n");
         return importOf(QStringLiteral("fresh"));
     }},
    // The words already in the dictionary are listed under the result.
    {"exportUtil4Kavix", "frmImport_words_refused",
     [] {
         writeCsv("refused.csv", "happy,,,,,,,,,,\r\nsad,,,,,,,,,,\r\nnew,,,,,,,,,,\r\n");
         return importOf(QStringLiteral("refused"));
     }},
    // No such file: the error frame holds the description.
    {"exportUtil4Kavix", "frmImport_error",
     [] {
         std::filesystem::remove("missing.csv");
         return importOf(QStringLiteral("missing"));
     }},
});

}  // namespace
