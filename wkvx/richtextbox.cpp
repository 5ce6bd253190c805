#include "richtextbox.h"

#include "docresources.h"
#include "seltext.h"

#include "rtffile.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QFont>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <memory>

namespace wkvx {

namespace {

bool isBold(const QTextCharFormat& f) { return f.fontWeight() >= QFont::DemiBold; }
bool isItalic(const QTextCharFormat& f) { return f.fontItalic(); }
bool isUnderline(const QTextCharFormat& f) { return f.fontUnderline(); }

// Menu shortcuts that the text box would otherwise take for its own key
// bindings (Ctrl+K deletes to the end of the line on some platforms, and
// the clipboard keys would copy formatting).
bool frameShortcut(const QKeyEvent* key)
{
    if (!(key->modifiers() & Qt::ControlModifier) || (key->modifiers() & (Qt::AltModifier | Qt::MetaModifier)))
        return false;
    // Undo and redo go through the frame's menu too, so that its items
    // stay true to the document.
    if (key->modifiers() & Qt::ShiftModifier)
        return key->key() == Qt::Key_Z;
    switch (key->key()) {
    case Qt::Key_X: case Qt::Key_C: case Qt::Key_V: case Qt::Key_D: case Qt::Key_B: case Qt::Key_I:
    case Qt::Key_U: case Qt::Key_L: case Qt::Key_K: case Qt::Key_R: case Qt::Key_S: case Qt::Key_N:
    case Qt::Key_O: case Qt::Key_F: case Qt::Key_Z: case Qt::Key_Y: case Qt::Key_H: case Qt::Key_P:
        return true;
    default:
        return false;
    }
}

constexpr std::array<int, 13> kZoomSteps{50, 67, 75, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400};

}  // namespace

// The document is laid out for this device instead of the screen: the same
// pixels at a higher (or lower) resolution, so every size given in points,
// and pictures and tables with them, are shown larger (or smaller).
class RichTextBox::ZoomDevice : public QPaintDevice {
public:
    ZoomDevice(const QWidget* screen, int percent)
        : screen_(screen), percent_(percent)
    {
    }
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return screen_->logicalDpiX() * percent_ / 100;
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return screen_->logicalDpiY() * percent_ / 100;
        case PdmWidth:
            return screen_->width();
        case PdmHeight:
            return screen_->height();
        case PdmWidthMM:
            return screen_->widthMM();
        case PdmHeightMM:
            return screen_->heightMM();
        case PdmDepth:
            return screen_->depth();
        case PdmNumColors:
            return screen_->colorCount();
        case PdmDevicePixelRatio:
            return screen_->devicePixelRatio();
        case PdmDevicePixelRatioScaled:
            return int(screen_->devicePixelRatioF() * devicePixelRatioFScale());
        }
        return 0;
    }

private:
    const QWidget* screen_;
    int percent_;
};

RichTextBox::RichTextBox(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setTabChangesFocus(false);
    QFont f(QStringLiteral("Times New Roman"));
    f.setPointSize(12);
    document()->setDefaultFont(f);
}

RichTextBox::~RichTextBox()
{
    // The layout must not outlive its device.
    if (zoomDevice_ && document()->documentLayout()->paintDevice() == zoomDevice_.get())
        document()->documentLayout()->setPaintDevice(viewport());
}

const QString RichTextBox::kRichMimeType = QStringLiteral("application/x-kavix-writer-rtf");

QMimeData* RichTextBox::selectionMimeData() const
{
    auto* data = new QMimeData;
    const QTextCursor c = textCursor();
    data->setText(selText());
    if (!c.hasSelection())
        return data;
    QTextDocument piece;
    piece.setDefaultFont(document()->defaultFont());
    QTextCursor(&piece).insertFragment(c.selection());
    copyImageResources(*document(), &piece);
    data->setData(kRichMimeType, kvx::rtf::writeRtf(piece));
    return data;
}

