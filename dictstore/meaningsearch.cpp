#include "dictstore/meaningsearch.h"

#include "dictstore/codepage.h"
#include "dictstore/dictionary.h"
#include "dictstore/wordtable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>
#include <thread>
#include <unordered_set>
#include <utility>

namespace dictstore {

namespace {

// How much a description word counts where it is found in an entry.
constexpr float kInMeaning = 1.0F;
constexpr float kInSynonyms = 1.3F;
constexpr float kInUsage = 0.25F;
// The entry is listed as a synonym by the description word's own entry.
constexpr float kListedByTerm = 1.2F;
// A synonym of the description word stands in the entry's meaning.
constexpr float kSynonymInMeaning = 0.3F;
// After "not": the entry is an antonym of the word, or lists it as one.
constexpr float kAntonym = 1.0F;
constexpr float kDeniedAsIs = 0.2F;
// A word's second base form (kept: keep) where it stands for the word.
constexpr float kSecondForm = 0.8F;
// An entry of another part of speech than the description asks for.
constexpr float kOtherPart = 0.7F;
// The verb that names the act a description asks for.
constexpr float kKind = 1.5F;
constexpr std::size_t kMostExpansions = 8;
constexpr float kEarlierEntry = 0.3F;
constexpr float kCoverage = 1.0F;
// The entry's word is made from the description word as its phrase asks.
constexpr float kDerived = 1.3F;
// A synonym of several words stands in the description as it is.
constexpr float kPhrase = 0.8F;
constexpr std::size_t kLongestPhrase = 4;

// Words that carry no meaning of their own in a description.
const std::unordered_set<std::string_view>& smallWords()
{
    static const std::unordered_set<std::string_view> words = {
        "a", "an", "the", "of", "or", "and", "to", "in", "on", "for", "with", "by", "at", "from", "as", "into", "onto",
        "about", "than", "then", "that", "this", "these", "those", "which", "who", "whom", "whose", "what", "when",
        "where", "while", "is", "are", "was", "were", "be", "been", "being", "am", "do", "does", "did", "has", "have",
        "had", "having", "it", "its", "their", "there", "they", "them", "he", "she", "his", "her", "him", "you", "your",
        "we", "our", "us", "i", "me", "my", "something", "someone", "somebody", "anything", "anyone", "thing",
        "things", "one", "ones", "very", "really", "quite", "rather", "somewhat", "too", "so", "such", "much",
        "especially", "usually", "often", "sometimes", "kind", "sort", "way", "like", "can", "could", "will", "would",
        "may", "might", "should", "must", "get", "gets", "got", "s", "etc", "e", "g", "else", "not", "no", "never",
        "nor", "without"};
    return words;
}

bool isWordByte(unsigned char c) { return (c >= 'a' && c <= 'z') || c >= 0xC0 || c == '\''; }

// The folded words of a Windows-1252 text, as views into `folded` (kept
// for them) or into literals; a hyphen or any other mark separates words,
// a quote inside a word stays, "'s" is dropped.
void splitWords(std::string_view cp1252, std::string& folded, std::vector<std::string_view>& out)
{
    out.clear();
    // Folding and telling word bytes from the rest by table: every word of
    // every entry passes here.
    static const auto fold = [] {
        std::array<unsigned char, 256> t{};
        for (std::size_t c = 0; c < t.size(); ++c)
            t[c] = foldCp1252(static_cast<unsigned char>(c));
        return t;
    }();
    static const auto wordByte = [] {
        std::array<bool, 256> t{};
        for (std::size_t c = 0; c < t.size(); ++c)
            t[c] = isWordByte(fold[c]);
        return t;
    }();
    cp1252 = trimSpaces(cp1252);
    folded.resize(cp1252.size());
    for (std::size_t i = 0; i < cp1252.size(); ++i)
        folded[i] = static_cast<char>(fold[static_cast<unsigned char>(cp1252[i])]);
    const std::string_view text(folded);
    auto isWord = [&](std::size_t at) { return wordByte[static_cast<unsigned char>(text[at])]; };
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && !isWord(i))
            ++i;
        std::size_t end = i;
        while (end < text.size() && isWord(end))
            ++end;
        std::string_view word = text.substr(i, end - i);
        i = end;
        while (!word.empty() && word.back() == '\'')
            word.remove_suffix(1);
        if (word.size() > 2 && word.ends_with("'s"))
            word.remove_suffix(2);
        while (!word.empty() && word.front() == '\'')
            word.remove_prefix(1);
        if (!word.empty())
            out.push_back(word);
    }
    // "one who", "someone who" and "a person who" say the same; "unable"
    // and "cannot" are "not" followed by the rest.
    for (std::size_t k = 0; k < out.size(); ++k) {
        const std::string_view w = out[k];
        if (std::string_view("oasucdw").find(w[0]) == std::string_view::npos)
            continue;  // none of the words below

        const bool who = k + 1 < out.size() && out[k + 1] == "who";
        if (who && (w == "one" || w == "someone" || w == "somebody" || w == "anyone"))
            out[k] = "person";
        else if (w == "unable")
            out[k] = "not", out.insert(out.begin() + static_cast<std::ptrdiff_t>(k) + 1, "able");
        else if (w == "cannot" || w == "can't" || w == "don't" || w == "doesn't" || w == "won't")
            out[k] = "not";
    }
}

