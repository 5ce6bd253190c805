// Checks the committed default dictionary with the store's own CSV reader
// and record code, the same code the set-up installs it with.

#include "dictstore/codepage.h"
#include "dictstore/csvreader.h"
#include "dictstore/dictionary.h"
#include "dictstore/wordrecord.h"
#include "setup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using dictstore::Field;

namespace {

constexpr std::size_t kEntries = 30000;

std::string fileBytes()
{
    std::ifstream in(LEXIVANE_DICTIONARY_CSV, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string folded(const std::string& utf8)
{
    std::string bytes = dictstore::toCp1252(utf8);
    for (char& c : bytes)
        c = static_cast<char>(dictstore::foldCp1252(static_cast<unsigned char>(c)));
    return bytes;
}

// Every entry as the import reads it, in its column order.
const std::vector<dictstore::CsvRecord>& entries()
{
    static const std::vector<dictstore::CsvRecord> all = [] {
        std::vector<dictstore::CsvRecord> out;
        std::istringstream in(fileBytes());
        dictstore::CsvReader reader(in);
        while (!reader.atEnd()) {
            dictstore::CsvRecord values;
            const auto e = dictstore::readCsvRecord(reader, values);
            if (e != dictstore::Error::None) {
                ADD_FAILURE() << "entry " << out.size() + 1 << ": " << dictstore::describe(e);
                break;
            }
            out.push_back(values);
        }
        return out;
    }();
    return all;
}

std::string value(const dictstore::CsvRecord& r, Field f)
{
    for (std::size_t i = 0; i < dictstore::kImportColumns.size(); ++i)
        if (dictstore::kImportColumns[i] == f)
            return r[i];
    return {};
}

std::string lastWord(const std::string& text)
{
    const auto space = text.find_last_of(' ');
    std::string w = text.substr(space == std::string::npos ? 0 : space + 1);
    std::transform(w.begin(), w.end(), w.begin(), [](unsigned char c) { return std::tolower(c); });
    return w;
}

// Lines of a word list kept beside the generator, without comments.
std::vector<std::string> listLines(const char* path)
{
    std::ifstream in(path);
    std::vector<std::string> out;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] != '#')
            out.push_back(line);
    }
    return out;
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// Words of a value, lower case, split where a word cannot go on.
std::vector<std::string> tokens(const std::string& text)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : lower(text) + " ") {
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '\'' || c == '-') {
            cur += c;
        } else if (!cur.empty()) {
            out.push_back(cur);
            cur.clear();
        }
    }
    return out;
}

const dictstore::CsvRecord* find(const std::string& word)
{
    for (const auto& r : entries())
        if (folded(value(r, Field::Word)) == folded(word))
            return &r;
    return nullptr;
}

}  // namespace

TEST(DictionaryFile, IsQuotedAsciiLinesWithCrLf)
{
    const std::string bytes = fileBytes();
    ASSERT_FALSE(bytes.empty()) << LEXIVANE_DICTIONARY_CSV;
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    std::size_t lines = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = bytes.substr(start, end - start);
        ++lines;
        // Eleven values, each in its own pair of quotes: a quote inside a
        // value would show up as a 23rd quote and shift every later value.
        EXPECT_EQ(std::count(line.begin(), line.end(), '"'), 22) << "line " << lines;
        EXPECT_EQ(line.front(), '"') << "line " << lines;
        EXPECT_EQ(line.back(), '"') << "line " << lines;
        for (unsigned char c : line)
            ASSERT_TRUE(c >= 0x20 && c < 0x7F) << "line " << lines << " has byte " << int(c);
        start = end + 2;
    }
    EXPECT_EQ(lines, kEntries);
}

TEST(DictionaryFile, ReadsAsThirtyThousandEntriesWithUniqueWords)
{
    ASSERT_EQ(entries().size(), kEntries);
    const std::regex headword("[A-Za-z]+(['-][A-Za-z]+)*");
    std::set<std::string> seen;
    for (const auto& r : entries()) {
        const std::string word = value(r, Field::Word);
        EXPECT_TRUE(std::regex_match(word, headword)) << word;
        EXPECT_TRUE(seen.insert(folded(word)).second) << "duplicate word " << word;
    }
}

TEST(DictionaryFile, EveryValueFitsItsFieldInWindows1252)
{
    for (const auto& r : entries()) {
        const auto record = dictstore::recordFromImportValues(r);
        for (std::size_t i = 0; i < r.size(); ++i) {
            const Field f = dictstore::kImportColumns[i];
            const auto& layout = dictstore::layoutOf(f);
            EXPECT_TRUE(dictstore::fitsCp1252(r[i])) << r[0] << " " << layout.name;
            EXPECT_LE(dictstore::toCp1252(r[i]).size(), layout.width) << r[0] << " " << layout.name;
            // Stored and read back whole: nothing cut, no stray spaces.
            EXPECT_EQ(record.trimmed(f), r[i]) << r[0] << " " << layout.name;
        }
    }
}

