"""Unit tests of the generator's text rules; they need no WordNet or npm data."""

import os
import unittest

from gendict import Generator, csv_line, parse_csv_line, parse_pronunciations
from core import parse_core
from meaning import ends_on_function_word, fit_meaning, is_bare, rewrites, whole_clauses
from respell import respell, syllabify, parse_phones
from wordnet import WordNet, parse_data_line


class RespellTest(unittest.TestCase):
    def test_common_words(self):
        cases = {
            "HH AE1 P IY0": "HAP-ee",                   # happy: stressed short vowel keeps P
            "TH AH0 S AO1 R AH0 S": "thuh-SOR-us",      # thesaurus: r stays with its vowel
            "B Y UW1 T AH0 F AH0 L": "BYOO-tuh-ful",    # beautiful
            "HH AW1 S": "HOUSS",                        # house
            "T AY1 M": "TIME",                          # time: silent e marks the long vowel
            "S M AY1 L": "SMILE",                       # smile
            "F AY1 V": "FYVE",                          # five: not FIVE, which could read as "give"
            "F AA1 DH ER0": "FAH-thur",                 # father: not "ther" as in "there"
            "W AO1 T ER0": "WAW-ter",                   # water
            "F IH1 NG G ER0": "FING-ger",               # finger: NG never starts a syllable
            "K EH1 R": "KAIR",                          # care
            "V EH1 R IY0": "VER-ee",                    # very
            "AH2 N D ER0 S T AE1 N D": "un-der-STAND",  # understand: ST cannot end "der"
        }
        for arpabet, expected in cases.items():
            self.assertEqual(respell(arpabet), expected, arpabet)

    def test_vowel_of_near_and_hero_is_not_that_of_spirit(self):
        # before a consonant or at the end it is always "eer"
        for arpabet, expected in {"N IH1 R": "NEER", "Y IH1 R": "YEER", "W IH1 R D": "WEERD",
                                  "F IH1 R S": "FEERSS"}.items():
            self.assertEqual(respell(arpabet), expected, arpabet)
        # between vowels the spelling decides
        cases = [("HH IH1 R OW0", "hero", "HEER-oh"), ("TH IH1 R IY0", "theory", "THEER-ee"),
                 ("S IH1 R IY0 AH0 S", "serious", "SEER-ee-us"), ("CH IH1 R IY0", "cheery", "CHEER-ee"),
                 ("S P IH1 R AH0 T", "spirit", "SPIR-ut"), ("L IH1 R IH0 K", "lyric", "LIR-ik"),
                 ("M IH1 R ER0", "mirror", "MIR-er"), ("IH1 R AH0 T EY2 T", "irritate", "IR-uh-tayt")]
        for arpabet, word, expected in cases:
            self.assertEqual(respell(arpabet, word), expected, word)

    def test_ow_ending_a_syllable_reads_as_in_now(self):
        cases = [("SH AW1 ER0", "SHOU-er"), ("F L AW1 ER0", "FLOU-er"), ("T AW1 AH0 L", "TOU-ul"),
                 ("AH0 L AW1", "uh-LOU"), ("AW1 ER0", "OU-er"),
                 # where "ow" already reads as in "now" it stays
                 ("P AW1 ER0", "POW-er"), ("N AW1", "NOW")]
        for arpabet, expected in cases:
            self.assertEqual(respell(arpabet), expected, arpabet)

    def test_ow_before_a_consonant_reads_as_in_out(self):
        cases = [("L AW1 D", "LOUD"), ("SH AW1 T", "SHOUT"), ("M AW1 S", "MOUSS"), ("K AW1 N T", "KOUNT"),
                 ("M AW1 N T AH0 N", "MOUN-tun"), ("N AW1 N", "NOUN"),
                 # "own" and "owl" keep their spelling unless they would read as in "known"
                 ("T AW1 N", "TOWN"), ("D AW1 N", "DOWN"), ("HH AW1 L", "HOWL"), ("F AW1 L", "FOWL")]
        for arpabet, expected in cases:
            self.assertEqual(respell(arpabet), expected, arpabet)

    def test_won_after_w_is_written_wahn(self):
        for arpabet, expected in [("W AA1 N T", "WAHNT"), ("W AA1 N D ER0", "WAHN-der"),
                                  ("K W AA1 N T AH0 T IY0", "KWAHN-tuh-tee"), ("W AA1 CH", "WOCH")]:
            self.assertEqual(respell(arpabet), expected, arpabet)

    def test_s_f_starts_no_syllable_inside_a_word(self):
        self.assertEqual(respell("S AE1 T AH0 S F AY2"), "SAT-us-fy")
        self.assertEqual(respell("AE1 T M AH0 S F IH2 R", "atmosphere"), "AT-mus-feer")

    def test_two_primary_stresses_before_a_stress_taking_ending_keep_the_last(self):
        self.assertEqual(respell("EH1 N JH AH0 N IH1 R", "engineer"), "en-juh-NEER")
        self.assertEqual(respell("R IY1 L AH0 Z EY1 SH AH0 N", "realization"), "ree-luh-ZAY-shun")
        # other words keep both (a compound said with two stresses)
        self.assertEqual(respell("D AW1 N T AW1 N", "downtown"), "DOWN-TOWN")

    def test_r_goes_with_the_stressed_vowel(self):
        cases = [("ER0 AY1 V", "arrive", "uh-RYVE"), ("K ER0 IY1 R", "career", "kuh-REER"),
                 ("ER0 AW1 N D", "around", "uh-ROUND"),
                 ("JH EH2 N ER0 EY1 SH AH0 N", "generation", "jeh-nuh-RAY-shun"),
                 ("IH0 R EH1 L AH0 V AH0 N T", "irrelevant", "ih-REL-uh-vunt"),
                 # an unstressed vowel after it leaves the r alone
                 ("EH1 V ER0 IY0", "every", "EV-er-ee"),
                 # after a prefix the r stays on the prefix's side
                 ("OW2 V ER0 IY1 T IH0 NG", "overeating", "oh-ver-EE-ting"),
                 ("HH IH0 R IH1 N", "herein", "heer-IN")]
        for arpabet, word, expected in cases:
            self.assertEqual(respell(arpabet, word), expected, word)

    def test_only_an_r_right_after_the_vowel_colours_it(self):
        for arpabet, expected in {"HH EH1 N R IY0": "HEN-ree", "AO2 L R EH1 D IY0": "awl-RED-ee",
                                  "D IH0 S R AH1 P T": "dis-RUPT", "S EH1 V R AH0 L": "SEV-rul"}.items():
            self.assertEqual(respell(arpabet), expected, arpabet)

    def test_vowels_before_r_and_s_read_as_meant(self):
        for arpabet, expected in {"S K EH1 R D": "SKAIRD", "AH2 P S T EH1 R Z": "up-STAIRZ",
                                  "W AO1 R M": "WAWRM", "P R AY1 S": "PRYSS", "N AY1 S": "NYSS",
                                  "R AY1 Z": "RIZE"}.items():
            self.assertEqual(respell(arpabet), expected, arpabet)

    def test_ought_and_aught_read_as_in_thought(self):
        self.assertEqual(respell("B AA1 T", "bought"), "BAWT")
        self.assertEqual(respell("AE1 F T ER0 TH AA2 T", "afterthought"), "AF-ter-thawt")
        # the vowel of "cot" stays where the spelling does not say otherwise
        self.assertEqual(respell("K AA1 F", "cough"), "KOF")
        self.assertEqual(respell("K AA1 T", "cot"), "KOT")

    def test_a_long_i_without_onset_is_spelled_as_in_ice(self):
        for arpabet, expected in {"AY1 S": "EYESS", "AO1 TH ER0 AY2 Z": "AW-thur-ize",
                                  "AY1 ER0": "EYE-er", "AY1 V IY0": "EYE-vee"}.items():
            self.assertEqual(respell(arpabet), expected, arpabet)

    def test_ar_before_a_consonant_keeps_the_vowel_of_car(self):
        self.assertEqual(respell("HH AA1 R D | AA2 N"), "HARD-on")
        self.assertEqual(respell("S AA1 R IY0"), "SOR-ee")
        # before a vowel the spelling decides: sorry, but starry and safari
        self.assertEqual(respell("S AA1 R IY0", "sorry"), "SOR-ee")
        self.assertEqual(respell("S T AA1 R IY0", "starry"), "STAR-ee")
        self.assertEqual(respell("S AH0 F AA1 R IY0", "safari"), "suh-FAR-ee")

    def test_the_vowel_of_air_before_a_vowel_follows_the_spelling(self):
        # PER-unt would read as in "person"; an e keeps the short vowel
        for arpabet, word, expected in [("P EH1 R AH0 N T", "parent", "PAIR-unt"),
                                        ("B EH1 R IH0 NG", "bearing", "BAIR-ing"),
                                        ("F EH1 R IY0", "fairy", "FAIR-ee"),
                                        ("N EH1 S AH0 S EH2 R IY0", "necessary", "NES-uh-sair-ee"),
                                        ("V EH1 R IY0", "very", "VER-ee"),
                                        ("M EH1 R AH0 T", "merit", "MER-ut")]:
            self.assertEqual(respell(arpabet, word), expected, word)
        # where the spelling's r's do not match the sounds, as before
        self.assertEqual(respell("P EH1 R AH0 N T"), "PER-unt")

    def test_the_l_of_a_consonant_and_le_joins_the_ending(self):
        for arpabet, word, expected in [("G AE1 M B AH0 L IH0 NG", "gambling", "GAM-bling"),
                                        ("S EH1 T AH0 L ER0", "settler", "SET-ler"),
                                        ("W AA1 B AH0 L IY0", "wobbly", "WAH-blee"),
                                        ("T W IH1 NG K AH0 L IH0 NG", "twinkling", "TWING-kling"),
                                        ("AY1 D AH0 L ER0 Z", "idlers", "IDE-lerz")]:
            self.assertEqual(respell(arpabet, word), expected, word)
        # a vowel letter before the l is a syllable of its own
        self.assertEqual(respell("F AE1 M AH0 L IY0", "family"), "FAM-uh-lee")
        self.assertEqual(respell("R EH1 G Y AH0 L ER0", "regular"), "REG-yuh-ler")
        # the schwa stays before a consonant ending (STRUG-uld)
        self.assertEqual(respell("S T R AH1 G AH0 L D", "struggled"),
                         respell("S T R AH1 G AH0 L D"))

    def test_a_stressed_final_s_is_doubled_where_one_would_read_as_z(self):
        for arpabet, expected in {"P IY1 S": "PEESS", "L AO1 S": "LAWSS", "S EH1 N S": "SENSS",
                                  "N ER1 S": "NURSS"}.items():
            self.assertEqual(respell(arpabet), expected, arpabet)
        # after a voiceless consonant, unstressed, or inside the word it stays single
        for arpabet, expected in {"B AA1 K S": "BOKS", "D IH1 S T AH0 N S": "DIS-tuns",
                                  "P L AH1 S": "PLUS", "P AH1 L S": "PULS",
                                  "P IY1 S F AH0 L": "PEES-ful"}.items():
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


