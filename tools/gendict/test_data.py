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
        # a synonym that is a broader term of one sense must come from a
        # sense of which it is no broader term: a word of that sense, or one
        # close to it (similar, "see also", the verb's group, a narrower verb)
        wrong = []
        for r in self.rows:
            word, pos = r[0].lower(), POS[r[2]]
            senses = self.wn.senses(word, pos)
            broader, close = {}, {}
            for s in senses:
                own = {f.lower().replace("_", " ") for f, _l in s.words}
                up, near = set(), set(own)
                for sym, off, tpos, _s, _t in s.pointers:
                    words = {f.lower().replace("_", " ") for f, _l in self.wn.synsets[(tpos, off)].words}
                    if sym in ("@", "@i"):
                        up |= words
                    elif sym in ("&", "^", "$", "~"):
                        near |= words
                broader[s.offset] = up - own
                close[s.offset] = near - broader[s.offset]
            for x in r[4:7]:
                x = x.lower()
                if x and any(x in b for b in broader.values()) \
                        and not any(x in c for c in close.values()):
                    wrong.append("%s: %s" % (r[0], x))
        self.maxDiff = None
        self.assertEqual(wrong, [])

if __name__ == "__main__":
    unittest.main()
