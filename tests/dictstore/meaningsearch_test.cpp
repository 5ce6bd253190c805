// Finding words by a description of their meaning, on small dictionaries
// made here.

#include "dictstore/dictionary.h"
#include "dictstore/meaningsearch.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using dictstore::Field;
using dictstore::MeaningIndex;

struct E {
    std::string word, meaning, pos;
    std::vector<std::string> synonyms = {};
    std::vector<std::string> antonyms = {};
    std::string usage = {};
};

MeaningIndex indexOf(const std::vector<E>& entries)
{
    std::vector<dictstore::WordRecord> records;
    for (const E& e : entries) {
        dictstore::WordRecord r;
        dictstore::assignField(r, Field::Word, e.word);
        dictstore::assignField(r, Field::Meaning, e.meaning);
        dictstore::assignField(r, Field::PartOfSpeech, e.pos);
        dictstore::assignField(r, Field::Usage, e.usage);
        for (std::size_t i = 0; i < e.synonyms.size(); ++i)
            dictstore::assignField(r, static_cast<Field>(static_cast<int>(Field::Synonym1) + static_cast<int>(i)),
                                   e.synonyms[i]);
        for (std::size_t i = 0; i < e.antonyms.size(); ++i)
            dictstore::assignField(r, static_cast<Field>(static_cast<int>(Field::Antonym1) + static_cast<int>(i)),
                                   e.antonyms[i]);
        records.push_back(r);
    }
    return MeaningIndex(std::move(records));
}

std::vector<std::string> found(const MeaningIndex& index, const std::string& description, std::size_t limit = 5)
{
    std::vector<std::string> out;
    for (const auto& h : index.search(description, limit))
        out.push_back(index.entry(h.entry).trimmed(Field::Word));
    return out;
}

const std::vector<E> kSmall = {
    {"time", "the passing of moments", "noun"},
    {"last", "to go on for a time", "verb"},
    {"short", "having little length", "adjective", {}, {"long"}},
    {"brief", "of short duration", "adjective", {"short"}},
    {"fleeting", "lasting for a very short time", "adjective", {"brief"}},
    {"permanent", "lasting for all time", "adjective", {}, {"fleeting"}},
    {"animal", "a living thing that moves", "noun"},
    {"vet", "a doctor who treats animals", "noun"},
    {"doctor", "a person who treats the sick", "noun"},
    {"tired", "needing rest or sleep", "adjective", {"weary", "fatigued"}, {"rested"}},
    {"weary", "needing rest after effort", "adjective"},
    {"fatigued", "worn out", "adjective"},
    {"exhausted", "drained of all energy", "adjective", {"tired"}},
    {"brave", "showing courage", "adjective", {"bold"}, {"cowardly"}},
    {"bold", "fearless and daring", "adjective", {"brave"}},
    {"cowardly", "lacking courage", "adjective"},
    {"flee", "to run away from danger", "verb"},
    {"escape", "a run away from danger", "noun"},
};

TEST(MeaningSearch, BaseFormsFindMeaningsInOtherForms)
{
    const MeaningIndex index = indexOf(kSmall);
    EXPECT_EQ(index.terms("Lasting a very short time"), (std::vector<std::string>{"last", "short", "time"}))
        << "small words drop out, lasting counts as last";
    const auto words = found(index, "lasting a short time");
    ASSERT_GE(words.size(), 2u);
    EXPECT_EQ(words[0], "fleeting");
    EXPECT_NE(std::find(words.begin(), words.end(), "brief"), words.end()) << "its synonym is short";
    EXPECT_EQ(found(index, "a doctor for animals")[0], "vet");
}

TEST(MeaningSearch, SynonymsCountBothWays)
{
    const MeaningIndex index = indexOf(kSmall);
    // Exhausted lists tired; tired's own entry lists weary and fatigued;
    // tired itself is not offered for "tired".
    const auto words = found(index, "very tired");
    EXPECT_EQ(words.size(), 3u);
    for (const char* w : {"exhausted", "weary", "fatigued"})
        EXPECT_NE(std::find(words.begin(), words.end(), w), words.end()) << w;
    EXPECT_EQ(std::find(words.begin(), words.end(), "tired"), words.end());
}