class ReviewedPronunciationTest(unittest.TestCase):
    def test_list_is_parsed_and_malformed_lines_refused(self):
        from respell import parse_pronunciations
        self.assertEqual(parse_pronunciations(["# c", "Doer\tDOO-er\tone syllable in CMU"]),
                         {"doer": "DOO-er"})
        for bad in (["doer\tDOO-er"], ["doer\tDOO-er\t "], ["doer\tdoo-er\tno stress"],
                    ["doer\tDOO er\tspace"], ["doer\tDoo-er\tmixed case"], ["doer\tDOO--er\tr"],
                    ["doer\t" + "DOO-" * 8 + "er\ttoo long"],
                    ["doer\tDOO-er\tr", "doer\tDOO-ur\tr"]):
            with self.assertRaises(ValueError, msg=bad):
                parse_pronunciations(bad)

    def test_a_byte_outside_ascii_is_named_by_its_line(self):
        import tempfile
        from respell import load_pronunciations
        with tempfile.NamedTemporaryFile("wb", suffix=".tsv", delete=False) as fh:
            fh.write("doer\tDOO-er\tone syllable\nlandler\tLEND-ler\tthe L\u00e4ndler\n".encode("utf-8"))
        self.addCleanup(os.remove, fh.name)
        with self.assertRaisesRegex(ValueError, "line 2: not plain ASCII"):
            load_pronunciations(fh.name)

    def test_listed_respelling_replaces_the_rules(self):
        g = Generator(tiny_wordnet([]), {}, {"doer": "D UW1 R"}, pronunciations={"doer": "DOO-er"})
        self.assertEqual(g.pronunciation("doer"), "DOO-er")
        # a word CMU lacks gets the listed respelling too
        g = Generator(tiny_wordnet([]), {}, {}, pronunciations={"belay": "bih-LAY"})
        self.assertEqual(g.pronunciation("belay"), "bih-LAY")

    def test_listed_word_of_no_headword_or_stale_stops_the_generator(self):
        cmu = {"doer": "D UW1 R"}
        for listed in ({"doer": "DOO-er", "shower": "SHOU-er"}, {"doer": "DOOR"}):
            g = Generator(tiny_wordnet([]), {}, cmu, pronunciations=listed)
            g.pronunciation("doer")
            with self.assertRaises(ValueError, msg=listed):
                g.check_pronunciations({"doer"})
        g = Generator(tiny_wordnet([]), {}, cmu, pronunciations={"doer": "DOO-er"})
        g.pronunciation("doer")
        g.check_pronunciations({"doer"})

    def test_y_after_a_vowel_letter_is_no_suffix(self):
        g = Generator(tiny_wordnet([]), {}, {"bela": "B EH1 L AH0", "lime": "L AY1 M"})
        self.assertEqual(g.pronunciation("belay"), "")
        self.assertEqual(g.pronunciation("limey"), "LY-mee")

    def test_ed_and_s_endings_follow_the_stems_last_sound(self):
        cmu = {"bush": "B UH1 SH", "crock": "K R AA1 K", "flight": "F L AY1 T", "dose": "D OW1 S",
               "dos": "D UW1 Z", "giblet": "JH IH1 B L AH0 T", "hedge": "HH EH1 JH", "muse": "M Y UW1 Z",
               "tine": "T AY1 N"}
        g = Generator(tiny_wordnet([]), {}, cmu)
        for word, said in [("bushed", "BUUSHT"), ("crocked", "KROKT"), ("flighted", "FLY-tid"),
                           ("tined", "TYND"), ("giblets", "JIB-luts"), ("hedges", "HEJ-iz"),
                           ("dosed", "DOHST"),  # dose + d, not dos + ed
                           ("muss", "")]:       # -ss is no plural
            self.assertEqual(g.pronunciation(word), said, word)

    def test_ine_after_a_known_word_in_in_is_a_silent_e(self):
        cmu = {"destin": "D EH1 S T IH0 N", "des": "D EH1 S", "tine": "T AY1 N"}
        g = Generator(tiny_wordnet([]), {"des": 60, "tine": 10}, cmu)
        self.assertEqual(g.pronunciation("destine"), "DES-tin")


class StressByPartOfSpeechTest(unittest.TestCase):
    CMU = {"record": "R AH0 K AO1 R D", "record(2)": "R EH1 K ER0 D",
           "annex": "AE1 N EH2 K S", "annex(2)": "AH0 N EH1 K S",
           "effect": "IH0 F EH1 K T",
           "contrary": "K AA1 N T R EH0 R IY0", "contrary(2)": "K AH0 N T R EH1 R IY0",
           "ally": "AE1 L AY0", "ally(2)": "AH0 L AY1"}

    def test_two_syllable_words_take_the_stress_of_their_part_of_speech(self):
        g = Generator(tiny_wordnet([]), {}, self.CMU)
        self.assertEqual(g.pronunciation("record", "n"), "REK-erd")
        self.assertEqual(g.pronunciation("record", "v"), "ruh-KORD")
        self.assertEqual(g.pronunciation("annex", "v"), "uh-NEKS")
        self.assertEqual(g.pronunciation("annex", "n"), "AN-eks")
        self.assertEqual(g.pronunciation("ally", "s"), "AL-eye")

    def test_other_words_keep_the_first_pronunciation(self):
        g = Generator(tiny_wordnet([]), {}, self.CMU)
        # no variant to choose; three syllables; no part of speech given; an adverb
        self.assertEqual(g.pronunciation("effect", "n"), g.pronunciation("effect"))
        self.assertEqual(g.pronunciation("contrary", "v"), g.pronunciation("contrary"))
        self.assertEqual(g.pronunciation("record"), "ruh-KORD")
        self.assertEqual(g.pronunciation("record", "r"), "ruh-KORD")


