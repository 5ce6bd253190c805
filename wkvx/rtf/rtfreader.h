#pragma once

#include "rtfbuilderkind.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace kvx::rtf {

struct RtfReadResult {
    // False only for empty input (or no document); the document is then left
    // empty. Input that is not RTF is read as plain text, with a warning.
    bool ok = false;
    // Why reading failed, for the user.
    QString error;
    // Damage that was read around (truncated file, unbalanced braces, ...).
    // The document holds what could be read.
    QStringList warnings;
};

struct RtfReadOptions {
    // Read runs of spaces as LibreOffice 7.4 does in files from Microsoft
    // programs (and files that name no generator): every space of a run of
    // two or more becomes U+2006 SIX-PER-EM SPACE plus a space. Only for
    // comparing with LibreOffice's text; it changes the document's text.
    bool libreOfficeSpaces = false;
    // Which builder lays the document out; the two give the same document.
    BuilderKind builder = BuilderKind::Automatic;
};

// Replaces the content of doc with the RTF document in data. Never throws; any
// input, however broken, gives a document with what could be read or an error.
RtfReadResult readRtf(QByteArrayView data, QTextDocument* doc, const RtfReadOptions& options = {});

} // namespace kvx::rtf
