#include "seltext.h"

#include <QTextCursor>
#include <QTextEdit>

namespace wkvx {

QString selText(const QTextEdit* box)
{
    QString text = box->textCursor().selectedText();
    // Qt marks paragraph and line breaks with separators of its own.
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
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