class CompoundPronunciationTest(unittest.TestCase):
    CMU = {"seaman": "S IY1 M AH0 N", "seamans": "S IY1 M AH0 N Z", "ship": "SH IH1 P", "hip": "HH IH1 P",
           "diffid": "D IH1 F AH0 D", "diff": "D IH1 F", "ent": "EH1 N T", "ident": "AY1 D EH0 N T"}

    def test_split_where_both_parts_are_everyday_words(self):
        g = Generator(tiny_wordnet([]), {"seaman": 300, "seamans": 2, "ship": 9000, "hip": 2000}, self.CMU)
        self.assertEqual(g.pronunciation("seamanship"), respell("S IY1 M AH0 N SH IH2 P"))

    def test_no_everyday_parts_keeps_the_longest_head(self):
        g = Generator(tiny_wordnet([]), {"diff": 36, "ident": 15}, self.CMU)
        self.assertEqual(g.pronunciation("diffident"), respell("D IH1 F AH0 D EH2 N T"))

    def test_consonants_stay_on_their_side_of_a_compound(self):
        cmu = {"space": "S P EY1 S", "man": "M AE1 N", "spa": "S P AA1", "ceman": "S IY1 M AH0 N",
               "fond": "F AA1 N D", "ant": "AE1 N T"}
        g = Generator(tiny_wordnet([]), {"space": 900, "man": 9000, "fond": 300, "ant": 200}, cmu)
        self.assertEqual(g.pronunciation("spaceman"), "SPAYS-man")
        # a vowel-led second part reads as a suffix: the syllables fall as in one word
        self.assertEqual(g.pronunciation("fondant"), "FON-dant")

    def test_a_part_spelled_out_letter_by_letter_is_no_compound_part(self):
        cmu = {"feb": "F EH1 B Y AH0 W EH2 R IY0", "rile": "R AY1 L"}
        g = Generator(tiny_wordnet([]), {"feb": 60, "rile": 60}, cmu)
        self.assertEqual(g.pronunciation("febrile"), "")
        # an abbreviation said as its letters' names, even with as few
        # syllables as a word: diorama is no dior + A, M, A
        cmu = {"dior": "D IY2 AO1 R", "ama": "EY2 EH2 M EY1"}
        g = Generator(tiny_wordnet([]), {"dior": 60, "ama": 60}, cmu)
        self.assertEqual(g.pronunciation("diorama"), "")

    def test_ion_turns_a_final_t_to_sh_and_stresses_before_it(self):
        cmu = {"abject": "AE1 B JH EH0 K T", "ion": "AY1 AH0 N", "abj": "AE1 B JH",
               "ection": "EH1 K SH AH0 N"}
        g = Generator(tiny_wordnet([]), {"abject": 100, "ion": 100}, cmu)
        self.assertEqual(g.pronunciation("abjection"), "ab-JEK-shun")

    def test_word_cmu_has_keeps_its_parts_consonants(self):
        cmu = {"like": "L AY1 K", "likely": "L AY1 K L IY0", "use": "Y UW1 S", "useful": "Y UW1 S F AH0 L",
               "miss": "M IH1 S", "dismiss": "D IH0 S M IH1 S", "simply": "S IH1 M P L IY0",
               "midst": "M IH1 D S T", "ream": "R IY1 M", "midstream": "M IH1 D S T R IY2 M"}
        g = Generator(tiny_wordnet([]), {}, cmu)
        for word, expected in [("likely", "LIKE-lee"), ("useful", "YOOS-ful"), ("dismiss", "dis-MISS"),
                               # no known stem (simp); two words may split wrongly (midst+ream)
                               ("simply", "SIM-plee"), ("midstream", "MID-streem")]:
            self.assertEqual(g.pronunciation(word), expected, word)

    def test_an_ending_keeps_its_consonants_however_cmu_writes_its_vowel(self):
        cmu = {"close": "K L OW1 S", "closeness": "K L OW1 S N IH0 S",
               "use": "Y UW1 S", "useless": "Y UW1 S L AH0 S", "thought": "TH AO1 T",
               "thoughtless": "TH AO1 T L AH0 S",
               "fierce": "F IH1 R S", "ample": "AE1 M P AH0 L", "amply": "AE1 M P L IY0",
               "pimp": "P IH1 M P", "pimple": "P IH1 M P AH0 L",
               "discourage": "D IH0 S K ER1 IH0 JH", "courage": "K ER1 AH0 JH",
               "disease": "D IH0 Z IY1 Z", "ease": "IY1 Z",
               "uneventful": "AH2 N IY0 V EH1 N T F AH0 L", "eventful": "IH0 V EH1 N T F AH0 L",
               "under": "AH1 N D ER0", "der": "D ER1",
               "business": "B IH1 Z N AH0 S", "businessman": "B IH1 Z N AH0 S M AE2 N",
               "police": "P AH0 L IY1 S", "policewoman": "P AH0 L IY1 S W UH2 M AH0 N"}
        g = Generator(tiny_wordnet([]), {}, cmu)
        for word, expected in [("closeness", "KLOHS-nis"), ("discourage", "dis-KUR-ij"),
                               # endings CMU lacks: on the stem CMU has, the stem's own ending kept
                               ("uselessness", "YOOS-lus-nus"), ("thoughtlessness", "THAWT-lus-nus"),
                               ("fierceness", "FEERS-nus"),
                               # -ple + y is no -ly; a z is no s after a prefix
                               ("amply", "AM-plee"), ("pimply", "PIM-plee"), ("disease", "dih-ZEEZ"),
                               # un- keeps its n (not uh-nee-VENT-ful)
                               ("uneventful", "un-ee-VENT-ful"), ("under", "UN-der"),
                               ("businessman", "BIZ-nus-man"), ("policewoman", "puh-LEES-wuu-mun")]:
            self.assertEqual(g.pronunciation(word), expected, word)

    def test_able_after_a_word_is_the_ending_said_uh_bul(self):
        cmu = {"see": "S IY1", "able": "EY1 B AH0 L", "dat": "D AE1 T", "date": "D EY1 T",
               "kill": "K IH1 L", "table": "T EY1 B AH0 L", "execute": "EH1 K S AH0 K Y UW2 T",
               "ably": "EY1 B L IY0", "detest": "D IH0 T EH1 S T"}
        g = Generator(tiny_wordnet([]), {"see": 9000, "able": 9000, "kill": 900, "dat": 5,
                                         "ably": 60, "detest": 60}, cmu)
        # not see + the word able (SEE-ay-bul); the silent e -able replaced comes back (date)
        for word, expected in [("seeable", "SEE-uh-bul"), ("datable", "DAY-tuh-bul"),
                               ("killable", "KIL-uh-bul"), ("table", "TAY-bul"),
                               # the adverb's ending too, not the word ably
                               ("detestably", "dih-TES-tuh-blee"),
                               # no known word before -able: still none, as before
                               ("executable", "")]:
            self.assertEqual(g.pronunciation(word), expected, word)

    def test_an_ending_that_takes_the_stress_keeps_it_after_a_first_part(self):
        cmu = {"trans": "T R AE1 N Z", "figuration": "F IH2 G Y ER0 EY1 SH AH0 N",
               "sea": "S IY1", "ship": "SH IH1 P"}
        g = Generator(tiny_wordnet([]), {"trans": 900, "figuration": 900, "sea": 900, "ship": 900}, cmu)
        self.assertEqual(g.pronunciation("transfiguration"), "tranz-fih-gyuh-RAY-shun")
        # other second parts still give way to the first
        self.assertEqual(g.pronunciation("seaship"), "SEE-ship")

    def test_a_closed_compound_cmu_has_keeps_its_parts_consonants(self):
        cmu = {"lifelong": "L AY1 F L AO2 NG", "life": "L AY1 F", "long": "L AO1 NG",
               "timid": "T IH1 M IH0 D", "tim": "T IH1 M", "mid": "M IH1 D",
               "homespun": "HH OW1 M S P AH2 N", "home": "HH OW1 M", "homes": "HH OW1 M Z",
               "spun": "S P AH1 N", "pun": "P AH1 N",
               "candidate": "K AE1 N D AH0 D EY2 T", "candid": "K AE1 N D AH0 D", "ate": "EY1 T"}
        counts = {w: 900 for w in cmu}
        g = Generator(tiny_wordnet([]), counts, cmu)
        self.assertEqual(g.pronunciation("lifelong"), "LIFE-lawng")      # not LY-flawng
        self.assertEqual(g.pronunciation("homespun"), "HOHM-spun")       # no plural homes + pun
        # a part said without its stress is no part (tim + mid); nor is an ending (candid + ate)
        self.assertEqual(g.pronunciation("timid"), "TIM-id")
        self.assertEqual(g.pronunciation("candidate"), "KAN-duh-dayt")

    def test_a_compound_adjective_of_a_modifier_and_a_participle_stresses_the_participle(self):
        cmu = {"well": "W EH1 L", "informed": "IH2 N F AO1 R M D", "ill": "IH1 L",
               "fated": "F EY1 T IH0 D", "card": "K AA1 R D", "playing": "P L EY1 IH0 NG",
               "known": "N OW1 N"}
        g = Generator(tiny_wordnet([]), {}, cmu)
        self.assertEqual(g.pronunciation("well-informed", "s"), "wel-in-FORMD")
        self.assertEqual(g.pronunciation("ill-fated", "a"), "il-FAY-tid")
        # a noun as first part keeps the first stress, and so does any word used as a noun
        self.assertEqual(g.pronunciation("card-playing", "s"), "KARD-play-ing")
        self.assertEqual(g.pronunciation("well-known", "n"), "WEL-nohn")

    def test_a_hyphenated_word_cmu_has_keeps_its_parts_consonants(self):
        cmu = {"time-out": "T AY1 M AW2 T", "time": "T AY1 M", "out": "AW1 T",
               "built-in": "B IH1 L T IH2 N", "built": "B IH1 L T", "in": "IH1 N",
               "merry-go-round": "M EH1 R IY0 G OW0 R AW1 N D", "merry": "M EH1 R IY0",
               "go": "G OW1", "round": "R AW1 N D",
               # said otherwise than its parts: CMU's syllables stand
               "sand-bath": "S AE1 N D B AE2 TH", "sand": "S AE1 N D", "bath": "B AA1 TH"}
        g = Generator(tiny_wordnet([]), {}, cmu)
        self.assertEqual(g.pronunciation("time-out"), "TIME-out")
        self.assertEqual(g.pronunciation("built-in"), "BILT-in")
        self.assertEqual(g.pronunciation("merry-go-round"), "MER-ee-goh-ROUND")
        self.assertEqual(g.pronunciation("sand-bath"), respell("S AE1 N D B AE2 TH"))

    def test_re_before_a_hyphen_is_the_prefix(self):
        cmu = {"re": "R EY1", "arm": "AA1 R M", "enter": "EH1 N T ER0"}
        g = Generator(tiny_wordnet([]), {}, cmu)
        self.assertEqual(g.pronunciation("re-arm"), "ree-ARM")
        self.assertEqual(g.pronunciation("re-enter"), "ree-EN-ter")

    def test_hyphenated_word_keeps_all_its_parts_syllables(self):
        cmu = {"self-destruction": "S EH1 L F D IH0 S T R AH1 K T S", "self": "S EH1 L F",
               "destruction": "D IH0 S T R AH1 K SH AH0 N",
               "good-bye": "G IH0 D B AY1", "good": "G UH1 D", "bye": "B AY1"}
        g = Generator(tiny_wordnet([]), {}, cmu)
        self.assertEqual(g.pronunciation("self-destruction"), "SELF-dih-struk-shun")
        self.assertEqual(g.pronunciation("good-bye"), respell("G IH0 D B AY1"))


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

    def test_a_modal_ends_a_meaning_only_as_a_noun(self):
        self.assertFalse(ends_on_function_word("property left to someone in a will"))
        self.assertFalse(ends_on_function_word("a thing one cannot do without, a must"))
        self.assertTrue(ends_on_function_word("a person who will"))
        self.assertTrue(ends_on_function_word("what a person can"))
        self.assertTrue(ends_on_function_word("a dwelling that"))

    def test_cut_never_leaves_an_open_parenthesis(self):
        meaning, cut = fit_meaning("a long-legged wading bird (especially of the family that lives near water and rivers)")
        self.assertTrue(cut)
        self.assertEqual(meaning.count("("), meaning.count(")"))

    def test_every_cut_fits(self):
        long = "a dwelling that serves as living quarters for one or more families of people"
        fitted = [fit_meaning(long, width)[0] for width in (12, 20, 30, 40)]
        for width, meaning in zip((12, 20, 30, 40), fitted):
            if meaning is not None:
                self.assertLessEqual(len(meaning), width)
        # "a dwelling" alone is only the genus: no meaning, not a bare one
        self.assertEqual(fitted[:2], [None, None])


