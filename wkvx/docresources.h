#pragma once

class QTextDocument;

namespace wkvx {

// Gives `to` the pictures of `from` that its text shows: a document's
// pictures live in its resources, which copies and fragments do not take
// along.
void copyImageResources(const QTextDocument& from, QTextDocument* to);

}  // namespace wkvx