void RichTextBox::pasteMimeData(const QMimeData* source)
{
    if (!source)
        return;
    const QString text = source->text();
    QTextDocument piece;
    piece.setDefaultFont(document()->defaultFont());
    // The formatted copy counts only while it holds the same text as the
    // plain one: another program may have put new text beside an old copy.
    const auto sameText = [&text](const QTextDocument& doc) {
        QTextCursor all(const_cast<QTextDocument*>(&doc));
        all.select(QTextCursor::Document);
        QString copied = all.selectedText();
        for (QChar& c : copied) {
            if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1))
                c = QLatin1Char('\n');
        }
        return copied.simplified() == text.simplified();
    };
    const bool rich = !text.isEmpty() && source->hasFormat(kRichMimeType)
                      && kvx::rtf::readRtf(source->data(kRichMimeType), &piece).ok && sameText(piece);
    if (!rich) {
        setSelText(text);
        return;
    }
    // The last paragraph of the copy joins the paragraph it is pasted into.
    QTextCursor end(&piece);
    end.movePosition(QTextCursor::End);
    end.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
    if (end.selectedText() == QString(QChar::ParagraphSeparator) && !text.endsWith(QLatin1Char('\n')))
        end.removeSelectedText();
    copyImageResources(piece, document());
    QTextCursor c = textCursor();
    c.beginEditBlock();
    c.insertFragment(QTextDocumentFragment(&piece));
    c.endEditBlock();
    setTextCursor(c);
}

void RichTextBox::setZoom(int percent)
{
    percent = std::clamp(percent, kZoomSteps.front(), kZoomSteps.back());
    if (percent == zoom_)
        return;
    zoom_ = percent;
    applyZoom();
    emit zoomChanged(zoom_);
}

void RichTextBox::zoomBy(int direction)
{
    if (direction > 0) {
        for (int step : kZoomSteps) {
            if (step > zoom_) {
                setZoom(step);
                return;
            }
        }
        return;
    }
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it) {
        if (*it < zoom_) {
            setZoom(*it);
            return;
        }
    }
}

void RichTextBox::applyZoom()
{
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    std::unique_ptr<ZoomDevice> old = std::move(zoomDevice_);
    if (zoom_ == 100) {
        layout->setPaintDevice(viewport());
    } else {
        zoomDevice_ = std::make_unique<ZoomDevice>(viewport(), zoom_);
        layout->setPaintDevice(zoomDevice_.get());
    }
    document()->markContentsDirty(0, document()->characterCount());
    viewport()->update();
}

void RichTextBox::wheelEvent(QWheelEvent* e)
{
    if (!(e->modifiers() & Qt::ControlModifier)) {
        QTextEdit::wheelEvent(e);
        return;
    }
    const int delta = e->angleDelta().y();
    if (delta != 0)
        zoomBy(delta);
    e->accept();
}

QString RichTextBox::selText() const { return wkvx::selText(this); }

void RichTextBox::setSelText(const QString& text) { wkvx::setSelText(this, text); }

bool RichTextBox::allChars(bool (*test)(const QTextCharFormat&)) const
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return test(currentCharFormat());
    const int start = c.selectionStart();
    const int end = c.selectionEnd();
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.position() + frag.length() <= start || frag.position() >= end)
                continue;
            if (!test(frag.charFormat()))
                return false;
        }
    }
    return true;
}

bool RichTextBox::selBold() const { return allChars(isBold); }
bool RichTextBox::selItalic() const { return allChars(isItalic); }
bool RichTextBox::selUnderline() const { return allChars(isUnderline); }

void RichTextBox::setSelBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeCurrentCharFormat(f);
}

void RichTextBox::setSelItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeCurrentCharFormat(f);
}

void RichTextBox::setSelUnderline(bool on)
{
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeCurrentCharFormat(f);
}