// Words that deny the next word that counts: "not brave", "without a
// home", "lacking courage". "lacking" still counts itself.
bool isDenial(std::string_view w)
{
    return w == "not" || w == "no" || w == "never" || w == "nor" || w == "without" || w == "lacking" ||
           w == "lack" || w == "lacks" || w == "lacked";
}

enum : std::uint8_t { kPlain = 0, kDenied = 1, kMarkerOnly = 2 };

// Words that end what a denial covers: "not clear or hard to understand".
bool endsDenial(std::string_view w)
{
    return w == "and" || w == "or" || w == "but" || w == "who" || w == "which" || w == "that" || w == "whose" ||
           w == "when" || w == "where" || w == "because" || w == "while";
}

// A mark between two words of `text` ("unable to see; blind") ends a
// denial too. Words that are not views into `text` have none.
bool markBetween(std::string_view before, std::string_view after, std::string_view text)
{
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    const char* from = before.data() + before.size();
    const char* to = after.data();
    if (from < begin || to > end || from > to)
        return false;
    return std::string_view(from, static_cast<std::size_t>(to - from)).find_first_of(",;:()") != std::string_view::npos;
}

// For each word of a text: denied by a word before it, or a mere marker of
// denial ("opposite" in "the opposite of friend") that does not count. A
// denial covers the words after it up to the end of its clause: "not able
// to be trusted" denies trust as well as able.
std::vector<std::uint8_t> denials(const std::vector<std::string_view>& words, std::string_view text)
{
    std::vector<std::uint8_t> out(words.size(), kPlain);
    bool pending = false;
    bool covering = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view w = words[i];
        if (i > 0 && (pending || covering) && markBetween(words[i - 1], w, text))
            pending = covering = false;
        const bool phrase = (w == "opposite" || w == "contrary" || w == "reverse") && i + 1 < words.size() &&
                            (words[i + 1] == "of" || words[i + 1] == "to");
        if (phrase) {
            out[i] = kMarkerOnly;
            pending = true;
        } else if (isDenial(w)) {
            pending = true;
        } else if (endsDenial(w)) {
            pending = covering = false;
        } else if ((pending || covering) && !smallWords().count(w)) {
            out[i] = kDenied;
            pending = false;
            covering = true;
        }
    }
    return out;
}

std::string foldedWord(std::string_view cp1252)
{
    std::string s(trimSpaces(cp1252));
    for (char& c : s)
        c = static_cast<char>(foldCp1252(static_cast<unsigned char>(c)));
    return s;
}

// Suffixes that make an adverb or a noun of an adjective, and what the
// adjective ends in instead.
constexpr std::pair<std::string_view, std::string_view> kDerivations[] = {
    {"ically", "ic"}, {"ily", "y"}, {"bly", "ble"}, {"ly", ""}, {"iness", "y"}, {"ness", ""}};

// Suffixes that make a noun of a verb, and what the verb ends in instead.
constexpr std::pair<std::string_view, std::string_view> kVerbNouns[] = {
    {"ation", "e"}, {"ation", ""}, {"ion", "e"}, {"ion", ""}, {"ment", ""}, {"er", "e"},
    {"er", ""},     {"or", "e"},   {"or", ""},  {"ing", ""}};

constexpr Field kSynonyms[] = {Field::Synonym1, Field::Synonym2, Field::Synonym3};
constexpr Field kAntonyms[] = {Field::Antonym1, Field::Antonym2, Field::Antonym3};

enum class Part : std::uint8_t { Any, Verb, Noun, Adjective, Adverb };

// "in a quick way", "in an angry manner": the words of such a phrase ask
// for an adverb.
bool isMannerPhrase(const std::vector<std::string_view>& words)
{
    return words.size() >= 4 && words[0] == "in" && (words[1] == "a" || words[1] == "an") &&
           (words.back() == "way" || words.back() == "manner");
}

Part partAskedFor(const std::vector<std::string_view>& words)
{
    if (words.empty())
        return Part::Any;
    const std::string_view first = words[0];
    if (first == "to")
        return Part::Verb;
    if (first == "a" || first == "an" || first == "the" || first == "something" || first == "person")
        return Part::Noun;
    if (isMannerPhrase(words))
        return Part::Adverb;
    // What a description of a quality starts with: "having a lot of
    // money", "full of danger", "not brave", "very tired", "easily
    // frightened".
    static const std::unordered_set<std::string_view> qualities = {
        "having", "full", "showing", "feeling", "able", "not", "easy", "hard", "difficult", "likely", "ready",
        "sure", "safe", "fit", "very", "extremely", "slightly", "too", "lacking", "easily", "completely",
        "unwilling", "willing", "impossible", "possible", "costing", "belonging", "known", "done", "made"};
    if (words.size() >= 2 && qualities.count(first))
        return Part::Adjective;
    return Part::Any;
}

