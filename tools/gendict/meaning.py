"""Fits a WordNet definition into the 40-character meaning field."""

import re

# A cut meaning must not stop on one of these: the rest would not read as a
# phrase ("a small piece of", "marked by joy or", "a dwelling that").
DANGLING = frozenset("""
a an the
and or but nor yet so as than that if because whether while although though
unless until when where which who whom whose what how why
his her its their our your my one's someone's something's
of to in on at by for with from into onto upon about over under between
among through without within against toward towards during after before via
per like across along around off out up down near beyond behind beside
is are was were be been being has have had having do does did not no
can could will would shall should may might must
very more most less least such same some any each every all especially usually often
typically mainly chiefly sometimes also etc e.g. i.e. esp.
it those these
rather quite too fairly extremely highly relatively somewhat slightly
only greatly widely
consisting containing including involving relating pertaining resembling
used made characterized marked caused based intended designed
""".split())

RELATIVE_PRONOUNS = frozenset("that which who whom whose".split())

# participles that always want their complement ("an appetizer consisting")
_OPEN_PARTICIPLES = frozenset("""
consisting containing including involving relating pertaining resembling
used made characterized marked caused based intended designed
""".split())

# Words that may stand before an adjective that ends a phrase: "pleasant or
# agreeable", "not new", "something that is hard". An article, a
# preposition or a noun there means the adjective's noun or complement was
# cut off ("a system of world-wide electronic", "a unit of time equal").
_BEFORE_FINAL_ADJECTIVE = frozenset("""
or and but not nor very so too quite rather more most less least
is are was were be been being become becomes became seem seems remain
remains feel feels look looks appear appears get gets getting make makes
render renders
""".split())

# Words that open a remark rather than a definition; a later clause that
# starts with one is no meaning of its own ("usually drunk as an aperitif").
_REMARK_STARTS = frozenset("""
usually especially often sometimes used as e.g. i.e. also etc esp typically
formerly found grown widely originally mostly chiefly mainly in for by from
with when thrown drawn named called it its the this these they he she
extended
""".split())
# Noun definitions start with one of these; a later clause that does not is
# a remark about the thing (";usually salted", ";larger than porpoises").
_NOUN_STARTS = frozenset("a an the any one someone something somebody".split())


def clean_text(text):
    text = re.sub(r"\s+", " ", text).strip()
    return text.rstrip(" ;,:.").strip()


def _bare(word):
    return word.lower().strip("(),;:.`'")


# A whole definition or clause may end on a preposition, as WordNet's
# glosses of verbs and adjectives that take a complement do ("provide
# housing for"), but never on one of these.
NEVER_LAST = frozenset("""
a an the and or but nor yet so than that if because whether while although
though unless which who whom whose
his her its their our your my one's someone's something's
is are was were be been being has have had do does did
can could will would shall should may might must
""".split())


# Before an adverb these show that what the adverb qualifies was cut off
# ("the activity of formally", "the quality of being widely").
_BEFORE_OPEN_ADVERB = frozenset("a an the of being be is are to".split())


# a modal after an article or a possessive is a noun ("left in a will",
# "a must"), and may end a meaning
_MODAL_NOUNS = frozenset("will might can must".split())
_NOUN_MARKERS = frozenset("a an the his her its their our your my one's".split())


def ends_on_function_word(meaning):
    """Whether a whole meaning stops on a word that wants more after it."""
    words = [w.lower() for w in meaning.split()]
    if words[-1] in _MODAL_NOUNS and len(words) > 1 and words[-2] in _NOUN_MARKERS:
        return False
    return words[-1] in NEVER_LAST


def _ends_badly(words, whole=False):
    last = words[-1].lower().rstrip(",;:.")
    if last.endswith("'s") or last.endswith("s'"):
        return True
    if not whole and last.endswith("ly") and len(words) > 1 \
            and words[-2].lower().rstrip(",") in _BEFORE_OPEN_ADVERB:
        return True
    return last in (NEVER_LAST if whole else DANGLING)


def _balanced(text):
    return text.count("(") == text.count(")")


