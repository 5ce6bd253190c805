"""Unit tests of the generator's text rules; they need no WordNet or npm data."""

import unittest

from gendict import csv_line, parse_csv_line
from meaning import fit_meaning
from respell import respell, syllabify, parse_phones
from wordnet import parse_data_line


class RespellTest(unittest.TestCase):
    def test_common_words(self):
        cases = {
            "HH AE1 P IY0": "HAP-ee",                   # happy: stressed short vowel keeps P
            "TH AH0 S AO1 R AH0 S": "thuh-SOR-us",      # thesaurus: r stays with its vowel
            "B Y UW1 T AH0 F AH0 L": "BYOO-tuh-ful",    # beautiful
            "HH AW1 S": "HOWS",                         # house
            "T AY1 M": "TYME",                          # time: silent e marks the long vowel
            "F IH1 NG G ER0": "FING-ger",               # finger: NG never starts a syllable
            "K EH1 R": "KAIR",                          # care
            "V EH1 R IY0": "VER-ee",                    # very
            "AH2 N D ER0 S T AE1 N D": "un-der-STAND",  # understand: ST cannot end "der"
        }
        for arpabet, expected in cases.items():
            self.assertEqual(respell(arpabet), expected, arpabet)

    def test_word_without_primary_stress_gets_one(self):
        self.assertEqual(respell("T AA2 N S AH0 L"), "TON-sul")

    def test_syllables_take_the_longest_legal_onset(self):
        syllables = syllabify(parse_phones("IH0 K S T R IY1 M"))  # extreme
        self.assertEqual([s[0] for s in syllables], [[], ["S", "T", "R"]])
        self.assertEqual(syllables[0][2], ["K"])

    def test_rejects_unknown_phones(self):
        with self.assertRaises(ValueError):
            respell("HH XX1")


class MeaningTest(unittest.TestCase):
    def test_whole_definition_or_clause_is_not_cut(self):
        self.assertEqual(fit_meaning("take in solid food"), ("take in solid food", False))
        self.assertEqual(
            fit_meaning("move fast by using one's feet, with one foot off the ground at any given time"),
            ("move fast by using one's feet", False))
        self.assertEqual(
            fit_meaning("a motor vehicle with four wheels; usually propelled by an internal combustion engine"),
            ("a motor vehicle with four wheels", False))

    def test_cut_never_ends_on_a_dangling_word(self):
        meaning, cut = fit_meaning("enjoying or showing or marked by joy or pleasure and the rest of it")
        self.assertTrue(cut)
        self.assertLessEqual(len(meaning), 40)
        self.assertNotIn(meaning.split()[-1], {"or", "and", "the", "by", "of"})

    def test_cut_never_leaves_an_open_parenthesis(self):
        meaning, cut = fit_meaning("a large bird (especially of the family that lives near water and rivers)")
        self.assertTrue(cut)
        self.assertEqual(meaning.count("("), meaning.count(")"))

    def test_every_cut_fits(self):
        long = "a dwelling that serves as living quarters for one or more families of people"
        for width in (12, 20, 30, 40):
            meaning, _cut = fit_meaning(long, width)
            self.assertLessEqual(len(meaning), width)


class WordNetLineTest(unittest.TestCase):
    LINE = ('01148283 00 a 02 happy 0 glad(p) 1 002 ! 01149494 a 0101 & 01148764 a 0000 | '
            'enjoying or showing joy; "a happy smile"; "spent many happy days"  \n')

    def test_parses_words_pointers_gloss_and_examples(self):
        s = parse_data_line(self.LINE, "a")
        self.assertEqual(s.words, [("happy", 0), ("glad", 1)])
        self.assertEqual(s.pointers[0], ("!", 1149494, "a", 1, 1))
        self.assertEqual(s.definition, "enjoying or showing joy")
        self.assertEqual(s.examples, ["a happy smile", "spent many happy days"])

    def test_quotes_inside_a_definition_do_not_start_the_examples(self):
        line = '00001 00 v 01 strew 0 000 | spread by scattering ("straw" is used); "strew toys"  \n'
        s = parse_data_line(line, "v")
        self.assertEqual(s.definition, "spread by scattering ('straw' is used)")
        self.assertEqual(s.examples, ["strew toys"])


class CsvLineTest(unittest.TestCase):
    ENTRY = {"word": "happy", "meaning": "glad", "partofspeech": "adjective", "usage": "",
             "synonyms": ["glad", "", ""], "antonyms": ["sad", "", ""], "pronu": "HAP-ee"}

    def test_writes_eleven_quoted_values_in_import_order(self):
        line = csv_line(self.ENTRY)
        self.assertEqual(line, '"happy","glad","adjective","","glad","","","sad","","","HAP-ee"\r\n')
        self.assertEqual(parse_csv_line(line[:-2])["antonym1"], "sad")

    def test_refuses_values_the_format_cannot_carry(self):
        for bad in ('say "hi"', " leading space"):
            with self.assertRaises(ValueError):
                csv_line(dict(self.ENTRY, meaning=bad))


if __name__ == "__main__":
    unittest.main()
