#include "dictstore/suggest.h"

#include "dictstore/codepage.h"
#include "dictstore/dictionary.h"
#include "dictstore/wordrecord.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace dictstore {

namespace {

constexpr std::string_view kParts = "nvar";

int partIndex(std::string_view pos)
{
    const auto at = pos.size() == 1 ? kParts.find(pos[0]) : std::string_view::npos;
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

void foldInPlace(std::string& cp1252)
{
    for (char& c : cp1252)
        c = static_cast<char>(foldCp1252(static_cast<unsigned char>(c)));
}

std::string folded(std::string_view utf8)
{
    std::string s = toCp1252(utf8);
    foldInPlace(s);
    return s;
}

std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const auto tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

bool endsWith(std::string_view s, std::string_view suffix)
{
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

void addOnce(std::vector<std::string>& out, std::string form, std::string_view word)
{
    if (form != word && std::find(out.begin(), out.end(), form) == out.end())
        out.push_back(std::move(form));
}

}  // namespace

Morphology::Morphology(std::string_view data)
{
    while (!data.empty()) {
        const auto end = data.find('\n');
        std::string_view line = data.substr(0, end);
        data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const auto f = splitTabs(line);
        const int part = f.size() >= 2 ? partIndex(f[1]) : -1;
        if (part < 0)
            continue;
        if (f[0] == "rule" && f.size() == 4 && !f[2].empty()) {
            rules_[part].push_back({std::string(f[2]), std::string(f[3])});
        } else if (f[0] == "exc" && f.size() >= 4) {
            auto& bases = exceptions_[part][folded(f[2])];
            for (std::size_t i = 3; i < f.size(); ++i)
                bases.push_back(folded(f[i]));
        }
    }
}

const Morphology& Morphology::shipped()
{
    static const Morphology morphology(morphologyData());
    return morphology;
}

std::size_t Morphology::exceptionCount() const
{
    std::size_t n = 0;
    for (const auto& table : exceptions_)
        n += table.size();
    return n;
}

std::vector<std::string> Morphology::baseForms(std::string_view word) const
{
    std::vector<std::string> out;
    const std::string key(word);
    for (int part = 0; part < kParts; ++part) {
        if (const auto it = exceptions_[part].find(key); it != exceptions_[part].end()) {
            for (const std::string& base : it->second)
                addOnce(out, base, word);
        }
        const bool noun = part == 0;
        // WordNet leaves nouns in "ss" (glass, boss) and very short words as
        // they are, and inflects "-ful" nouns inside: boxesful is boxful.
        if (noun && endsWith(word, "ful") && word.size() > 3) {
            const std::string_view stem = word.substr(0, word.size() - 3);
            for (const Rule& r : rules_[part]) {
                if (endsWith(stem, r.suffix) && stem.size() > r.suffix.size())
                    addOnce(out, std::string(stem.substr(0, stem.size() - r.suffix.size())) + r.ending + "ful", word);
            }
            continue;
        }
        if (noun && (endsWith(word, "ss") || word.size() <= 2))
            continue;
        for (const Rule& r : rules_[part]) {
            if (endsWith(word, r.suffix) && word.size() > r.suffix.size())
                addOnce(out, std::string(word.substr(0, word.size() - r.suffix.size())) + r.ending, word);
        }
    }
    return out;
}

int editDistance(std::string_view a, std::string_view b, int limit)
{
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    if (std::abs(n - m) > limit)
        return limit + 1;
    // Lowrance and Wagner's table, one row and one column of "infinity"
    // around the usual one, so a transposition may span other edits.
    const int width = m + 2;
    const int inf = n + m + 1;
    thread_local std::vector<int> table;
    table.assign(static_cast<std::size_t>((n + 2) * width), 0);
    auto d = [&](int i, int j) -> int& { return table[static_cast<std::size_t>(i * width + j)]; };
    std::array<int, 256> lastRow{};  // last row of a holding each byte
    d(0, 0) = inf;
    for (int i = 0; i <= n; ++i) {
        d(i + 1, 0) = inf;
        d(i + 1, 1) = i;
    }
    for (int j = 0; j <= m; ++j) {
        d(0, j + 1) = inf;
        d(1, j + 1) = j;
    }
    for (int i = 1; i <= n; ++i) {
        int lastMatchColumn = 0;
        int rowMin = d(i + 1, 1);
        const auto ai = static_cast<unsigned char>(a[static_cast<std::size_t>(i - 1)]);
        for (int j = 1; j <= m; ++j) {
            const auto bj = static_cast<unsigned char>(b[static_cast<std::size_t>(j - 1)]);
            const int i1 = lastRow[bj];
            const int j1 = lastMatchColumn;
            const int cost = ai == bj ? 0 : 1;
            if (cost == 0)
                lastMatchColumn = j;
            const int best = std::min({d(i, j) + cost, d(i + 1, j) + 1, d(i, j + 1) + 1,
                                       d(i1, j1) + (i - i1 - 1) + 1 + (j - j1 - 1)});
            d(i + 1, j + 1) = best;
            rowMin = std::min(rowMin, best);
        }
        lastRow[ai] = i;
        // No row's best is below the one before it: stop once past the limit.
        if (rowMin > limit)
            return limit + 1;
    }
    return std::min(d(n + 1, m + 1), limit + 1);
}

void WordIndex::add(std::string_view word)
{
    std::string stored = toCp1252(trimSpaces(word));
    std::string key = stored;
    foldInPlace(key);
    words_.push_back({std::move(key), std::move(stored)});
}

// Only the records kavix can number are read: a huge file (a sparse one, say)
// costs no more memory than the largest dictionary kavix works with.
Error WordIndex::load(Dictionary& dict)
{
    std::int64_t count = 0;
    if (dict.recordCount(count) == Error::None && count > 0)
        words_.reserve(words_.size() + static_cast<std::size_t>(std::min(count, kMaxKavixRecords)));
    return dict.readAll([this](const WordRecord& r, std::int64_t) {
        const std::string_view stored = trimSpaces(r.raw(Field::Word));
        std::string key(stored);
        foldInPlace(key);
        words_.push_back({std::move(key), std::string(stored)});
        return Error::None;
    }, kMaxKavixRecords);
}

bool WordIndex::contains(std::string_view word) const
{
    const std::string key = folded(trimSpaces(word));
    return std::any_of(words_.begin(), words_.end(), [&key](const Word& w) { return w.folded == key; });
}

// Words that differ only in letter case count once, at their first place,
// as a look-up would find them.
bool WordIndex::alreadyIn(const std::vector<std::size_t>& picked, std::size_t i) const
{
    return std::any_of(picked.begin(), picked.end(),
                       [&](std::size_t p) { return words_[p].folded == words_[i].folded; });
}

std::string WordIndex::shown(std::size_t i) const { return fromCp1252(words_[i].stored); }

std::vector<std::string> WordIndex::startingWith(std::string_view text, std::size_t limit) const
{
    std::vector<std::size_t> picked;
    const std::size_t lead = text.find_first_not_of(' ');
    const std::string key = folded(lead == std::string_view::npos ? std::string_view() : text.substr(lead));
    for (std::size_t i = 0; i < words_.size() && picked.size() < limit && !key.empty(); ++i) {
        if (words_[i].folded.starts_with(key) && !alreadyIn(picked, i))
            picked.push_back(i);
    }
    std::vector<std::string> out;
    for (std::size_t i : picked)
        out.push_back(shown(i));
    return out;
}

std::vector<std::string> WordIndex::suggestions(std::string_view typed, const Morphology& morphology,
                                                std::size_t limit) const
{
    const std::string key = folded(trimSpaces(typed));
    if (key.empty() || limit == 0)
        return {};
    const std::vector<std::string> bases = morphology.baseForms(key);
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> basePlace(bases.size(), kNone);
    std::size_t basesFound = 0;

    // One pass finds where the base forms stand and which words are near.
    const int maxEdits = std::min<int>(kMaxEdits, static_cast<int>(key.size()) - 1);
    std::vector<std::size_t> byEdits[kMaxEdits + 1];
    for (std::size_t i = 0; i < words_.size(); ++i) {
        const std::string& w = words_[i].folded;
        for (std::size_t b = 0; b < bases.size(); ++b) {
            if (basePlace[b] == kNone && w == bases[b]) {
                basePlace[b] = i;
                ++basesFound;
            }
        }
        // Enough words one edit away, and every base placed: the rest cannot come first.
        if (basesFound == bases.size() && byEdits[1].size() >= limit + bases.size())
            break;
        const int d = editDistance(key, w, maxEdits);
        if (d >= 1 && d <= maxEdits && !(d == 1 && alreadyIn(byEdits[1], i)))
            byEdits[d].push_back(i);
    }

    std::vector<std::size_t> picked;
    for (std::size_t place : basePlace) {
        if (place != kNone && picked.size() < limit)
            picked.push_back(place);
    }
    for (const auto& group : byEdits) {
        for (std::size_t i : group) {
            if (picked.size() >= limit)
                break;
            if (!alreadyIn(picked, i))
                picked.push_back(i);
        }
    }
    std::vector<std::string> out;
    for (std::size_t i : picked)
        out.push_back(shown(i));
    return out;
}

Error suggestionsFor(Dictionary& dict, std::string_view typed, std::vector<std::string>& out)
{
    out.clear();
    WordIndex index;
    const Error e = index.load(dict);
    if (e == Error::None)
        out = index.suggestions(typed);
    return e;
}

std::string didYouMeanText(const std::vector<std::string>& suggestions)
{
    std::string text;
    for (const std::string& s : suggestions)
        text += (text.empty() ? "Did you mean: " : ", ") + s;
    return text;
}

}  // namespace dictstore