def strip_label(definition):
    """A definition without a leading label in parentheses, such as
    "(baseball)", "(informal)" or "(of hair)"; None when it has none."""
    m = re.match(r"^\([^()]*\)\s*(\S.*)$", definition)
    return m.group(1) if m else None


# Words that start a new phrase: cutting just before one leaves a whole
# phrase behind ("move fast by using one's feet" | "with one foot ...").
PHRASE_STARTS = frozenset("""
with for by in on at from that which who as and or but
usually especially often typically esp. e.g. i.e. such while because
""".split()) | {"whose", "where", "when"}


_DETERMINERS = frozenset("a an the this these those some any each every no his her its their our your my one's".split())
_COORDINATORS = frozenset("or and but nor".split())


def _classes(word, word_class):
    return (word_class(_bare(word)) or "") if word_class else ""


def _class_at(words, i, word_class):
    """The part of speech of words[i] in its place: a word that can be a
    noun is one after an article, a possessive or an adjective ("binary
    compound", "a regard")."""
    classes = _classes(words[i], word_class)
    if not classes:
        return None
    if classes[0] != "n" and "n" in classes and i > 0:
        prev = _bare(words[i - 1])
        prev_classes = _classes(prev, word_class)
        if prev in _DETERMINERS or prev.endswith("'s") or (
                "a" in prev_classes and prev_classes[:1] != "v"):
            return "n"
    return classes[0]


def _complete(words, next_word, word_class, verbs_may_end=False, min_words=2):
    """True when words (a cut of a longer text, `next_word` the first word
    left out) read as a whole phrase: no dangling last word and, where
    `word_class` can tell a word's usual parts of speech, no verb left
    without its object or complement ("a dwelling that serves", "binary
    compound that occurs"), no adjective left without its noun or
    complement ("a system of world-wide electronic", "a unit of time
    equal") and no modifier of a noun that was cut off ("the upper part of
    the human")."""
    if len(words) < min_words or _ends_badly(words):
        return False
    if word_class is None:
        return True
    n = len(words)
    cls = _class_at(words, n - 1, word_class)
    if next_word is not None and not words[-1].endswith(",") \
            and _bare(next_word) not in DANGLING:
        # the cut-off word is a noun, or an adjective after one that can be
        # an adjective too ("a portable | box-shaped")
        following = _classes(next_word, word_class)[:1]
        if following == "n" or (following == "a" and "a" in _classes(words[-1], word_class)):
            return False
    if cls == "v" and not verbs_may_end:
        # only a phrase of participles from its start ("acting or moving")
        for j in range(n - 1, -1, -1):
            w = _bare(words[j])
            if w in _COORDINATORS or _class_at(words, j, word_class) == "r":
                continue
            if _class_at(words, j, word_class) == "v" and (w.endswith("ing") or w.endswith("ed")):
                continue
            return False
        return True
    if " ".join(_bare(w) for w in words[-2:]) in ("each other", "one another"):
        return True
    if cls == "a":
        for j in range(n - 2, -1, -1):
            w = _bare(words[j])
            if w in _COORDINATORS or (_class_at(words, j, word_class) in ("a", "r")
                                       and w not in _DETERMINERS):
                continue
            return w in _BEFORE_FINAL_ADJECTIVE
        return True
    return True


# Nouns that say little without their "of" phrase ("a series | of
# lessons", "a systematic means | of communicating").
_RELATIONAL = frozenset("""
means part parts study act kind type sort form member members piece amount number
state quality process group set series unit collection portion branch division
divisions use lack absence presence source result cause condition
""".split())


