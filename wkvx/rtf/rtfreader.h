#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace kvx::rtf {

struct RtfReadResult {
    // False when the data is not RTF at all; the document is then left empty.
    bool ok = false;
    // Why reading failed, for the user.
    QString error;
    // Damage that was read around (truncated file, unbalanced braces, ...).
    // The document holds what could be read.
    QStringList warnings;
};

// Replaces the content of doc with the RTF document in data. Never throws; any
// input, however broken, gives a document with what could be read or an error.
RtfReadResult readRtf(QByteArrayView data, QTextDocument* doc);

} // namespace kvx::rtf
