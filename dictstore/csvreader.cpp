#include "dictstore/csvreader.h"

#include "dictstore/codepage.h"
#include "dictstore/wordrecord.h"

#include <array>

namespace dictstore {

namespace {

constexpr int kEof = std::char_traits<char>::eof();

bool isLineEnd(int c) { return c == '\r' || c == '\n'; }

// Longer values are cut here; no field is a tenth as wide, and a value that
// runs on (an unclosed quote in a huge file) must not take all memory.
constexpr std::size_t kMaxValueBytes = 4096;

// Checks UTF-8 one byte at a time, across any chunk boundary.
class Utf8Check {
public:
    // False at the first byte that cannot continue valid UTF-8.
    bool take(unsigned char b)
    {
        if (need_ == 0) {
            if (b < 0x80)
                return true;
            nonAscii_ = true;
            lo_ = 0x80;
            hi_ = 0xBF;
            if (b >= 0xC2 && b <= 0xDF)
                need_ = 1;
            else if (b >= 0xE0 && b <= 0xEF) {
                need_ = 2;
                lo_ = b == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
                hi_ = b == 0xED ? 0x9F : 0xBF;  // no surrogates
            } else if (b >= 0xF0 && b <= 0xF4) {
                need_ = 3;
                lo_ = b == 0xF0 ? 0x90 : 0x80;
                hi_ = b == 0xF4 ? 0x8F : 0xBF;  // nothing past U+10FFFF
            } else
                return false;
            return true;
        }
        if (b < lo_ || b > hi_)
            return false;
        lo_ = 0x80;
        hi_ = 0xBF;
        --need_;
        return true;
    }
    bool complete() const { return need_ == 0; }
    bool sawNonAscii() const { return nonAscii_; }

private:
    int need_ = 0;
    unsigned char lo_ = 0x80;
    unsigned char hi_ = 0xBF;
    bool nonAscii_ = false;
};

bool isControlText(unsigned char b) { return b == '\t' || b == '\n' || b == '\r' || b == '\f' || b == 0x1A; }

bool undefinedInCp1252(unsigned char b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; }

}  // namespace

TextCheck checkCsvText(std::istream& in)
{
    TextCheck check;
    Utf8Check utf8;
    std::int64_t line = 1;
    std::int64_t offset = 0;
    std::int64_t badUtf8Line = 0;
    std::int64_t undefinedLine = 0;
    bool afterCr = false;
    std::array<char, 1 << 16> chunk{};
    for (;;) {
        in.read(chunk.data(), chunk.size());
        const std::streamsize got = in.gcount();
        if (in.bad()) {
            check.error = Error::DeviceIO;
            check.line = line;
            return check;
        }
        for (std::streamsize i = 0; i < got; ++i, ++offset) {
            const auto b = static_cast<unsigned char>(chunk[static_cast<std::size_t>(i)]);
            if (b < 0x20 && !isControlText(b)) {
                check.error = Error::NotText;
                check.line = line;
                return check;
            }
            if (!badUtf8Line && !utf8.take(b))
                badUtf8Line = line;
            if (!undefinedLine && undefinedInCp1252(b))
                undefinedLine = line;
            if (b == '\n' && !afterCr)
                ++line;
            if (b == '\r')
                ++line;
            afterCr = b == '\r';
            if (offset == 2 && chunk[0] == '\xEF' && chunk[1] == '\xBB' && chunk[2] == '\xBF')
                check.byteOrderMark = true;
        }
        if (got < static_cast<std::streamsize>(chunk.size()))
            break;
    }
    if (!badUtf8Line && !utf8.complete())
        badUtf8Line = line;
    in.clear();
    in.seekg(0);

    if (check.byteOrderMark || (!badUtf8Line && utf8.sawNonAscii())) {
        check.encoding = CsvEncoding::Utf8;
        if (badUtf8Line) {
            check.error = Error::NotText;
            check.line = badUtf8Line;
        }
        return check;
    }
    if (badUtf8Line && undefinedLine) {
        check.error = Error::NotText;
        check.line = undefinedLine;
    }
    return check;
}

int CsvReader::peek() { return in_.peek(); }

int CsvReader::get()
{
    const int c = in_.get();
    if (c == '\r' || (c == '\n' && !afterCr_))
        ++line_;
    afterCr_ = c == '\r';
    return c;
}

void CsvReader::skipSpaces()
{
    while (peek() == ' ')
        get();
}

bool CsvReader::atEnd()
{
    for (;;) {
        const int c = peek();
        if (c == kEof)
            return !afterComma_;
        if (c != ' ' && !isLineEnd(c))
            return false;
        if (isLineEnd(c) && afterComma_)
            return false;  // the empty value after a trailing comma
        get();
    }
}

bool CsvReader::skipLine(std::string_view bytes)
{
    const auto start = in_.tellg();
    if (start == std::istream::pos_type(-1))
        return false;
    const std::int64_t startLine = line_;
    const bool startAfterCr = afterCr_;
    std::size_t matched = 0;
    while (matched < bytes.size() && peek() == static_cast<unsigned char>(bytes[matched])) {
        get();
        ++matched;
    }
    const int c = peek();
    if (matched == bytes.size() && (c == kEof || isLineEnd(c))) {
        if (get() == '\r' && peek() == '\n')
            get();
        in_.clear(in_.rdstate() & ~std::ios::failbit & ~std::ios::eofbit);
        return true;
    }
    in_.clear(in_.rdstate() & ~std::ios::failbit & ~std::ios::eofbit);
    in_.seekg(start);
    line_ = startLine;
    afterCr_ = startAfterCr;
    return false;
}

std::int64_t CsvReader::position()
{
    const auto p = in_.tellg();
    return p == std::istream::pos_type(-1) ? -1 : static_cast<std::int64_t>(p);
}

Error CsvReader::next(std::string& utf8Value)
{
    utf8Value.clear();
    skipSpaces();
    // Blank lines hold no values; only a comma right before a line end
    // leaves an empty value there.
    while (!afterComma_ && isLineEnd(peek())) {
        get();
        skipSpaces();
    }
    if (in_.bad())
        return Error::DeviceIO;
    if (peek() == kEof && !afterComma_)
        return Error::InputPastEnd;
    valueLine_ = line_;

    std::string bytes;
    if (peek() == '"') {
        get();
        for (int c = get(); c != kEof && c != '"'; c = get()) {
            if (bytes.size() < kMaxValueBytes)
                bytes += static_cast<char>(c);
        }
        while (peek() != kEof && peek() != ',' && !isLineEnd(peek()))
            get();
    } else {
        while (peek() != kEof && peek() != ',' && !isLineEnd(peek())) {
            const int c = get();
            if (bytes.size() < kMaxValueBytes)
                bytes += static_cast<char>(c);
        }
        const auto end = bytes.find_last_not_of(' ');
        bytes.erase(end == std::string::npos ? 0 : end + 1);
    }
    if (in_.bad())
        return Error::DeviceIO;

    afterComma_ = false;
    const int sep = get();
    if (sep == ',') {
        afterComma_ = true;
    } else if (sep == '\r' && peek() == '\n') {
        get();
    }
    utf8Value = encoding_ == CsvEncoding::Utf8 ? std::move(bytes) : fromCp1252(bytes);
    return Error::None;
}

Error readCsvRecord(CsvReader& reader, CsvRecord& values, std::int64_t* startLine)
{
    for (auto& v : values) {
        if (const Error e = reader.next(v); e != Error::None)
            return e;
        if (startLine && &v == &values.front())
            *startLine = reader.valueLine();
    }
    return Error::None;
}

WordRecord recordFromValues(const CsvRecord& values, const CsvColumns& columns)
{
    WordRecord record;
    for (std::size_t i = 0; i < kCsvRecordValues; ++i)
        assignField(record, columns[i], values[i]);
    return record;
}

}  // namespace dictstore
