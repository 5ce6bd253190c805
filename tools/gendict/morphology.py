"""Writes data/morphology.tsv: WordNet's detachment rules and exception
lists (morphy(7WN)), which kavix uses to offer the base form of an inflected
word that the dictionary does not hold (mice: mouse, went: go).

The output is reproducible: rules in WordNet's order, exceptions in the
order of the .exc files, bases of one form in the order they are listed."""

import argparse
import os
import sys

from wordnet import DETACH_RULES, POS_FILES

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "..", "data")

HEADER = """\
WordNet 3.0 morphology: detachment rules and exception lists.
Made by tools/gendict/morphology.py from Debian's wordnet-base package
(adj.exc, adv.exc, noun.exc, verb.exc); do not edit by hand.

One entry a line, fields separated by tabs; spaces stand in phrases where
WordNet writes underscores.
  rule <pos> <suffix> <ending>      detach suffix, add ending (may be empty)
  exc <pos> <inflected> <base>...   an irregular form and its base forms
pos: n noun, v verb, a adjective, r adverb.
"""


def licence_lines(path):
    """The Princeton licence as WordNet gives it, from its first line on."""
    with open(path, encoding="ascii") as fh:
        text = fh.read()
    start = text.index("This software and database")
    return ["WordNet 3.0 licence (data/LICENSE-WordNet-3.0.txt):", ""] + text[start:].rstrip().split("\n")


def read_exceptions(path):
    """[(inflected, [bases])] in file order; phrases with spaces."""
    out = []
    with open(path, encoding="latin-1") as fh:
        for line in fh:
            f = line.split()
            if len(f) >= 2:
                out.append((f[0].replace("_", " "), [b.replace("_", " ") for b in f[1:]]))
    return out


def morphology_text(wordnet_dir, licence_path):
    lines = ["# " + l if l else "#" for l in HEADER.rstrip().split("\n") + [""] + licence_lines(licence_path)]
    for pos in POS_FILES:
        for suffix, ending in DETACH_RULES[pos]:
            lines.append("\t".join(["rule", pos, suffix, ending]))
    for pos, name in POS_FILES.items():
        for inflected, bases in read_exceptions(os.path.join(wordnet_dir, name + ".exc")):
            for field in [inflected] + bases:
                if "\t" in field or not field.isascii():
                    raise ValueError("unexpected characters in %s.exc: %r" % (name, field))
            lines.append("\t".join(["exc", pos, inflected] + bases))
    return "\n".join(lines) + "\n"


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--wordnet", default="/usr/share/wordnet")
    ap.add_argument("--licence", default=os.path.join(DATA, "LICENSE-WordNet-3.0.txt"))
    ap.add_argument("--out", default=os.path.join(DATA, "morphology.tsv"))
    args = ap.parse_args(argv)
    text = morphology_text(args.wordnet, args.licence)
    with open(args.out, "w", encoding="ascii", newline="\n") as fh:
        fh.write(text)
    count = sum(1 for l in text.split("\n") if l.startswith("exc\t"))
    print("wrote %d exceptions to %s" % (count, args.out))


if __name__ == "__main__":
    sys.exit(main())