Part partOf(const WordRecord& r)
{
    const std::string pos = foldedWord(r.raw(Field::PartOfSpeech));
    if (pos.starts_with("verb"))
        return Part::Verb;
    if (pos.starts_with("noun"))
        return Part::Noun;
    if (pos.starts_with("adj"))
        return Part::Adjective;
    if (pos.starts_with("adv"))
        return Part::Adverb;
    return Part::Any;
}

// Words made from a description word that mean what its phrase says:
// "not polite": impolite, "without a home": homeless, "full of joy":
// joyful, "a person who paints": painter.
std::vector<std::string> derivedWords(const std::vector<std::string_view>& words, std::size_t i,
                                      const std::string& base, bool negated, bool person, bool place)
{
    std::vector<std::string> out;
    const std::string surface(words[i]);
    if (negated) {
        for (const char* prefix : {"un", "in", "im", "il", "ir", "dis", "non"}) {
            out.push_back(prefix + base);
            if (surface != base)
                out.push_back(prefix + surface);
        }
        out.push_back(base + "less");
    }
    // beauty: beautiful, but joy: joyful.
    const bool consonantY = base.size() >= 2 && base.back() == 'y' &&
                            std::string_view("aeiou").find(base[base.size() - 2]) == std::string_view::npos;
    const std::string stem = consonantY ? base.substr(0, base.size() - 1) + "i" : base;
    const std::string bare = base.ends_with('e') ? base.substr(0, base.size() - 1) : base;
    if (i >= 2 && words[i - 1] == "of" && words[i - 2] == "full") {
        for (const char* suffix : {"ful", "ous"})
            out.push_back(stem + suffix);
        out.push_back(bare + "ous");
        out.push_back(base + "y");
    }
    // "able to be done": doable; "not able to be trusted": untrustable.
    if (i >= 2 && words[i - 1] == "be" && (words[i - 2] == "can" || (i >= 3 && words[i - 2] == "to" && words[i - 3] == "able"))) {
        for (const std::string& able : {base + "able", bare + "able", base + "ible", bare + "ible"}) {
            out.push_back(able);
            if (negated)
                out.push_back("un" + able);
        }
    }
    // "a place where wine is made": winery; "where bread is baked": bakery.
    if (place && base.size() >= 3) {
        for (const char* suffix : {"ery", "ry", "ary", "arium", "orium"}) {
            out.push_back(base + suffix);
            out.push_back(bare + suffix);
        }
    }
    // "in a happy way": happily.
    if (isMannerPhrase(words) && i == 2) {
        if (base.ends_with("ic"))
            out.push_back(base + "ally");
        else if (base.ends_with("le"))
            out.push_back(base.substr(0, base.size() - 1) + "y");
        out.push_back(stem + "ly");
    }
    if (person && base.size() >= 3) {
        for (const char* suffix : {"er", "or", "ist", "ian"})
            out.push_back(bare + suffix);
        out.push_back(stem + "er");
        out.push_back(base + base.back() + "er");  // run: runner
    }
    return out;
}

// words[from, to) joined by single spaces.
void joinWords(const std::vector<std::string_view>& words, std::size_t from, std::size_t to, std::string& out)
{
    out.clear();
    for (std::size_t k = from; k < to; ++k) {
        if (k > from)
            out += ' ';
        out += words[k];
    }
}

// A British spelling's American form, or nothing for a word without one.
std::string americanSpelling(std::string word)
{
    constexpr std::pair<std::string_view, std::string_view> kInside[] = {
        {"our", "or"}, {"isation", "ization"}, {"ise", "ize"}, {"yse", "yze"}, {"ogue", "og"}};
    constexpr std::pair<std::string_view, std::string_view> kAtEnd[] = {
        {"tre", "ter"}, {"tres", "ters"}, {"ence", "ense"}, {"lled", "led"}, {"lling", "ling"}};
    for (const auto& [from, to] : kAtEnd) {
        if (word.size() > from.size() + 2 && word.ends_with(from))
            return word.substr(0, word.size() - from.size()) + std::string(to);
    }
    for (const auto& [from, to] : kInside) {
        // Not at the start: "our" and "ise" begin words of their own.
        if (const std::size_t at = word.find(from, 2); at != std::string::npos)
            return word.replace(at, from.size(), to);
    }
    return {};
}

void appendAll(std::vector<std::uint32_t>& to, std::span<const std::uint32_t> from)
{
    to.insert(to.end(), from.begin(), from.end());
}


// A folded word's terms, as the index is made.
struct TermPair {
    std::uint32_t main = static_cast<std::uint32_t>(-1);  // none
    std::uint32_t other = static_cast<std::uint32_t>(-1);
};

