"""Checks of the committed dictionary that need WordNet; skipped where
WordNet 3.0 is not installed."""

import os
import unittest

from wordnet import WordNet

HERE = os.path.dirname(os.path.abspath(__file__))
CSV = os.path.join(HERE, "..", "..", "data", "dictionary.csv")
WORDNET = "/usr/share/wordnet"
POS = {"noun": "n", "verb": "v", "adjective": "a", "adverb": "r"}


@unittest.skipUnless(os.path.exists(os.path.join(WORDNET, "data.noun")), "WordNet 3.0 not installed")
class CommittedDataTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.wn = WordNet(WORDNET)
        with open(CSV, "rb") as fh:
            lines = fh.read().decode("cp1252").split("\r\n")
        cls.rows = [line[1:-1].split('","') for line in lines if line]

    def test_no_synonym_is_a_broader_term_of_the_headword(self):
        wrong = []
        for r in self.rows:
            word, pos = r[0].lower(), POS[r[2]]
            broader, same = set(), set()
            for s in self.wn.senses(word, pos):
                same.update(f.lower().replace("_", " ") for f, _l in s.words)
                for sym, off, tpos, _s, _t in s.pointers:
                    if sym in ("@", "@i"):
                        broader.update(f.lower().replace("_", " ")
                                       for f, _l in self.wn.synsets[(tpos, off)].words)
            # a word of one of the headword's own synonym sets is a synonym
            # even where it is also a broader term of another sense
            broader -= same
            wrong += ["%s: %s" % (r[0], x) for x in r[4:7] if x and x.lower() in broader]
        self.maxDiff = None
        self.assertEqual(wrong, [])


if __name__ == "__main__":
    unittest.main()