TEST(MeaningSearch, RareWordsWeighMoreThanCommonOnes)
{
    std::vector<E> entries = {{"hound", "a dog that hunts by scent", "noun"}, {"kennel", "a house for a dog", "noun"}};
    // Many entries use "house"; only one uses "scent".
    for (int i = 0; i < 30; ++i)
        entries.push_back({"home" + std::to_string(i), "a kind of house", "noun"});
    const MeaningIndex index = indexOf(entries);
    EXPECT_EQ(found(index, "house scent", 1), std::vector<std::string>{"hound"});
    EXPECT_EQ(found(index, "dog house", 1), std::vector<std::string>{"kennel"}) << "both words beat one";
}

TEST(MeaningSearch, NotAndOppositeAskForAntonyms)
{
    const MeaningIndex index = indexOf(kSmall);
    EXPECT_EQ(found(index, "not brave", 1), std::vector<std::string>{"cowardly"});
    EXPECT_EQ(found(index, "the opposite of fleeting", 1), std::vector<std::string>{"permanent"});
    EXPECT_EQ(found(index, "brave", 1), std::vector<std::string>{"bold"});
}

TEST(MeaningSearch, ToAsksForAVerbAndAForANoun)
{
    const MeaningIndex index = indexOf(kSmall);
    EXPECT_EQ(found(index, "to run away from danger", 1), std::vector<std::string>{"flee"});
    EXPECT_EQ(found(index, "a run away from danger", 1), std::vector<std::string>{"escape"});
}

TEST(MeaningSearch, NothingToGoOnGivesNothing)
{
    const MeaningIndex index = indexOf(kSmall);
    EXPECT_TRUE(found(index, "").empty());
    EXPECT_TRUE(found(index, "a the of very").empty());
    EXPECT_TRUE(found(index, "xylophone quasar").empty());
    EXPECT_TRUE(found(index, "short", 0).empty());
    EXPECT_TRUE(indexOf({}).search("short").empty());
}

TEST(MeaningSearch, AtMostFiftyBestFirstThenInFileOrder)
{
    std::vector<E> entries;
    for (int i = 0; i < 80; ++i)
        entries.push_back({"w" + std::to_string(i), "a small round stone", "noun"});
    entries.push_back({"pebble", "small stone", "noun"});
    entries.push_back({"", "a small round stone with no word", "noun"});
    const MeaningIndex index = indexOf(entries);
    const auto hits = index.search("small round stone");
    ASSERT_EQ(hits.size(), MeaningIndex::kMostResults);
    for (std::size_t i = 1; i < hits.size(); ++i) {
        EXPECT_GE(hits[i - 1].score, hits[i].score);
        if (hits[i - 1].score == hits[i].score) {
            EXPECT_LT(hits[i - 1].entry, hits[i].entry);
        }
    }
    EXPECT_EQ(index.entry(hits[0].entry).trimmed(Field::Word), "w0") << "every word of the description";
    for (const auto& h : hits)
        EXPECT_FALSE(index.entry(h.entry).trimmed(Field::Word).empty()) << "an entry without a word is no answer";
}

TEST(MeaningSearch, SampleSentencesCountLess)
{
    const MeaningIndex index = indexOf({
        {"gale", "a very strong wind", "noun"},
        {"kite", "a toy that flies", "noun", {}, {}, "flown in a strong wind"},
    });
    EXPECT_EQ(found(index, "strong wind"), (std::vector<std::string>{"gale", "kite"}));
}

}  // namespace

namespace {

// A dictionary of one entry, "gale", with the meaning given.
void writeOneEntry(const std::filesystem::path& file, const std::string& meaning)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    dictstore::WordRecord r;
    dictstore::assignField(r, Field::Word, "gale");
    dictstore::assignField(r, Field::Meaning, meaning);
    out.write(r.bytes.data(), static_cast<std::streamsize>(r.bytes.size()));
}

std::shared_ptr<const MeaningIndex> loadShared(const std::filesystem::path& file)
{
    dictstore::Dictionary dict;
    EXPECT_EQ(dict.openForReading(file), dictstore::Error::None);
    std::shared_ptr<const MeaningIndex> index;
    EXPECT_EQ(MeaningIndex::loadShared(dict, index), dictstore::Error::None);
    return index;
}