std::mutex& sharedLock()
{
    static std::mutex lock;
    return lock;
}

}  // namespace

// The index last made by loadShared, for the next look-up to use again.
static std::shared_ptr<const MeaningIndex>& lastShared()
{
    static std::shared_ptr<const MeaningIndex> last;
    return last;
}

MeaningIndex::MeaningIndex(std::vector<WordRecord> entries, const Morphology& morphology)
    : morphology_(&morphology), entries_(std::move(entries))
{
    build();
}

Error MeaningIndex::load(Dictionary& dict, MeaningIndex& out)
{
    std::vector<WordRecord> records;
    std::int64_t count = 0;
    if (dict.recordCount(count) == Error::None && count > 0)
        records.reserve(static_cast<std::size_t>(count));
    const Error e = dict.readAll([&records](const WordRecord& r, std::int64_t) {
        records.push_back(r);
        return Error::None;
    });
    out = MeaningIndex(std::move(records), *out.morphology_);
    return e;
}

Error MeaningIndex::loadShared(Dictionary& dict, std::shared_ptr<const MeaningIndex>& out)
{
    std::vector<WordRecord> records;
    std::int64_t count = 0;
    // Only the records kavix can number: a huge file costs no more.
    if (dict.recordCount(count) == Error::None && count > 0)
        records.reserve(static_cast<std::size_t>(std::min(count, kMaxKavixRecords)));
    const Error e = dict.readAll(
        [&](const WordRecord& r, std::int64_t) {
            records.push_back(r);
            return Error::None;
        },
        kMaxKavixRecords);
    // Held while indexing, so a search asked for during a build made in the
    // background waits for it rather than making a second one.
    std::lock_guard<std::mutex> guard(sharedLock());
    std::shared_ptr<const MeaningIndex>& last = lastShared();
    if (last && last->entries_.size() == records.size() &&
        std::equal(records.begin(), records.end(), last->entries_.begin(),
                   [](const WordRecord& a, const WordRecord& b) { return a.bytes == b.bytes; })) {
        out = last;
        return e;
    }
    out = std::make_shared<const MeaningIndex>(std::move(records));
    if (e == Error::None)
        last = out;
    return e;
}

void MeaningIndex::prepareShared(const std::filesystem::path& path)
{
    // Joined at exit. What the thread uses is made first, so that it is
    // destroyed only after the join.
    sharedLock();
    lastShared();
    smallWords();
    Morphology::shipped();
    static std::mutex startLock;
    static std::vector<std::jthread> threads;
    std::lock_guard<std::mutex> guard(startLock);
    threads.emplace_back([path] {
        Dictionary dict;
        if (dict.openForReading(path) != Error::None)
            return;
        std::shared_ptr<const MeaningIndex> ignored;
        loadShared(dict, ignored);
    });
}

std::string MeaningIndex::lemma(const std::string& word, std::string* other) const
{
    std::string main = plainLemma(word, other);
    // A doer or a doing counts also as the verb it is made from (writer,
    // operations: write, operate), but only where that verb is an entry:
    // "flower" is no kind of flowing, "station" none of stating.
    if (other && other->empty()) {
        for (const auto& [suffix, ending] : kVerbNouns) {
            if (main.size() < suffix.size() + 3 || !main.ends_with(suffix))
                continue;
            std::string base = main.substr(0, main.size() - suffix.size()) + std::string(ending);
            if (base.size() < 3 || smallWords().count(base) || !isVerbOnly(base))
                continue;
            *other = std::move(base);
            break;
        }
    }
    return main;
}

std::string MeaningIndex::plainLemma(const std::string& word, std::string* other) const
{
    const bool isHeadword = headwords_.contains(word);
    const std::vector<std::string> bases = morphology_->baseForms(word);
    for (const std::string& base : bases) {
        if (!headwords_.contains(base))
            continue;
        // A word that is an entry of its own keeps its form unless the base
        // is plainly its stem (lasting: last). Another base (kept: keep)
        // counts as its second form; a short look-alike (thing: the) is a
        // small word and drops out.
        if (!isHeadword || (base.size() >= 4 && word.starts_with(base.substr(0, base.size() - 1))))
            return base;
        if (other && other->empty())
            *other = base;
    }
    // Adverbs and nouns made from adjectives mean what their adjective
    // does (quickly, quickness: quick); one with an entry of its own
    // (friendly) only partly.
    for (const auto& [suffix, ending] : kDerivations) {
        if (word.size() < suffix.size() + 3 || !word.ends_with(suffix))
            continue;
        std::string base = word.substr(0, word.size() - suffix.size()) + std::string(ending);
        if (!headwords_.contains(base) || smallWords().count(base))
            continue;
        if (!isHeadword)
            return base;
        if (other && other->empty())
            *other = std::move(base);
        break;
    }
    return word;
}

