#pragma once

#include <QString>
#include <QByteArrayView>

#include <map>
#include <memory>

class QStringDecoder;

namespace kvx::rtf {

// Windows code page number for an RTF \fcharset value; 0 means "use the
// document's code page".
int codePageForCharset(int charset);

// True for the East Asian double-byte code pages, where a lead byte and the
// byte after it form one character.
bool isDoubleByteCodePage(int codePage);

// Decodes byte strings in Windows code pages. 1252 (and the Symbol font's
// pseudo code page) are built in; others go through QStringDecoder where this
// Qt build knows them, falling back to 1252.
class CodePageDecoder {
public:
    CodePageDecoder();
    ~CodePageDecoder();

    // Symbol-font bytes map into the private-use block U+F000..U+F0FF, which
    // is what Symbol fonts cover in Unicode.
    static constexpr int kSymbol = -2;

    bool isSupported(int codePage);
    void decode(int codePage, QByteArrayView bytes, QString& out);

private:
    QStringDecoder* decoderFor(int codePage);
    std::map<int, std::unique_ptr<QStringDecoder>> decoders_;
};

// Windows-1252 byte for a character, or -1 when 1252 has no such character.
int encodeWindows1252(char16_t c);
char16_t decodeWindows1252(unsigned char b);

} // namespace kvx::rtf
