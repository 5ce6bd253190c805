#pragma once

// Finding a word by what it means: the words of a description against every
// entry's meaning, synonyms and sample sentence.

#include "dictstore/errors.h"
#include "dictstore/suggest.h"
#include "dictstore/wordtable.h"
#include "dictstore/wordrecord.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dictstore {

class Dictionary;

// The entries of one dictionary, indexed by the base forms of the words in
// their meanings, synonyms and sample sentences.
//
// A description's words count by how rare they are in the dictionary (a
// word few entries use says more than one many use); small words such as
// "a", "of" or "very" do not count. An entry scores for a description word
// found in its meaning, more for one among its synonyms, less for one in its
// sample sentence, and also when the description word's own entry lists it
// as a synonym. Its own word does not count: "a tired feeling" asks for
// another word than tired. The synonyms of a description word count a
// little where they stand in a meaning; after "not", the word's antonyms
// count ("not brave": cowardly); a denial covers the rest of its clause,
// and the synonyms of a denied word do not count for it. A synonym of
// several words ("go in") counts where the description says it. A
// description that starts with "to" asks for a verb, whose own word then
// counts more; one that starts with "a" or "the" for a noun; "in a ... way"
// for an adverb; "having", "full of", "not", "very" ... for an adjective.
class MeaningIndex {
public:
    static constexpr std::size_t kMostResults = 50;

    struct Hit {
        std::size_t entry;  // place in the order the entries were given
        double score;
    };

    explicit MeaningIndex(std::vector<WordRecord> entries, const Morphology& morphology = Morphology::shipped());

    // Every record of an open dictionary, in file order.
    static Error load(Dictionary& dict, MeaningIndex& out);

    // The same, but an index made for the very same records before (the
    // same bytes, read again now) is used again rather than made afresh:
    // reading is quick, indexing is not.
    // An index being made when this is called is waited for, then used if
    // its records are still the very same bytes; otherwise a new one is made.
    static Error loadShared(Dictionary& dict, std::shared_ptr<const MeaningIndex>& out);

    // Reads and indexes the dictionary at `path` on another thread, so that
    // the first search in a run finds its index made (loadShared still
    // compares every record, so a dictionary changed since is indexed
    // again). Returns at once; the thread is waited for when the program
    // ends.
    static void prepareShared(const std::filesystem::path& path);

    std::size_t size() const { return entries_.size(); }
    const WordRecord& entry(std::size_t i) const { return entries_[i]; }

    // The best matching entries, best first; equal scores in file order.
    // Nothing for a description with no word the dictionary uses.
    std::vector<Hit> search(std::string_view description, std::size_t limit = kMostResults) const;

    // The terms a text counts with: lower case, base forms, small words
    // left out, each once. For tests and for tuning.
    std::vector<std::string> terms(std::string_view utf8) const;

private:
    using TermId = std::uint32_t;
    struct Posting {
        std::uint32_t entry : 30;
        std::uint32_t denied : 1;  // stood after "not", "without", ...: the entry means the opposite
        std::uint32_t listed : 1;  // among the entry's synonyms: the entry means the word
        float weight;
    };

    static constexpr TermId kNoTerm = static_cast<TermId>(-1);

    // The terms a folded word counts as: its base form, and for some words
    // a second one. kNoTerm for a small word or one no entry uses.
    struct Forms {
        TermId main = kNoTerm;
        TermId other = kNoTerm;
        std::string mainBase;
        std::string otherBase;
    };
    Forms findForms(const std::string& word) const;
    TermId termForBase(const std::string& base);
    TermId knownTerm(const std::string& base) const;
    // The base form a folded word counts as; `other` gets a second one.
    std::string lemma(const std::string& word, std::string* other = nullptr) const;
    std::string plainLemma(const std::string& word, std::string* other) const;
    // Every entry named `word` is a verb.
    bool isVerbOnly(const std::string& word) const;
    void build();
    std::span<const Posting> postingsOf(TermId term) const
    {
        return {postings_.data() + postingStart_[term], postings_.data() + postingStart_[term + 1]};
    }
    // Every entry whose folded headword is `word`, in file order.
    std::span<const std::uint32_t> entriesNamed(std::string_view word) const;
    // What one description word gives each entry, the best of its routes.
    void scoreTerm(TermId term, const std::string& base, bool negated, float scale, std::vector<float>& best,
                   std::vector<std::uint32_t>& touched) const;
    // Entries named by a field of the entries that a folded word names.
    void entriesListedBy(const std::string& base, const Field* fields, std::size_t count,
                         std::vector<std::uint32_t>& out) const;

    const Morphology* morphology_;
    std::vector<WordRecord> entries_;
    // Each distinct folded headword's number, and the entries it names in
    // file order, one run per number.
    WordTable<std::uint32_t> headwords_;
    std::vector<std::uint32_t> namedStart_;
    std::vector<std::uint32_t> named_;
    // The entries that list a folded word among their antonyms.
    std::unordered_map<std::string, std::vector<std::uint32_t>> listingAsAntonym_;
    WordTable<TermId> lemmas_;                          // a base form: its term
    // Every term's postings in entry order, one run after another.
    std::vector<std::uint32_t> postingStart_;           // per term, and one past the last
    std::vector<Posting> postings_;
    std::vector<float> idf_;                            // per term
    std::vector<float> norm_;                           // per entry: shorter meanings weigh more
    std::vector<std::uint8_t> parts_;                   // per entry: its part of speech
    // Synonyms of several words: each one's number, and the entries that
    // list it, one run per number.
    WordTable<std::uint32_t> phrases_;
    std::vector<std::uint32_t> phraseStart_;
    std::vector<std::uint32_t> phraseEntries_;
};

}  // namespace dictstore
