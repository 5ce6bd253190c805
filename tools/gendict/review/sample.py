#!/usr/bin/env python3
"""Draws the review samples from data/dictionary.csv: 100 entries at
random and 100 of the 2,000 most frequent (the file is in frequency
order), with a stated seed (`sample.py random|frequent [seed]`), and
prints them as tab-separated lines ready
for judging: rank, word, part of speech, meaning, synonyms, antonyms,
example."""

import os
import random
import sys

SEED = 2048  # the twenty-second pass; 2047 the twenty-first, 2046 the twentieth, 2045 the nineteenth, 2044 the eighteenth, 2043 the seventeenth, 2042 the sixteenth; 2041 the fifteenth, 2040 the fourteenth, 2039 the thirteenth, 2038 the twelfth, 2037 the eleventh, 2036 the tenth, 2035 the ninth, 2034 the eighth, 2033 the seventh, 2032 the sixth, 2031 the fifth, 2030 the fourth, 2029 the third, 2028 the second, 2027 the first final review, 2026 the first pass
HERE = os.path.dirname(os.path.abspath(__file__))
CSV = os.path.join(HERE, "..", "..", "..", "data", "dictionary.csv")


def rows(path=CSV):
    with open(path, "rb") as fh:
        lines = fh.read().decode("cp1252").split("\r\n")
    return [line[1:-1].split('","') for line in lines if line]


def samples(entries, seed=SEED):
    rng = random.Random(seed)
    ranked = list(enumerate(entries, 1))
    return {"random": sorted(rng.sample(ranked, 100)),
            "frequent": sorted(rng.sample(ranked[:2000], 100))}


def main():
    which = sys.argv[1] if len(sys.argv) > 1 else "random"
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else SEED
    for rank, r in samples(rows(), seed)[which]:
        syn = ";".join(x for x in r[4:7] if x)
        ant = ";".join(x for x in r[7:10] if x)
        print("\t".join([str(rank), r[0], r[2], r[1], syn, ant, r[3]]))


if __name__ == "__main__":
    main()