TEST(DictionaryFile, PartOfSpeechIsOneOfTheFour)
{
    const std::set<std::string> allowed = {"noun", "verb", "adjective", "adverb"};
    for (const auto& r : entries())
        EXPECT_TRUE(allowed.count(value(r, Field::PartOfSpeech))) << r[0] << ": " << r[2];
}

TEST(DictionaryFile, MeaningsNeverEndOnADanglingWord)
{
    // Articles, conjunctions, relative pronouns, possessives and auxiliaries:
    // no meaning, whole or cut, may end on one ("a dwelling that").
    const std::set<std::string> dangling = {
        "a", "an", "the", "and", "or", "but", "nor", "if", "because", "than",
        "that", "which", "who", "whom", "whose",
        "his", "her", "its", "their", "our", "your", "my", "one's", "consisting",
        "is", "are", "was", "were", "be", "been", "being", "has", "have", "had",
        "do", "does", "did", "can", "could", "will", "would", "shall", "should", "may", "might", "must",
    };
    const std::set<std::string> modalNouns = {"will", "might", "can", "must"};
    const std::set<std::string> nounMarkers = {
        "a", "an", "the", "his", "her", "its", "their", "our", "your", "my", "one's",
    };
    for (const auto& r : entries()) {
        const std::string meaning = value(r, Field::Meaning);
        ASSERT_FALSE(meaning.empty()) << r[0];
        const std::string last = lastWord(meaning);
        // a modal after an article or a possessive is a noun: "left in a will"
        const auto space = meaning.find_last_of(' ');
        const bool nounModal = modalNouns.count(last) && space != std::string::npos
                               && nounMarkers.count(lastWord(meaning.substr(0, space)));
        EXPECT_FALSE(dangling.count(last) && !nounModal) << r[0] << ": " << meaning;
        EXPECT_FALSE(last.size() > 2 && last.substr(last.size() - 2) == "'s") << r[0] << ": " << meaning;
        EXPECT_EQ(std::count(meaning.begin(), meaning.end(), '('),
                  std::count(meaning.begin(), meaning.end(), ')')) << r[0] << ": " << meaning;
        EXPECT_EQ(std::string(",;:").find(meaning.back()), std::string::npos) << r[0] << ": " << meaning;
    }
}

TEST(DictionaryFile, MeaningsNeverEndOnAnAdjectiveWithoutItsNoun)
{
    // An article, a preposition or a possessive and then an adjective that
    // cannot be a noun: the noun was cut off ("a system of world-wide
    // electronic", "marked by continuous"). Endings -ous, -ful, -less and
    // -ible make no nouns in these meanings; the others are listed.
    const std::set<std::string> before = {
        "a", "an", "the", "of", "to", "in", "on", "at", "by", "for", "with", "from", "into",
        "his", "her", "its", "their", "one's",
    };
    const std::set<std::string> adjectives = {
        "specific", "various", "electronic", "scientific", "economic", "political",
        "visible", "complete", "previous", "continuous", "philosophical", "psychological",
    };
    const std::set<std::string> nouns = {"convertible", "humorous", "mandible"};  // "a convertible", "the humorous"
    const std::regex adjectiveEnding(".*(ous|ful|less|ible)");
    for (const auto& r : entries()) {
        const std::string meaning = value(r, Field::Meaning);
        const auto space = meaning.find_last_of(' ');
        if (space == std::string::npos)
            continue;
        const std::string last = lastWord(meaning);
        const std::string previous = lastWord(meaning.substr(0, space));
        // a capital names something: "the Bible" is no cut-off adjective
        const bool properNoun = std::isupper(static_cast<unsigned char>(meaning[space + 1]));
        if (!before.count(previous) || nouns.count(last) || properNoun)
            continue;
        EXPECT_FALSE(adjectives.count(last) || std::regex_match(last, adjectiveEnding))
            << r[0] << ": " << meaning;
    }
}

