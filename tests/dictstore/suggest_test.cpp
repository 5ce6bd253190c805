// Forgiving look-ups: base forms, spelling suggestions and type-ahead.

#include "testfiles.h"

#include "dictstore/csvreader.h"
#include "dictstore/dictionary.h"
#include "dictstore/suggest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>


using namespace dictstore;

namespace {

using Words = std::vector<std::string>;

WordIndex indexOf(const Words& words)
{
    WordIndex index;
    for (const std::string& w : words)
        index.add(w);
    return index;
}

TEST(MorphologyTest, ShippedDataKeepsWordNetsListsAndLicence)
{
    const std::string_view data = morphologyData();
    EXPECT_NE(data.find("WordNet 3.0 Copyright 2006 by Princeton University"), std::string_view::npos);
    // All four lists made it in: 5,952 lines, a few forms listed under two parts of speech.
    EXPECT_GT(Morphology::shipped().exceptionCount(), 5900u);
    // A phrase keeps its spaces; WordNet's underscores are gone.
    EXPECT_EQ(Morphology::shipped().baseForms("bureaux de change"), Words{"bureau de change"});
}

TEST(MorphologyTest, BaseFormsOfRegularAndIrregularWords)
{
    // Only words the dictionary holds are offered, and their base forms first.
    const WordIndex index = indexOf({"run", "mouse", "go", "good", "well", "study", "thing", "hour", "come", "look",
                                     "big", "turn", "leaf", "leave", "child", "box", "boxful", "woman", "glass",
                                     "happy", "fast", "deeply", "bad", "see"});
    const std::vector<std::pair<std::string, Words>> table = {
        // nouns
        {"mice", {"mouse"}},
        {"children", {"child"}},
        {"leaves", {"leaf", "leave"}},
        {"things", {"thing"}},
        {"hours", {"hour"}},
        {"boxes", {"box"}},
        {"boxesful", {"boxful"}},
        {"women", {"woman"}},
        {"glasses", {"glass"}},
        // verbs
        {"running", {"run"}},
        {"went", {"go"}},
        {"saw", {"see"}},
        {"coming", {"come"}},
        {"looking", {"look"}},
        {"turned", {"turn"}},
        {"studies", {"study"}},
        {"studied", {"study"}},
        // adjectives
        {"better", {"good", "well"}},
        {"worse", {"bad"}},
        {"bigger", {"big"}},
        {"happiest", {"happy"}},
        {"faster", {"fast"}},
        // adverbs: "deep" is not held, so only the adverb's base is offered
        {"deeper", {"deeply"}},
    };
    for (const auto& [typed, expected] : table) {
        const Words got = index.suggestions(typed, Morphology::shipped(), expected.size());
        EXPECT_EQ(got, expected) << typed;
    }
    // Letter case and spaces around the word do not matter.
    EXPECT_EQ(index.suggestions("  Mice ", Morphology::shipped(), 1), Words{"mouse"});
}

TEST(MorphologyTest, NothingWhenTheBaseIsMissingOrTheWordIsItsOwnBase)
{
    const WordIndex index = indexOf({"mouse", "zebra", "boss", "bos"});
    EXPECT_TRUE(index.suggestions("geese").empty()) << "goose is not in the dictionary";
    EXPECT_TRUE(index.suggestions("quickly").empty()) << "no rule detaches -ly";
    // WordNet lists some words as their own base; a word is never its own
    // base form, and the other bases still come first.
    for (const char* self : {"after", "gas", "forceps", "feed"}) {
        const Words bases = Morphology::shipped().baseForms(self);
        EXPECT_EQ(std::count(bases.begin(), bases.end(), self), 0) << self;
    }
    EXPECT_EQ(Morphology::shipped().baseForms("feed").front(), "fee");
    EXPECT_TRUE(Morphology::shipped().baseForms("sheep").empty());
    // Nouns in -ss keep their s: "boss" is not an inflection of "bos".
    const Words bosses = Morphology::shipped().baseForms("boss");
    EXPECT_EQ(std::count(bosses.begin(), bosses.end(), "bos"), 1) << "only as a verb (he bosses)";
    EXPECT_EQ(Morphology::shipped().baseForms("glass"), Words{"glas"}) << "verb rule only";
}

TEST(MorphologyTest, ParsesRulesAndExceptionsFromText)
{
    const Morphology m("# comment\r\nrule\tn\ts\t\r\nexc\tv\tgot\tget\tgotten\nbogus line\nrule\tx\ts\t\n");
    EXPECT_EQ(m.exceptionCount(), 1u);
    EXPECT_EQ(m.baseForms("cats"), Words{"cat"});
    EXPECT_EQ(m.baseForms("got"), (Words{"get", "gotten"}));
}

TEST(EditDistanceTest, CountsTranspositionsAsOneEdit)
{
    EXPECT_EQ(editDistance("recieve", "receive", 2), 1);
    EXPECT_EQ(editDistance("hapy", "happy", 2), 1);
    EXPECT_EQ(editDistance("happpy", "happy", 2), 1);
    EXPECT_EQ(editDistance("seperate", "separate", 2), 1);
    EXPECT_EQ(editDistance("", "ab", 2), 2);
    EXPECT_EQ(editDistance("ab", "ab", 2), 0);
    // A transposition with an insertion between the pair: two edits (the
    // restricted variant would say three).
    EXPECT_EQ(editDistance("ca", "abc", 2), 2);
    // Beyond the limit, by length or by letters.
    EXPECT_EQ(editDistance("a", "abcd", 2), 3);
    EXPECT_EQ(editDistance("abcdef", "uvwxyz", 2), 3);
    EXPECT_EQ(editDistance("abcdef", "uvwxyz", 6), 6);
}

TEST(SpellingTest, OffersWordsWithinTwoEdits)
{
    const WordIndex index =
        indexOf({"receive", "believe", "the", "happy", "friend", "weird", "separate", "definitely"});
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"recieve", "receive"},       // transposition
        {"wierd", "weird"},           // transposition
        {"teh", "the"},               // transposition
        {"hapy", "happy"},            // omission
        {"frend", "friend"},          // omission
        {"happpy", "happy"},          // insertion
        {"seperate", "separate"},     // substitution
        {"definately", "definitely"}, // substitution
        {"HAPY", "happy"},            // letter case
        {"ReCieve", "receive"},
        {"beleive", "believe"},
        {"reciev", "receive"},        // two edits
    };
    for (const auto& [typed, expected] : cases) {
        const Words got = index.suggestions(typed);
        ASSERT_FALSE(got.empty()) << typed;
        EXPECT_EQ(got.front(), expected) << typed;
    }
    // Two edits: recieve and believe are both close, the nearer first.
    EXPECT_EQ(index.suggestions("recieve"), (Words{"receive", "believe"}));
    EXPECT_TRUE(index.suggestions("recital").empty()) << "more than two edits away";
    EXPECT_TRUE(index.suggestions("   ").empty());
}