# Parts of speech of the words the cases below use, the most usual first,
# as the generator gets them from WordNet's tag counts.
WORD_CLASSES = {
    "rule": "nv", "exercise": "nv", "exactly": "r", "almost": "r",
    "dwelling": "nv", "serves": "vn", "living": "vna", "quarters": "n", "families": "n",
    "system": "n", "world-wide": "a", "electronic": "a", "communication": "n",
    "computer": "n", "user": "n", "unit": "n", "time": "nv", "equal": "anv",
    "seconds": "n", "acting": "vna", "moving": "van", "capable": "a", "quickly": "r",
    "binary": "na", "compound": "vna", "occurs": "v", "room": "n", "temperature": "n",
    "person": "n", "know": "v", "well": "ran", "regard": "vn", "affection": "n",
    "trust": "nv", "ammunition": "n", "consisting": "v", "cylindrical": "a",
    "projectile": "na", "firm": "an", "determination": "n", "resolution": "n",
    "shakable": "a", "mattress": "n", "filled": "v", "straw": "n", "bed": "n",
    "used": "va", "housing": "nv", "provide": "v", "pitching": "nv", "does": "",
}


def word_class(word):
    return WORD_CLASSES.get(word.lower(), "")


class VerbMeaningTest(unittest.TestCase):
    """A verb's meaning reads as an infinitive, where the field has room."""

    def test_infinitive(self):
        from meaning import as_infinitive
        cases = {
            "crush into small pieces or powder": "to crush into small pieces or powder",
            "of animals, eat growing grass": "of animals, to eat growing grass",
            "of a car or plane, to hit something hard": "of a car or plane, to hit something hard",
            "to exist or have a quality": "to exist or have a quality",
            # no room for "to " in 40 characters: left as it is
            "express strong disapproval of the thing": "express strong disapproval of the thing",
            "cause to move forward with force": "to cause to move forward with force",
        }
        for meaning, shown in cases.items():
            self.assertEqual(as_infinitive(meaning), shown, meaning)
            self.assertLessEqual(len(as_infinitive(meaning)), 40)

    def test_generated_and_reviewed_verbs_take_it_and_nouns_do_not(self):
        from offensive import Offensive
        lines = [("v", "00001000 29 v 01 grind 0 000 | crush into small pieces"),
                 ("n", "00002000 05 n 01 grind 0 000 | an activity that is tedious")]
        wn = tiny_wordnet(lines)
        g = Generator(wn, {"grind": 100}, {"grind": "G R AY1 N D"}, Offensive(wn, profanity=()))
        self.assertEqual(g.entry("grind", ["v"])["meaning"], "to crush into small pieces")
        self.assertEqual(g.entry("grind", ["n"])["meaning"], "an activity that is tedious")
        core = parse_core(["grind\tverb\t\tmake into powder\t\t\t\treviewed"])
        g = Generator(wn, {"grind": 100}, {"grind": "G R AY1 N D"}, Offensive(wn, profanity=()), core)
        self.assertEqual(g.entry("grind", ["v"])["meaning"], "to make into powder")


class WholeSentenceExampleTest(unittest.TestCase):
    """WordNet's examples that are whole sentences get their capital and
    full stop; phrases are left as they are."""

    def test_sentences_and_phrases(self):
        from gendict import as_sentence
        cases = {
            "they plan to honeymoon in Hawaii": "They plan to honeymoon in Hawaii.",
            "she weaned her baby when he was 3 months old": "She weaned her baby when he was 3 months old.",
            "The sky darkened": "The sky darkened.",
            "that area is off-limits": "That area is off-limits.",
            "He is reputed to be intelligent": "He is reputed to be intelligent.",
            "is it raining?": "is it raining?",
            "it hurts!": "It hurts!",
            # phrases
            "a marginal victory": "a marginal victory",
            "her unsteady walk": "her unsteady walk",
            "extol the virtues of one's children": "extol the virtues of one's children",
            "the man who was wearing a hat": "the man who was wearing a hat",
            "puzzled that she left without saying goodbye": "puzzled that she left without saying goodbye",
            "The end": "The end",
            "": "",
        }
        for text, shown in cases.items():
            self.assertEqual(as_sentence(text), shown, text)
        # a full stop that would not fit: the sentence stays as WordNet has it
        full = "they " + "x" * 45
        self.assertEqual(as_sentence(full), full)
        self.assertEqual(as_sentence(full[:-1]), "T" + full[1:-1] + ".")


class CompletePhraseTest(unittest.TestCase):
    """A cut meaning must read as a whole phrase."""

    def test_cut_drops_a_relative_clause_it_cannot_finish(self):
        meaning, cut = fit_meaning(
            "a dwelling that serves as living quarters for one or more families", 40, "n", word_class)
        self.assertTrue(cut)
        self.assertIsNone(meaning)
        meaning, _ = fit_meaning("binary compound that occurs at room temperature as a clear liquid",
                                 40, "n", word_class)
        self.assertEqual(meaning, "binary compound")

    def test_cut_never_leaves_an_adjective_without_its_noun_or_complement(self):
        meaning, _ = fit_meaning("a system of world-wide electronic communication in which a "
                                 "computer user can compose a message", 40, "n", word_class)
        # no cut reads whole and "a system" says nothing: no meaning
        self.assertIsNone(meaning)
        meaning, _ = fit_meaning("a unit of time equal to 60 seconds or 1/60th of an hour",
                                 22, "n", word_class)
        self.assertEqual(meaning, "a unit of time")  # not "a unit of time equal"

    def test_cut_keeps_a_phrase_of_participles_and_an_object_left_whole(self):
        self.assertEqual(fit_meaning("acting or moving or capable of acting or moving quickly",
                                     40, "a", word_class), ("acting or moving", True))
        self.assertEqual(fit_meaning("a person you know well and regard with affection and trust",
                                     40, "n", word_class), ("a person you know well", True))

    def test_head_word_alone_rather_than_a_dangling_phrase(self):
        self.assertEqual(fit_meaning("ammunition consisting of a cylindrical metal projectile",
                                     40, "n", word_class), (None, True))

    def test_no_cut_ends_on_a_relative_pronoun_or_auxiliary(self):
        for text in ("a tall thing which does what a very long description says it does here",
                     "someone who is known to be the one that would have been elected"):
            meaning, cut = fit_meaning(text, 30, "n", word_class)
            self.assertTrue(cut)
            if meaning is None:
                continue  # no whole phrase fits: no meaning rather than a broken one
            self.assertNotIn(meaning.split()[-1].lower(),
                             {"that", "which", "who", "is", "be", "been", "would", "have", "does"})

    def test_without_word_classes_the_plain_rules_still_apply(self):
        meaning, cut = fit_meaning("a dwelling that serves as living quarters for one or more families")
        self.assertTrue(cut)
        self.assertNotEqual(meaning.split()[-1], "that")


class WholeClauseTest(unittest.TestCase):
    def test_whole_gloss_may_end_on_a_preposition_but_a_cut_may_not(self):
        self.assertEqual(fit_meaning("provide housing for", 40, "v", word_class),
                         ("provide housing for", False))
        meaning, cut = fit_meaning("lacking awareness of the things that go on around one all day")
        self.assertTrue(cut)
        self.assertNotEqual(meaning.split()[-1], "of")

    def test_leading_label_is_left_out_of_a_whole_meaning(self):
        self.assertEqual(fit_meaning("(baseball) the person who does the pitching", 32, "n", word_class),
                         ("the person who does the pitching", False))
        self.assertIn("the person who does the pitching",
                      whole_clauses("(baseball) the person who does the pitching"))

    def test_later_clause_only_when_it_is_a_definition_of_its_own(self):
        self.assertEqual(
            fit_meaning("marked by firm determination or resolution; not shakable", 40, "a", word_class),
            ("not shakable", False))
        meaning, cut = fit_meaning("a mattress filled with straw or a pad made of quilts; used as a bed",
                                   40, "n", word_class)
        self.assertTrue(cut)
        self.assertNotEqual(meaning, "used as a bed")

    def test_figurative_marker_is_no_meaning(self):
        meaning, _ = fit_meaning("extended meanings; especially of psychological coldness; "
                                 "without human warmth or emotion", 40, "a", word_class)
        self.assertNotIn("extended", meaning)
        self.assertNotIn("especially", meaning)


class DerivedAntonymTest(unittest.TestCase):
    def test_opposite_is_formed_like_the_word(self):
        self.assertTrue(Generator.parallel("happiness", "happy", "unhappy", "unhappiness"))
        self.assertTrue(Generator.parallel("quickly", "quick", "slow", "slowly"))
        self.assertTrue(Generator.parallel("arrival", "arrive", "depart", "departure"))

    def test_word_that_is_not_formed_from_its_related_word_gets_no_opposite(self):
        # friend -> friendly -> unfriendly -> unfriendliness: not an opposite of friend
        self.assertFalse(Generator.parallel("friend", "friendly", "unfriendly", "unfriendliness"))
        self.assertFalse(Generator.parallel("quickly", "quick", "slow", "slowness"))


def tiny_wordnet(lines, counts=None):
    """A WordNet of the given data lines ((pos, line)), senses indexed in
    the order given, with tag counts {(lemma, pos, offset): count}."""
    wn = WordNet.__new__(WordNet)
    wn.synsets, wn.index, wn.tagcount = {}, {}, dict(counts or {})
    wn.exceptions = {p: {} for p in "nvar"}
    for pos, line in lines:
        s = parse_data_line(line, pos)
        wn.synsets[(pos, s.offset)] = s
        for form, _lex in s.words:
            wn.index.setdefault((pos, form.lower()), []).append(s.offset)
    return wn


