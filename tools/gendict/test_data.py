"""Checks of the committed dictionary that need WordNet and the npm data;
skipped, saying which file is missing, where they are not installed."""

import os
import unittest

from datafiles import CMU, NPM_FILES, SUBTLEX, WORDNET, WORDNET_FILES, WRITTEN, needs
from respell import load_pronunciations
from wordnet import WordNet

HERE = os.path.dirname(os.path.abspath(__file__))
CSV = os.path.join(HERE, "..", "..", "data", "dictionary.csv")
LEFT_OUT = os.path.join(HERE, "review", "left-out.tsv")


@needs(WORDNET_FILES + NPM_FILES, "WordNet 3.0 with its sense index and the npm word data")
class CommittedDataTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        from core import load_reviewed, load_stand_ins
        from examples import load_examples
        from gendict import Generator, load_cmu, load_subtlex, load_written
        from offensive import Offensive
        cls.wn = WordNet(WORDNET)
        cls.subtlex = load_subtlex(SUBTLEX)
        cls.stand_ins = load_stand_ins()
        cls.entries = Generator(cls.wn, cls.subtlex, load_cmu(CMU), Offensive(cls.wn), load_reviewed(),
                                cls.stand_ins, load_examples(), load_written(WRITTEN),
                                load_pronunciations()).generate()

    def test_no_synonym_is_a_broader_term_of_the_sense_shown(self):
        # the entry's sense comes from the generator, so the committed file
        # must be exactly what it writes; a broader term of another sense
        # of the word may stand in (see, perceive by sight: notice)
        from gendict import csv_line
        entries, stand_ins = self.entries, self.stand_ins
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

    def test_every_frequent_ordinary_word_is_a_headword_or_left_out_with_its_reason(self):
        from gendict import HEADWORD
        from missing import ordinary
        headwords = {e["word"].lower() for e in self.entries}
        left_out = {}
        with open(LEFT_OUT, encoding="ascii") as fh:
            for line in fh:
                if line.strip() and not line.startswith("#"):
                    word, reason = line.rstrip("\n").split("\t")
                    left_out[word] = reason
        frequent = sorted(self.subtlex.items(), key=lambda x: (-x[1], x[0]))[:12000]
        lacking = [w for w, _c in frequent if w not in headwords and w not in left_out
                   and HEADWORD.match(w) and ordinary(self.wn, w)]
        self.assertEqual(lacking, [], "neither a headword nor in review/left-out.tsv")
        self.assertEqual(sorted(w for w in left_out if w in headwords), [],
                         "headwords listed as left out")
        # kavix offers the base form of an inflection only when it is a headword
        unoffered = []
        for w, r in left_out.items():
            if r.startswith("inflection of "):
                bases = r[len("inflection of "):].split(", which")[0].split(", ")
                if not set(bases) & headwords:
                    unoffered.append(w)
        unoffered.sort()
        self.assertEqual(unoffered, [], "left out as inflections of words that are no headword")

    def test_reviewed_pronunciations_are_used(self):
        # each reviewed pronunciation is of a word CMU lacks and gives it an entry
        from gendict import PRONUNCIATIONS_FILE
        with open(PRONUNCIATIONS_FILE, encoding="ascii") as fh:
            words = {l.split("\t")[0] for l in fh if l.strip() and not l.startswith("#")}
        self.assertEqual(sorted(words - {e["word"].lower() for e in self.entries}), [])


if __name__ == "__main__":
    unittest.main()
