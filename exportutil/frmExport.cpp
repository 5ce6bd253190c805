#include "frmExport.h"

#include "folders.h"

#include "dictstore/csvtransfer.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace exportutil {

namespace {

const QString kCsvName = QStringLiteral("dictionary.csv");
// The program's project name, which error reports give as their source.
const QString kErrorSource = QStringLiteral("exportUtility4Kavix");

}  // namespace

frmExport::frmExport(QWidget* owner)
    : ResultWindow(QStringLiteral("Export result"), QStringLiteral("frmExport"), owner)
{
    lblSource->setText(QDir::toNativeSeparators(lexi::dictionaryFile()) + QStringLiteral(" (default)"));
    lblDestination->setText(kCsvName);
    lblSuccess->setText(QStringLiteral("entry(ies) exported successfully"));
    placeFullPath(Frame2, lblDestination);
    Form_Load();
}

void frmExport::Form_Load()
{
    const QString fullPath = QDir::current().absoluteFilePath(kCsvName);
    lblFullPath->setText(QStringLiteral("Full path: %1").arg(QDir::toNativeSeparators(fullPath)));

    const dictstore::ExportResult result = dictstore::exportDictionary(
        dictstore::dictionaryPath(), lexi::fspath(kCsvName),
        [this](std::int64_t done, std::int64_t total) { reportProgress(done, total); });
    if (result.error != dictstore::Error::None) {
        lblSuccess->setText(QStringLiteral("error occurred, see details following"));
        showError(kErrorSource + lexi::describe(result.error));
        return;
    }
    progressComplete();
    lblSuccess->setText(QString::number(result.count) + QLatin1Char(' ') + lblSuccess->text());
}

}  // namespace exportutil