TEST(DictionaryFile, SynonymsAndAntonymsAreDistinctOtherWordsFilledInOrder)
{
    const Field groups[2][3] = {{Field::Synonym1, Field::Synonym2, Field::Synonym3},
                                {Field::Antonym1, Field::Antonym2, Field::Antonym3}};
    for (const auto& r : entries()) {
        const std::string word = folded(value(r, Field::Word));
        std::set<std::string> seen;
        for (const auto& group : groups) {
            bool gap = false;
            for (Field f : group) {
                const std::string v = value(r, f);
                if (v.empty()) {
                    gap = true;
                    continue;
                }
                EXPECT_FALSE(gap) << r[0] << ": a value after an empty one";
                EXPECT_NE(folded(v), word) << r[0] << " lists itself";
                EXPECT_TRUE(seen.insert(folded(v)).second) << r[0] << " repeats " << v;
            }
        }
    }
}

TEST(DictionaryFile, PronunciationsAreRespelledSyllablesWithAStressedOne)
{
    const std::regex respelling("[A-Za-z]+(-[A-Za-z]+)*");
    const std::regex stressed("(^|-)[A-Z]+(-|$)");
    for (const auto& r : entries()) {
        const std::string pronu = value(r, Field::Pronu);
        if (pronu.empty())
            continue;
        EXPECT_TRUE(std::regex_match(pronu, respelling)) << r[0] << ": " << pronu;
        EXPECT_TRUE(std::regex_search(pronu, stressed)) << r[0] << ": " << pronu;
    }
}

TEST(DictionaryFile, CommonWordsHaveUsefulEntries)
{
    // lasagna has no synonym: pasta is a broader term
    ASSERT_NE(find("lasagna"), nullptr);
    for (const char* w : {"happy", "run", "beautiful", "quickly", "house", "awesome", "boyfriend"}) {
        const auto* r = find(w);
        ASSERT_NE(r, nullptr) << w;
        EXPECT_FALSE(value(*r, Field::Synonym1).empty()) << w;
        EXPECT_FALSE(value(*r, Field::Pronu).empty()) << w;
    }
    const auto* happy = find("happy");
    EXPECT_EQ(value(*happy, Field::PartOfSpeech), "adjective");
    EXPECT_EQ(value(*happy, Field::Antonym1), "unhappy");
    EXPECT_EQ(value(*happy, Field::Pronu), "HAP-ee");
    // Never cut to a bare genus ("a dwelling") nor mid-phrase ("a dwelling that serves").
    EXPECT_EQ(value(*find("house"), Field::Meaning), "a building for one family to live in");
    EXPECT_EQ(value(*find("run"), Field::PartOfSpeech), "verb");
    EXPECT_EQ(value(*find("quickly"), Field::Antonym1), "slowly");
    // Inflections are not headwords of their own, unless they have a sense
    // of their own (glasses for the eyes).
    ASSERT_NE(find("glasses"), nullptr);
    for (const char* w : {"houses", "things", "running", "happier", "walked"})
        EXPECT_EQ(find(w), nullptr) << w;
}

TEST(DictionaryFile, ListedStandInsAreOfferedByTheirWords)
{
    // The only broader terms a reviewed line may offer are the listed
    // pairs, each with its reason; a pair its word does not offer is a
    // stale exemption.
    const auto lines = listLines(LEXIVANE_STAND_INS);
    ASSERT_FALSE(lines.empty());
    std::set<std::pair<std::string, std::string>> seen;
    for (const auto& line : lines) {
        std::vector<std::string> fields;
        std::stringstream in(line);
        for (std::string f; std::getline(in, f, '\t');)
            fields.push_back(f);
        ASSERT_EQ(fields.size(), 3u) << line;
        EXPECT_FALSE(fields[2].empty()) << line << ": no reason";
        EXPECT_TRUE(seen.insert({lower(fields[0]), lower(fields[1])}).second) << line << ": listed twice";
        const auto* r = find(fields[0]);
        ASSERT_NE(r, nullptr) << fields[0];
        const std::set<std::string> synonyms = {lower(value(*r, Field::Synonym1)), lower(value(*r, Field::Synonym2)),
                                                lower(value(*r, Field::Synonym3))};
        EXPECT_TRUE(synonyms.count(lower(fields[1]))) << fields[0] << " does not offer " << fields[1];
    }
    EXPECT_TRUE(seen.count({"king", "monarch"}));
}

TEST(DictionaryFile, InstallsIntoADictionaryThatFindsItsWords)
{
    const fs::path dir = fs::path(std::getenv("HOME")) / "data-install";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path target = dir / "dictionary.kvx";
    ASSERT_EQ(setup::installDictionary(LEXIVANE_DICTIONARY_CSV, target), "");
    EXPECT_EQ(fs::file_size(target), kEntries * dictstore::kRecordSize);

    dictstore::Dictionary dict;
    ASSERT_EQ(dict.openForReading(target), dictstore::Error::None);
    std::optional<dictstore::Match> match;
    ASSERT_EQ(dict.findByWord(" Happy ", match), dictstore::Error::None);
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->record.trimmed(Field::Pronu), "HAP-ee");
    EXPECT_EQ(match->record.trimmed(Field::Meaning), value(*find("happy"), Field::Meaning));
    std::int64_t count = 0;
    ASSERT_EQ(dict.recordCount(count), dictstore::Error::None);
    EXPECT_EQ(count, static_cast<std::int64_t>(kEntries));
    dict.close();
    fs::remove_all(dir);
}

