// Feeds arbitrary bytes to the RTF reader, then writes the document and reads
// that back: no step may crash, hang or leak, and the text must survive. The
// fast builder writes QTextDocument's trees itself, so they are checked and the
// document is edited the way a user would.
#include "rtfbuilder.h"
#include "rtfdocument.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QByteArrayView>
#include <QTextCursor>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

namespace {

bool treesFaulty(QTextDocument* doc)
{
#if KVX_RTF_FAST_BUILDER
    return !kvx::rtf::documentTreeFault(doc).empty();
#else
    (void)doc;
    return false;  // Qt's own trees
#endif
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTextDocument doc;
    const auto result = kvx::rtf::readRtf(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), &doc);
    if (result.ok) {
        if (treesFaulty(&doc))
            __builtin_trap();
        const QByteArray rtf = kvx::rtf::writeRtf(doc);
        QTextDocument back;
        if (!kvx::rtf::readRtf(rtf, &back).ok)
            __builtin_trap();
        if (kvx::rtf::plainText(back) != kvx::rtf::plainText(doc))
            __builtin_trap();

        // Editing goes through Qt's own tree code; undoing all of it gives
        // the document back.
        const QString text = doc.toPlainText();
        const int length = doc.characterCount();
        QTextCursor c(&doc);
        c.setPosition(int(size % size_t(length)));
        c.insertText(QStringLiteral("typed"));
        c.insertBlock();
        c.movePosition(QTextCursor::End);
        c.setPosition(length / 3, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        if (treesFaulty(&doc))
            __builtin_trap();
        while (doc.isUndoAvailable())
            doc.undo();
        if (doc.toPlainText() != text || treesFaulty(&doc))
            __builtin_trap();
    }
    return 0;
}
