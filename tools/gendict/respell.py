"""Turns CMU Pronouncing Dictionary ARPAbet into a reader-friendly respelling:
syllables joined by hyphens, the syllable with primary stress in capitals
(HAP-ee, thi-SOR-us)."""

import re

VOWELS = {"AA", "AE", "AH", "AO", "AW", "AY", "EH", "ER", "EY", "IH", "IY",
          "OW", "OY", "UH", "UW"}

# Onsets English allows at the start of a syllable; a consonant cluster
# between vowels gives the next syllable the longest one of these.
_SINGLE_ONSETS = "B CH D DH F G HH JH K L M N P R S SH T TH V W Y Z ZH"
_CLUSTER_ONSETS = """
B L|B R|B Y|D R|D W|D Y|F L|F R|F Y|G L|G R|G W|G Y|HH Y|HH W|K L|K R|K W|K Y|
M Y|N Y|P L|P R|P Y|S K|S L|S M|S N|S P|S T|S W|S F|SH R|T R|T W|TH R|TH W|
V Y|L Y|SH L|SH M|SH N|SH W|Z W|
S K R|S K W|S P L|S P R|S T R|S K Y|S P Y|S M Y"""
_ONSETS = {(c,) for c in _SINGLE_ONSETS.split()} | {
    tuple(o.split()) for o in _CLUSTER_ONSETS.replace("\n", "").split("|")}

# Short vowels that close a stressed syllable with the next consonant
# (HAP-ee rather than HA-pee).
_CHECKED = {"AE", "EH", "IH", "AH", "UH"}
# Vowels that keep a following R in their own syllable (SOR-us, KAR-ee).
_R_COLOURED = {"AA", "AO", "EH", "IH", "UH", "AE", "IY", "UW", "AY", "AW", "EY", "OW", "OY"}

CONSONANT_SPELLING = {
    "B": "b", "CH": "ch", "D": "d", "DH": "th", "F": "f", "G": "g", "HH": "h",
    "JH": "j", "K": "k", "L": "l", "M": "m", "N": "n", "NG": "ng", "P": "p",
    "R": "r", "S": "s", "SH": "sh", "T": "t", "TH": "th", "V": "v", "W": "w",
    "Y": "y", "Z": "z", "ZH": "zh",
}

# (spelling in a syllable ending on the vowel, spelling before a consonant)
VOWEL_SPELLING = {
    "AA": ("ah", "o"),
    "AE": ("a", "a"),
    "AH": ("uh", "u"),
    "AO": ("aw", "aw"),
    "AW": ("ow", "ow"),
    "AY": ("y", "y"),
    "EH": ("eh", "e"),
    "ER": ("ur", "ur"),
    "EY": ("ay", "ay"),
    "IH": ("ih", "i"),
    "IY": ("ee", "ee"),
    "OW": ("oh", "oh"),
    "OY": ("oy", "oy"),
    "UH": ("uu", "uu"),
    "UW": ("oo", "oo"),
}


# Between the parts of a compound: its consonants stay on their own side
# (SPAYS-man, not SPAY-sman; NURS-mayd).
BOUNDARY = "|"


def parse_phones(arpabet):
    """'HH AE1 P IY0' -> [('HH', None), ('AE', 1), ('P', None), ('IY', 0)]"""
    phones = []
    for p in arpabet.split():
        if p == BOUNDARY:
            phones.append((p, None))
            continue
        m = re.fullmatch(r"([A-Z]+)([012])?", p)
        if not m:
            raise ValueError("bad phone %r" % p)
        base, stress = m.group(1), m.group(2)
        if base in VOWELS:
            phones.append((base, int(stress) if stress is not None else 0))
        elif base in CONSONANT_SPELLING:
            phones.append((base, None))
        else:
            raise ValueError("unknown phone %r" % p)
    return phones


