#!/usr/bin/env python3
"""Prints the shares of a recorded review (tab-separated, with the columns
meaning ok, synonyms ok, antonyms ok, example ok holding Y, N or - (or
nothing) for no example, and pronunciation ok when the review judged it): each judged on
its own, meaning and synonyms together, and meaning, synonyms and example
together (an entry without an example fails that)."""

import sys


def shares(path):
    with open(path, encoding="ascii") as fh:
        lines = fh.read().splitlines()
    head = lines[0].split("\t")
    rows = [dict(zip(head, line.split("\t"))) for line in lines[1:] if line]
    n = len(rows)
    def count(pred):
        return sum(1 for r in rows if pred(r))
    both = count(lambda r: r["meaning ok"] == "Y" and r["synonyms ok"] == "Y")
    # a reviewer may leave the mark empty for an entry without an example
    with_example = count(lambda r: r.get("example ok", "") not in ("-", ""))
    together = count(lambda r: r["meaning ok"] == "Y" and r["synonyms ok"] == "Y"
                     and r["example ok"] == "Y")
    out = [
        ("entries", n),
        ("meaning ok", 100.0 * count(lambda r: r["meaning ok"] == "Y") / n),
        ("synonyms ok", 100.0 * count(lambda r: r["synonyms ok"] == "Y") / n),
        ("meaning and synonyms ok", 100.0 * both / n),
        ("antonyms ok", 100.0 * count(lambda r: r["antonyms ok"] == "Y") / n),
        ("with an example", 100.0 * with_example / n),
        ("examples in the sense", 100.0 * count(lambda r: r["example ok"] == "Y") / max(with_example, 1)),
        ("meaning, synonyms, example", 100.0 * together / n),
    ]
    if "pronunciation ok" in head:
        out.append(("pronunciation ok", 100.0 * count(lambda r: r["pronunciation ok"] == "Y") / n))
    return out


def main(argv):
    for path in argv[1:]:
        print(path)
        for name, value in shares(path):
            print("  %-26s %s" % (name, value if name == "entries" else "%.0f%%" % value))


if __name__ == "__main__":
    main(sys.argv)
