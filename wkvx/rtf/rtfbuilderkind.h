#pragma once

namespace kvx::rtf {

// Which document builder lays a read document into its QTextDocument.
// Automatic is the fast one where this build has it and the running Qt is
// the one it was built against, else the public one.
enum class BuilderKind { Automatic, Public, Fast };

} // namespace kvx::rtf