bool MeaningIndex::isVerbOnly(const std::string& word) const
{
    const std::span<const std::uint32_t> named = entriesNamed(word);
    if (named.empty() || parts_.size() < entries_.size())
        return false;
    return std::all_of(named.begin(), named.end(),
                       [this](std::uint32_t e) { return parts_[e] == static_cast<std::uint8_t>(Part::Verb); });
}

MeaningIndex::TermId MeaningIndex::knownTerm(const std::string& base) const
{
    if (base.empty() || smallWords().count(base))
        return kNoTerm;
    const TermId* known = lemmas_.find(base);
    return known ? *known : kNoTerm;
}

MeaningIndex::TermId MeaningIndex::termForBase(const std::string& base)
{
    if (base.empty() || smallWords().count(base))
        return kNoTerm;
    bool made = false;
    TermId& id = lemmas_.at(base, made);
    if (made)
        id = static_cast<TermId>(lemmas_.size() - 1);
    return id;
}

MeaningIndex::Forms MeaningIndex::findForms(const std::string& word) const
{
    Forms forms;
    if (!smallWords().count(word)) {
        forms.mainBase = lemma(word, &forms.otherBase);
        forms.main = knownTerm(forms.mainBase);
        forms.other = knownTerm(forms.otherBase);
    }
    return forms;
}

void MeaningIndex::build()
{
    const auto n = static_cast<std::uint32_t>(entries_.size());
    constexpr auto kNone = static_cast<std::uint32_t>(-1);
    std::vector<std::uint32_t> headwordOf(n, kNone);
    for (std::uint32_t i = 0; i < n; ++i) {
        std::string word = foldedWord(entries_[i].raw(Field::Word));
        if (word.empty())
            continue;
        bool made = false;
        std::uint32_t& id = headwords_.at(word, made);
        if (made)
            id = static_cast<std::uint32_t>(headwords_.size() - 1);
        headwordOf[i] = id;
        for (Field f : kAntonyms) {
            if (std::string a = foldedWord(entries_[i].raw(f)); !a.empty())
                listingAsAntonym_[a].push_back(i);
        }
    }
    namedStart_.assign(headwords_.size() + 1, 0);
    for (const std::uint32_t id : headwordOf) {
        if (id != kNone)
            ++namedStart_[id + 1];
    }
    for (std::size_t h = 0; h < headwords_.size(); ++h)
        namedStart_[h + 1] += namedStart_[h];
    named_.resize(namedStart_.back());
    std::vector<std::uint32_t> nextNamed(namedStart_.begin(), namedStart_.end() - 1);
    for (std::uint32_t i = 0; i < n; ++i) {
        if (headwordOf[i] != kNone)
            named_[nextNamed[headwordOf[i]]++] = i;
    }

    std::string folded;
    std::vector<std::string_view> words;

    // Synonyms of more than one word ("go away", "a lot"), as their words
    // joined by single spaces, and the entries that list each.
    {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> listing;  // phrase, entry
        std::string joined;
        for (std::uint32_t i = 0; i < n; ++i) {
            for (Field f : kSynonyms) {
                splitWords(entries_[i].raw(f), folded, words);
                if (words.size() < 2 || words.size() > kLongestPhrase)
                    continue;
                joinWords(words, 0, words.size(), joined);
                bool made = false;
                std::uint32_t& id = phrases_.at(joined, made);
                if (made)
                    id = static_cast<std::uint32_t>(phrases_.size() - 1);
                if (listing.empty() || listing.back() != std::pair{id, i})
                    listing.emplace_back(id, i);
            }
        }
        std::stable_sort(listing.begin(), listing.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        phraseStart_.assign(phrases_.size() + 1, 0);
        for (const auto& [id, entry] : listing)
            ++phraseStart_[id + 1];
        for (std::size_t k = 0; k < phrases_.size(); ++k)
            phraseStart_[k + 1] += phraseStart_[k];
        phraseEntries_.clear();
        for (const auto& [id, entry] : listing)
            phraseEntries_.push_back(entry);
    }

    // Words in a long meaning count a little less than in a short one.
    std::vector<std::size_t> meaningLength(n, 0);
    double sum = 0;
    std::size_t counted = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        splitWords(entries_[i].raw(Field::Meaning), folded, words);
        meaningLength[i] = words.size();
        sum += static_cast<double>(words.size());
        counted += words.empty() ? 0 : 1;
    }
    const double average = counted ? sum / static_cast<double>(counted) : 1.0;
    parts_.resize(n);
    for (std::uint32_t i = 0; i < n; ++i)
        parts_[i] = static_cast<std::uint8_t>(partOf(entries_[i]));
    norm_.resize(n);
    for (std::uint32_t i = 0; i < n; ++i)
        norm_[i] = static_cast<float>(1.0 / (0.75 + 0.25 * static_cast<double>(meaningLength[i]) / average));

    // Each written word is taken to its terms once, however often it recurs.
    WordTable<TermPair> surface;
    auto termsOf = [&](std::string_view word) {
        bool made = false;
        TermPair& t = surface.at(word, made);
        if (made && !smallWords().count(word)) {
            std::string other;
            const std::string base = lemma(std::string(word), &other);
            t = {termForBase(base), termForBase(other)};
        }
        return t;
    };

    // The best weight of each term in the entry at hand, keyed by term and
    // whether it stood denied; zero for none.
    std::vector<float> best;
    std::vector<std::uint8_t> listed;  // per key: a synonym field gave it
    std::vector<std::uint32_t> keys;
    bool inSynonyms = false;
    auto add = [&](TermId t, bool denied, float w) {
        if (t == kNoTerm)
            return;
        const std::size_t key = std::size_t{t} * 2 + (denied ? 1 : 0);
        if (key >= best.size())
            best.resize(std::max<std::size_t>(key + 1, best.size() * 2), 0.0F);
        listed.resize(best.size(), 0);
        if (best[key] == 0.0F)
            keys.push_back(static_cast<std::uint32_t>(key));
        best[key] = std::max(best[key], w);
        listed[key] = listed[key] || inSynonyms;
    };
    auto addField = [&](std::string_view raw, float weight) {
        splitWords(raw, folded, words);
        const std::vector<std::uint8_t> denial = denials(words, folded);
        for (std::size_t k = 0; k < words.size(); ++k) {
            if (denial[k] == kMarkerOnly)
                continue;
            const TermPair f = termsOf(words[k]);
            add(f.main, denial[k] == kDenied, weight);
            add(f.other, denial[k] == kDenied, weight * kSecondForm);
        }
    };
    struct Made {
        TermId term;
        Posting posting;
    };
    std::vector<Made> made;
    made.reserve(std::size_t{n} * 24);
    for (std::uint32_t i = 0; i < n; ++i) {
        const WordRecord& r = entries_[i];
        if (trimSpaces(r.raw(Field::Word)).empty())
            continue;
        addField(r.raw(Field::Usage), kInUsage);
        addField(r.raw(Field::Meaning), kInMeaning * norm_[i]);
        inSynonyms = true;
        for (Field f : kSynonyms)
            addField(r.raw(f), kInSynonyms);
        inSynonyms = false;
        // The entry's own word says nothing about what it means.
        splitWords(r.raw(Field::Word), folded, words);
        for (const std::string_view w : words) {
            // A term none of the entry's fields gave has no place here yet.
            if (const TermId t = termsOf(w).main; t != kNoTerm && std::size_t{t} * 2 + 1 < best.size()) {
                best[std::size_t{t} * 2] = 0.0F;
                best[std::size_t{t} * 2 + 1] = 0.0F;
            }
        }
        for (const std::uint32_t key : keys) {
            if (best[key] != 0.0F)
                made.push_back({key / 2, {i, key % 2, listed[key], best[key]}});
            best[key] = 0.0F;
            listed[key] = 0;
        }
        keys.clear();
    }

    // One run per term, in entry order as they were made.
    const std::size_t termCount = lemmas_.size();
    postingStart_.assign(termCount + 1, 0);
    for (const Made& m : made)
        ++postingStart_[m.term + 1];
    for (std::size_t t = 0; t < termCount; ++t)
        postingStart_[t + 1] += postingStart_[t];
    postings_.resize(made.size());
    std::vector<std::uint32_t> next(postingStart_.begin(), postingStart_.end() - 1);
    for (const Made& m : made)
        postings_[next[m.term]++] = m.posting;

    const double total = std::max<double>(1.0, n);
    idf_.resize(termCount);
    for (std::size_t t = 0; t < termCount; ++t) {
        const double count = postingStart_[t + 1] - postingStart_[t];
        idf_[t] = static_cast<float>(std::log(1.0 + total / (1.0 + count)));
    }
}

