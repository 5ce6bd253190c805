"""Words the default dictionary never offers: those WordNet marks as an
ethnic slur, an obscenity or vulgarism, or a disparagement, and those on
the profanity lists kept in lists/ (profanity-en.txt as published,
profanity-extra.txt our own additions)."""

import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))
PROFANITY_FILES = (os.path.join(HERE, "lists", "profanity-en.txt"),
                   os.path.join(HERE, "lists", "profanity-extra.txt"))

# WordNet's usage-domain synsets (data.noun offsets) that mark a word as
# offensive: disparagement, ethnic slur, obscenity/vulgarism.
OFFENSIVE_DOMAINS = frozenset({6717170, 6718862, 7124340})

# Marked words whose everyday sense is plainly harmless, though WordNet's
# texts never use it (a screw that fastens, a rice paddy, a taco to eat).
HARMLESS_USES = frozenset("dike guinea madhouse mickey paddy screw shag taco throwaway tom".split())

# Profane roots that stay profane inside a longer word (shithead,
# motherfucking); shorter or ambiguous entries (ass, cock, dick) match
# whole words only.
PROFANE_ROOTS = ("shit", "fuck", "cunt", "nigger", "nigga", "bitch", "twat", "wank", "piss",
                 "slut", "whore", "faggot")

TOKEN = re.compile(r"[a-z0-9]+(?:['-][a-z0-9]+)*")


def load_profanity(paths=PROFANITY_FILES):
    words = set()
    for path in paths:
        with open(path, encoding="ascii") as fh:
            words.update(line.strip().lower() for line in fh
                         if line.strip() and not line.startswith("#"))
    return sorted(words)


# A definition that says its words are offensive ("a disparaging term for
# a British person", "(ethnic slur) offensive term for ...", "a Latin
# American (disparaging) term for foreigners", "a term for blacks that is
# now considered offensive"), where WordNet left out the usage domain; not
# one that only talks about such words (dysphemism, expurgator).
_SLIGHTING = r"(?:offensive|obscene|vulgar|disparaging|pejorative|derogatory|contemptuous)"
OFFENSIVE_GLOSS = re.compile(
    r"^(?:\([^)]*\) )*(?:formerly |now )?(?:an? |the )?(?:\w+ )?(?:but |and |or )?" + _SLIGHTING
    + r"(?: (?:and|or) \w+)?(?: slang)? (?:slang|terms?|names?|words?|expressions?|forms? of address)\b"
    r"|\((?:sometimes |often |usually )?" + _SLIGHTING + r"(?: [a-z]+)*\) (?:terms?|names?|words?)\b"
    r"|\b(?:terms?|names?|words?)\b[^;]*\b(?:considered|regarded as) " + _SLIGHTING)

# Words for such words, not offensive themselves.
WORDS_ABOUT_WORDS = frozenset({"dysphemism", "obscenity", "curse", "four-letter_word"})


def marked_words(wn):
    """({(pos, offset): {lowercase forms}}, {(pos, offset)}): the words of
    each synset that WordNet puts in an offensive usage domain, by the
    synset as a whole or by the word alone, or whose definition says they
    are offensive; and the synsets marked by their definition alone."""
    marked, glossed = {}, set()
    for key in sorted(wn.synsets):
        s = wn.synsets[key]
        if OFFENSIVE_GLOSS.search(s.definition.lower()) and s.words[0][0].lower() not in WORDS_ABOUT_WORDS:
            marked.setdefault(key, set()).update(f.lower().replace("_", " ") for f, _l in s.words)
            glossed.add(key)
        for sym, off, tpos, src, _dst in s.pointers:
            if sym == ";u" and tpos == "n" and off in OFFENSIVE_DOMAINS:
                forms = [s.words[src - 1][0]] if src else [f for f, _l in s.words]
                marked.setdefault(key, set()).update(f.lower().replace("_", " ") for f in forms)
                glossed.discard(key)
    return marked, glossed


class Offensive:
    def __init__(self, wn, profanity=None):
        self.marked, glossed = marked_words(wn)
        self.words = set(load_profanity() if profanity is None else profanity)
        for key in sorted(self.marked):
            for form in sorted(self.marked[key]):
                if form in HARMLESS_USES:
                    continue
                lemma = form.replace(" ", "_")
                # offensive as a word unless another of its senses is in
                # real use (a boy, a suit, a queen)
                others = [(p, o) for p in "nvar" for o in wn.index.get((p, lemma), [])
                          if form not in self.marked.get((p, o), ())]
                if key in glossed:
                    # marked by its definition alone: WordNet's texts rarely use
                    # the other senses of these (bedlam, shrimp, runt), which are
                    # harmless, so any other sense keeps the word
                    if not others:
                        self.words.add(form)
                    continue
                if not any(wn.count(lemma, p, o) > 0 for p, o in others):
                    self.words.add(form)

    @classmethod
    def from_list(cls, path=os.path.join(HERE, "lists", "offensive.txt")):
        """The words as the generator last wrote them, for tools that check
        written lines without reading WordNet's usage domains again."""
        self = cls.__new__(cls)
        self.marked = {}
        self.words = set(load_profanity((path,)))
        return self

    def word(self, text):
        """True for a word or phrase that is offensive or contains an
        offensive word."""
        low = text.lower().replace("_", " ")
        if low in self.words or any(r in low for r in PROFANE_ROOTS):
            return True
        return any(t in self.words for t in TOKEN.findall(low))

    def sense(self, form, synset):
        """True when `form` is offensive in this sense or as a word."""
        low = form.lower().replace("_", " ")
        return low in self.marked.get((synset.pos, synset.offset), ()) or self.word(low)

    def sentence(self, text):
        low = " " + " ".join(TOKEN.findall(text.lower())) + " "
        return any(" %s " % w in low for w in self.words) or any(r in low for r in PROFANE_ROOTS)
