#pragma once

#include <QByteArray>

class QTextDocument;

namespace kvx::rtf {

// The document as RTF 1.9 (Windows-1252 with \u escapes beyond it):
// paragraphs with alignment and indents, runs with font, size, bold, italic,
// underline, strikethrough, colours and super/subscript, tables, list markers
// and hyperlinks.
QByteArray writeRtf(const QTextDocument& doc);

} // namespace kvx::rtf