class AntonymRouteTest(unittest.TestCase):
    """Antonyms reached from the chosen sense only, never by guessing."""

    ADVERBS = [
        ("a", "00000100 00 a 01 quick 0 001 ! 00000200 a 0101 | moving fast"),
        ("a", "00000200 00 a 01 slow 0 001 ! 00000100 a 0101 | not moving fast"),
        ("a", "00000300 00 a 01 abundant 0 001 ! 00000400 a 0101 | plentiful"),
        ("a", "00000400 00 a 01 scarce 0 001 ! 00000300 a 0101 | deficient in quantity"),
        ("r", "00000500 02 r 01 quickly 0 001 \\ 00000100 a 0101 | in a quick manner"),
        ("r", "00000600 02 r 01 slowly 0 001 \\ 00000200 a 0101 | in a slow manner"),
        ("r", "00000700 02 r 01 abundantly 0 001 \\ 00000300 a 0101 | in an abundant manner"),
        ("r", "00000800 02 r 01 scarcely 0 000 | only a very short time before"),
        ("r", "00000900 02 r 01 scarcely 0 001 \\ 00000400 a 0101 | almost not"),
    ]

    def generator(self, lines, counts=None):
        return Generator(tiny_wordnet(lines, counts), {}, {})

    def antonyms_of(self, g, word, pos, sense=0):
        senses = g.wn.senses(word, pos)
        return g.antonyms(word, word, senses[sense], senses)

    def test_adverb_gets_the_adverb_of_its_adjectives_opposite(self):
        g = self.generator(self.ADVERBS)
        self.assertEqual(self.antonyms_of(g, "quickly", "r"), ["slowly"])
        self.assertEqual(self.antonyms_of(g, "slowly", "r"), ["quickly"])

    def test_adverb_for_which_the_link_is_a_rare_use_is_no_opposite(self):
        # scarcely mostly means "only just"; its link to scarce is a rare use
        g = self.generator(self.ADVERBS, {("scarcely", "r", 800): 5})
        self.assertEqual(self.antonyms_of(g, "abundantly", "r"), [])

    PREFIXED = [
        ("v", "00001000 30 v 01 escalate 0 001 ! 00001100 v 0101 | increase in extent"),
        ("v", "00001100 30 v 01 de-escalate 0 001 ! 00001000 v 0101 | decrease in extent"),
        ("a", "00001200 00 a 01 made 0 001 ! 00001300 a 0101 | produced by manufacture"),
        ("a", "00001300 00 a 01 custom-made 0 001 ! 00001200 a 0101 | made to order"),
        ("n", "00001400 04 n 01 engagement 0 000 | a meeting arranged in advance"),
        ("n", "00001500 04 n 01 engagement 0 001 ! 00001600 n 0101 | the act of sharing"),
        ("n", "00001600 04 n 01 non-engagement 0 001 ! 00001500 n 0101 | not sharing"),
    ]

    def test_opposite_made_by_a_negative_prefix_on_the_headword_is_kept(self):
        g = self.generator(self.PREFIXED)
        self.assertEqual(self.antonyms_of(g, "escalate", "v"), ["de-escalate"])
        # a compound that contains the headword is not a prefixed opposite
        self.assertEqual(self.antonyms_of(g, "made", "a"), [])

    HEADS = [
        ("a", "00003000 00 a 01 alarming 0 001 ! 00003100 a 0101 | frightening"),
        ("a", "00003100 00 a 01 unalarming 0 001 ! 00003000 a 0101 | not alarming"),
        ("a", "00003200 00 s 01 terrifying 0 001 & 00003000 a 0000 | causing fear"),
        ("a", "00003300 00 a 01 large 0 001 ! 00003400 a 0101 | above average in size"),
        ("a", "00003400 00 a 01 small 0 001 ! 00003300 a 0101 | below average in size"),
        ("a", "00003500 00 s 01 huge 0 001 & 00003300 a 0000 | unusually great in size"),
        ("a", "00003600 00 a 01 fatal 0 001 ! 00003700 a 0101 | bringing death"),
        ("a", "00003700 00 a 01 nonfatal 0 001 ! 00003600 a 0101 | not bringing death"),
    ]

    def test_head_adjectives_opposite_that_nobody_uses_is_padding(self):
        g = Generator(tiny_wordnet(self.HEADS), {"small": 5000, "nonfatal": 1}, {})
        self.assertEqual(self.antonyms_of(g, "terrifying", "a"), [])
        self.assertEqual(self.antonyms_of(g, "huge", "a"), ["small"])
        # the sense's own opposite stays however rare
        self.assertEqual(self.antonyms_of(g, "fatal", "a"), ["nonfatal"])
        # a reviewed word is shown what the rules give, to judge
        g._drop_unheard = False
        self.assertEqual(self.antonyms_of(g, "terrifying", "a"), ["unalarming"])

    def test_prefixed_opposite_of_another_sense_is_not_taken(self):
        g = self.generator(self.PREFIXED)
        self.assertEqual(self.antonyms_of(g, "engagement", "n", 0), [])
        self.assertEqual(self.antonyms_of(g, "engagement", "n", 1), ["non-engagement"])


class SenseAndSynonymTest(unittest.TestCase):
    """All of an entry's fields come from the one sense used most."""

    LINES = [
        # bank: the river bank is listed first, the money bank is used more
        ("n", "00002000 17 n 01 bank 0 001 @ 00002100 n 0000 | sloping land beside water; "
              '"the canoe was on the bank"'),
        ("n", "00002100 17 n 02 slope 0 incline 0 000 | an elevated geological formation"),
        ("n", "00002200 14 n 03 bank 1 depository 0 banking_company 0 001 @ 00002300 n 0000 | "
              'a financial institution that accepts deposits; "he paid the bank"'),
        ("n", "00002300 14 n 02 institution 0 establishment 0 001 ~ 00002200 n 0000 | "
              "an organization founded for a purpose"),
        # clean and a synonym that WordNet marks as an ethnic slur elsewhere
        ("a", "00002400 00 a 04 clean 0 spotless 0 spic 0 washed 0 001 ! 00002500 a 0101 | "
              "free from dirt"),
        ("a", "00002500 00 a 01 dirty 0 001 ! 00002400 a 0101 | soiled"),
        ("n", "00002600 18 n 01 spic 0 001 ;u 06718862 n 0000 | (ethnic slur) an offensive term"),
        ("n", "06718862 10 n 01 ethnic_slur 0 000 | a slur on someone's race"),
        # a verb whose only close word is its broader verb
        ("v", "00002700 38 v 01 stroll 0 001 @ 00002800 v 0000 | walk leisurely"),
        ("v", "00002800 38 v 01 walk 0 001 ~ 00002700 v 0000 | use one's feet to advance"),
    ]
    COUNTS = {("bank", "n", 2000): 3, ("bank", "n", 2200): 20}

    def generator(self):
        from offensive import Offensive
        wn = tiny_wordnet(self.LINES, self.COUNTS)
        g = Generator(wn, {}, {}, Offensive(wn, profanity=()))
        g.rank_of = {"bank": 0}  # a common word: keeps a short meaning
        g.score = {"spotless": 3.0, "washed": 2.0, "spic": 2.5, "depository": 1.0}
        g.common_floor = 0.0
        return g

    def test_sense_used_most_is_chosen_and_supplies_every_field(self):
        g = self.generator()
        senses = g.wn.senses("bank", "n")
        synset, meaning, _cut = g.choose_sense("bank", "n", senses)
        self.assertEqual(synset.offset, 2200)
        self.assertEqual(meaning, "a financial institution")
        self.assertEqual(g.usage("bank", synset), "He paid the bank.")
        # the broader term is no synonym, and the river bank's words are
        # never taken for the money bank
        syn = g.synonyms("bank", "bank", synset, senses)
        self.assertIn("depository", syn)
        self.assertNotIn("institution", syn)
        self.assertNotIn("slope", syn)

    def test_offensive_word_is_never_offered(self):
        g = self.generator()
        clean = g.wn.senses("clean", "a")[0]
        self.assertEqual(g.synonyms("clean", "clean", clean, [clean]), ["spotless", "washed"])
        self.assertEqual(g.antonyms("clean", "clean", clean, [clean]), ["dirty"])
        self.assertTrue(g.offensive.word("Spic"))
        self.assertFalse(g.offensive.word("spotless"))
        self.assertTrue(g.offensive.sentence("a spic and a span"))

    def test_broader_verb_never_and_narrower_verb_only_when_common(self):
        g = self.generator()
        stroll = g.wn.senses("stroll", "v")[0]
        self.assertEqual(g.synonyms("stroll", "stroll", stroll, [stroll]), [])
        walk = g.wn.senses("walk", "v")[0]
        # nothing closer than its one narrower verb: a common one stands in
        g.score.update({"stroll": 1.0, "walk": 1.0})
        g.everyday_floor = 0.5
        self.assertEqual(g.synonyms("walk", "walk", walk, [walk]), ["stroll"])
        # a rare one does not
        g.score["stroll"] = 0.2
        g.common_floor = 0.3
        self.assertEqual(g.synonyms("walk", "walk", walk, [walk]), [])

    def test_long_example_is_shortened_only_to_a_whole_sentence_with_the_word(self):
        g = self.generator()
        classes = {"congregated": "v", "crowds": "nv", "weaned": "v", "baby": "n",
                   "grasped": "v", "miraculously": "r", "was": "v"}
        g.word_class = lambda w: classes.get(w.lower(), "")
        g.inflects_to = lambda token, w: token.lower().startswith(w[:5])
        self.assertEqual(g._shortened_example(
            "The crowds congregated in front of the Vatican on Christmas Eve", "congregate"),
            "The crowds congregated in front of the Vatican")
        # not at a list, not before the word, not on an adverb
        self.assertEqual(g._shortened_example(
            "she weaned her baby when he was 3 months old and started him on powdered milk",
            "wean"), "she weaned her baby when he was 3 months old")
        self.assertIsNone(g._shortened_example(
            "on Christmas Eve in front of the Vatican the crowds slowly congregated", "congregate"))
        self.assertIsNone(g._shortened_example(
            "my hand grasped the gun that was miraculously in my pocket all the time", "miraculously"))

    def test_meaning_that_restates_the_word_by_its_stem_is_circular(self):
        g = self.generator()
        self.assertTrue(g._circular("ineptly", "with ineptitude", stems=True))
        self.assertTrue(g._circular("wryly", "in a wry manner", stems=True))
        self.assertTrue(g._circular("mixing", "the act of mixing together", stems=True))
        # a short word that merely opens the headword is no restatement
        self.assertFalse(g._circular("nowadays", "the period of time that is happening now", stems=True))
        self.assertFalse(g._circular("plateau", "a relatively flat highland", stems=True))

    def test_broader_term_of_another_sense_may_be_a_synonym(self):
        # "slope" is the broader term of the river bank only; the money bank
        # may offer it, the river bank never
        g = self.generator()
        g.rank_of = {"bank": 0}
        river, money = g.wn.senses("bank", "n")
        self.assertNotIn("slope", g.synonyms("bank", "bank", river, [river, money]))
        self.assertEqual(g._own_hypernym_words(money), {"institution", "establishment"})
        self.assertEqual(g._own_hypernym_words(river), {"slope", "incline"})


