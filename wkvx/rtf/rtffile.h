#pragma once

#include "rtfreader.h"

#include <QString>
#include <QStringList>

class QTextDocument;

namespace kvx::rtf {

// Replaces doc's content with the RTF file at path. On failure returns false
// and sets *error (when error is not null) to a sentence for the user; the
// document is then left empty. Damaged files that could be read in part
// count as read; what was wrong with them goes to *warnings when given.
bool loadRtfFile(const QString& path, QTextDocument* doc, QString* error, const RtfReadOptions& options = {},
                 QStringList* warnings = nullptr);

// Writes doc as RTF to path, replacing an existing file only once the whole
// file has been written. On failure returns false and sets *error; kept parts
// that had to be left out are told in *warnings.
bool saveRtfFile(const QString& path, const QTextDocument& doc, QString* error, QStringList* warnings = nullptr);

} // namespace kvx::rtf
