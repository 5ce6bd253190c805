#include "printing.h"

#include "rtfdocument.h"

#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextFrame>
#include <QToolButton>

#include <memory>

namespace wkvx {

namespace {

// What an RTF file without margins means: 1.25 inch left and right, 1 inch
// at the top and bottom.
constexpr double kDefaultSide = 90.0;
constexpr double kDefaultTopBottom = 72.0;

PrintDialogs defaultDialogs;
PrintDialogs* current = &defaultDialogs;

double points(const QTextFrameFormat& f, int property, double fallback)
{
    return f.hasProperty(property) ? f.intProperty(property) / 20.0 : fallback;
}

}  // namespace

PageSetup pageSetupOf(const QTextDocument& doc)
{
    using namespace kvx::rtf;
    const QTextFrameFormat f = doc.rootFrame()->frameFormat();
    PageSetup setup;
    setup.margins = QMarginsF(points(f, PageMarginLeftProperty, kDefaultSide),
                              points(f, PageMarginTopProperty, kDefaultTopBottom),
                              points(f, PageMarginRightProperty, kDefaultSide),
                              points(f, PageMarginBottomProperty, kDefaultTopBottom));
    if (f.hasProperty(PaperWidthProperty) && f.hasProperty(PaperHeightProperty))
        setup.paper = QSizeF(f.intProperty(PaperWidthProperty) / 20.0, f.intProperty(PaperHeightProperty) / 20.0);
    return setup;
}

void applyPageSetup(const QTextDocument& doc, QPagedPaintDevice* device)
{
    const PageSetup setup = pageSetupOf(doc);
    QPageLayout layout = device->pageLayout();
    if (setup.paper && setup.paper->width() > 0 && setup.paper->height() > 0) {
        const QSizeF paper = *setup.paper;
        layout.setOrientation(paper.width() > paper.height() ? QPageLayout::Landscape : QPageLayout::Portrait);
        // The size is given upright; the orientation turns it.
        const QSizeF upright = paper.width() > paper.height() ? paper.transposed() : paper;
        layout.setPageSize(QPageSize(upright, QPageSize::Point));
    }
    layout.setUnits(QPageLayout::Point);
    // Margins larger than the page leave what they can.
    layout.setMinimumMargins(QMarginsF());
    layout.setMargins(setup.margins);
    device->setPageLayout(layout);
}

bool printDocument(const QTextDocument& source, QPagedPaintDevice* device)
{
    QPainter painter;
    if (!painter.begin(device))
        return false;
    // The copy keeps the pictures: they are the document's resources.
    std::unique_ptr<QTextDocument> doc(source.clone());
    // Laid out at the device's resolution, so that what is measured in
    // points comes out in points.
    doc->documentLayout()->setPaintDevice(device);
    QTextFrameFormat root = doc->rootFrame()->frameFormat();
    root.setMargin(0);
    root.setPadding(0);
    doc->rootFrame()->setFrameFormat(root);
    const QSizeF page(device->width(), device->height());
    doc->setPageSize(page);
    const int pages = doc->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            device->newPage();
        painter.save();
        const QRectF view(0, i * page.height(), page.width(), page.height());
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}

bool exportPdf(const QTextDocument& doc, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QFileInfo(QFileInfo(path).absolutePath()).isDir() ? QStringLiteral("Permission denied")
                                                                        : QStringLiteral("Path not found");
        return false;
    }
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(600);
        pdf.setCreator(QStringLiteral("Kavix Writer"));
        applyPageSetup(doc, &pdf);
        if (!printDocument(doc, &pdf)) {
            if (error)
                *error = QStringLiteral("Device I/O error");
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        if (error)
            *error = file.error() == QFileDevice::ResourceError ? QStringLiteral("Disk full")
                                                                 : QStringLiteral("Device I/O error");
        return false;
    }
    return true;
}

bool PrintDialogs::choosePrinter(QWidget* parent, QPrinter* printer)
{
    QPrintDialog dialog(printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print"));
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<QPrintPreviewDialog> makePreviewDialog(QPrinter* printer, QWidget* parent)
{
    auto dialog = std::make_unique<QPrintPreviewDialog>(printer, parent);
    dialog->setWindowTitle(QStringLiteral("Print Preview"));
    dialog->resize(parent ? parent->size() * 9 / 10 : QSize(800, 900));
    // Qt leaves the page number, the zoom box and the toolbar's overflow
    // button without names.
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
        if (edit->accessibleName().isEmpty())
            edit->setAccessibleName(qobject_cast<QComboBox*>(edit->parentWidget()) ? QStringLiteral("Zoom")
                                                                                    : QStringLiteral("Page"));
    }
    for (QToolButton* button : dialog->findChildren<QToolButton*>()) {
        if (button->accessibleName().isEmpty() && button->text().isEmpty() && !button->defaultAction())
            button->setAccessibleName(QStringLiteral("More tools"));
    }
    return dialog;
}

void PrintDialogs::preview(QWidget* parent, QPrinter* printer, const std::function<void(QPrinter*)>& paint)
{
    const std::unique_ptr<QPrintPreviewDialog> dialog = makePreviewDialog(printer, parent);
    QObject::connect(dialog.get(), &QPrintPreviewDialog::paintRequested, dialog.get(), paint);
    dialog->exec();
}

PrintDialogs& printDialogs() { return *current; }

void setPrintDialogs(PrintDialogs* dialogs) { current = dialogs ? dialogs : &defaultDialogs; }

}  // namespace wkvx
