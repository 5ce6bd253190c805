#!/usr/bin/env python3
"""Written example sentences for entries whose WordNet sense has none that
fits, kept in examples/*.tsv beside this file and applied on every
regeneration. Each line names the meaning it was written for, so that an
example never outlives the sense it shows: when the meaning changes, the
generator refuses the line until it is written again.

    examples.py todo [--from N] [--to M]     entries without an example
    examples.py stamp SCRATCH --writer TAG   word<TAB>example lines -> file lines
    examples.py check [FILE...]              every written line against the data
"""

import argparse
import glob
import os
import re
import sys

from offensive import Offensive

HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLES_DIR = os.path.join(HERE, "examples")
CSV = os.path.join(HERE, "..", "..", "data", "dictionary.csv")
FIELDS = ["word", "meaning", "example", "writer"]
WIDTH = 50
TOKEN = re.compile(r"[A-Za-z]+(?:['-][A-Za-z]+)*")


class Example:
    def __init__(self, word, meaning, text, writer, where):
        self.word = word
        self.meaning = meaning
        self.text = text
        self.writer = writer
        self.where = where  # file:line, for messages


def form_problems(text):
    """What keeps a sentence out of the field, whatever its word."""
    problems = []
    if len(text) > WIDTH:
        problems.append("longer than %d characters" % WIDTH)
    if '"' in text or text != text.strip() or "  " in text:
        problems.append("a double quote or stray space")
    if not text.isascii() or not text.isprintable():
        problems.append("not plain ASCII")
    if not text[:1].isupper() and not text[:1].isdigit():
        problems.append("does not start with a capital")
    if text[-1:] not in ".!?":
        problems.append("does not end a sentence")
    return problems


def parse_examples(lines, name="examples"):
    """{lowercase word: Example}; '#' starts a comment. Raises ValueError on
    a malformed line or a word written twice."""
    table = {}
    for n, line in enumerate(lines, 1):
        line = line.rstrip("\r\n")
        if not line.strip() or line.startswith("#"):
            continue
        values = line.split("\t")
        where = "%s:%d" % (name, n)
        if len(values) != len(FIELDS) or not all(values):
            raise ValueError("%s: word, meaning, example and writer needed" % where)
        problems = form_problems(values[2])
        if problems:
            raise ValueError("%s: %s: %s" % (where, values[0], ", ".join(problems)))
        key = values[0].lower()
        if key in table:
            raise ValueError("%s: %s is written twice (also %s)" % (where, values[0], table[key].where))
        table[key] = Example(values[0], values[1], values[2], values[3], where)
    return table


def load_examples(folder=EXAMPLES_DIR):
    """Every examples/*.tsv as one table; a word in two files is an error."""
    table = {}
    for path in sorted(glob.glob(os.path.join(folder, "*.tsv"))):
        with open(path, encoding="ascii") as fh:
            part = parse_examples(fh, os.path.relpath(path, HERE))
        for key, ex in part.items():
            if key in table:
                raise ValueError("%s: %s is written twice (also %s)" % (ex.where, ex.word, table[key].where))
            table[key] = ex
    return table


def uses_word(text, word, base_forms):
    """Whether the sentence holds the word or an inflection of it;
    base_forms(token) gives a token's possible base forms."""
    w = word.lower()
    for t in TOKEN.findall(text):
        t = t.lower()
        if t == w or w in base_forms(t):
            return True
    # a hyphenated or two-word headword is matched as it is spelled
    return w in text.lower() and not w.isalpha()


def read_csv(path=CSV):
    from gendict import parse_csv_line
    with open(path, encoding="cp1252", newline="") as fh:
        return [parse_csv_line(l) for l in fh.read().split("\r\n") if l]


def _base_forms():
    from datafiles import WORDNET
    from gendict import POS_ORDER
    from wordnet import WordNet
    wn = WordNet(WORDNET)
    return lambda t: {b for pos in POS_ORDER for b in wn.base_forms(t, pos)}