QFont RichTextBox::selFont() const
{
    const QTextCursor selection = textCursor();
    QTextCharFormat f = currentCharFormat();
    if (selection.hasSelection()) {
        // A cursor reports the format of the character before it.
        QTextCursor first(document());
        first.setPosition(selection.selectionStart() + 1);
        f = first.charFormat();
    }
    return f.font().resolve(document()->defaultFont());
}

void RichTextBox::setSelFont(const QFont& chosen, const QFont& shown)
{
    QTextCharFormat f;
    if (chosen.family() != shown.family())
        f.setFontFamilies(QStringList{chosen.family()});
    if (chosen.pointSizeF() > 0 && chosen.pointSizeF() != shown.pointSizeF())
        f.setFontPointSize(chosen.pointSizeF());
    if (chosen.strikeOut() != shown.strikeOut())
        f.setFontStrikeOut(chosen.strikeOut());
    if (chosen.weight() != shown.weight())
        f.setFontWeight(chosen.weight());
    if (chosen.italic() != shown.italic())
        f.setFontItalic(chosen.italic());
    if (chosen.underline() != shown.underline())
        f.setFontUnderline(chosen.underline());
    // Nothing changed: the document is not touched, not even marked changed.
    if (f.properties().isEmpty())
        return;
    mergeCurrentCharFormat(f);
}

void RichTextBox::setSelAlignment(Qt::Alignment alignment) { setAlignment(alignment); }

bool RichTextBox::loadFile(const QString& path, QString* error)
{
    // Read into a document of its own: a document shown while it is built
    // is laid out again for every paragraph.
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(document()->defaultFont());
    QString rtfError;
    // The reader opens any file that is not RTF as plain text; an empty file
    // is simply an empty document.
    bool ok = kvx::rtf::loadRtfFile(path, doc.get(), &rtfError);
    if (!ok && QFileInfo(path).isFile() && QFileInfo(path).size() == 0) {
        doc->clear();
        ok = true;
    }
    if (!ok) {
        if (error)
            *error = rtfError;
        return false;
    }
    doc->setModified(false);
    // The box owns the documents it reads; the one it replaces goes.
    const QPointer<QTextDocument> old = document();
    doc->setParent(this);
    setDocument(doc.release());
    // The old document must not keep the zoom's device, which goes next.
    if (old && zoomDevice_ && old->documentLayout()->paintDevice() == zoomDevice_.get())
        old->documentLayout()->setPaintDevice(nullptr);
    if (old && old->parent() == this)
        delete old;
    // The new document is shown at the box's zoom.
    if (zoom_ != 100)
        applyZoom();
    return true;
}

bool RichTextBox::saveFile(const QString& path, QString* error, QStringList* warnings)
{
    if (!kvx::rtf::saveRtfFile(path, *document(), error, warnings))
        return false;
    document()->setModified(false);
    return true;
}

bool RichTextBox::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride && frameShortcut(static_cast<QKeyEvent*>(e))) {
        // Leave the key to the frame's menu.
        e->ignore();
        return true;
    }
    return QTextEdit::event(e);
}

void RichTextBox::mousePressEvent(QMouseEvent* e)
{
    emit mouseDown(e->button(), e->position().toPoint());
    // The right button only opens the menu; the selection stays for it.
    if (e->button() == Qt::RightButton) {
        e->accept();
        return;
    }
    QTextEdit::mousePressEvent(e);
}

void RichTextBox::contextMenuEvent(QContextMenuEvent* e)
{
    // The mouse's menu comes from mouseDown; the menu key opens it at the caret.
    if (e->reason() != QContextMenuEvent::Mouse)
        emit contextKey(viewport()->mapToGlobal(cursorRect().bottomLeft()));
    e->accept();
}

bool RichTextBox::canInsertFromMimeData(const QMimeData* source) const { return source->hasText(); }

void RichTextBox::insertFromMimeData(const QMimeData* source)
{
    if (source->hasText())
        pasteMimeData(source);
}

QMimeData* RichTextBox::createMimeDataFromSelection() const { return selectionMimeData(); }

}  // namespace wkvx