TEST(SpellingTest, FewerEditsFirstThenFileOrderAtMostFive)
{
    const WordIndex index = indexOf({"cold", "dot", "scoter", "cat", "coat", "ct", "cut", "cot ", "COT", "got"});
    EXPECT_EQ(index.suggestions("cott"), (Words{"coat", "cot", "cold", "dot", "cat"}));
    EXPECT_EQ(index.suggestions("cxt"), (Words{"cat", "ct", "cut", "cot", "dot"}));
    // The typed word itself is never offered, in any case.
    EXPECT_EQ(index.suggestions("COT"), (Words{"dot", "cat", "coat", "ct", "cut"}));
    // Base forms come before any spelling suggestion, wherever they stand.
    const WordIndex mice = indexOf({"nice", "mile", "mouse"});
    EXPECT_EQ(mice.suggestions("mice"), (Words{"mouse", "nice", "mile"}));
    // A short word keeps at least one of its letters.
    const WordIndex shortWords = indexOf({"go", "on", "ox"});
    EXPECT_EQ(shortWords.suggestions("xo"), (Words{"go", "ox"}));
    EXPECT_TRUE(shortWords.suggestions("xq").empty());
    EXPECT_TRUE(shortWords.suggestions("q").empty());
}

TEST(WordIndexTest, StartingWithIgnoresCaseAndKeepsFileOrder)
{
    Words many;
    for (int i = 0; i < 20; ++i)
        many.push_back("h" + std::to_string(i));
    many.insert(many.begin(), {"Happy", "hat", "happy", "ahead", "  hello  "});
    const WordIndex index = indexOf(many);
    EXPECT_EQ(index.startingWith("HA"), (Words{"Happy", "hat"})) << "a word again in another case counts once";
    EXPECT_EQ(index.startingWith("  hel"), (Words{"hello"}));
    const Words h = index.startingWith("h");
    ASSERT_EQ(h.size(), WordIndex::kCompletions);
    EXPECT_EQ(h.front(), "Happy");
    EXPECT_EQ(h.back(), "h8");
    EXPECT_TRUE(index.startingWith("").empty());
    EXPECT_TRUE(index.startingWith("hz").empty());
    EXPECT_TRUE(index.contains(" HELLO"));
}