def cmd_todo(args):
    rows = read_csv(args.csv)
    written = load_examples()
    out = sys.stdout
    out.write("# rank\tword\tpart of speech\tmeaning\tsynonyms\n")
    for rank, e in enumerate(rows, 1):
        if rank < args.start or rank > args.end or e["usage"] or e["word"].lower() in written:
            continue
        syn = "; ".join(x for x in (e["synonym1"], e["synonym2"], e["synonym3"]) if x)
        out.write("%d\t%s\t%s\t%s\t%s\n" % (rank, e["word"], e["partofspeech"], e["meaning"], syn))


def check_lines(table, rows, base_forms, offensive=None):
    """Problems of written lines against the data: a word not in it, a
    meaning that is no longer the entry's, a sentence without its word."""
    by_word = {e["word"].lower(): e for e in rows}
    problems = []
    for key, ex in sorted(table.items(), key=lambda x: x[1].where):
        e = by_word.get(key)
        if e is None:
            problems.append("%s: %s is no headword" % (ex.where, ex.word))
        elif e["meaning"] != ex.meaning:
            problems.append("%s: %s now means %r, not %r" % (ex.where, ex.word, e["meaning"], ex.meaning))
        elif e["usage"] and e["usage"] != ex.text:
            problems.append("%s: %s has an example of its own" % (ex.where, ex.word))
        elif not uses_word(ex.text, key, base_forms):
            problems.append("%s: %s is not used in %r" % (ex.where, ex.word, ex.text))
        elif offensive is not None and offensive.sentence(ex.text):
            problems.append("%s: %s: %r holds an offensive word" % (ex.where, ex.word, ex.text))
    return problems


def cmd_stamp(args):
    """Turns a writer's word<TAB>example lines into file lines, taking each
    word's meaning from the data, and prints what cannot be taken."""
    rows = {e["word"].lower(): e for e in read_csv(args.csv)}
    base_forms = _base_forms()
    offensive = Offensive.from_list()
    good, bad = [], []
    with open(args.scratch, encoding="utf-8") as fh:
        for n, line in enumerate(fh, 1):
            line = line.rstrip("\r\n")
            if not line.strip() or line.startswith("#"):
                continue
            parts = line.split("\t")
            if len(parts) != 2:
                bad.append("line %d: word<TAB>example needed" % n)
                continue
            word, text = parts[0].strip(), parts[1].strip()
            e = rows.get(word.lower())
            problems = form_problems(text)
            if e is None:
                problems.append("no headword")
            elif not uses_word(text, word, base_forms):
                problems.append("the word is not in the sentence")
            if offensive.sentence(text):
                problems.append("an offensive word")
            if problems:
                bad.append("line %d: %s: %s" % (n, word, ", ".join(problems)))
                continue
            good.append("%s\t%s\t%s\t%s\n" % (e["word"], e["meaning"], text, args.writer))
    sys.stdout.write("".join(good))
    for b in bad:
        print(b, file=sys.stderr)
    return 1 if bad else 0


def cmd_check(args):
    table = {}
    paths = args.files or sorted(glob.glob(os.path.join(EXAMPLES_DIR, "*.tsv")))
    for path in paths:
        with open(path, encoding="ascii") as fh:
            table.update(parse_examples(fh, os.path.relpath(path, HERE)))
    problems = check_lines(table, read_csv(args.csv), _base_forms(), Offensive.from_list())
    for p in problems:
        print(p)
    print("%d written examples, %d problems" % (len(table), len(problems)), file=sys.stderr)
    return 1 if problems else 0


def main(argv=None):
    sys.path.insert(0, HERE)
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--csv", default=CSV)
    sub = ap.add_subparsers(dest="cmd", required=True)
    todo = sub.add_parser("todo")
    todo.add_argument("--from", dest="start", type=int, default=1)
    todo.add_argument("--to", dest="end", type=int, default=10 ** 9)
    stamp = sub.add_parser("stamp")
    stamp.add_argument("scratch")
    stamp.add_argument("--writer", required=True)
    check = sub.add_parser("check")
    check.add_argument("files", nargs="*")
    args = ap.parse_args(argv)
    return {"todo": cmd_todo, "stamp": cmd_stamp, "check": cmd_check}[args.cmd](args)


if __name__ == "__main__":
    sys.exit(main())
