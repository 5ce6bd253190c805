#include "rtfcodepage.h"

#include <QByteArrayList>
#include <QStringDecoder>

namespace kvx::rtf {

namespace {

// 0x80..0x9F of Windows-1252; the five unassigned bytes keep their C1 value,
// as Windows' own conversion does.
constexpr char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QByteArrayList namesFor(int codePage)
{
    switch (codePage) {
    case 437: return {"IBM437"};
    case 850: return {"IBM850"};
    case 10000: return {"macintosh"};
    case 10001: return {"Shift_JIS"};
    case 10002: return {"Big5"};
    case 10003: return {"EUC-KR"};
    case 10006: return {"x-mac-greek"};
    case 10007: return {"x-mac-cyrillic"};
    case 10008: return {"GB2312"};
    case 10029: return {"x-mac-centraleurope"};
    case 10081: return {"x-mac-turkish"};
    case 65001: return {"UTF-8"};
    default: break;
    }
    const QByteArray n = QByteArray::number(codePage);
    return {"windows-" + n, "cp" + n, "ibm-" + n};
}

} // namespace

char16_t decodeWindows1252(unsigned char b)
{
    return (b >= 0x80 && b < 0xA0) ? k1252High[b - 0x80] : char16_t(b);
}

int encodeWindows1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (k1252High[i] == c)
            return 0x80 + i;
    }
    return -1;
}

int codePageForCharset(int charset)
{
    switch (charset) {
    case 0: return 0;       // ANSI: the document's code page
    case 1: return 0;       // default
    case 2: return CodePageDecoder::kSymbol;
    case 77: return 10000;  // Mac Roman
    case 78: return 932;    // Mac Japanese
    case 79: return 949;    // Mac Korean
    case 80: return 936;    // Mac Simplified Chinese
    case 81: return 950;    // Mac Traditional Chinese
    case 85: return 10006;  // Mac Greek
    case 86: return 10081;  // Mac Turkish
    case 88: return 10029;  // Mac Central European
    case 89: return 10007;  // Mac Cyrillic
    case 128: return 932;   // Shift-JIS
    case 129: return 949;   // Hangul
    case 130: return 1361;  // Johab
    case 134: return 936;   // GB2312
    case 136: return 950;   // Big5
    case 161: return 1253;  // Greek
    case 162: return 1254;  // Turkish
    case 163: return 1258;  // Vietnamese
    case 177: return 1255;  // Hebrew
    case 178: return 1256;  // Arabic
    case 186: return 1257;  // Baltic
    case 204: return 1251;  // Cyrillic
    case 222: return 874;   // Thai
    case 238: return 1250;  // Central European
    case 254: return 437;   // PC 437
    case 255: return 850;   // OEM
    default: return 0;
    }
}

bool isDoubleByteCodePage(int codePage)
{
    switch (codePage) {
    case 932: case 936: case 949: case 950: case 1361:
    case 10001: case 10002: case 10003: case 10008:
        return true;
    default:
        return false;
    }
}

CodePageDecoder::CodePageDecoder() = default;
CodePageDecoder::~CodePageDecoder() = default;

QStringDecoder* CodePageDecoder::decoderFor(int codePage)
{
    auto it = decoders_.find(codePage);
    if (it != decoders_.end())
        return it->second.get();
    std::unique_ptr<QStringDecoder> found;
    for (const QByteArray& name : namesFor(codePage)) {
        auto d = std::make_unique<QStringDecoder>(name.constData(), QStringConverter::Flag::Stateless);
        // RTF is ASCII: a code page whose letters and digits are other bytes
        // (EBCDIC, UTF-16) cannot be the one a file's text is in.
        if (d->isValid() && QString(d->decode(QByteArrayView("AZaz09 "))) == QLatin1String("AZaz09 ")) {
            d->resetState();
            found = std::move(d);
            break;
        }
    }
    QStringDecoder* raw = found.get();
    decoders_.emplace(codePage, std::move(found));
    return raw;
}

bool CodePageDecoder::isSupported(int codePage)
{
    return codePage == 1252 || codePage == kSymbol || decoderFor(codePage) != nullptr;
}

void CodePageDecoder::decode(int codePage, QByteArrayView bytes, QString& out)
{
    if (codePage == kSymbol) {
        for (char b : bytes) {
            const auto u = static_cast<unsigned char>(b);
            out.append(QChar(u < 0x20 ? char16_t(u) : char16_t(0xF000 + u)));
        }
        return;
    }
    if (codePage != 1252) {
        if (QStringDecoder* d = decoderFor(codePage)) {
            d->resetState();
            out.append(d->decode(bytes));
            return;
        }
    }
    for (char b : bytes)
        out.append(QChar(decodeWindows1252(static_cast<unsigned char>(b))));
}

} // namespace kvx::rtf
