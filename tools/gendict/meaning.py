"""Fits a WordNet definition into the 40-character meaning field."""

import re

# A cut meaning must not stop on one of these: the rest would not read as a
# phrase ("a small piece of", "marked by joy or").
DANGLING = frozenset("""
a an the
and or but nor yet so as than that if because whether while although though
unless until when where which who whom whose what how why
his her its their our your my one's someone's something's
of to in on at by for with from into onto upon about over under between
among through without within against toward towards during after before via
per like across along around off out up down near beyond behind beside
is are was were be been being has have had having do does did not no
very more most less least such some any each every especially usually often
typically mainly chiefly sometimes also etc e.g. i.e. esp.
consisting containing including involving relating pertaining resembling
used made characterized marked caused based intended designed
""".split())


def clean_text(text):
    text = re.sub(r"\s+", " ", text).strip()
    return text.rstrip(" ;,:.").strip()


def _ends_badly(words):
    last = words[-1].lower()
    return last in DANGLING or last.endswith("'s") or last.endswith("s'")


def _balanced(text):
    return text.count("(") == text.count(")")


# Words that start a new phrase: cutting just before one leaves a whole
# phrase behind ("move fast by using one's feet" | "with one foot ...").
PHRASE_STARTS = frozenset("""
with for by in on at from that which who whose where when to as and or but
usually especially often typically esp. e.g. i.e. such while because
""".split())


def _acceptable(words):
    candidate = " ".join(words).rstrip(" ;,:.-")
    ws = candidate.split(" ")
    if len(ws) >= 2 and _balanced(candidate) and not _ends_badly(ws):
        return candidate
    return None


def cut_at_words(text, width):
    """A word-boundary prefix of `text` within `width` that does not end on a
    dangling word, an open parenthesis or punctuation: preferably one that
    stops before a new phrase and keeps half the width or more, else the
    longest. None when no such prefix has two words or more."""
    words = text.split(" ")
    n = 0
    length = -1
    while n < len(words) and length + 1 + len(words[n]) <= width:
        length += 1 + len(words[n])
        n += 1
    for k in range(n, 1, -1):
        at_boundary = words[k - 1].endswith(",") or words[k].lower() in PHRASE_STARTS
        if at_boundary:
            candidate = _acceptable(words[:k])
            if candidate and len(candidate) >= width // 2:
                return candidate
    for k in range(n, 1, -1):
        candidate = _acceptable(words[:k])
        if candidate:
            return candidate
    return None


def whole_clauses(definition):
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


def fit_meaning(definition, width=40):
    """Returns (meaning, was_cut). Prefers the whole definition, then the
    longest part of it that ends at a clause boundary, then the first clause
    without parenthetical remarks, then a cut at a word boundary."""
    whole = clean_text(definition)
    for clause in whole_clauses(whole):
        words = clause.split(" ")
        if (len(clause) <= width and _balanced(clause)
                and (clause == whole or (len(words) >= 2 and not _ends_badly(words)))):
            return clause, False
    clauses = [clean_text(c) for c in whole.split(";") if clean_text(c)]
    first = clauses[0] if clauses else whole
    plain = clean_text(re.sub(r"\s*\([^()]*\)", "", first))
    if len(plain) <= width and plain:
        return plain, True
    for source in (plain, first):
        cut = cut_at_words(source, width)
        if cut:
            return cut, True
    return None, True