class ShorterWordingTest(unittest.TestCase):
    def test_common_openings_are_shortened_keeping_the_sense(self):
        self.assertEqual(rewrites("of or relating to the philosophical study of ethics")[0],
                         "relating to the philosophical study of ethics")
        self.assertEqual(rewrites("the act of arriving at a certain place")[0],
                         "arriving at a certain place")
        self.assertEqual(rewrites("any of various small birds of the family Paridae")[0],
                         "a small bird of the family Paridae")
        self.assertEqual(rewrites("a person who teaches")[0], "one who teaches")
        # a person described by a participle keeps what tells the word apart
        self.assertEqual(fit_meaning("a person trained to travel in a spacecraft", 40),
                         ("one trained to travel in a spacecraft", False))

    def test_cut_never_ends_on_a_demonstrative(self):
        meaning, _cut = fit_meaning("a social class comprising those who do manual labor")
        self.assertIsNotNone(meaning)
        self.assertNotIn(meaning.split()[-1], {"those", "these"})

    def test_cut_never_leaves_an_adverb_without_what_it_qualifies(self):
        for definition, width in (("the activity of formally presenting something to an audience", 26),
                                  ("a secret word known only to the members of a group", 25),
                                  ("the quality of being widely admired or accepted or sought after", 27)):
            meaning, _cut = fit_meaning(definition, width)
            self.assertFalse(meaning and meaning.split()[-1] in {"formally", "only", "widely"}, meaning)
        # a verb's manner adverb ends its phrase well
        self.assertEqual(fit_meaning("move slowly; in the case of people or animals", 30)[0], "move slowly")

    def test_one_of_two_alternatives_is_kept_only_when_both_are_whole(self):
        # "marked by" needs its object: "showing or marked by joy" stays
        self.assertEqual(rewrites("enjoying or showing or marked by joy or pleasure")[-1],
                         "enjoying or showing or marked by joy")
        self.assertEqual(rewrites("free from dirt or impurities"), ["free from dirt"])

    def test_alternatives_of_verbs_or_adverbs_and_joined_kinds_are_left_alone(self):
        # "conforming exactly exactly", "rule power", "a kind of game" were wrong
        self.assertEqual(rewrites("conforming exactly or almost exactly to fact", word_class), [])
        self.assertEqual(rewrites("rule or exercise power over somebody", word_class), [])
        self.assertEqual(rewrites("any of various game and food fishes", word_class), [])
        self.assertEqual(rewrites("any of various water-soluble compounds", word_class),
                         ["a water-soluble compound"])

    def test_cut_that_keeps_only_the_genus_is_no_meaning_when_strict(self):
        text = "a woman's garment that exposes the shoulders and has no shoulder straps"
        self.assertEqual(fit_meaning(text, 40, "n", word_class), ("a woman's garment", True))
        self.assertEqual(fit_meaning(text, 40, "n", word_class, strict=True), (None, True))
        # a noun is never cut from its "of" phrase (a body | of water), and
        # a body of water is water
        self.assertEqual(fit_meaning("a strip of land projecting into a body of water", 40, "n",
                                     word_class, strict=True),
                         ("a strip of land projecting into water", False))

    def test_filler_words_go_before_any_cut(self):
        self.assertEqual(fit_meaning("relatively large rodents with sharp spiny bristles",
                                     40, "n", word_class, strict=True),
                         ("large rodents with sharp spiny bristles", False))
        self.assertEqual(rewrites("any of several small active brown birds of the north")[0],
                         "a small active brown bird of the north")
        self.assertEqual(rewrites("any of various aromatic resinous substances")[0],
                         "an aromatic resinous substance")

    def test_fitted_meaning_uses_a_shorter_wording_before_cutting(self):
        meaning, cut = fit_meaning("of or relating to or characteristic of the nature of the world", 40)
        self.assertEqual((meaning, cut), ("relating to the nature of the world", False))

    def test_bare_categories(self):
        for text in ("a person", "the act", "any plant", "a small animal", "of or relating to",
                     "something"):
            self.assertTrue(is_bare(text), text)
        for text in ("a person you know well", "a building where people live", "a seed plant"):
            self.assertFalse(is_bare(text), text)


class OffensiveDefinitionTest(unittest.TestCase):
    """Senses whose definition says they are offensive, where WordNet gives
    no usage domain."""

    LINES = [
        ("n", "00004000 18 n 02 pommy 0 pom 0 000 | a disparaging term for a British person"),
        ("n", "00004100 18 n 02 runt 0 shrimp 0 000 | disparaging terms for small people"),
        ("n", "00004200 05 n 01 shrimp 0 000 | small edible shellfish"),
        ("n", "00004300 10 n 01 dysphemism 0 000 | an offensive or disparaging expression "
              "that is substituted for an inoffensive one"),
        ("n", "00004400 10 n 02 bedlam 0 madhouse 0 000 | (slang) pejorative terms for an insane asylum"),
        ("n", "00004500 10 n 01 madhouse 0 000 | a place of uproar"),
        ("n", "00004600 18 n 01 gringo 0 000 | a Latin American (disparaging) term for foreigners"),
        ("n", "00004700 18 n 02 colored_person 0 colored 0 000 | a term for blacks that is now considered offensive"),
        ("a", "00004800 00 a 01 colored 0 000 | having color"),
        ("n", "00004900 18 n 01 sirrah 0 000 | formerly a contemptuous term of address to a man"),
        ("n", "00005000 10 n 01 four-letter_word 0 000 | short words generally regarded as obscene or offensive"),
        ("n", "00005100 04 n 01 attack 0 000 | an offensive move in a sport or game"),
    ]

    def setUp(self):
        from offensive import Offensive
        self.wn = tiny_wordnet(self.LINES)
        self.o = Offensive(self.wn, profanity=())

    def test_word_with_only_such_senses_is_offensive_and_the_others_keep_their_harmless_senses(self):
        wn, o = self.wn, self.o
        self.assertTrue(o.word("pom") and o.word("pommy") and o.word("runt"))
        # the shellfish keeps shrimp, though WordNet's texts never use it
        self.assertFalse(o.word("shrimp"))
        self.assertTrue(o.sense("shrimp", wn.synsets[("n", 4100)]))
        self.assertFalse(o.sense("shrimp", wn.synsets[("n", 4200)]))
        # a word for such words is no such word
        self.assertFalse(o.word("dysphemism"))
        self.assertTrue(o.sense("bedlam", wn.synsets[("n", 4400)]))
        self.assertFalse(o.word("madhouse"))

    def test_the_warning_may_stand_inside_the_definition(self):
        wn, o = self.wn, self.o
        self.assertTrue(o.word("gringo") and o.word("sirrah") and o.word("colored person"))
        # the colour keeps its word; the term for people is marked
        self.assertFalse(o.word("colored"))
        self.assertTrue(o.sense("colored", wn.synsets[("n", 4700)]))
        self.assertFalse(o.word("four-letter word"))
        self.assertFalse(o.word("attack"))


class ShortFormTest(unittest.TestCase):
    def test_numerals_and_clipped_forms_are_no_synonyms(self):
        for text, head in (("iv", "four"), ("min", "minute"), ("hr", "hour"), ("fig", "figure")):
            self.assertTrue(Generator._short_form(text, head), text)
        for text, head in (("big", "large"), ("car", "automobile"), ("pal", "friend"), ("hat", "hate")):
            self.assertFalse(Generator._short_form(text, head), text)

    def test_other_spellings_are_no_synonyms(self):
        for text, head in (("favourite", "favorite"), ("theatre", "theater"), ("encyclopaedia", "encyclopedia"),
                           ("baby sitting", "babysitting"), ("freelance", "freelancer")):
            self.assertTrue(Generator._spelling_variant(text, head), text)
        for text, head in (("stutter", "stammer"), ("die", "dice"), ("photo", "photograph"),
                           ("repulsion", "revulsion"), ("golden", "gilded")):
            self.assertFalse(Generator._spelling_variant(text, head), text)


