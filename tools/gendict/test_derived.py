"""Synonyms one derivation away, on real WordNet 3.0 senses; skipped, saying
which file is missing, where WordNet is not installed."""

import unittest

from datafiles import WORDNET, WORDNET_FILES, needs
from gendict import Generator
from offensive import Offensive
from wordnet import WordNet



@needs(WORDNET_FILES, "WordNet 3.0 with its sense index")
class DerivedSynonymTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        wn = WordNet(WORDNET)
        cls.g = Generator(wn, {}, {}, Offensive(wn, profanity=()))

    def synonyms(self, word, pos, gloss):
        senses = self.g.wn.senses(word, pos)
        sense = next(s for s in senses if s.definition.startswith(gloss))
        return self.g.synonyms(word, word, sense, senses)

    def test_quality_noun_and_adverb_take_words_made_alike(self):
        # disparity -> disparate ~ different -> difference
        self.assertEqual(self.synonyms("disparity", "n", "inequality or difference"), ["difference"])
        # completeness -> complete ~ thorough -> thoroughness
        self.assertEqual(self.synonyms("completeness", "n", "the state of being complete"), ["thoroughness"])
        # violently -> violent ~ fierce, ferocious -> fiercely, ferociously
        self.assertEqual(sorted(self.synonyms("violently", "r", "in a violent manner")),
                         ["ferociously", "fiercely"])

    def test_adjective_takes_the_adjectives_of_its_quality_nouns_words(self):
        # somnolent -> somnolence = drowsiness, sleepiness -> drowsy, sleepy,
        # once its own words nobody uses (slumbery, slumbrous) are dropped
        g = self.g
        g.subtlex = {"somnolent": 20, "drowsy": 300, "sleepy": 900}
        try:
            self.assertEqual(sorted(self.synonyms("somnolent", "a", "inclined to or marked by drowsiness")),
                             ["drowsy", "sleepy"])
        finally:
            g.subtlex = {}

    def test_sense_with_words_of_its_own_keeps_them(self):
        # complexity has complexness in its own set: complicatedness (from
        # complicated) is not added
        self.assertEqual(self.synonyms("complexity", "n", "the quality of being intricate"), ["complexness"])

    def test_loose_routes_give_nothing(self):
        # a "see also" adjective: successful ^ fortunate, not fortunately
        self.assertEqual(self.synonyms("successfully", "r", "with success"), [])
        # an untagged satellite of the head: mental ~ psychic, not psychically
        self.assertEqual(self.synonyms("mentally", "r", "in your mind"), ["psychologically"])
        # nouns the adjective is made from: silk/silky ~ satiny, not satin;
        # angle/angular ~ triangular, not triangle
        self.assertEqual(self.synonyms("silk", "n", "a fabric made from the fine threads"), [])
        self.assertEqual(self.synonyms("angle", "n", "the space between two lines"), [])

    def test_core_word_keeps_what_it_was_reviewed_with(self):
        g = self.g
        g._drop_unheard = False  # as entry() sets it for a core word
        try:
            self.assertEqual(self.synonyms("disparity", "n", "inequality or difference"), [])
        finally:
            g._drop_unheard = True

    def test_rare_word_only_when_no_rarer_than_the_headword(self):
        g = self.g
        saved = g.score, g.common_floor
        try:
            g.score = {"completeness": 0.5, "thoroughness": -0.5}
            g.common_floor = 0.0
            self.assertEqual(self.synonyms("completeness", "n", "the state of being complete"), [])
            g.score["completeness"] = -0.6
            self.assertEqual(self.synonyms("completeness", "n", "the state of being complete"), ["thoroughness"])
        finally:
            g.score, g.common_floor = saved


class MadeAlikeTest(unittest.TestCase):
    def test_same_kind_of_ending_added_to_the_adjective(self):
        self.assertTrue(Generator._made_alike("sloppiness", "sloppy", "careless", "carelessness"))
        self.assertTrue(Generator._made_alike("significance", "significant", "important", "importance"))
        self.assertTrue(Generator._made_alike("violently", "violent", "fierce", "fiercely"))

    def test_noun_the_adjective_is_made_from_is_refused(self):
        self.assertFalse(Generator._made_alike("swamp", "swampy", "marshy", "marsh"))
        self.assertFalse(Generator._made_alike("complexity", "complex", "labyrinthine", "labyrinth"))
        # an adverb never yields a noun, nor a noun an adverb
        self.assertFalse(Generator._made_alike("quickly", "quick", "fast", "fastness"))


if __name__ == "__main__":
    unittest.main()