def syllabify(phones):
    """Splits phones into syllables: [(onset, (vowel, stress), coda)]."""
    nuclei = [i for i, (_p, s) in enumerate(phones) if s is not None]
    if not nuclei:
        return []
    syllables = []
    onset = [p for p, _s in phones[: nuclei[0]] if p != BOUNDARY]
    for k, vi in enumerate(nuclei):
        vowel, stress = phones[vi]
        if k + 1 < len(nuclei):
            cluster = [p for p, _s in phones[vi + 1: nuclei[k + 1]]]
        else:
            syllables.append((onset, (vowel, stress), [p for p, _s in phones[vi + 1:] if p != BOUNDARY]))
            break
        if BOUNDARY in cluster:
            split = cluster.index(BOUNDARY)
            syllables.append((onset, (vowel, stress), cluster[:split]))
            onset = [p for p in cluster[split + 1:] if p != BOUNDARY]
            continue
        split = len(cluster)
        for j in range(len(cluster) + 1):
            if j == len(cluster) or tuple(cluster[j:]) in _ONSETS:
                split = j
                break
        # NG never starts a syllable.
        while split < len(cluster) and cluster[split] == "NG":
            split += 1
        if split < len(cluster):
            if cluster[split] == "R" and vowel in _R_COLOURED and vowel != "ER":
                split += 1
            elif split == 0 and stress == 1 and vowel in _CHECKED:
                split = 1
        syllables.append((onset, (vowel, stress), cluster[:split]))
        onset = cluster[split:]
    return syllables


def _spell_syllable(onset, vowel, stress, coda, before_vowel):
    spelled_onset = "".join(CONSONANT_SPELLING[c] for c in onset)
    spelled_coda = "".join(CONSONANT_SPELLING[c] for c in coda)
    if vowel == "ER":
        # "er" after "th" reads as in "there" (FAH-ther): FAH-thur
        v = "ur" if stress or spelled_onset.endswith("th") else "er"
    elif vowel == "AY" and not onset:
        v = "eye"
    elif vowel == "AY" and len(coda) == 1 and coda[0] not in ("V", "TH", "DH", "SH", "ZH", "CH", "JH"):
        # TIME, SMILE: a silent e shows the long vowel, as in the spelling
        # readers know (not before v: "give", "live")
        return spelled_onset + "i" + spelled_coda + "e"
    elif vowel == "AY" and len(coda) == 1:
        return spelled_onset + "y" + spelled_coda + "e"
    elif vowel == "AA" and coda[:1] == ["R"]:
        # KAR, but SOR-ee
        v = "o" if before_vowel else "a"
    elif vowel == "AO" and coda[:1] == ["R"]:
        v = "o"
    elif vowel == "EH" and coda == ["R"] and not before_vowel:
        # HAIR, KAIR; VER-ee keeps the short vowel
        return spelled_onset + "air"
    else:
        open_form, closed_form = VOWEL_SPELLING[vowel]
        v = closed_form if coda else open_form
        if vowel == "AH" and stress == 0 and not coda:
            v = "uh"
    return spelled_onset + v + spelled_coda


def respell(arpabet):
    phones = parse_phones(arpabet)
    stresses = [s for _p, s in phones if s is not None]
    if stresses and 1 not in stresses:
        # a few entries mark no primary stress: take the strongest syllable
        strongest = 2 if 2 in stresses else 0
        i = next(i for i, (_p, s) in enumerate(phones) if s == strongest)
        phones[i] = (phones[i][0], 1)
    syllables = syllabify(phones)
    parts = []
    for i, (onset, (vowel, stress), coda) in enumerate(syllables):
        before_vowel = i + 1 < len(syllables) and not syllables[i + 1][0]
        s = _spell_syllable(onset, vowel, stress, coda, before_vowel)
        parts.append(s.upper() if stress == 1 else s)
    return "-".join(parts)


def demote_stress(arpabet):
    """Primary stress becomes secondary: for the later parts of a compound."""
    return arpabet.replace("1", "2")