def _acceptable(words, next_word=None, word_class=None, verbs_may_end=False, min_words=2,
                strict=False):
    candidate = " ".join(words).rstrip(" ;,:.-")
    ws = candidate.split(" ")
    if is_bare(candidate):
        return None
    if next_word is not None:
        # a cut keeps more than the bare genus ("a weapon", "a visitor")
        content = [w for w in ws if _bare(w) not in _DETERMINERS and _bare(w) not in DANGLING]
        if len(content) < 2:
            return None
        if strict and word_class:
            # what describes the last noun is not cut off: "behaving in
            # ways | considered typical", "the care | and supervision of a
            # child"
            nb = _bare(next_word)
            if nb.endswith("ed") and "v" in _classes(nb, word_class):
                return None
        # a head noun needs what it is of ("relating to the study | of war",
        # "a systematic means | of communicating"); with `strict` any noun
        # does (a strip of land projecting into a body | of water)
        if _bare(next_word) == "of" and (strict or _bare(ws[-1]) in _RELATIONAL or "the" in
                                         [_bare(w) for w in ws[-3:]]):
            return None
        # a relative clause is kept only with its verb and object ("a
        # weapon that squirts ignited fuel", not "a manner of living that
        # reflects")
        for j, w in enumerate(ws[1:], 1):
            if _bare(w) in RELATIVE_PRONOUNS and (len(ws) - j - 1 < 2 or (
                    word_class and _class_at(ws, len(ws) - 1, word_class) != "n")):
                return None
            # "a passage by which a bodily fluid": a clause without its verb
            if strict and word_class and _bare(w) in RELATIVE_PRONOUNS | {"where", "whereby"} and not any(
                    "v" in _classes(x, word_class) for x in ws[j + 1:]):
                return None
        if word_class and len(ws) >= 2 and _bare(ws[-2]) in ("a", "an", "the") \
                and _class_at(ws, len(ws) - 1, word_class) != "n":
            return None  # "an open", "the mechanical"
        last = _bare(ws[-1])
        if word_class and (last.endswith("ed") or last.endswith("ing")) \
                and _bare(next_word) in DANGLING and _bare(next_word) not in _COORDINATORS \
                and "v" in _classes(last, word_class):
            return None  # "a room equipped | with", "concerning or belonging | to"
    if _balanced(candidate) and _complete(ws, next_word, word_class, verbs_may_end, min_words):
        return candidate
    return None


def cut_at_words(text, width, word_class=None, verbs_may_end=False, min_words=2, strict=False):
    """A word-boundary prefix of `text` within `width` that reads as a whole
    phrase (see `_complete`): preferably one that stops before a new phrase
    and keeps half the width or more, else the longest. None when no such
    prefix has two words or more."""
    words = text.split(" ")
    n = 0
    length = -1
    while n < len(words) and length + 1 + len(words[n]) <= width:
        length += 1 + len(words[n])
        n += 1
    def nxt(k):
        if strict and k < len(words) and words[k].lower() in ("and", "or") \
                and "of" in [w.lower() for w in words[k + 1:k + 4]]:
            return "of"  # "the care | and supervision of a child": the noun's "of" goes too
        return words[k] if k < len(words) else None
    for k in range(n, 1, -1):
        at_boundary = k == len(words) or words[k - 1].endswith(",") \
            or words[k].lower() in PHRASE_STARTS
        if at_boundary:
            candidate = _acceptable(words[:k], nxt(k), word_class, verbs_may_end, min_words, strict)
            if candidate and len(candidate) >= width // 2:
                return candidate
    for k in range(n, min_words - 1, -1):
        candidate = _acceptable(words[:k], nxt(k), word_class, verbs_may_end, min_words, strict)
        if candidate:
            return candidate
    return None


def leading_clauses(definition):
    """The definition and the parts of it that end at a clause boundary:
    each leading run of ';'-separated clauses, and of ','-separated parts
    within the first clause."""
    whole = clean_text(definition)
    out = [whole]
    semis = [clean_text(c) for c in whole.split(";") if clean_text(c)]
    for i in range(len(semis) - 1, 0, -1):
        out.append("; ".join(semis[:i]))
    if semis:
        commas = semis[0].split(",")
        for i in range(len(commas) - 1, 0, -1):
            out.append(clean_text(",".join(commas[:i])))
    return [c for c in out if c]


def later_clauses(definition):
    """The ';'-separated clauses after the first."""
    semis = [clean_text(c) for c in clean_text(definition).split(";")]
    return [c for c in semis[1:] if c]


def whole_clauses(definition):
    """Every text that a meaning may be without being cut: the definition,
    its leading clauses, each later clause on its own, and the same for the
    definition without a leading label such as "(baseball)"."""
    out = []
    for text in (definition, strip_label(clean_text(definition))):
        if text:
            for c in leading_clauses(text) + later_clauses(text):
                if c not in out:
                    out.append(c)
    return out


