#pragma once

#include "rtfreader.h"

#include <QString>
#include <QStringList>

class QTextDocument;

namespace kvx::rtf {

// Larger files are refused: a document takes about eight times its file's
// size in memory once read, and far longer to lay out than anyone waits.
inline constexpr qint64 kMaxDocumentFileSize = qint64(256) << 20;

// Why a file was not opened: a device, a pipe or a socket; a file that is
// neither RTF nor text; a file over kMaxDocumentFileSize.
extern const QString kNotARegularFile;
extern const QString kNotRtfOrText;
QString tooLargeMessage();

// Replaces doc's content with the RTF file at path. On failure returns false
// and sets *error (when error is not null) to a sentence for the user; the
// document is then left empty. Damaged files that could be read in part
// count as read; what was wrong with them goes to *warnings when given.
// Only regular files are read, and only RTF or text.
bool loadRtfFile(const QString& path, QTextDocument* doc, QString* error, const RtfReadOptions& options = {},
                 QStringList* warnings = nullptr);

// Writes doc as RTF to path, replacing an existing file only once the whole
// file has been written and flushed to the disk. On failure returns false,
// sets *error and leaves an existing file as it was; kept parts that had to
// be left out are told in *warnings.
bool saveRtfFile(const QString& path, const QTextDocument& doc, QString* error, QStringList* warnings = nullptr);

} // namespace kvx::rtf
