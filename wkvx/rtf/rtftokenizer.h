#pragma once

#include <QByteArrayView>
#include <QLatin1StringView>

#include <string_view>

namespace kvx::rtf {

// The lexical side of RTF: control words with their parameters, control
// symbols, \'hh escapes, groups skipped whole and raw data, read from a byte
// buffer. It knows nothing of what words mean; the reader decides, and asks
// for the scan that fits the destination it is in (plain text, picture hex,
// binary data).
class RtfTokenizer {
public:
    explicit RtfTokenizer(QByteArrayView data)
        : begin_(reinterpret_cast<const unsigned char*>(data.data())), p_(begin_), end_(begin_ + data.size())
    {
    }

    // What follows a backslash.
    struct Control {
        enum Kind : unsigned char {
            End,     // the backslash was the last byte
            Word,    // word, hasParam, param
            Symbol,  // ch: one character (\\, \{, \~, \*, a line break...)
            Hex,     // ch: the byte of a valid \'hh
            BadHex,  // an invalid \'hh; its two characters are dropped with it
        };
        Kind kind = End;
        unsigned char ch = 0;
        bool hasParam = false;
        int param = 0;  // clamped to int
        std::string_view word;
    };

    bool atEnd() const { return p_ == end_; }
    unsigned char peek() const { return *p_; }
    void advance() { ++p_; }
    qsizetype remaining() const { return end_ - p_; }
    const unsigned char* position() const { return p_; }
    const unsigned char* begin() const { return begin_; }

    // Leading white space and a UTF-8 byte order mark; false when nothing is left.
    bool skipLeadingSpace();
    bool lookingAt(std::string_view bytes) const
    {
        return size_t(end_ - p_) >= bytes.size() && std::string_view(reinterpret_cast<const char*>(p_), bytes.size()) == bytes;
    }
    // Whether the next thing after white space is the control word word
    // (given with its backslash); nothing is consumed.
    bool nextIs(std::string_view word) const;
    // True when only white space and closing braces are left.
    bool onlySpaceLeft() const;

    // At a backslash: reads the control word or symbol.
    inline Control readControl();

    // Printable ASCII up to the next byte that is not, or a structure byte.
    inline QLatin1StringView takePlainText();
    // Bytes up to the next backslash or brace, as picture data comes.
    QByteArrayView takeUntilControl();
    // length bytes of \bin data, or what is left; truncated tells which.
    QByteArrayView takeBinary(int length, bool* truncated);
    // Past the brace that closes the current group, which must be consumed
    // by the caller's group logic: returns true when that brace was found
    // (the tokenizer then stands after it). \bin data and escaped braces do
    // not count as braces. binaryTruncated tells of \bin data running past the end.
    bool skipGroup(bool* binaryTruncated);
    // One character of a \u fallback: a byte, \'hh, a control symbol, or a
    // control word with its \bin data. False for a line break, which is no
    // character.
    bool skipFallbackCharacter(bool* binaryTruncated);

private:
    static bool isLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
    static int hexValue(unsigned char c)
    {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }
    // At the first letter of a word: the word, its parameter and the space
    // that ends it.
    inline void readWord(Control& c);

    const unsigned char* begin_;
    const unsigned char* p_;
    const unsigned char* end_;
};

inline void RtfTokenizer::readWord(Control& c)
{
    const unsigned char* start = p_;
    while (p_ < end_ && isLetter(*p_))
        ++p_;
    c.kind = Control::Word;
    c.word = std::string_view(reinterpret_cast<const char*>(start), size_t(p_ - start));
    bool neg = false;
    long long value = 0;
    if (p_ + 1 < end_ && *p_ == '-' && isDigit(p_[1])) {
        neg = true;
        ++p_;
    }
    while (p_ < end_ && isDigit(*p_)) {
        c.hasParam = true;
        if (value <= 0x7FFFFFFF)
            value = value * 10 + (*p_ - '0');
        ++p_;
    }
    if (p_ < end_ && *p_ == ' ')
        ++p_;
    if (value > 0x7FFFFFFF)
        value = 0x7FFFFFFF;
    c.param = int(neg ? -value : value);
}

inline RtfTokenizer::Control RtfTokenizer::readControl()
{
    Control c;
    ++p_;  // the backslash
    if (p_ >= end_)
        return c;
    const unsigned char first = *p_;
    if (isLetter(first)) {
        readWord(c);
        return c;
    }
    ++p_;
    if (first != '\'') {
        c.kind = Control::Symbol;
        c.ch = first;
        return c;
    }
    const int hi = p_ < end_ ? hexValue(*p_) : -1;
    const int lo = p_ + 1 < end_ ? hexValue(p_[1]) : -1;
    if (hi < 0 || lo < 0) {
        // Structure characters stay to be read.
        for (int i = 0; i < 2 && p_ < end_ && *p_ != '\\' && *p_ != '{' && *p_ != '}'; ++i)
            ++p_;
        c.kind = Control::BadHex;
        return c;
    }
    p_ += 2;
    c.kind = Control::Hex;
    c.ch = static_cast<unsigned char>(hi * 16 + lo);
    return c;
}

inline QLatin1StringView RtfTokenizer::takePlainText()
{
    const unsigned char* start = p_;
    while (p_ < end_) {
        const unsigned char c = *p_;
        if (c < 0x20 || c >= 0x80 || c == '\\' || c == '{' || c == '}')
            break;
        ++p_;
    }
    return QLatin1StringView(reinterpret_cast<const char*>(start), p_ - start);
}

} // namespace kvx::rtf