TEST(MeaningSearch, ASharedIndexIsMadeAgainWhenAnyEntryChanged)
{
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("meaning-shared-" + std::to_string(::getpid()) + ".kvx");
    auto write = [&](const std::string& meaning) { writeOneEntry(file, meaning); };
    auto load = [&] { return loadShared(file); };
    write("a very strong wind");
    const auto first = load();
    EXPECT_EQ(load(), first) << "the same entries: the same index";
    EXPECT_EQ(first->search("strong wind").size(), 1u);
    // One changed meaning, same length of file: a new index that knows it.
    write("a very loud noise!!");
    const auto second = load();
    EXPECT_NE(second, first);
    EXPECT_TRUE(second->search("strong wind").empty());
    EXPECT_EQ(second->search("loud noise").size(), 1u);
    std::filesystem::remove(file);
}

// An index made in the background is used only while the file is unchanged.
TEST(MeaningSearch, AnIndexMadeAheadIsNeverUsedAfterTheFileChanged)
{
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("meaning-ahead-" + std::to_string(::getpid()) + ".kvx");
    auto write = [&](const std::string& meaning) { writeOneEntry(file, meaning); };
    auto load = [&] { return loadShared(file); };
    write("a very strong wind");
    MeaningIndex::prepareShared(file);
    // Asked at once: waits for the build under way, or makes its own.
    const auto first = load();
    EXPECT_EQ(first->search("strong wind").size(), 1u);
    EXPECT_EQ(load(), first);
    // Changed while another build is under way, as by another program.
    MeaningIndex::prepareShared(file);
    write("a very loud noise!!");
    const auto second = load();
    EXPECT_TRUE(second->search("strong wind").empty());
    EXPECT_EQ(second->search("loud noise").size(), 1u);
    // A missing file makes no index and no fault.
    std::filesystem::remove(file);
    MeaningIndex::prepareShared(file);
}

}  // namespace

namespace {

// Denial in a meaning, words made from a description word, and adverbs.
std::string top(const MeaningIndex& index, const std::string& description)
{
    const auto words = found(index, description, 1);
    return words.empty() ? std::string() : words.front();
}

const std::vector<E> kPhrases = {
    {"blind", "unable to see", "adjective"},
    {"visible", "capable of being seen", "adjective"},
    {"see", "to perceive with the eyes", "verb"},
    {"able", "having the power or skill needed", "adjective", {"capable"}},
    {"polite", "showing good manners", "adjective"},
    {"impolite", "rude in manner", "adjective"},
    {"home", "where you live", "noun"},
    {"homeless", "people who have no place to live", "noun"},
    {"homely", "plain to look at", "adjective"},
    {"joy", "great happiness", "noun"},
    {"joyful", "feeling great happiness", "adjective"},
    {"paint", "to cover with colour", "verb"},
    {"painter", "an artist who makes pictures", "noun"},
    {"glance", "take a quick look", "verb"},
    {"stare", "look for a long time", "verb"},
    {"quick", "done fast", "adjective"},
    {"look", "to turn the eyes toward", "verb"},
    {"brave", "showing courage", "adjective", {}, {"cowardly"}},
    {"cowardly", "lacking courage", "adjective"},
    {"courage", "the quality of facing danger", "noun"},
};

TEST(MeaningSearch, AWordDeniedInAMeaningDoesNotCountAsItIs)
{
    const MeaningIndex index = indexOf(kPhrases);
    const auto seen = found(index, "able to be seen");
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), "visible");
    // Blind still shares "see", but not "able".
    const auto blind = std::find(seen.begin(), seen.end(), "blind");
    EXPECT_GT(blind - seen.begin(), 0);
    // A denied description word meets a denied one in full.
    EXPECT_EQ(top(index, "without courage"), "cowardly");
    EXPECT_EQ(top(index, "not able to see"), "blind");
    // "opposite of" denies and is not a word to find.
    const auto opposite = found(index, "the opposite of brave");
    ASSERT_FALSE(opposite.empty());
    EXPECT_EQ(opposite.front(), "cowardly");
}

