// Feeds arbitrary bytes to the RTF reader, then writes the document and reads
// that back: no step may crash, hang or leak, and the text must survive.
#include "rtfdocument.h"
#include "rtfreader.h"
#include "rtfwriter.h"

#include <QByteArrayView>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTextDocument doc;
    const auto result = kvx::rtf::readRtf(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), &doc);
    if (result.ok) {
        const QByteArray rtf = kvx::rtf::writeRtf(doc);
        QTextDocument back;
        if (!kvx::rtf::readRtf(rtf, &back).ok)
            __builtin_trap();
        if (kvx::rtf::plainText(back) != kvx::rtf::plainText(doc))
            __builtin_trap();
    }
    return 0;
}