def _standalone_later_clause(clause, pos, word_class=None):
    """True for a later clause that reads as a definition of its own (feel
    remorse for; *feel sorry for*), not a remark about the thing defined
    (a glass vessel; *usually propelled by ...*)."""
    words = clause.split(" ")
    first = words[0].lower()
    if len(words) < 2 or not _balanced(clause) or _ends_badly(words, True):
        return False
    if pos == "n":
        return first in _NOUN_STARTS
    if first in _REMARK_STARTS:
        return False
    if word_class is None:
        return True
    # a verb's clause starts with a verb (feel sorry for), an adjective's
    # or adverb's with an adjective, adverb or participle (not shakable)
    classes = _classes(first, word_class)
    if pos == "v":
        return "v" in classes or first in ("be", "have", "do")
    return first == "not" or classes[:1] in ("a", "r") or (
        "v" in classes and (first.endswith("ing") or first.endswith("ed")))


_HERE = __import__("os").path.dirname(__import__("os").path.abspath(__file__))
_DETERMINERS_BARE = ("a", "an", "the", "any", "some", "one", "another")


def _load_bare(path=_HERE + "/lists/bare-categories.txt"):
    words, phrases = set(), set()
    with open(path, encoding="ascii") as fh:
        for line in fh:
            line = line.strip().lower()
            if line and not line.startswith("#"):
                (phrases if " " in line else words).add(line)
    return frozenset(words), frozenset(phrases)


BARE_WORDS, BARE_PHRASES = _load_bare()


def is_bare(text):
    """True for a meaning that names only a broad category ("a person",
    "the act", "any plant") or is a known empty opening."""
    low = text.lower().strip()
    if low in BARE_PHRASES:
        return True
    words = low.split()
    while words and words[0] in _DETERMINERS_BARE:
        words = words[1:]
    return all(w in BARE_WORDS for w in words)


def _singular(phrase):
    head = phrase.split(" ")[-1]
    if re.search("(ch|sh|ss|x)es$", head):
        head = head[:-2]
    elif head.endswith("ies"):
        head = head[:-3] + "y"
    elif head.endswith("s") and not re.search("(ss|us|is)$", head):
        head = head[:-1]
    else:
        return "kind of " + phrase  # not a plain plural: any of various fish
    words = phrase.split(" ")[:-1] + [head]
    return " ".join(words)


# Shorter wordings of WordNet's common openings and fillers, tried in turn
# until the first clause fits; each keeps the sense.
REWRITES = [
    (r"^(?:of|being),? or relating to,? or characteristic of\b", "relating to"),
    (r"^of or relating to or (?:being|supporting|using|derived from)\b", "relating to"),
    (r"^(?:of|being) or (?:relating|pertaining) to\b", "relating to"),
    (r"^(?:relating|pertaining) to or characteristic of\b", "relating to"),
    (r"^of or (?:involving|concerning)\b", "involving"),
    (r"^(?:having|possessing) or (?:showing|displaying|exhibiting|indicating)\b", "showing"),
    (r"^characterized by or (?:showing|exhibiting)\b", "showing"),
    (r"\bcharacterized by\b", "marked by"),
    (r"^a person who\b", "one who"),
    (r"^(?:a|any) person (?:with|of)\b", "one with"),
    (r"^(?:a|any) person ([a-z]+ed)\b", r"one \1"),
    (r"^the (?:act|action|process|activity) of (\w+ing)\b", r"\1"),
    (r"^the (?:quality|state|condition|fact) (?:or (?:quality|state|condition) )?of being\b", "being"),
    (r"^any of (?:various|numerous|several|many|a number of) ((?:(?!and\b|or\b)[\w-]+ ){0,3}?(?!and\b|or\b)[\w-]*[^su\W]s)(?=$|,| (?!and\b|or\b))",
     lambda m: ("an " if m.group(1)[:1] in "aeiou" else "a ") + _singular(m.group(1))),
    (r"\ba body of water\b", "water"),
    (r"\bthe United States\b(?! of)", "the US"),
    (r"\bfor more than one person\b", "for several people"),
    (r"^in a (\w+) manner\b", r"\1ly"),
    (r"(?:,|(?<!any of numerous)(?<!any of various)(?<!any of several)(?<!any of many))"
     r" (?:especially|usually|often|typically|e\.g\.|i\.e\.) .*$", ""),
    (r"\bin order to\b", "to"),
    (r"\bso as to\b", "to"),
    (r"\ba (?:large|great) (?:number|amount) of\b", "many"),
]