TEST(MeaningSearch, WordsMadeFromADescriptionWordAsItsPhraseAsks)
{
    const MeaningIndex index = indexOf(kPhrases);
    EXPECT_EQ(top(index, "not polite"), "impolite");
    EXPECT_EQ(top(index, "a person with no home"), "homeless");
    EXPECT_EQ(top(index, "full of joy"), "joyful");
    EXPECT_EQ(top(index, "a person who paints"), "painter");
    // Only the phrase makes them: "home" alone does not ask for homeless.
    const auto home = found(index, "a place to live");
    EXPECT_EQ(std::find(home.begin(), home.end(), "homely"), home.end());
}

TEST(MeaningSearch, AnAdverbCountsAsItsAdjective)
{
    const MeaningIndex index = indexOf(kPhrases);
    EXPECT_EQ(top(index, "to look quickly"), "glance");
    EXPECT_EQ(index.terms("quickly"), std::vector<std::string>{"quick"});
}

// Entries whose words a description meets only by its phrasing.
const std::vector<E> kPhrasing = {
    {"reliable", "worthy of trust", "adjective", {"trusty"}},
    {"enough", "as much as is needed", "adjective", {"sufficient", "adequate"}},
    {"sufficient", "as much as is needed", "adjective", {"enough"}},
    {"untrustworthy", "not worthy of trust", "adjective"},
    {"insufficient", "not enough for the need", "adjective"},
    {"trust", "belief that someone is good", "noun"},
    {"do", "to carry out", "verb"},
    {"leave", "to go away from a place", "verb"},
    {"depart", "to leave a place", "verb", {"go"}},
    {"enter", "to come into a place", "verb", {"go in"}},
    {"happy", "feeling pleasure", "adjective"},
    {"happily", "with pleasure", "adverb"},
    {"sorrow", "sad feeling", "noun"},
    {"unhappy", "feeling sad", "adjective"},
    {"write", "to put words on paper", "verb"},
    {"poem", "a piece of writing in verse", "noun"},
    {"anthology", "a book of poems", "noun"},
    {"poet", "a writer of poems", "noun"},
    {"doable", "possible to achieve", "adjective"},
    {"finished", "done and over", "adjective"},
    {"colorless", "having no color", "adjective"},
    {"middle", "the center of a thing", "noun"},
};

TEST(MeaningSearch, ADenialCoversItsClauseAndTheSynonymsOfWhatItDenies)
{
    const MeaningIndex index = indexOf(kPhrasing);
    // Trust is denied as well as able: the entry that denies it comes first.
    EXPECT_EQ(top(index, "not able to be trusted"), "untrustworthy");
    // Sufficient lists enough among its synonyms: it means what is denied.
    const auto notEnough = found(index, "not enough");
    ASSERT_FALSE(notEnough.empty());
    EXPECT_EQ(notEnough.front(), "insufficient");
    EXPECT_EQ(std::find(notEnough.begin(), notEnough.end(), "sufficient"), notEnough.end());
    // "or" ends the denial: "needed" counts as it stands.
    const auto either = found(index, "not worthy or needed");
    EXPECT_NE(std::find(either.begin(), either.end(), "enough"), either.end());
}

TEST(MeaningSearch, PhrasingAsksForAPartOfSpeechOrAMadeWord)
{
    const MeaningIndex index = indexOf(kPhrasing);
    // A synonym of two words found as written.
    EXPECT_EQ(top(index, "to go in"), "enter");
    // "in a ... way" asks for the adverb made from its word.
    EXPECT_EQ(top(index, "in a happy way"), "happily");
    // A description of a quality asks for an adjective: the earlier noun
    // would win on its words alone.
    EXPECT_EQ(top(index, "feeling sad"), "unhappy");
    // A writer is one who writes.
    EXPECT_EQ(top(index, "a person who writes poems"), "poet");
    // "able to be done": doable, though its meaning shares no word.
    EXPECT_EQ(top(index, "able to be done"), "doable");
    // British spellings meet American meanings.
    EXPECT_EQ(top(index, "without any colour"), "colorless");
    EXPECT_EQ(top(index, "the centre"), "middle");
}

}  // namespace
