#pragma once

// Forgiving look-ups: base forms of inflected words (WordNet's morphology),
// words close in spelling, and words that begin with typed letters.

#include "dictstore/errors.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dictstore {

class Dictionary;

// WordNet's detachment rules and exception lists, per part of speech.
class Morphology {
public:
    // Parses the text of data/morphology.tsv: "rule POS SUFFIX ENDING" and
    // "exc POS INFLECTED BASE..." lines, tab-separated; '#' starts a comment.
    explicit Morphology(std::string_view data);

    // The rules and lists shipped with the programs.
    static const Morphology& shipped();

    // The forms a lower-case word may be an inflection of, most likely
    // first: for nouns, verbs, adjectives and adverbs in turn, the listed
    // bases of an irregular form, then what the rules make. Without
    // duplicates and without the word itself; whether a form is a real word
    // is for the caller's word list to say.
    std::vector<std::string> baseForms(std::string_view word) const;

    std::size_t exceptionCount() const;

private:
    struct Rule {
        std::string suffix;
        std::string ending;
    };
    static constexpr int kParts = 4;  // n, v, a, r
    std::vector<Rule> rules_[kParts];
    std::unordered_map<std::string, std::vector<std::string>> exceptions_[kParts];
};

// Damerau-Levenshtein distance (adjacent transpositions count as one edit,
// also with edits between them) between two byte strings; any distance
// above `limit` is reported as limit + 1.
int editDistance(std::string_view a, std::string_view b, int limit);

// The dictionary's words in file order, trimmed, for prefix and spelling
// searches. Words that differ only in letter case count once, at their
// first place, as a look-up would find them.
class WordIndex {
public:
    static constexpr std::size_t kCompletions = 12;
    static constexpr std::size_t kSuggestions = 5;
    static constexpr int kMaxEdits = 2;

    WordIndex() = default;

    // Words as UTF-8, spaces around them ignored.
    void add(std::string_view word);
    // Every word of an open dictionary, read from its first record.
    Error load(Dictionary& dict);

    // Entries read, repeated words included.
    std::size_t size() const { return words_.size(); }
    bool contains(std::string_view word) const;

    // Words that begin with the text (leading spaces ignored, letter case
    // ignored), in file order, at most `limit`.
    std::vector<std::string> startingWith(std::string_view text, std::size_t limit = kCompletions) const;

    // What to offer for a word the dictionary does not hold: the base forms
    // it holds (mice: mouse), then the words at most two edits away, fewer
    // edits first and then in file order; at most `limit`, as stored.
    // A suggestion keeps at least one letter of a short word: "ox" gets no
    // two-edit suggestions such as "go".
    std::vector<std::string> suggestions(std::string_view typed, const Morphology& morphology = Morphology::shipped(),
                                         std::size_t limit = kSuggestions) const;

private:
    struct Word {
        std::string folded;  // lower case: what comparisons use
        std::string stored;  // as in the file
    };
    bool alreadyIn(const std::vector<std::size_t>& picked, std::size_t i) const;
    std::string shown(std::size_t i) const;

    // Windows-1252 bytes, one per character, so edits count characters.
    std::vector<Word> words_;
};

// The suggestions for a word that a look-up on `dict` did not find; reads
// the whole dictionary. For callers that report a word not found.
Error suggestionsFor(Dictionary& dict, std::string_view typed, std::vector<std::string>& out);

// "Did you mean: a, b, c?" for a message, or empty without suggestions.
std::string didYouMeanText(const std::vector<std::string>& suggestions);

// The shipped morphology data (data/morphology.tsv), built into the library.
std::string_view morphologyData();

}  // namespace dictstore
