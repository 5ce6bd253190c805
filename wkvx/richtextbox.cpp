#include "richtextbox.h"

#include "seltext.h"

#include "rtffile.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QFont>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

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
    if (key->modifiers() & Qt::ShiftModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_X: case Qt::Key_C: case Qt::Key_V: case Qt::Key_D: case Qt::Key_B: case Qt::Key_I:
    case Qt::Key_U: case Qt::Key_L: case Qt::Key_K: case Qt::Key_R: case Qt::Key_S: case Qt::Key_N:
    case Qt::Key_O: case Qt::Key_F:
        return true;
    default:
        return false;
    }
}

}  // namespace

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

void RichTextBox::setSelFont(const QFont& font)
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList{font.family()});
    if (font.pointSizeF() > 0)
        f.setFontPointSize(font.pointSizeF());
    f.setFontStrikeOut(font.strikeOut());
    f.setFontWeight(font.bold() ? QFont::Bold : QFont::Normal);
    f.setFontItalic(font.italic());
    f.setFontUnderline(font.underline());
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
    if (old && old->parent() == this)
        delete old;
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
        setSelText(source->text());
}

QMimeData* RichTextBox::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    data->setText(selText());
    return data;
}

}  // namespace wkvx
