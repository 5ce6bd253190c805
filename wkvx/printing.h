#pragma once

#include <QMarginsF>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QPagedPaintDevice;
class QPrintPreviewDialog;
class QPrinter;
class QTextDocument;
class QWidget;

namespace wkvx {

// The page a document asks for, in points: the margins and paper size its
// RTF file gave, or the RTF defaults for the margins.
struct PageSetup {
    QMarginsF margins;
    std::optional<QSizeF> paper;
};
PageSetup pageSetupOf(const QTextDocument& doc);
// Gives the device the document's paper and margins.
void applyPageSetup(const QTextDocument& doc, QPagedPaintDevice* device);

// Lays the document out on the device's pages, as the window shows it
// (fonts, tables, pictures), and paints every page. False when the device
// cannot be painted on.
bool printDocument(const QTextDocument& doc, QPagedPaintDevice* device);

// Writes the document as a PDF file; an existing file is replaced only once
// the new one is whole. On failure *error says why.
bool exportPdf(const QTextDocument& doc, const QString& path, QString* error);

// Qt's print preview, titled, sized and with every control named for
// screen readers.
std::unique_ptr<QPrintPreviewDialog> makePreviewDialog(QPrinter* printer, QWidget* parent);

// The print and print-preview dialogs, replaceable by tests.
class PrintDialogs {
public:
    virtual ~PrintDialogs() = default;
    // Lets the user choose the printer and its settings; false when cancelled.
    virtual bool choosePrinter(QWidget* parent, QPrinter* printer);
    // Shows the pages that paint draws on the printer it is given.
    virtual void preview(QWidget* parent, QPrinter* printer, const std::function<void(QPrinter*)>& paint);
};
PrintDialogs& printDialogs();
// nullptr restores the real dialogs. Not owned.
void setPrintDialogs(PrintDialogs* dialogs);

}  // namespace wkvx
