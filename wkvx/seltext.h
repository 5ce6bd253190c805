#pragma once

#include <QString>

#include <functional>

class QTextEdit;

namespace wkvx {

// The active document's rich-text box as the frame sees it at this moment;
// nullptr when no document window is open.
using ActiveText = std::function<QTextEdit*()>;

// The selection as plain text, line breaks as "\n", every other character
// (a non-breaking space too) as the document holds it; empty when nothing is
// selected.
QString selText(const QTextEdit* box);

// Replaces the selection by plain text, or inserts it at the caret when
// nothing is selected; the caret ends after the new text.
void setSelText(QTextEdit* box, const QString& text);

// Puts text directly after the selection (at the caret when nothing is
// selected): the selected text followed by the new text stands where the
// selection stood, its formatting kept. The caret ends after the new text.
void appendToSelection(QTextEdit* box, const QString& text);

}  // namespace wkvx
