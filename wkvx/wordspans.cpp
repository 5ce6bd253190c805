#include "wordspans.h"

#include <algorithm>

namespace wkvx {

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c.isMark(); }

bool isJoiner(QChar c)
{
    switch (c.unicode()) {
    case u'\'':
    case u'\u2019':  // right single quotation mark, the usual apostrophe
    case u'-':
    case u'\u2010':  // hyphen
    case u'\u2011':  // non-breaking hyphen
        return true;
    default:
        return false;
    }
}

bool isSpace(QChar c) { return c.isSpace() || c == QChar::ObjectReplacementCharacter; }

}  // namespace

QList<WordSpan> wordSpans(const QString& text)
{
    QList<WordSpan> out;
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        if (!isWordChar(text[i])) {
            ++i;
            continue;
        }
        const int start = i;
        for (;;) {
            while (i < n && isWordChar(text[i]))
                ++i;
            if (i + 1 < n && isJoiner(text[i]) && isWordChar(text[i + 1]))
                ++i;
            else
                break;
        }
        out.append({start, i - start});
    }
    return out;
}

std::optional<WordSpan> wordAt(const QString& text, int position)
{
    std::optional<WordSpan> before;
    for (const WordSpan& w : wordSpans(text)) {
        if (w.start > position)
            break;
        if (position < w.end())
            return w;
        if (position == w.end())
            before = w;
    }
    return before;
}

QString plainWord(const QString& text, WordSpan span)
{
    QString word = text.mid(span.start, span.length);
    word.replace(QChar(0x2019), QLatin1Char('\''));
    return word;
}

bool worthChecking(const QString& text, WordSpan span)
{
    if (span.length < 2)
        return false;
    bool lower = false;
    for (int i = span.start; i < span.end(); ++i) {
        const QChar c = text[i];
        if (c.isDigit())
            return false;
        lower = lower || c.isLower();
    }
    if (!lower)
        return false;
    // The run of text between spaces that holds the word.
    int from = span.start;
    while (from > 0 && !isSpace(text[from - 1]))
        --from;
    int to = span.end();
    while (to < text.size() && !isSpace(text[to]))
        ++to;
    const QStringView run = QStringView(text).mid(from, to - from);
    return !run.contains(u'@') && !run.contains(u"://") && !run.startsWith(u"www.", Qt::CaseInsensitive);
}

QString matchCase(const QString& replacement, const QString& original)
{
    int letters = 0;
    bool allUpper = true;
    for (QChar c : original) {
        if (!c.isLetter())
            continue;
        ++letters;
        allUpper = allUpper && c.isUpper();
    }
    if (letters == 0 || replacement.isEmpty())
        return replacement;
    if (allUpper && letters > 1)
        return replacement.toUpper();
    const auto first = std::find_if(original.begin(), original.end(), [](QChar c) { return c.isLetter(); });
    if (!first->isUpper())
        return replacement;
    QString out = replacement;
    const auto at = std::find_if(out.begin(), out.end(), [](QChar c) { return c.isLetter(); });
    if (at != out.end())
        *at = at->toUpper();
    return out;
}

}  // namespace wkvx
