#include "dictstore/csvreader.h"

#include "dictstore/codepage.h"
#include "dictstore/wordrecord.h"

namespace dictstore {

namespace {

constexpr int kEof = std::char_traits<char>::eof();

bool isLineEnd(int c) { return c == '\r' || c == '\n'; }

}  // namespace

int CsvReader::peek() { return in_.peek(); }

int CsvReader::get() { return in_.get(); }

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

    std::string bytes;
    if (peek() == '"') {
        get();
        for (int c = get(); c != kEof && c != '"'; c = get())
            bytes += static_cast<char>(c);
        while (peek() != kEof && peek() != ',' && !isLineEnd(peek()))
            get();
    } else {
        while (peek() != kEof && peek() != ',' && !isLineEnd(peek()))
            bytes += static_cast<char>(get());
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
    utf8Value = fromCp1252(bytes);
    return Error::None;
}

Error readCsvRecord(CsvReader& reader, CsvRecord& values)
{
    for (auto& v : values) {
        if (const Error e = reader.next(v); e != Error::None)
            return e;
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
