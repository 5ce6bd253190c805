"""Reader for the WordNet 3.0 database files (wndb(5), senseidx(5)) and
WordNet's morphological rules (morphy(7WN))."""

import os
import re

POS_NAMES = {"n": "noun", "v": "verb", "a": "adjective", "r": "adverb"}
POS_FILES = {"n": "noun", "v": "verb", "a": "adj", "r": "adv"}
# ss_type digits of a sense key; 5 is an adjective satellite.
SS_TYPE_POS = {"1": "n", "2": "v", "3": "a", "4": "r", "5": "a"}

DETACH_RULES = {
    "n": [("s", ""), ("ses", "s"), ("xes", "x"), ("zes", "z"), ("ches", "ch"),
          ("shes", "sh"), ("men", "man"), ("ies", "y")],
    "v": [("s", ""), ("ies", "y"), ("es", "e"), ("es", ""), ("ed", "e"),
          ("ed", ""), ("ing", "e"), ("ing", "")],
    "a": [("er", ""), ("est", ""), ("er", "e"), ("est", "e")],
    "r": [],
}

_ADJ_MARKER = re.compile(r"\((a|p|ip)\)$")


class Synset:
    __slots__ = ("offset", "pos", "satellite", "lexfile", "words", "pointers",
                 "definition", "examples")

    def __init__(self, offset, pos, satellite, lexfile, words, pointers,
                 definition, examples):
        self.offset = offset
        self.pos = pos
        self.satellite = satellite
        self.lexfile = lexfile
        # [(form as written, lex_id)], phrases still joined by underscores
        self.words = words
        # [(symbol, target offset, target pos, source word no, target word no)]
        self.pointers = pointers
        self.definition = definition
        self.examples = examples

    def is_instance(self):
        return any(p[0] == "@i" for p in self.pointers)


def _split_gloss(gloss):
    """Splits a gloss into its definition and its quoted examples. The
    examples start at the first quote that opens the gloss or follows a
    semicolon; quotes inside the definition become single quotes."""
    m = re.search(r'(?:^|;)\s*"', gloss)
    definition = gloss[: m.start()] if m else gloss
    rest = gloss[m.start():] if m else ""
    examples = re.findall(r'"([^"]*)"', rest)
    definition = definition.replace('"', "'").strip().rstrip(";").strip()
    return definition, [e.strip() for e in examples if e.strip()]


def parse_data_line(line, pos):
    head, _, gloss = line.partition(" | ")
    if not _:
        head, gloss = line.rstrip(), ""
    f = head.split()
    offset = int(f[0])
    lexfile = int(f[1])
    satellite = f[2] == "s"
    count = int(f[3], 16)
    i = 4
    words = []
    for _n in range(count):
        form = _ADJ_MARKER.sub("", f[i])
        words.append((form, int(f[i + 1], 16)))
        i += 2
    pcount = int(f[i])
    i += 1
    pointers = []
    for _n in range(pcount):
        sym, target, tpos, st = f[i], int(f[i + 1]), f[i + 2], f[i + 3]
        tpos = "a" if tpos == "s" else tpos
        pointers.append((sym, target, tpos, int(st[:2], 16), int(st[2:], 16)))
        i += 4
    definition, examples = _split_gloss(gloss.strip())
    return Synset(offset, pos, satellite, lexfile, words, pointers, definition,
                  examples)


class WordNet:
    def __init__(self, root="/usr/share/wordnet"):
        self.root = root
        self.synsets = {}      # (pos, offset) -> Synset
        self.index = {}        # (pos, lemma) -> [offsets in sense order]
        self.tagcount = {}     # (lemma, pos, offset) -> tag count
        self.exceptions = {}   # pos -> {inflected: [bases]}
        for pos, name in POS_FILES.items():
            self._read_data(pos, os.path.join(root, "data." + name))
            self._read_index(pos, os.path.join(root, "index." + name))
            self.exceptions[pos] = self._read_exc(os.path.join(root, name + ".exc"))
        self._read_sense_index(os.path.join(root, "index.sense"))

    def _read_data(self, pos, path):
        with open(path, encoding="latin-1") as fh:
            for line in fh:
                if line.startswith("  "):
                    continue
                s = parse_data_line(line, pos)
                self.synsets[(pos, s.offset)] = s

    def _read_index(self, pos, path):
        with open(path, encoding="latin-1") as fh:
            for line in fh:
                if line.startswith("  "):
                    continue
                f = line.split()
                lemma, synset_cnt, p_cnt = f[0], int(f[2]), int(f[3])
                offsets = [int(x) for x in f[4 + p_cnt + 2:4 + p_cnt + 2 + synset_cnt]]
                self.index[(pos, lemma)] = offsets

    @staticmethod
    def _read_exc(path):
        table = {}
        with open(path, encoding="latin-1") as fh:
            for line in fh:
                f = line.split()
                if len(f) >= 2:
                    table.setdefault(f[0], []).extend(f[1:])
        return table

    def _read_sense_index(self, path):
        with open(path, encoding="latin-1") as fh:
            for line in fh:
                key, offset, _sense_no, count = line.split()
                lemma, _, rest = key.partition("%")
                pos = SS_TYPE_POS[rest[0]]
                self.tagcount[(lemma, pos, int(offset))] = int(count)

    # -- look-ups -------------------------------------------------------

    def senses(self, lemma, pos):
        """Synsets of a lowercase lemma in one part of speech, most frequent first."""
        return [self.synsets[(pos, o)] for o in self.index.get((pos, lemma), [])]

    def count(self, lemma, pos, offset):
        return self.tagcount.get((lemma, pos, offset), 0)

    def is_lemma(self, lemma, pos):
        return (pos, lemma) in self.index

    def base_forms(self, word, pos):
        """Lemmas that `word` is an inflection of in `pos`, not counting itself."""
        bases = []
        for b in self.exceptions[pos].get(word, []):
            if b != word and self.is_lemma(b, pos) and b not in bases:
                bases.append(b)
        for suffix, ending in DETACH_RULES[pos]:
            if word.endswith(suffix) and len(word) > len(suffix):
                b = word[: len(word) - len(suffix)] + ending
                if b != word and self.is_lemma(b, pos) and b not in bases:
                    bases.append(b)
        return bases