def rewrites(text, word_class=None):
    """Successively shorter wordings of `text`: the rules above, then
    "A or B" alternatives of one word each reduced to their first."""
    out = []
    for pattern, repl in REWRITES:
        new = clean_text(re.sub(pattern, repl, text))
        if new and new != text:
            text = new
            out.append(text)
    while True:
        for m in re.finditer(r"\b([A-Za-z-]+) or ([A-Za-z-]+)\b(,?)( \S+)?", text):
            a, b = m.group(1).lower(), m.group(2).lower()
            after = (m.group(4) or "").strip().lower()
            # both alternatives whole: not "marked by joy" cut to "marked joy"
            # nor alternatives that open the text: they head it and take
            # their own complements ("rule or exercise power over")
            if a in DANGLING or b in DANGLING or after in DANGLING or m.start() == 0:
                continue
            # only nouns or adjectives: verbs and adverbs take their own
            # complements ("rule or exercise power", "exactly or almost exactly")
            if word_class and (_classes(a, word_class)[:1] != _classes(b, word_class)[:1]
                               or _classes(a, word_class)[:1] not in ("n", "a")):
                continue
            text = clean_text(text[:m.start()] + m.group(1) + m.group(3) + (m.group(4) or "")
                              + text[m.end():])
            out.append(text)
            break
        else:
            break
    return out


# the fewest words of content a cut may keep: with two, only the genus
# and one word of it are left (a keyboard instrument, a woman's garment)
MIN_KEPT = 3

# adjectives that are the point of a definition, never dropped from it
_KEPT_MODIFIERS = frozenset("""
no not non first last only main same other own more most less least few many
small large big little young old male female human
""".split())


# words that add little to a definition: degree adverbs and empty
# qualifiers ("relatively large rodents", "in a particular way")
FILLERS = frozenset("""
relatively especially usually typically generally normally often very
extremely highly rather somewhat fairly particularly commonly certain
particular specific various given
""".split())


def drop_modifiers(text, width, word_class=None):
    """Shorter wordings of `text` without its filler words (`FILLERS`),
    leftmost first, that fit `width` and read as a phrase."""
    words = text.split(" ")
    out = []
    while True:
        i = next((k for k, w in enumerate(words) if w.lower() in FILLERS
                  and k + 1 < len(words)), None)
        if i is None:
            return out
        words = words[:i] + words[i + 1:]
        if i > 0 and _bare(words[i - 1]) in ("a", "an"):
            words[i - 1] = "an" if words[i][:1].lower() in "aeiou" else "a"
        candidate = " ".join(words)
        if len(candidate) <= width and _acceptable(words, None, word_class) \
                and not is_bare(candidate):
            out.append(candidate)
            return out