class CoreTest(unittest.TestCase):
    LINE = "bank\tnoun\t2\ta business that keeps and lends money\t-\t\tHe paid the bank.\tsense, meaning"

    def test_reviewed_line_overrides_only_its_filled_fields(self):
        e = parse_core([self.LINE])["bank"]
        self.assertEqual((e.pos, e.sense, e.meaning), ("n", 2, "a business that keeps and lends money"))
        self.assertEqual(e.synonyms, [])       # "-": left empty
        self.assertIsNone(e.antonyms)          # empty: the rules' antonyms
        self.assertEqual(e.usage, "He paid the bank.")

    def test_malformed_lines_are_refused(self):
        for bad in ("bank\tnoun\t2", "bank\tthing\t\t\t\t\t\tnote",
                    "bank\tnoun\t\t\t\t\t\t"):
            with self.assertRaises(ValueError):
                parse_core([bad])
        with self.assertRaises(ValueError):
            parse_core([self.LINE, self.LINE])

    def test_core_entry_replaces_the_generated_fields(self):
        from offensive import Offensive
        wn = tiny_wordnet(SenseAndSynonymTest.LINES, SenseAndSynonymTest.COUNTS)
        core = parse_core(["bank\tnoun\t1\tthe land beside a river\triverside\t-\t-\treviewed"])
        g = Generator(wn, {}, {"bank": "B AE1 NG K"}, Offensive(wn, profanity=()), core)
        e = g.entry("bank", ["n"])
        self.assertEqual(e["meaning"], "the land beside a river")
        self.assertEqual(e["synonyms"], ["riverside", "", ""])
        self.assertEqual(e["usage"], "")
        out = parse_core(["bank\tnoun\t\t-\t\t\t\treviewed: no everyday use"])
        self.assertIsNone(Generator(wn, {}, {"bank": "B AE1 NG K"}, Offensive(wn, profanity=()), out)
                          .entry("bank", ["n"]))
        # a reviewed word for which the rules find no meaning is an error, not a word lost
        silent = parse_core(["bank\tnoun\t\t\triverside\t\t\treviewed"])
        g = Generator(wn, {}, {"bank": "B AE1 NG K"}, Offensive(wn, profanity=()), silent)
        g.choose_sense = lambda *args: (wn.senses("bank", "n")[0], None, False)
        with self.assertRaises(ValueError):
            g.entry("bank", ["n"])
        # a written synonym may be a broader term of another sense, never of its own
        for line, refused in (("bank\tnoun\t2\t\tinstitution\t\t\treviewed", True),
                              ("bank\tnoun\t2\t\tslope\t\t\treviewed", False),
                              ("bank\tnoun\t1\t\tslope\t\t\treviewed", True),
                              # a meaning written without its sense may be either bank
                              ("bank\tnoun\t\ta business that keeps money\tslope\t\t\treviewed", True),
                              ("bank\tnoun\t2\ta business that keeps money\tslope\t\t\treviewed", False)):
            g = Generator(wn, {}, {"bank": "B AE1 NG K"}, Offensive(wn, profanity=()), parse_core([line]))
            if refused:
                self.assertRaises(ValueError, g.entry, "bank", ["n"])
            else:
                self.assertEqual(g.entry("bank", ["n"])["synonyms"][0], "slope")
        bad = parse_core(["bank\tnoun\t\ta person\t\t\t\treviewed"])
        with self.assertRaises(ValueError):
            Generator(wn, {}, {"bank": "B AE1 NG K"}, Offensive(wn, profanity=()), bad).entry("bank", ["n"])
        # a sense number WordNet does not have is named, not a crash
        beyond = parse_core(["bank\tnoun\t9\t\triverside\t\t\treviewed"])
        with self.assertRaisesRegex(ValueError, "sense 9, but WordNet has 2"):
            Generator(wn, {}, {"bank": "B AE1 NG K"}, Offensive(wn, profanity=()), beyond).entry("bank", ["n"])
        # nor for a part of speech WordNet lacks, nor for want of a pronunciation
        verb = parse_core(["bank\tverb\t\t\triverside\t\t\treviewed"])
        with self.assertRaisesRegex(ValueError, "part of speech"):
            Generator(wn, {}, {"bank": "B AE1 NG K"}, Offensive(wn, profanity=()), verb).entry("bank", ["n"])
        unheard = parse_core(["bank\tnoun\t1\t\triverside\t\t\treviewed"])
        g = Generator(wn, {}, {"bank": "B AE1 NG K"}, Offensive(wn, profanity=()), unheard)
        g.pronunciation = lambda *args: ""
        with self.assertRaisesRegex(ValueError, "pronunciation"):
            g.entry("bank", ["n"])
        # an unreviewed word without one is simply not an entry
        g = Generator(wn, {}, {"bank": "B AE1 NG K"}, Offensive(wn, profanity=()), {})
        g.pronunciation = lambda *args: ""
        self.assertIsNone(g.entry("bank", ["n"]))

    def test_every_refused_line_is_reported_in_one_run(self):
        from offensive import Offensive
        wn = tiny_wordnet(SenseAndSynonymTest.LINES, SenseAndSynonymTest.COUNTS)
        lines = ["bank\tverb\t\t\triverside\t\t\treviewed",
                 "slope\tnoun\t\ta person\t\t\t\treviewed"]
        g = Generator(wn, {}, {"bank": "B AE1 NG K", "slope": "S L OW1 P"},
                      Offensive(wn, profanity=()), parse_core(lines))
        g.rank = lambda: [("bank", ["n"]), ("slope", ["n"])]
        with self.assertRaises(ValueError) as caught:
            g.generate(count=2)
        message = str(caught.exception)
        self.assertIn("refused (2)", message)
        self.assertIn("bank: WordNet has no sense", message)
        self.assertIn("slope: bare category", message)


class StandInTest(unittest.TestCase):
    """A reviewed line may offer a broader term only where the stand-ins
    list names that very pair; the rules never offer one."""

    def entry(self, line, stand_ins):
        from offensive import Offensive
        wn = tiny_wordnet(SenseAndSynonymTest.LINES, SenseAndSynonymTest.COUNTS)
        g = Generator(wn, {}, {"bank": "B AE1 NG K"}, Offensive(wn, profanity=()), parse_core([line]), stand_ins)
        return g.entry("bank", ["n"])

    def test_only_the_listed_pair_is_exempt(self):
        line = "bank\tnoun\t2\t\tinstitution;depository\t\t\treviewed"
        listed = {("bank", "institution"): "the plain word"}
        self.assertEqual(self.entry(line, listed)["synonyms"][:2], ["institution", "depository"])
        # unlisted, or listed for another word, the broader term is still refused
        for other in ({}, {("depository", "institution"): "the plain word"}):
            with self.assertRaises(ValueError):
                self.entry(line, other)
        # the rules' own synonyms never take it, listed or not
        self.assertNotIn("institution", self.entry("bank\tnoun\t2\t\t\t\t\treviewed", {})["synonyms"])

    def test_listed_pair_must_be_offered_and_related(self):
        line = "bank\tnoun\t2\t\tinstitution\t\t\treviewed"
        for stale in ({("bank", "institution"): "r", ("bank", "establishment"): "not offered"},
                      # slope is broader than the river bank only, not the sense shown
                      {("bank", "institution"): "r", ("bank", "slope"): "another sense"}):
            with self.assertRaises(ValueError):
                self.entry(line.replace("institution", "institution;slope"), stale)

    def test_malformed_lines_are_refused(self):
        from core import parse_stand_ins
        self.assertEqual(parse_stand_ins(["# comment", "King\tMonarch\tthe plain word"]),
                         {("king", "monarch"): "the plain word"})
        for bad in (["king\tmonarch"], ["king\tmonarch\t "], ["king\tmonarch\tr", "king\tmonarch\tr"]):
            with self.assertRaises(ValueError):
                parse_stand_ins(bad)


class ReviewedHeadwordTest(unittest.TestCase):
    """A reviewed line with a part of speech makes its word a headword
    candidate where the rules would take it for a function word or for an
    inflection (bed: not be + -d)."""

    LINES = [("n", "00006000 10 n 01 hello 0 000 | an expression of greeting"),
             ("n", "00006100 06 n 01 bed 0 000 | a piece of furniture that provides a place to sleep"),
             ("v", "00006200 42 v 01 be 0 000 | have the quality of being")]
    COUNTS = {("be", "v", 6200): 900, ("bed", "n", 6100): 5}

    def ranked(self, lines):
        wn = tiny_wordnet(self.LINES, self.COUNTS)
        g = Generator(wn, {}, {}, core=parse_core(lines))
        return dict(g.rank())

    def test_only_a_reviewed_part_of_speech_brings_the_word_in(self):
        self.assertEqual(sorted(self.ranked([])), ["be"])
        ranked = self.ranked(["hello\tnoun\t\t\t\t\t\treviewed", "bed\tnoun\t\t\t\t\t\treviewed"])
        self.assertEqual((ranked["hello"], ranked["bed"]), (["n"], ["n"]))
        # not without a part of speech, nor in one WordNet lacks, nor when reviewed out
        for line in ("hello\t\t\t\t\t\t\treviewed", "hello\tverb\t\t\t\t\t\treviewed",
                     "hello\tnoun\t\t-\t\t\t\treviewed: no everyday use"):
            self.assertNotIn("hello", self.ranked([line]), line)


class AddedWordTest(unittest.TestCase):
    """A word in the additions takes its empty fields from the rules every
    other word gets; a core word from the lenient ones it was reviewed under."""

    LINES = [("v", '00005000 41 v 01 congregate 0 000 | come together; '
                   '"The crowds congregated in front of the Vatican on Christmas Eve"')]
    LINE = "congregate\tverb\t\t\tgather;assemble\t\t\treviewed"

    def entry(self, reviewed):
        from offensive import Offensive
        wn = tiny_wordnet(self.LINES)
        g = Generator(wn, {}, {"congregate": "K AA1 NG G R IH0 G EY2 T"}, Offensive(wn, profanity=()), reviewed)
        g.word_class = lambda w: {"congregated": "v", "crowds": "nv"}.get(w.lower(), "")
        g.inflects_to = lambda token, w: token.lower().startswith(w[:5])
        g.rank_of = {"congregate": 0}
        return g.entry("congregate", ["v"])

    def test_empty_fields_of_an_added_word_are_what_the_rules_give(self):
        plain = self.entry({})
        added = parse_core([self.LINE])
        added["congregate"].in_core = False
        e = self.entry(added)
        self.assertEqual(e["synonyms"], ["gather", "assemble", ""])
        self.assertEqual((e["meaning"], e["usage"]), (plain["meaning"], plain["usage"]))
        self.assertEqual(e["usage"], "The crowds congregated in front of the Vatican.")
        # a core word keeps the example as it was reviewed: not shortened
        self.assertEqual(self.entry(parse_core([self.LINE]))["usage"], "")


