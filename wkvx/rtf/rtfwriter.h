#pragma once

#include <QByteArray>
#include <QStringList>

class QTextDocument;

namespace kvx::rtf {

// The document as RTF 1.9 (Windows-1252 with \u escapes beyond it):
// paragraphs with alignment and indents, runs with font, size, bold, italic,
// underline, strikethrough, colours and super/subscript, tables, list markers
// and hyperlinks; the parts the reader kept (rtfdocument.h) go back in their
// place. Kept parts that the document's edits made inconsistent (a note
// whose mark was deleted) are left out, and *warnings says so.
QByteArray writeRtf(const QTextDocument& doc, QStringList* warnings = nullptr);

} // namespace kvx::rtf
