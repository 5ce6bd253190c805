"""Checks of the committed dictionary that need WordNet and the npm data;
skipped, saying which file is missing, where they are not installed."""

import os
import unittest

from datafiles import CMU, NPM_FILES, SUBTLEX, WORDNET, WORDNET_FILES, WRITTEN, needs
from wordnet import WordNet

HERE = os.path.dirname(os.path.abspath(__file__))
CSV = os.path.join(HERE, "..", "..", "data", "dictionary.csv")


@needs(WORDNET_FILES + NPM_FILES, "WordNet 3.0 with its sense index and the npm word data")
class CommittedDataTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.wn = WordNet(WORDNET)

    def test_no_synonym_is_a_broader_term_of_the_sense_shown(self):
        # the entry's sense comes from the generator, so the committed file
        # must be exactly what it writes; a broader term of another sense
        # of the word may stand in (see, perceive by sight: notice)
        from core import load_reviewed, load_stand_ins
        from examples import load_examples
        from gendict import Generator, csv_line, load_cmu, load_subtlex, load_written
        from offensive import Offensive
        subtlex = load_subtlex(SUBTLEX)
        cmu = load_cmu(CMU)
        stand_ins = load_stand_ins()
        entries = Generator(self.wn, subtlex, cmu, Offensive(self.wn), load_reviewed(), stand_ins,
                            load_examples(), load_written(WRITTEN)).generate()
        with open(CSV, "rb") as fh:
            self.assertEqual("".join(csv_line(e) for e in entries).encode("cp1252"), fh.read(),
                             "data/dictionary.csv is not what gendict.py writes")
        wrong = []
        for e in entries:
            word = e["word"].lower()
            senses = self.wn.senses(word, e["synset"].pos)
            # a word that shares a sense with the headword is its synonym there
            mates = {f.lower().replace("_", " ") for t in senses for f, _l in t.words}
            # a meaning written without its sense number may be any sense's
            shown = [e["synset"]] if e["sense_known"] else senses
            broader = {f.lower().replace("_", " ") for t in shown
                       for sym, off, tpos, _s, _t in t.pointers if sym in ("@", "@i")
                       for f, _l in self.wn.synsets[(tpos, off)].words}
            # a reviewed stand-in, listed with its reason, is the one exception
            wrong += ["%s: %s" % (e["word"], x) for x in e["synonyms"]
                      if x.lower() in broader - mates and (word, x.lower()) not in stand_ins]
        self.maxDiff = None
        self.assertEqual(wrong, [])


if __name__ == "__main__":
    unittest.main()
