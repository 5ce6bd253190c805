#pragma once

// The builders behind makeDocumentBuilder().
#include "rtfbuilder.h"

namespace kvx::rtf {

std::unique_ptr<DocumentBuilder> makePublicBuilder(QTextDocument* doc, qsizetype maxLength);
#if KVX_RTF_FAST_BUILDER
std::unique_ptr<DocumentBuilder> makeFastBuilder(QTextDocument* doc, qsizetype maxLength);
#endif

} // namespace kvx::rtf
