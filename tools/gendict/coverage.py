#!/usr/bin/env python3
"""Prints how much of the default dictionary is filled in: the share of
entries with a synonym, three synonyms, an antonym, a usage example, a
pronunciation, and a meaning that is a whole definition or clause of it."""

import argparse
import os
import sys

from core import load_reviewed as load_core
from gendict import load_wordnet_definitions, parse_csv_line


def shares(rows, definitions):
    n = len(rows)
    if n == 0:
        return []
    def share(pred):
        return 100.0 * sum(1 for r in rows if pred(r)) / n
    core = load_core()
    def uncut(r):
        # a whole definition or clause, a shorter wording of one, or a
        # meaning written in the reviewed core
        whole = definitions.get((r["word"].lower(), r["partofspeech"]), ())
        reviewed = core.get(r["word"].lower())
        return r["meaning"] in whole or bool(reviewed and reviewed.meaning == r["meaning"])
    return [
        ("entries", n, None),
        # aims for synonyms, antonyms and examples of the chosen sense only:
        # WordNet gives many senses no second word and no opposite, and
        # padding from other senses or loose relations is worse than none
        ("at least one synonym", share(lambda r: r["synonym1"] != ""), 60),
        ("three synonyms", share(lambda r: r["synonym3"] != ""), 15),
        ("an antonym", share(lambda r: r["antonym1"] != ""), 25),
        ("a usage example", share(lambda r: r["usage"] != ""), 33),
        ("a pronunciation", share(lambda r: r["pronu"] != ""), 99),
        ("a meaning not cut", share(uncut), 70),
    ]


def main(argv=None):
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("csv", nargs="?", default=os.path.join(here, "..", "..", "data", "dictionary.csv"))
    ap.add_argument("--wordnet", default="/usr/share/wordnet")
    args = ap.parse_args(argv)
    with open(args.csv, "rb") as fh:
        lines = fh.read().decode("cp1252").split("\r\n")
    rows = [parse_csv_line(line) for line in lines if line]
    definitions = load_wordnet_definitions(args.wordnet)
    failed = False
    for name, value, aim in shares(rows, definitions):
        if aim is None:
            print("%-22s %d" % (name, value))
        else:
            mark = "ok" if value >= aim else "BELOW AIM"
            failed |= value < aim
            print("%-22s %5.1f%%  (aim %d%%) %s" % (name, value, aim, mark))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
