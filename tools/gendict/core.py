"""The reviewed core: corrections of the most frequent words, kept in
core.tsv beside this file and applied on every regeneration."""

import os

CORE_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "core.tsv")
# reviewed words outside the core that the reviews found wrong or missing
ADDITIONS_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "additions.tsv")
# reviewed synonyms that WordNet files as a broader or narrower term of the
# sense shown, allowed because they are the plain word a writer would use
STAND_INS_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lists", "stand-ins.tsv")
FIELDS = ["word", "pos", "sense", "meaning", "synonyms", "antonyms", "usage", "note"]
POS_CODES = {"noun": "n", "verb": "v", "adjective": "a", "adverb": "r"}


class CoreEntry:
    """One reviewed word. An empty field keeps what the rules give; "-"
    clears a list or the example, and as the meaning leaves the word out; `sense` is the WordNet sense number (1 =
    WordNet's first) in part of speech `pos` whose words the rules use."""

    def __init__(self, values):
        v = dict(zip(FIELDS, values))
        self.word = v["word"]
        self.pos = POS_CODES[v["pos"]] if v["pos"] else ""
        self.sense = int(v["sense"]) if v["sense"] else 0
        self.meaning = v["meaning"]
        self.synonyms = self._list(v["synonyms"])
        self.antonyms = self._list(v["antonyms"])
        self.usage = None if v["usage"] == "" else ("" if v["usage"] == "-" else v["usage"])
        self.note = v["note"]
        # a core word's empty fields come from the lenient rules it was
        # reviewed under; an added word's from the rules every other word gets
        self.in_core = True

    @staticmethod
    def _list(text):
        if text == "":
            return None
        if text == "-":
            return []
        return [x.strip() for x in text.split(";") if x.strip()]


def parse_core(lines):
    """{lowercase word: CoreEntry} from tab-separated lines; '#' starts a
    comment line. Raises ValueError on a malformed line."""
    table = {}
    for n, line in enumerate(lines, 1):
        line = line.rstrip("\r\n")
        if not line.strip() or line.startswith("#"):
            continue
        values = line.split("\t")
        if len(values) != len(FIELDS):
            raise ValueError("core line %d: %d fields, not %d" % (n, len(values), len(FIELDS)))
        if values[1] and values[1] not in POS_CODES:
            raise ValueError("core line %d: part of speech %r" % (n, values[1]))
        e = CoreEntry(values)
        if e.word.lower() in table:
            raise ValueError("core line %d: %s twice" % (n, e.word))
        if not e.note:
            raise ValueError("core line %d: no note of what was reviewed" % n)
        table[e.word.lower()] = e
    return table


def load_core(path=CORE_FILE):
    if not os.path.exists(path):
        return {}
    with open(path, encoding="ascii") as fh:
        return parse_core(fh)


def load_reviewed(core_path=CORE_FILE, additions_path=ADDITIONS_FILE):
    """The core and the additions as one table; a word in both is an error."""
    table = load_core(core_path)
    for word, e in load_core(additions_path).items():
        if word in table:
            raise ValueError("%s is reviewed both in the core and in the additions" % word)
        e.in_core = False
        table[word] = e
    return table


def three_field_rows(lines, what, fields):
    """(line number, values) of tab-separated lines of three non-empty
    fields; '#' starts a comment. Raises ValueError on any other line."""
    for n, line in enumerate(lines, 1):
        line = line.rstrip("\r\n")
        if not line.strip() or line.startswith("#"):
            continue
        values = [v.strip() for v in line.split("\t")]
        if len(values) != 3 or not all(values):
            raise ValueError("%s line %d: %s needed" % (what, n, fields))
        yield n, values


def parse_stand_ins(lines):
    """{(lowercase word, lowercase synonym): reason} from tab-separated
    lines of word, synonym and why it stands in; '#' starts a comment.
    Raises ValueError on a line without its three fields or its reason,
    or on a pair listed twice."""
    table = {}
    for n, values in three_field_rows(lines, "stand-ins", "word, synonym and reason"):
        pair = (values[0].lower(), values[1].lower())
        if pair in table:
            raise ValueError("stand-ins line %d: %s: %s twice" % (n, values[0], values[1]))
        table[pair] = values[2]
    return table


def load_stand_ins(path=STAND_INS_FILE):
    if not os.path.exists(path):
        return {}
    with open(path, encoding="ascii") as fh:
        return parse_stand_ins(fh)