std::vector<std::string> MeaningIndex::terms(std::string_view utf8) const
{
    std::string folded;
    std::vector<std::string_view> words;
    splitWords(toCp1252(utf8), folded, words);
    std::vector<std::string> out;
    for (const std::string_view w : words) {
        if (smallWords().count(w))
            continue;
        std::string base = lemma(std::string(w), nullptr);
        if (!smallWords().count(base) && std::find(out.begin(), out.end(), base) == out.end())
            out.push_back(fromCp1252(base));
    }
    return out;
}

std::span<const std::uint32_t> MeaningIndex::entriesNamed(std::string_view word) const
{
    const std::uint32_t* id = headwords_.find(word);
    if (!id)
        return {};
    return {named_.data() + namedStart_[*id], named_.data() + namedStart_[*id + 1]};
}

void MeaningIndex::entriesListedBy(const std::string& base, const Field* fields, std::size_t count,
                                   std::vector<std::uint32_t>& out) const
{
    for (std::uint32_t e : entriesNamed(base)) {
        for (std::size_t f = 0; f < count; ++f)
            appendAll(out, entriesNamed(foldedWord(entries_[e].raw(fields[f]))));
    }
}

void MeaningIndex::scoreTerm(TermId term, const std::string& base, bool negated, float scale,
                             std::vector<float>& best, std::vector<std::uint32_t>& touched) const
{
    // A denied word says little where it stands as it is.
    const float plain = (negated ? kDeniedAsIs : 1.0F) * scale;
    auto offer = [&](std::uint32_t e, float w) {
        if (best[e] == 0.0F)
            touched.push_back(e);
        best[e] = std::max(best[e], w);
    };
    // A word that stood denied in the entry counts only for a denied word:
    // "unable to see" says nothing of "able to be seen".
    // Nor does an entry that lists a denied word among its synonyms answer
    // for it: "not enough" is not sufficient.
    auto posted = [&](const Posting& p, float route) {
        if ((p.denied && !negated) || (negated && !p.denied && p.listed))
            return;
        offer(p.entry, p.weight * route * (p.denied ? scale : plain));
    };
    for (const Posting& p : postingsOf(term))
        posted(p, 1.0F);

    // The synonyms of a denied word mean what is denied: "not enough" does
    // not ask for sufficient.
    std::vector<std::uint32_t> listed;
    if (!negated)
        entriesListedBy(base, kSynonyms, std::size(kSynonyms), listed);
    for (std::uint32_t e : listed)
        offer(e, kListedByTerm * plain);

    if (negated) {
        std::vector<std::uint32_t> opposite;
        entriesListedBy(base, kAntonyms, std::size(kAntonyms), opposite);
        if (const auto it = listingAsAntonym_.find(base); it != listingAsAntonym_.end())
            appendAll(opposite, it->second);
        for (std::uint32_t e : opposite)
            offer(e, kAntonym * scale);
    }

    // The word's own synonyms where they stand in a meaning.
    std::vector<TermId> expansions;
    {
        for (std::uint32_t e : entriesNamed(base)) {
            for (Field f : kSynonyms) {
                const std::string synonym = foldedWord(entries_[e].raw(f));
                if (synonym.empty() || synonym.find(' ') != std::string::npos)
                    continue;
                const TermId t = findForms(synonym).main;
                if (t != kNoTerm && t != term && expansions.size() < kMostExpansions &&
                    std::find(expansions.begin(), expansions.end(), t) == expansions.end())
                    expansions.push_back(t);
            }
        }
    }
    for (TermId t : expansions) {
        // A common synonym says less than the word itself.
        const float weight = kSynonymInMeaning * std::min(1.0F, idf_[t] / idf_[term]);
        for (const Posting& p : postingsOf(t))
            posted(p, weight);
    }
}