class WrittenOrderTest(unittest.TestCase):
    """Written English orders words the spoken counts do not tell apart,
    without changing how strictly any word is held."""

    LINES = [("n", "00001000 05 n 01 aardwolf 0 000 | a striped hyena-like mammal"),
             ("n", "00002000 05 n 01 sidereal_time 0 000 | time by the stars"),
             ("a", "00003000 00 a 01 sidereal 0 000 | of the stars"),
             ("a", "00004000 00 a 01 open-minded 0 000 | ready to hear new ideas"),
             ("n", "00005000 05 n 01 Zamia 0 000 | a genus of cycads"),
             ("n", "00006000 05 n 01 zymase 0 000 | an enzyme in yeast"),
             ("n", "00007000 05 n 01 zymase 0 000 | a second sense"),
             ("n", "00008000 05 n 01 cat 0 000 | a small pet")]
    COUNTS = {("cat", "n", 8000): 10}

    def ranked(self, written):
        g = Generator(tiny_wordnet(self.LINES, self.COUNTS), {}, {}, written=written)
        return [w for w, _p in g.rank()], g

    def test_written_level_orders_words_no_count_tells_apart(self):
        order, g = self.ranked({"sidereal": 50, "open": 10, "minded": 35})
        self.assertEqual(order[:3], ["cat", "open-minded", "sidereal"])
        # more senses first among the rest, names last, whatever the alphabet
        self.assertEqual(order[3:], ["zymase", "aardwolf", "zamia"])
        self.assertEqual(g.written_level("open-minded"), 40)  # one below "minded"
        # the ranks that set how strict a meaning must be are the counts' own
        plain = Generator(tiny_wordnet(self.LINES, self.COUNTS), {}, {})
        plain.rank()
        self.assertEqual(g.rank_of, plain.rank_of)

    def test_without_written_lists_the_counts_alone_decide(self):
        order, _g = self.ranked(None)
        self.assertEqual(order[-1], "zamia")


class WrittenExampleTest(unittest.TestCase):
    """A written example fills an entry without one, only for the meaning
    it was written for, and a line that no longer fits stops generation."""

    LINES = [("n", "00006000 05 n 01 juice 0 000 | the liquid part of a fruit"),
             ("n", '00007000 05 n 01 rain 0 000 | water falling from clouds; "the rain fell all day"')]
    CMU = {"juice": "JH UW1 S", "rain": "R EY1 N"}

    def generator(self, lines):
        from examples import parse_examples
        from offensive import Offensive
        wn = tiny_wordnet(self.LINES)
        g = Generator(wn, {"juice": 900, "rain": 800}, self.CMU, Offensive(wn, profanity=("damn",)),
                      examples=parse_examples(lines))
        g.rank_of = {"juice": 0, "rain": 1}
        return g

    def test_fills_an_entry_without_an_example(self):
        g = self.generator(["juice\tthe liquid part of a fruit\tShe drank a glass of juice.\tA"])
        self.assertEqual(g.entry("juice", ["n"])["usage"], "She drank a glass of juice.")
        self.assertEqual(g._examples_refused, [])

    def test_refuses_a_line_that_does_not_fit_the_entry(self):
        cases = {
            "juice\ta drink of pressed fruit\tShe drank a glass of juice.\tA": "now means",
            "rain\twater falling from clouds\tRain is wet.\tA": "has an example of its own",
            "juice\tthe liquid part of a fruit\tShe drank a glass of milk.\tA": "not in",
            "juice\tthe liquid part of a fruit\tThe damn juice spilled.\tA": "offensive",
        }
        for line, problem in cases.items():
            g = self.generator([line])
            word = line.split("\t")[0]
            e = g.entry(word, ["n"])
            self.assertEqual(e["usage"], "" if word == "juice" else "the rain fell all day", line)
            self.assertEqual(len(g._examples_refused), 1, line)
            self.assertIn(problem, g._examples_refused[0])

    def test_malformed_lines_are_refused(self):
        from examples import parse_examples
        bad = ["juice\tthe liquid\tShe drank juice.",                      # no writer
               "juice\tthe liquid\tshe drank juice.\tA",                  # no capital
               "juice\tthe liquid\tShe drank juice\tA",                   # no full stop
               "juice\tthe liquid\tShe drank \"juice\".\tA",             # a quote
               "juice\tthe liquid\t" + "A" * 47 + "juice.\tA",           # 53 characters
               "juice\tthe liquid\tShe drank jus\u00e9.\tA"]              # not ASCII
        for line in bad:
            with self.assertRaises(ValueError, msg=line):
                parse_examples([line])
        with self.assertRaises(ValueError):
            parse_examples(["juice\tx\tJuice.\tA", "Juice\tx\tJuice!\tB"])

    def test_check_reads_the_offensive_list_the_generator_wrote(self):
        import tempfile
        from examples import check_lines, parse_examples
        from offensive import Offensive
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "offensive.txt")
            with open(path, "w", encoding="ascii") as fh:
                fh.write("# written by gendict.py\ndamn\n")
            offensive = Offensive.from_list(path)
        rows = [{"word": "juice", "meaning": "the liquid part of a fruit", "usage": ""}]
        lines = ["juice\tthe liquid part of a fruit\tThe damn juice spilled.\tA"]
        problems = check_lines(parse_examples(lines), rows, lambda t: set(), offensive)
        self.assertEqual(len(problems), 1)
        self.assertIn("offensive", problems[0])
        self.assertTrue(offensive.sentence("A shitty glass of juice."))  # profane roots too
        self.assertFalse(offensive.sentence("She drank a glass of juice."))


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


class ReviewedPronunciationTest(unittest.TestCase):
    def test_lines_give_phones_for_words_cmu_lacks(self):
        table = parse_pronunciations(["# note", "", "Dork\tD AO1 R K\trhymes with fork"], {"fork": "F AO1 R K"})
        self.assertEqual(table, {"dork": "D AO1 R K"})
        self.assertEqual(respell(table["dork"]), "DORK")

    def test_bad_lines_are_refused(self):
        known = {"fork": "F AO1 R K"}
        for line in ["fork\tF AO1 R K\tstale: CMU has it",  # would hide CMU's own
                     "dork\tD AO1 R K",                       # no note
                     "dork\tD OA1 R K\ttypo",                 # no such phone
                     "dork\tD AO R K\tno stress digit",
                     "dork\tD AO0 R K\tno primary stress"]:
            with self.assertRaises(ValueError, msg=line):
                parse_pronunciations([line], known)
        with self.assertRaises(ValueError):
            parse_pronunciations(["dork\tD AO1 R K\ta", "dork\tD AO1 R K\tb"], known)


if __name__ == "__main__":
    unittest.main()


class SimilarAdjectiveTest(unittest.TestCase):
    """A similar adjective stands in only when it is no far more common,
    looser head of the cluster."""

    LINES = [
        ("a", "00003000 00 a 01 full 0 002 & 00003100 a 0000 & 00003200 a 0000 | containing as much as possible"),
        ("a", "00003100 00 s 01 brimming 0 001 & 00003000 a 0000 | filled to the top"),
        ("a", "00003200 00 s 01 packed 0 001 & 00003000 a 0000 | filled to capacity"),
    ]

    def synonyms_of(self, w, offset):
        from offensive import Offensive
        wn = tiny_wordnet(self.LINES)
        g = Generator(wn, {}, {}, Offensive(wn, profanity=()))
        g.score = {"full": 3.0, "brimming": 0.3, "packed": 1.5}
        g.common_floor = 0.0
        synset = wn.synsets[("a", offset)]
        return g.synonyms(w, w, synset, [synset])

    def test_far_more_common_head_is_no_stand_in(self):
        self.assertEqual(self.synonyms_of("brimming", 3100), [])

    def test_head_about_as_common_stays(self):
        self.assertEqual(self.synonyms_of("packed", 3200), ["full"])


class ReviewedFilesTest(unittest.TestCase):
    def test_word_reviewed_twice_across_the_files_is_refused(self):
        import os
        import tempfile
        from core import load_reviewed
        line = "tablet\tnoun\t4\ta small pill of medicine\tpill\t\t\treviewed\n"
        with tempfile.TemporaryDirectory() as d:
            a, b = os.path.join(d, "a.tsv"), os.path.join(d, "b.tsv")
            for p in (a, b):
                with open(p, "w", encoding="ascii") as fh:
                    fh.write(line)
            with self.assertRaises(ValueError):
                load_reviewed(a, b)
            with open(b, "w", encoding="ascii") as fh:
                fh.write(line.replace("tablet", "octave"))
            self.assertEqual(sorted(load_reviewed(a, b)), ["octave", "tablet"])


class UntaggedSenseTest(unittest.TestCase):
    """When the counts do not tell senses apart, a plant's Latin-named sense
    and a sense labelled with a field come after the everyday one."""

    LINES = [
        ("n", "00004000 20 n 03 chess 0 cheat 0 Bromus_secalinus 0 000 | weedy annual grass"),
        ("n", "00004100 04 n 02 chess 0 chess_game 0 000 | a board game for two players"),
        ("n", "00004200 10 n 01 octave 0 000 | (church) a feast day and the seven days after it"),
        ("n", "00004300 10 n 01 octave 0 000 | a musical interval of eight tones"),
    ]

    def chosen(self, w):
        from offensive import Offensive
        wn = tiny_wordnet(self.LINES)
        g = Generator(wn, {}, {}, Offensive(wn, profanity=()))
        g.rank_of = {w: 0}
        return g.choose_sense(w, "n", wn.senses(w, "n"))[1]

    def test_everyday_sense_first(self):
        self.assertEqual(self.chosen("chess"), "a board game for two players")
        self.assertEqual(self.chosen("octave"), "a musical interval of eight tones")


class UnBeforeAVowelTest(unittest.TestCase):
    # CMU says the stems of these otherwise than on their own, or lacks them
    CMU = {"unusual": "AH0 N Y UW1 ZH UW2 AH0 L", "usual": "Y UW1 ZH AH0 W AH0 L",
           "uneducated": "AH0 N EH1 JH UH0 K EY2 T IH0 D", "educated": "EH1 JH AH0 K EY2 T IH0 D",
           "uneasiness": "AH2 N IY1 Z IY0 N AH0 S", "easy": "IY1 Z IY0",
           "unit": "Y UW1 N AH0 T", "it": "IH1 T", "union": "Y UW1 N Y AH0 N", "ion": "AY1 AH0 N"}

    def test_un_keeps_its_n_before_a_vowel_led_word(self):
        g = Generator(tiny_wordnet([]), {}, self.CMU)
        for word, expected in (("unusual", "un-YOO-zhoo-ul"), ("uneducated", "un-EJ-uu-kay-tid"),
                               ("uneasiness", "un-EE-zee-nus"),
                               # no prefix: these start with a y sound
                               ("unit", "YOO-nut"), ("union", "YOO-nyun")):
            self.assertEqual(g.pronunciation(word), expected, word)
