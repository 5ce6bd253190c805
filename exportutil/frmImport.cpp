#include "frmImport.h"

#include "folders.h"
#include "msgbox.h"

#include "dictstore/csvtransfer.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QLocale>

#include <fstream>

namespace exportutil {

frmImport::frmImport(const QString& inFile, QWidget* owner)
    : ResultWindow(QStringLiteral("Import results"), QStringLiteral("frmImport"), owner)
{
    lblDestination->setText(QDir::toNativeSeparators(lexi::dictionaryFile()) + QStringLiteral(" (default)"));
    lblSuccess->setText(QStringLiteral("entry(ies) imported successfully"));
    placeFullPath(Frame1, lblSource);
    Form_Load(inFile);
}

void frmImport::Form_Load(const QString& inFile)
{
    const QString csvName = inFile + QStringLiteral(".csv");
    lblSource->setText(csvName);
    lblFullPath->setText(
        QStringLiteral("Full path: %1").arg(QDir::toNativeSeparators(QDir::current().absoluteFilePath(csvName))));

    dictstore::Dictionary dict;
    if (const dictstore::Error e = dict.openForUpdate(dictstore::dictionaryPath()); e != dictstore::Error::None) {
        fail(lexi::describe(e));
        return;
    }
    std::ifstream csv;
    std::int64_t size = 0;
    if (const dictstore::Error e = dictstore::openCsvForReading(lexi::fspath(csvName), csv, size);
        e != dictstore::Error::None) {
        fail(lexi::describe(e));
        return;
    }

    dictstore::ImportHooks hooks;
    hooks.refused = [this](const std::string& word) { refuse(QString::fromStdString(word)); };
    hooks.progress = [this](std::int64_t done, std::int64_t total) { reportProgress(done, total); };
    const dictstore::ImportResult result = dictstore::importCsv(dict, csv, size, hooks);
    dict.close();

    if (!refused_.isEmpty()) {
        lstRefused->addItems(refused_);
        lblRefused->show();
        lstRefused->show();
    }
    if (result.error != dictstore::Error::None) {
        fail(failure(result, csvName));
        return;
    }
    progressComplete();
    lblSuccess->setText(QString::number(result.count) + QLatin1Char(' ') + lblSuccess->text());
}

void frmImport::refuse(const QString& word)
{
    refused_.append(word);
    if (stopAsking_)
        return;
    lexi::msgBoxWithCheck(messageParent(),
                          QStringLiteral("'") + word + QStringLiteral("' already exists; It will not be imported"),
                          QStringLiteral("Don't ask again for this file"), stopAsking_, lexi::MsgButtons::Ok,
                          lexi::MsgIcon::Exclamation, QStringLiteral("Import"));
}

// The description, and where it matters what the import did about it.
QString frmImport::failure(const dictstore::ImportResult& result, const QString& csvName)
{
    using dictstore::Error;
    const QString limit = QLocale(QLocale::English).toString(static_cast<qlonglong>(dictstore::kMaxKavixRecords));
    if (result.dictionaryFull && result.line == 0)
        return QStringLiteral("Dictionary full: it already holds %1 entries, the most kavix can use. "
                              "Nothing was imported.")
            .arg(limit);
    if (result.dictionaryFull)
        return QStringLiteral("Dictionary full: it now holds %1 entries, the most kavix can use. The import "
                              "stopped at line %2 of %3 after %4 entry(ies).")
            .arg(limit)
            .arg(result.line)
            .arg(csvName)
            .arg(result.count);
    if (result.error == Error::InUse)
        return lexi::describe(result.error) +
               QStringLiteral(": another program is writing to the dictionary. Nothing was imported; try again "
                              "when it has finished.");
    if (result.error == Error::NotText)
        return QStringLiteral("Not a text file: line %1 of %2 holds bytes that are not text. Nothing was imported.")
            .arg(result.line)
            .arg(csvName);
    if (result.line > 0)
        return QStringLiteral("%1 (line %2 of %3)").arg(lexi::describe(result.error)).arg(result.line).arg(csvName);
    return lexi::describe(result.error);
}

void frmImport::fail(const QString& description)
{
    lblSource->setText(QStringLiteral("Error! See description"));
    lblSuccess->setText(QStringLiteral("Failed to import!"));
    showError(description);
}

}  // namespace exportutil