TEST(WordIndexTest, ReadsTheDictionaryFile)
{
    const auto dir = testfiles::freshDir("suggest-file");
    const auto path = dir / "dictionary.kvx";
    // Windows-1252 bytes: "café" stored with 0xE9, reached from its capital plural.
    testfiles::writeBytes(path, testfiles::rawRecord("run") + testfiles::rawRecord("caf\xE9") +
                                    testfiles::rawRecord("walk") + testfiles::rawRecord("walk"));
    Dictionary dict;
    ASSERT_EQ(dict.openForReading(path), Error::None);
    Words out;
    EXPECT_EQ(suggestionsFor(dict, "running", out), Error::None);
    EXPECT_EQ(out, Words{"run"});
    EXPECT_EQ(suggestionsFor(dict, "CAF\xC3\x89S", out), Error::None);
    EXPECT_EQ(out, Words{"caf\xC3\xA9"});
    EXPECT_EQ(suggestionsFor(dict, "walks", out), Error::None);
    EXPECT_EQ(out, Words{"walk"}) << "kept once";
    EXPECT_EQ(didYouMeanText(out), "Did you mean: walk");
    EXPECT_EQ(didYouMeanText({"run", "rung"}), "Did you mean: run, rung");
    EXPECT_EQ(didYouMeanText({}), "");

    Dictionary closed;
    EXPECT_NE(suggestionsFor(closed, "running", out), Error::None);
    EXPECT_TRUE(out.empty());
}

// Words users type, on the default dictionary's words: everyday
// inflections get their base first, a common misspelling its word.
TEST(DefaultDictionaryTest, CommonInflectionsAndMisspellingsGetTheirWord)
{
    std::ifstream in(LEXIVANE_DICTIONARY_CSV, std::ios::binary);
    ASSERT_TRUE(in.good());
    CsvReader csv(in);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"running", "run"}, {"mice", "mouse"},   {"went", "go"},     {"better", "good"},   {"studies", "study"},
        {"things", "thing"}, {"hours", "hour"},   {"coming", "come"}, {"looking", "look"}, {"bigger", "big"},
        {"turned", "turn"},  {"recieve", "receive"}, {"definately", "definitely"},
    };
    // A typed word that is a headword itself (better is one) is found by the
    // look-up; it is left out of the index so that every case asks for a
    // suggestion.
    std::set<std::string> typed;
    for (const auto& c : cases)
        typed.insert(c.first);
    WordIndex index;
    std::set<std::string> words;
    std::string value;
    for (int i = 0; csv.next(value) == Error::None; ++i) {
        if (i % 11 != 0)
            continue;
        words.insert(value);
        if (!typed.count(value))
            index.add(value);
    }
    ASSERT_GT(index.size(), 10000u);
    for (const auto& [word, expected] : cases) {
        ASSERT_TRUE(words.count(expected)) << expected << " is not in the default dictionary";
        const Words got = index.suggestions(word);
        ASSERT_FALSE(got.empty()) << word;
        EXPECT_EQ(got.front(), expected) << word;
    }
}

}  // namespace