std::vector<MeaningIndex::Hit> MeaningIndex::search(std::string_view description, std::size_t limit) const
{
    std::string folded;
    std::vector<std::string_view> words;
    splitWords(toCp1252(description), folded, words);
    struct QueryTerm {
        Forms forms;
        bool negated;
        std::vector<std::string> derived;
    };
    std::vector<QueryTerm> query;
    const std::vector<std::uint8_t> denial = denials(words, folded);
    const bool person = std::find(words.begin(), words.end(), "person") != words.end();
    const bool place = std::find(words.begin(), words.end(), "place") != words.end();
    const bool manner = isMannerPhrase(words);
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (denial[i] == kMarkerOnly || (manner && i + 1 == words.size()))
            continue;
        Forms f = findForms(std::string(words[i]));
        if (f.main == kNoTerm && f.other == kNoTerm && !f.mainBase.empty()) {
            // The meanings spell as in America: colour, centre, recognise.
            if (const std::string us = americanSpelling(std::string(words[i])); !us.empty()) {
                if (Forms g = findForms(us); g.main != kNoTerm || g.other != kNoTerm)
                    f = std::move(g);
            }
        }
        const bool negated = denial[i] == kDenied;
        if (f.main == kNoTerm && f.other != kNoTerm) {
            // A word no meaning uses may still have a second form that one does.
            f = Forms{f.other, kNoTerm, f.otherBase, {}};
        } else if (f.main == kNoTerm) {
            // Or words made from it: no meaning says "joy", joyful is there.
            if (f.mainBase.empty() || f.mainBase == "person")
                continue;
            std::vector<std::string> made = derivedWords(words, i, f.mainBase, negated, person, place);
            std::erase_if(made, [this](const std::string& w) { return !headwords_.contains(w); });
            if (!made.empty())
                query.push_back({f, negated, std::move(made)});
            continue;
        }
        auto same = std::find_if(query.begin(), query.end(), [&f](const QueryTerm& q) { return q.forms.main == f.main; });
        if (same != query.end()) {
            same->negated = same->negated || negated;
            continue;
        }
        query.push_back({f, negated, {}});
        if (f.mainBase != "person")
            query.back().derived = derivedWords(words, i, f.mainBase, negated, person, place);
    }
    if (query.empty() || limit == 0)
        return {};

    const Part part = partAskedFor(words);
    const std::size_t n = entries_.size();
    thread_local std::vector<float> score;
    thread_local std::vector<float> best;
    score.assign(n, 0.0F);
    best.assign(n, 0.0F);
    std::vector<std::uint32_t> touched;
    std::vector<std::uint32_t> termTouched;
    thread_local std::vector<std::uint8_t> matched;  // description words an entry matches
    matched.assign(n, 0);
    for (const QueryTerm& q : query) {
        termTouched.clear();
        if (q.forms.main != kNoTerm)
            scoreTerm(q.forms.main, q.forms.mainBase, q.negated, 1.0F, best, termTouched);
        if (q.forms.other != kNoTerm)
            scoreTerm(q.forms.other, q.forms.otherBase, q.negated, kSecondForm, best, termTouched);
        for (const std::string& word : q.derived) {
            {
                for (std::uint32_t e : entriesNamed(word)) {
                    if (best[e] == 0.0F)
                        termTouched.push_back(e);
                    best[e] = std::max(best[e], kDerived);
                }
            }
        }
        // A word no entry uses is as rare as a word can be.
        float idf = q.forms.main != kNoTerm
                        ? idf_[q.forms.main]
                        : static_cast<float>(std::log(1.0 + std::max<double>(1.0, static_cast<double>(n))));
        // "to look at something for a long time": the first word names the
        // act, the rest only tell it apart.
        if (&q == &query.front() && part == Part::Verb && query.size() > 1)
            idf *= kKind;
        for (std::uint32_t e : termTouched) {
            if (score[e] == 0.0F)
                touched.push_back(e);
            score[e] += idf * best[e];
            best[e] = 0.0F;
            ++matched[e];
        }
    }

    // "to go away", "talking a lot": words of the description that make a
    // synonym of several words, the first also as its base form.
    std::size_t phrasesFound = 0;
    {
        std::string joined;
        std::vector<std::string_view> span;
        for (std::size_t from = 0; from + 1 < words.size(); ++from) {
            // "a person" says no more than person.
            if (words[from] == "a" || words[from] == "an" || words[from] == "the")
                continue;
            const std::string firstBase = lemma(std::string(words[from]));
            for (std::size_t length = std::min(kLongestPhrase, words.size() - from); length >= 2; --length) {
                const std::uint32_t* id = nullptr;
                for (int asBase = 0; asBase < 2 && !id; ++asBase) {
                    span.assign(words.begin() + static_cast<std::ptrdiff_t>(from),
                                words.begin() + static_cast<std::ptrdiff_t>(from + length));
                    if (asBase == 1) {
                        if (firstBase == words[from])
                            break;
                        span[0] = firstBase;
                    }
                    joinWords(span, 0, span.size(), joined);
                    id = phrases_.find(joined);
                }
                if (!id)
                    continue;
                const std::span<const std::uint32_t> listing(phraseEntries_.data() + phraseStart_[*id],
                                                             phraseEntries_.data() + phraseStart_[*id + 1]);
                const auto idf = static_cast<float>(
                    std::log(1.0 + static_cast<double>(n) / (1.0 + static_cast<double>(listing.size()))));
                for (std::uint32_t e : listing) {
                    if (score[e] == 0.0F)
                        touched.push_back(e);
                    score[e] += idf * kPhrase;
                    ++matched[e];
                }
                ++phrasesFound;
                break;  // the longest phrase from here
            }
        }
    }

    // The description's own words are not what it asks for.
    for (const QueryTerm& q : query) {
        for (const std::string* base : {&q.forms.mainBase, &q.forms.otherBase}) {
            {
                for (std::uint32_t e : entriesNamed(*base))
                    score[e] = 0.0F;
            }
        }
    }
    std::erase_if(touched, [](std::uint32_t e) { return score[e] == 0.0F; });

    // An entry that matches more of the description's words comes first;
    // among near equals the better known word: the default dictionary
    // lists its words commonest first.
    const auto asked = static_cast<float>(query.size() + phrasesFound);
    for (std::uint32_t e : touched) {
        score[e] *= std::pow(static_cast<float>(matched[e]) / asked, kCoverage);
        score[e] *= 1.0F + kEarlierEntry * (1.0F - static_cast<float>(e) / static_cast<float>(n));
    }

    if (part != Part::Any) {
        for (std::uint32_t e : touched) {
            if (parts_[e] != static_cast<std::uint8_t>(part) && parts_[e] != static_cast<std::uint8_t>(Part::Any))
                score[e] *= kOtherPart;
        }
    }

    auto better = [&](std::uint32_t x, std::uint32_t y) { return score[x] != score[y] ? score[x] > score[y] : x < y; };
    const std::size_t keep = std::min(limit, touched.size());
    std::partial_sort(touched.begin(), touched.begin() + static_cast<std::ptrdiff_t>(keep), touched.end(), better);
    std::vector<Hit> hits;
    hits.reserve(keep);
    for (std::size_t i = 0; i < keep; ++i)
        hits.push_back({touched[i], score[touched[i]]});
    return hits;
}

}  // namespace dictstore