TEST(DictionaryFile, NoMeaningIsABareCategory)
{
    // One-word lines are category words: a meaning of nothing but these
    // after its determiners ("a person", "the act", "any plant") says
    // nothing; longer lines are openings that may not stand alone.
    std::set<std::string> categories, phrases;
    for (const auto& line : listLines(LEXIVANE_BARE_CATEGORIES))
        (line.find(' ') == std::string::npos ? categories : phrases).insert(lower(line));
    ASSERT_TRUE(categories.count("person") && phrases.count("of or relating to or characteristic"));
    const std::set<std::string> determiners = {"a", "an", "the", "any", "some", "one", "another"};
    for (const auto& r : entries()) {
        const std::string meaning = lower(value(r, Field::Meaning));
        EXPECT_FALSE(phrases.count(meaning)) << r[0] << ": " << meaning;
        auto words = tokens(meaning);
        std::size_t i = 0;
        while (i < words.size() && determiners.count(words[i]))
            ++i;
        bool onlyCategories = true;
        for (; i < words.size(); ++i)
            onlyCategories = onlyCategories && categories.count(words[i]);
        EXPECT_FALSE(onlyCategories) << r[0] << ": " << meaning;
    }
}

TEST(DictionaryFile, NothingOffensiveIsOffered)
{
    // The profanity list and WordNet's slurs, obscenities and
    // disparagements: never a headword, synonym, antonym or example word.
    std::set<std::string> offensive;
    for (const auto& line : listLines(LEXIVANE_OFFENSIVE_WORDS))
        offensive.insert(lower(line));
    ASSERT_TRUE(offensive.count("spic") && offensive.count("nigger"));
    const Field offered[] = {Field::Word, Field::Usage, Field::Synonym1, Field::Synonym2, Field::Synonym3,
                             Field::Antonym1, Field::Antonym2, Field::Antonym3};
    for (const auto& r : entries()) {
        for (Field f : offered) {
            const std::string v = value(r, f);
            EXPECT_FALSE(offensive.count(lower(v))) << r[0] << ": " << v;
            for (const auto& t : tokens(v))
                EXPECT_FALSE(offensive.count(t)) << r[0] << ": " << v;
        }
    }
}

TEST(DictionaryFile, EntriesShowTheirWordInAnExample)
{
    // Every one of the words looked up most has an example; the rare
    // words at the end of the list nearly all do.
    std::size_t with = 0;
    for (std::size_t i = 0; i < entries().size(); ++i) {
        const bool has = !value(entries()[i], Field::Usage).empty();
        with += has;
        if (i < 2000)
            EXPECT_TRUE(has) << entries()[i][0];
    }
    EXPECT_GE(static_cast<double>(with) / entries().size(), 0.97);
}

TEST(DictionaryFile, EverydayWordsAreThereWithTheirOpposites)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"above", "below"}, {"below", "above"}, {"inside", "outside"}, {"outside", "inside"},
        {"before", "after"}, {"after", "before"}, {"near", "far"}, {"behind", "ahead"},
        {"within", "outside"}, {"all", "none"}, {"both", "neither"}, {"have", "lack"},
        {"up", "down"}, {"in", "out"}, {"on", "off"}, {"good", "bad"}, {"friend", "enemy"},
        {"enemy", "friend"}, {"beat", "lose"}, {"old", "young"}, {"new", "old"},
    };
    for (const auto& [word, opposite] : pairs) {
        const auto* r = find(word);
        ASSERT_NE(r, nullptr) << word;
        const std::set<std::string> antonyms = {value(*r, Field::Antonym1), value(*r, Field::Antonym2),
                                                value(*r, Field::Antonym3)};
        EXPECT_TRUE(antonyms.count(opposite)) << word << " lacks " << opposite;
    }
    // either (also, after a negative) has none: too and as well never follow a negative
    for (const char* w : {"across", "between", "beyond", "every", "each", "neither", "be", "do"}) {
        const auto* r = find(w);
        ASSERT_NE(r, nullptr) << w;
        EXPECT_FALSE(value(*r, Field::Synonym1).empty()) << w;
    }
    // Function words without a content sense stay out.
    for (const char* w : {"the", "of", "a", "and"})
        EXPECT_EQ(find(w), nullptr) << w;
}
