#include "rtftokenizer.h"

#include <algorithm>

namespace kvx::rtf {

bool RtfTokenizer::skipLeadingSpace()
{
    if (end_ - p_ >= 3 && p_[0] == 0xEF && p_[1] == 0xBB && p_[2] == 0xBF)
        p_ += 3;
    while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\r' || *p_ == '\n'))
        ++p_;
    return p_ < end_;
}

bool RtfTokenizer::nextIs(std::string_view word) const
{
    const unsigned char* q = p_;
    while (q < end_ && (*q == ' ' || *q == '\r' || *q == '\n'))
        ++q;
    return size_t(end_ - q) >= word.size() && std::string_view(reinterpret_cast<const char*>(q), word.size()) == word;
}

bool RtfTokenizer::onlySpaceLeft() const
{
    return std::all_of(p_, end_, [](unsigned char c) { return c <= ' ' || c == '}'; });
}

QByteArrayView RtfTokenizer::takeUntilControl()
{
    const unsigned char* start = p_;
    while (p_ < end_ && *p_ != '\\' && *p_ != '{' && *p_ != '}')
        ++p_;
    return QByteArrayView(reinterpret_cast<const char*>(start), p_ - start);
}

QByteArrayView RtfTokenizer::takeBinary(int length, bool* truncated)
{
    const qsizetype n = std::min<qsizetype>(std::max(length, 0), end_ - p_);
    *truncated = n < length;
    const QByteArrayView data(reinterpret_cast<const char*>(p_), n);
    p_ += n;
    return data;
}

bool RtfTokenizer::skipGroup(bool* binaryTruncated)
{
    // Only \bin data and escaped braces need care.
    int depth = 0;
    while (p_ < end_) {
        const unsigned char c = *p_++;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (depth == 0)
                return true;
            --depth;
        } else if (c == '\\' && p_ < end_) {
            if (*p_ == 'b' && end_ - p_ > 3 && p_[1] == 'i' && p_[2] == 'n' && isDigit(p_[3])) {
                Control bin;
                readWord(bin);
                bool truncated = false;
                takeBinary(bin.param, &truncated);
                *binaryTruncated |= truncated;
            } else if (!isLetter(*p_)) {
                ++p_;
            }
        }
    }
    return false;
}

bool RtfTokenizer::skipFallbackCharacter(bool* binaryTruncated)
{
    const unsigned char c = *p_;
    if (c == '\r' || c == '\n') {
        ++p_;
        return false;
    }
    if (c != '\\') {
        ++p_;
        return true;
    }
    if (end_ - p_ < 2) {
        p_ = end_;
        return true;
    }
    const unsigned char n = p_[1];
    if (n == '\'') {
        p_ += 2;
        for (int i = 0; i < 2 && p_ < end_ && hexValue(*p_) >= 0; ++i)
            ++p_;
        return true;
    }
    if (!isLetter(n)) {
        p_ += 2;
        return true;
    }
    // A control word: \bin data goes with it; any other word is dropped.
    ++p_;
    Control word;
    readWord(word);
    if (word.word == "bin" && word.hasParam && word.param > 0) {
        bool truncated = false;
        takeBinary(word.param, &truncated);
        *binaryTruncated |= truncated;
    }
    return true;
}

} // namespace kvx::rtf
