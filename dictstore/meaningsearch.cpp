#include "dictstore/meaningsearch.h"

#include "dictstore/codepage.h"
#include "dictstore/dictionary.h"

#include <algorithm>
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
constexpr float kDeniedAsIs = 0.35F;
// A word's second base form (kept: keep) where it stands for the word.
constexpr float kSecondForm = 0.8F;
// An entry of another part of speech than the description asks for.
constexpr float kOtherPart = 0.7F;
constexpr std::size_t kMostExpansions = 8;
constexpr float kEarlierEntry = 0.3F;
constexpr float kCoverage = 1.0F;
// The entry's word is made from the description word as its phrase asks.
constexpr float kDerived = 1.3F;

// Words that carry no meaning of their own in a description.
const std::unordered_set<std::string>& smallWords()
{
    static const std::unordered_set<std::string> words = {
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

// The folded words of a Windows-1252 text; a hyphen or any other mark
// separates words, a quote inside a word stays, "'s" is dropped.
void splitWords(std::string_view cp1252, std::vector<std::string>& out)
{
    out.clear();
    std::string word;
    auto flush = [&] {
        while (!word.empty() && word.back() == '\'')
            word.pop_back();
        if (word.size() > 2 && word.ends_with("'s"))
            word.resize(word.size() - 2);
        while (!word.empty() && word.front() == '\'')
            word.erase(word.begin());
        if (!word.empty())
            out.push_back(word);
        word.clear();
    };
    for (const char ch : cp1252) {
        const auto c = foldCp1252(static_cast<unsigned char>(ch));
        if (isWordByte(c))
            word.push_back(static_cast<char>(c));
        else
            flush();
    }
    flush();
    // "one who", "someone who" and "a person who" say the same; "unable"
    // and "cannot" are "not" followed by the rest.
    for (std::size_t i = 0; i < out.size(); ++i) {
        const bool who = i + 1 < out.size() && out[i + 1] == "who";
        if (who && (out[i] == "one" || out[i] == "someone" || out[i] == "somebody" || out[i] == "anyone"))
            out[i] = "person";
        else if (out[i] == "unable")
            out[i] = "not", out.insert(out.begin() + static_cast<std::ptrdiff_t>(i) + 1, "able");
        else if (out[i] == "cannot" || out[i] == "can't" || out[i] == "don't" || out[i] == "doesn't" || out[i] == "won't")
            out[i] = "not";
    }
}

// Words that deny the next word that counts: "not brave", "without a
// home", "lacking courage". "lacking" still counts itself.
bool isDenial(const std::string& w)
{
    return w == "not" || w == "no" || w == "never" || w == "nor" || w == "without" || w == "lacking" ||
           w == "lack" || w == "lacks" || w == "lacked";
}

enum : std::uint8_t { kPlain = 0, kDenied = 1, kMarkerOnly = 2 };

// For each word of a text: denied by a word before it, or a mere marker of
// denial ("opposite" in "the opposite of friend") that does not count.
std::vector<std::uint8_t> denials(const std::vector<std::string>& words)
{
    std::vector<std::uint8_t> out(words.size(), kPlain);
    bool pending = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        const bool phrase = (w == "opposite" || w == "contrary" || w == "reverse") && i + 1 < words.size() &&
                            (words[i + 1] == "of" || words[i + 1] == "to");
        if (phrase) {
            out[i] = kMarkerOnly;
            pending = true;
        } else if (isDenial(w)) {
            pending = true;
        } else if (pending && !smallWords().count(w)) {
            out[i] = kDenied;
            pending = false;
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

constexpr Field kSynonyms[] = {Field::Synonym1, Field::Synonym2, Field::Synonym3};
constexpr Field kAntonyms[] = {Field::Antonym1, Field::Antonym2, Field::Antonym3};

enum class Part { Any, Verb, Noun };

Part partAskedFor(const std::vector<std::string>& words)
{
    if (words.empty())
        return Part::Any;
    if (words[0] == "to")
        return Part::Verb;
    if (words[0] == "a" || words[0] == "an" || words[0] == "the")
        return Part::Noun;
    return Part::Any;
}

bool isPart(const WordRecord& r, Part part)
{
    const std::string pos = foldedWord(r.raw(Field::PartOfSpeech));
    if (part == Part::Any || pos.empty())
        return true;
    return pos.starts_with(part == Part::Verb ? "verb" : "noun");
}

// Words made from a description word that mean what its phrase says:
// "not polite": impolite, "without a home": homeless, "full of joy":
// joyful, "a person who paints": painter.
std::vector<std::string> derivedWords(const std::vector<std::string>& words, std::size_t i, const std::string& base,
                                      bool negated, bool person)
{
    std::vector<std::string> out;
    const std::string& surface = words[i];
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
    if (person && base.size() >= 3) {
        for (const char* suffix : {"er", "or", "ist", "ian"})
            out.push_back(bare + suffix);
        out.push_back(stem + "er");
        out.push_back(base + base.back() + "er");  // run: runner
    }
    return out;
}

void appendAll(std::vector<std::uint32_t>& to, const std::vector<std::uint32_t>& from)
{
    to.insert(to.end(), from.begin(), from.end());
}


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
    const bool isHeadword = headwords_.count(word) > 0;
    const std::vector<std::string> bases = morphology_->baseForms(word);
    for (const std::string& base : bases) {
        if (!headwords_.count(base))
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
        if (!headwords_.count(base) || smallWords().count(base))
            continue;
        if (!isHeadword)
            return base;
        if (other && other->empty())
            *other = std::move(base);
        break;
    }
    return word;
}

MeaningIndex::TermId MeaningIndex::knownTerm(const std::string& base) const
{
    if (base.empty() || smallWords().count(base))
        return kNoTerm;
    const auto known = lemmas_.find(base);
    return known == lemmas_.end() ? kNoTerm : known->second;
}

MeaningIndex::TermId MeaningIndex::termForBase(const std::string& base)
{
    if (base.empty() || smallWords().count(base))
        return kNoTerm;
    if (const TermId known = knownTerm(base); known != kNoTerm)
        return known;
    const auto id = static_cast<TermId>(postings_.size());
    postings_.emplace_back();
    lemmas_.emplace(base, id);
    return id;
}

MeaningIndex::Forms MeaningIndex::formsOf(const std::string& word)
{
    if (const auto it = surface_.find(word); it != surface_.end())
        return it->second;
    Forms forms;
    if (!smallWords().count(word)) {
        forms.mainBase = lemma(word, &forms.otherBase);
        forms.main = termForBase(forms.mainBase);
        forms.other = termForBase(forms.otherBase);
    }
    surface_.emplace(word, forms);
    return forms;
}

MeaningIndex::Forms MeaningIndex::findForms(const std::string& word) const
{
    if (const auto it = surface_.find(word); it != surface_.end())
        return it->second;
    Forms forms;
    if (!smallWords().count(word)) {
        forms.mainBase = lemma(word, &forms.otherBase);
        forms.main = knownTerm(forms.mainBase);
        forms.other = knownTerm(forms.otherBase);
    }
    return forms;
}

void MeaningIndex::addField(std::string_view raw, float weight, std::unordered_map<TermId, float>& best)
{
    thread_local std::vector<std::string> words;
    splitWords(raw, words);
    const std::vector<std::uint8_t> denial = denials(words);
    // Keyed by term and whether it stood denied.
    auto add = [&best](TermId t, bool denied, float w) {
        if (t == kNoTerm)
            return;
        float& b = best[t * 2 + (denied ? 1 : 0)];
        b = std::max(b, w);
    };
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (denial[i] == kMarkerOnly)
            continue;
        const Forms f = formsOf(words[i]);
        add(f.main, denial[i] == kDenied, weight);
        add(f.other, denial[i] == kDenied, weight * kSecondForm);
    }
}

void MeaningIndex::build()
{
    const auto n = static_cast<std::uint32_t>(entries_.size());
    for (std::uint32_t i = 0; i < n; ++i) {
        std::string word = foldedWord(entries_[i].raw(Field::Word));
        if (word.empty())
            continue;
        headwords_.emplace(word, i);
        entriesNamed_[word].push_back(i);
        for (Field f : kAntonyms) {
            if (std::string a = foldedWord(entries_[i].raw(f)); !a.empty())
                listingAsAntonym_[a].push_back(i);
        }
    }
    // Words in a long meaning count a little less than in a short one.
    std::vector<std::string> words;
    std::vector<std::size_t> meaningLength(n, 0);
    double sum = 0;
    std::size_t counted = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        splitWords(entries_[i].raw(Field::Meaning), words);
        meaningLength[i] = words.size();
        sum += static_cast<double>(words.size());
        counted += words.empty() ? 0 : 1;
    }
    const double average = counted ? sum / static_cast<double>(counted) : 1.0;
    norm_.resize(n);
    for (std::uint32_t i = 0; i < n; ++i)
        norm_[i] = static_cast<float>(1.0 / (0.75 + 0.25 * static_cast<double>(meaningLength[i]) / average));

    std::unordered_map<TermId, float> best;
    for (std::uint32_t i = 0; i < n; ++i) {
        best.clear();
        const WordRecord& r = entries_[i];
        if (trimSpaces(r.raw(Field::Word)).empty())
            continue;
        addField(r.raw(Field::Usage), kInUsage, best);
        addField(r.raw(Field::Meaning), kInMeaning * norm_[i], best);
        for (Field f : kSynonyms)
            addField(r.raw(f), kInSynonyms, best);
        // The entry's own word says nothing about what it means.
        splitWords(r.raw(Field::Word), words);
        for (const std::string& w : words) {
            if (const TermId t = formsOf(w).main; t != kNoTerm) {
                best.erase(t * 2);
                best.erase(t * 2 + 1);
            }
        }
        for (const auto& [key, weight] : best)
            postings_[key / 2].push_back({i, key % 2, weight});
    }
    for (auto& list : postings_)
        std::sort(list.begin(), list.end(), [](const Posting& a, const Posting& b) { return a.entry < b.entry; });

    const double total = std::max<double>(1.0, n);
    idf_.resize(postings_.size());
    for (std::size_t t = 0; t < postings_.size(); ++t)
        idf_[t] = static_cast<float>(std::log(1.0 + total / (1.0 + static_cast<double>(postings_[t].size()))));
}

std::vector<std::string> MeaningIndex::terms(std::string_view utf8) const
{
    std::vector<std::string> words;
    splitWords(toCp1252(utf8), words);
    std::vector<std::string> out;
    for (const std::string& w : words) {
        if (smallWords().count(w))
            continue;
        std::string base = lemma(w, nullptr);
        if (!smallWords().count(base) && std::find(out.begin(), out.end(), base) == out.end())
            out.push_back(fromCp1252(base));
    }
    return out;
}

void MeaningIndex::entriesListedBy(const std::string& base, const Field* fields, std::size_t count,
                                   std::vector<std::uint32_t>& out) const
{
    const auto named = entriesNamed_.find(base);
    if (named == entriesNamed_.end())
        return;
    for (std::uint32_t e : named->second) {
        for (std::size_t f = 0; f < count; ++f) {
            if (const auto target = entriesNamed_.find(foldedWord(entries_[e].raw(fields[f])));
                target != entriesNamed_.end())
                appendAll(out, target->second);
        }
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
    auto posted = [&](const Posting& p, float route) {
        if (p.denied && !negated)
            return;
        offer(p.entry, p.weight * route * (p.denied ? scale : plain));
    };
    for (const Posting& p : postings_[term])
        posted(p, 1.0F);

    std::vector<std::uint32_t> listed;
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
    if (const auto named = entriesNamed_.find(base); named != entriesNamed_.end()) {
        for (std::uint32_t e : named->second) {
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
        for (const Posting& p : postings_[t])
            posted(p, weight);
    }
}

std::vector<MeaningIndex::Hit> MeaningIndex::search(std::string_view description, std::size_t limit) const
{
    std::vector<std::string> words;
    splitWords(toCp1252(description), words);
    struct QueryTerm {
        Forms forms;
        bool negated;
        std::vector<std::string> derived;
    };
    std::vector<QueryTerm> query;
    const std::vector<std::uint8_t> denial = denials(words);
    const bool person = std::find(words.begin(), words.end(), "person") != words.end();
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (denial[i] == kMarkerOnly)
            continue;
        Forms f = findForms(words[i]);
        const bool negated = denial[i] == kDenied;
        if (f.main == kNoTerm && f.other != kNoTerm) {
            // A word no meaning uses may still have a second form that one does.
            f = Forms{f.other, kNoTerm, f.otherBase, {}};
        } else if (f.main == kNoTerm) {
            // Or words made from it: no meaning says "joy", joyful is there.
            if (f.mainBase.empty() || f.mainBase == "person")
                continue;
            std::vector<std::string> made = derivedWords(words, i, f.mainBase, negated, person);
            std::erase_if(made, [this](const std::string& w) { return !entriesNamed_.count(w); });
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
            query.back().derived = derivedWords(words, i, f.mainBase, negated, person);
    }
    if (query.empty() || limit == 0)
        return {};

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
            if (const auto named = entriesNamed_.find(word); named != entriesNamed_.end()) {
                for (std::uint32_t e : named->second) {
                    if (best[e] == 0.0F)
                        termTouched.push_back(e);
                    best[e] = std::max(best[e], kDerived);
                }
            }
        }
        // A word no entry uses is as rare as a word can be.
        const float idf = q.forms.main != kNoTerm
                              ? idf_[q.forms.main]
                              : static_cast<float>(std::log(1.0 + std::max<double>(1.0, static_cast<double>(n))));
        for (std::uint32_t e : termTouched) {
            if (score[e] == 0.0F)
                touched.push_back(e);
            score[e] += idf * best[e];
            best[e] = 0.0F;
            ++matched[e];
        }
    }

    // The description's own words are not what it asks for.
    for (const QueryTerm& q : query) {
        for (const std::string* base : {&q.forms.mainBase, &q.forms.otherBase}) {
            if (const auto named = entriesNamed_.find(*base); named != entriesNamed_.end()) {
                for (std::uint32_t e : named->second)
                    score[e] = 0.0F;
            }
        }
    }
    std::erase_if(touched, [](std::uint32_t e) { return score[e] == 0.0F; });

    // An entry that matches more of the description's words comes first;
    // among near equals the better known word: the default dictionary
    // lists its words commonest first.
    const auto asked = static_cast<float>(query.size());
    for (std::uint32_t e : touched) {
        score[e] *= std::pow(static_cast<float>(matched[e]) / asked, kCoverage);
        score[e] *= 1.0F + kEarlierEntry * (1.0F - static_cast<float>(e) / static_cast<float>(n));
    }

    const Part part = partAskedFor(words);
    if (part != Part::Any) {
        for (std::uint32_t e : touched) {
            if (!isPart(entries_[e], part))
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