def fit_meaning(definition, width=40, pos=None, word_class=None, strict=False):
    """Returns (meaning, was_cut). Prefers the whole definition, then the
    longest part of it that ends at a clause boundary, then (for a known
    part of speech `pos`) a later clause that is a definition of its own,
    each also tried without a leading label such as "(informal)"; then the
    first clause without parenthetical remarks and its shorter wordings
    (`rewrites`), then a cut at a word
    boundary that reads as a whole phrase. `word_class(word)` returns a
    word's usual part of speech ("n", "v", "a", "r" or None) and lets the
    cut avoid ending on a verb or adjective whose object or noun was cut
    off. (None, True) when no cut reads as a whole phrase that says more
    than a bare category."""
    whole = clean_text(definition)
    if re.match(r"extended meanings?;", whole):
        # WordNet's marker of a figurative sense and the remarks after it
        # ("extended meanings; especially of psychological coldness; ...")
        # are not part of the meaning
        whole = clean_text(whole.split(";", 1)[1])
        while ";" in whole and whole.split(" ", 1)[0].lower() in _REMARK_STARTS:
            whole = clean_text(whole.split(";", 1)[1])
    texts = [whole]
    unlabelled = strip_label(whole)
    if unlabelled:
        texts.append(clean_text(unlabelled))
    for text in texts:
        semis = [clean_text(c) for c in text.split(";")]
        for clause in leading_clauses(text):
            words = clause.split(" ")
            # a run of whole clauses may end as WordNet's own glosses do;
            # a part of a clause must end as a phrase
            whole = clause == "; ".join(semis[:clause.count(";") + 1])
            if not (len(clause) <= width and _balanced(clause) and not is_bare(clause)
                    and not _ends_badly(words, whole)
                    and (clause == text or len(words) >= 2)):
                continue
            if not whole:
                # a part of a clause before a comma must read as a phrase
                # too (not "occupy in an agreeable", entertaining ...)
                rest = text[len(clause):].lstrip(" ,").split(" ")
                if not _complete(words, rest[0] if rest[0] else None, word_class):
                    continue
            return clause, False
    if pos is not None:
        for text in texts:
            for clause in later_clauses(text):
                if len(clause) <= width and _standalone_later_clause(clause, pos, word_class):
                    return clause, False
    source = texts[-1]
    clauses = [clean_text(c) for c in source.split(";") if clean_text(c)]
    first = clauses[0] if clauses else source
    plain = clean_text(re.sub(r"\s*\([^()]*\)", "", first))
    # shorter wordings that keep the whole sense before any cut
    shorter = rewrites(plain, word_class)
    for text in shorter:
        if len(text) <= width and _acceptable(text.split(" "), None, word_class):
            return text, False
    if shorter:
        first = plain
        plain = shorter[-1]
    if word_class and strict:
        for text in drop_modifiers(plain, width, word_class):
            return text, False
    # with what is known of the words' parts of speech; failing that, a
    # verb may end the phrase ("the experiencing"); failing that, the head
    # word alone ("ammunition", not "ammunition consisting of a
    # cylindrical"); failing that, without
    tries = [(word_class, False, 2)] + ([] if strict else [(word_class, True, 2), (word_class, True, 1)]) \
        if word_class else []
    if not word_class:
        tries.append((None, False, 2))
    elif len(plain) <= width and not is_bare(plain) and _balanced(plain) \
            and not _ends_badly(plain.split(" "), not strict) \
            and _bare(plain.split(" ")[-1]) not in _OPEN_PARTICIPLES | {"of"}:
        # the whole first clause, where the word classes cannot tell
        # ("a human being": "being" is a noun here)
        return plain, True
    for classes, verbs_may_end, min_words in tries:
        if len(plain) <= width and plain and _acceptable(plain.split(" "), None, classes, verbs_may_end):
            return plain, True
        for text in (plain, first):
            cut = cut_at_words(text, width, classes, verbs_may_end, min_words, strict)
            if cut:
                # with `strict`, a cut that keeps too little, or less than
                # half of the definition, has lost what tells the word from
                # its neighbours (a woman's garment | that exposes the
                # shoulders): no meaning
                if strict and (len([w for w in cut.split(" ") if _bare(w) not in _DETERMINERS
                                    and _bare(w) not in DANGLING | FILLERS]) < MIN_KEPT
                               or 2 * len(cut.split(" ")) < len(plain.split(" "))):
                    return None, True
                return cut, True
    return None, True


# A label that says what a verb's sense applies to, kept before the verb
# ("of animals, eat ...")
_VERB_LABEL = re.compile(r"^((?:of|in|on|for|with|as|especially|usually|often)\b[^,;()]*, )(.*)$")


def as_infinitive(meaning, width=40):
    """A verb's meaning as the infinitive readers expect of a dictionary
    ("to crush into powder"; "of animals, to eat ..."). Left as it is when
    it has its "to" already or the field has no room for one."""
    label = _VERB_LABEL.match(meaning)
    head, rest = (label.group(1), label.group(2)) if label else ("", meaning)
    if meaning.startswith("to ") or rest.startswith("to "):
        return meaning
    text = head + "to " + rest
    return text if len(text) <= width else meaning
