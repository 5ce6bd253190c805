#include "seltext.h"

#include <QTextCursor>
#include <QTextEdit>

namespace wkvx {

namespace {

// Where a frame or table begins and ends in a selection's text.
constexpr char16_t kBeginningOfFrame = 0xFDD0;
constexpr char16_t kEndOfFrame = 0xFDD1;

}  // namespace

QString selText(const QTextEdit* box)
{
    QString text = box->textCursor().selectedText();
    // Qt marks paragraph and line breaks, and the edges of frames and
    // tables, with characters of its own. Everything else, non-breaking
    // spaces included, stays as the document holds it.
    for (QChar& c : text) {
        switch (c.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case kBeginningOfFrame:
        case kEndOfFrame:
            c = QLatin1Char('\n');
            break;
        default:
            break;
        }
    }
    return text;
}

void setSelText(QTextEdit* box, const QString& text)
{
    QTextCursor cursor = box->textCursor();
    cursor.insertText(text);
    box->setTextCursor(cursor);
}

void appendToSelection(QTextEdit* box, const QString& text)
{
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(cursor.selectionEnd());
    cursor.insertText(text);
    box->setTextCursor(cursor);
}

}  // namespace wkvx
