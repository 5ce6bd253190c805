"""Turns CMU Pronouncing Dictionary ARPAbet into a reader-friendly respelling:
syllables joined by hyphens, the syllable with primary stress in capitals
(HAP-ee, thi-SOR-us)."""

import os
import re

PRONUNCIATIONS_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lists",
                                   "respellings.tsv")
# syllables of letters joined by hyphens, each all capitals (stressed) or
# all small letters, at least one stressed
_RESPELLING = re.compile(r"^(?:[a-z]+|[A-Z]+)(?:-(?:[a-z]+|[A-Z]+))*$")

VOWELS = {"AA", "AE", "AH", "AO", "AW", "AY", "EH", "ER", "EY", "IH", "IY",
          "OW", "OY", "UH", "UW"}

# Onsets English allows at the start of a syllable; a consonant cluster
# between vowels gives the next syllable the longest one of these.
_SINGLE_ONSETS = "B CH D DH F G HH JH K L M N P R S SH T TH V W Y Z ZH"
_CLUSTER_ONSETS = """
B L|B R|B Y|D R|D W|D Y|F L|F R|F Y|G L|G R|G W|G Y|HH Y|HH W|K L|K R|K W|K Y|
M Y|N Y|P L|P R|P Y|S K|S L|S M|S N|S P|S T|S W|SH R|T R|T W|TH R|TH W|
V Y|L Y|SH L|SH M|SH N|SH W|Z W|
S K R|S K W|S P L|S P R|S T R|S K Y|S P Y|S M Y"""
# (s f starts only a word: sphere, but SAT-us-fy)
_ONSETS = {(c,) for c in _SINGLE_ONSETS.split()} | {
    tuple(o.split()) for o in _CLUSTER_ONSETS.replace("\n", "").split("|")}

# Short vowels that close a stressed syllable with the next consonant
# (HAP-ee rather than HA-pee).
_CHECKED = {"AE", "EH", "IH", "AH", "UH"}
# Vowels that keep a following R in their own syllable (SOR-us, KAR-ee).
_R_COLOURED = {"AA", "AO", "EH", "IH", "UH", "AE", "IY", "UW", "AY", "AW", "EY", "OW", "OY"}
# Onsets after which an "ow" ending a syllable reads as in "now" (POW-er),
# not as in "show", "low" or "tow": elsewhere "ou" is written (SHOU-er,
# uh-LOU), as before another vowel with no onset (OU-er: hour).
_OW_AS_IN_NOW = {(), ("HH",), ("N",), ("K",), ("V",), ("W",), ("CH",), ("P",), ("D",),
                 ("P", "L"), ("B", "R"), ("P", "R"), ("S", "K")}

# Onsets after which "own" and "owl" read as in "known" and "bowl"
_OW_AS_IN_KNOWN = {("M",), ("N",), ("S",), ("SH",), ("B",), ("R",), ("L",), ("B", "L"),
                   ("G", "R"), ("F", "L"), ("TH", "R")}

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
        next_stress = phones[nuclei[k + 1]][1]
        if split < len(cluster):
            # only an r right after the vowel colours it (HEN-ree, not
            # HENR-ee); an unstressed vowel leaves it to a stressed one
            # (ih-REL-uh-vunt)
            if split == 0 and cluster[0] == "R" and vowel in _R_COLOURED \
                    and not (stress == 0 and next_stress == 1):
                split += 1
            elif split == 0 and stress == 1 and vowel in _CHECKED:
                split = 1
        syllables.append((onset, (vowel, stress), cluster[:split]))
        onset = cluster[split:]
    return syllables


def _spell_syllable(onset, vowel, stress, coda, before_vowel, short_ir=True, r_letters=""):
    spelled_onset = "".join(CONSONANT_SPELLING[c] for c in onset)
    spelled_coda = "".join(CONSONANT_SPELLING[c] for c in coda)
    if vowel == "IH" and coda[:1] == ["R"] and not (before_vowel and short_ir):
        # CMU writes the vowel of "near" and "hero" as that of "spirit";
        # only the spelling tells them apart between vowels
        v = "ee"
    elif vowel == "AW" and not coda and (tuple(onset) not in _OW_AS_IN_NOW or not onset and before_vowel):
        v = "ou"
    elif vowel == "AW" and coda and (coda not in (["N"], ["L"], ["N", "Z"], ["L", "Z"])
                            or tuple(onset) in _OW_AS_IN_KNOWN):
        # "ou" before a consonant reads as in "out": LOUD, SHOUT, MOUN-tun,
        # not the "low", "show" and "mown" of LOWD, SHOWT, MOWN-tun; but
        # DOWN, TOWNZ, HOWL as spelled (but FOUND, KOUNT)
        v = "ou"
    elif vowel == "AA" and onset[-1:] == ["W"] and coda[:1] == ["N"]:
        # "won" reads as in "wonder": WAHNT, WAHN-der
        v = "ah"
    elif vowel == "ER":
        # "er" after "th" reads as in "there" (FAH-ther): FAH-thur
        v = "ur" if stress or spelled_onset.endswith("th") else "er"
    elif vowel == "AY" and not onset and len(coda) == 1 and coda[0] not in ("V", "G", "TH", "DH", "SH", "ZH", "CH", "JH"):
        # ISE, ILE: EYES would read as the plural of eye
        return "i" + spelled_coda + "e"
    elif vowel == "AY" and not onset:
        v = "eye"
    elif vowel == "AY" and len(coda) == 1 and coda[0] not in ("V", "TH", "DH", "SH", "ZH", "CH", "JH", "S"):
        # TIME, SMILE: a silent e shows the long vowel, as in the spelling
        # readers know (not before v: "give", "live"; nor s: "promise",
        # and PRISE would read as "prize": PRYSE)
        return spelled_onset + "i" + spelled_coda + "e"
    elif vowel == "AY" and len(coda) == 1:
        return spelled_onset + "y" + spelled_coda + "e"
    elif vowel == "AA" and coda[:1] == ["R"]:
        # KAR, but SOR-ee; HARD-on keeps the vowel of hard, and so does an
        # r spelled after an a before a vowel (FAR-uh-way, STAR-ee)
        v = "o" if before_vowel and coda == ["R"] and not r_letters.startswith("a") else "a"
    elif vowel == "AO" and coda[:1] == ["R"]:
        # after w, "or" reads as in "word": WAWRM, not WORM
        v = "aw" if onset[-1:] == ["W"] else "o"
    elif vowel == "EH" and coda[:1] == ["R"] and (not before_vowel or r_letters in ("a", "ai", "ea", "ei")):
        # HAIR, KAIR, SKAIRD, and PAIR-unt, DAIR-ing, BAIR-ing where the
        # spelling says so: PER-unt would read as in "person"; VER-ee and
        # MER-ut keep the short vowel their e shows
        return spelled_onset + "air" + spelled_coda[1:]
    else:
        open_form, closed_form = VOWEL_SPELLING[vowel]
        v = closed_form if coda else open_form
        if vowel == "AH" and stress == 0 and not coda:
            v = "uh"
    return spelled_onset + v + spelled_coda


def _r_letters(phones, spelling):
    """For each r sound (R or ER, in order): the vowel letters spelled just
    before it ("a" in parent, "ea" in bearing, "e" in very), or None when
    there is no spelling or its r's do not match the sounds one for one."""
    sounds = sum(1 for p, _s in phones if p in ("R", "ER"))
    runs = list(re.finditer(r"r+", spelling or ""))
    if len(runs) != sounds:
        return None
    return [re.search(r"[aeiouy]*$", spelling[: m.start()]).group(0) for m in runs]


def _short_ir(r_letters, sounds):
    """For each r sound: whether an IH before it is the short i of "spirit"
    rather than the vowel of "hero". The spelling decides: an r after a
    lone i or y (spirit, lyric, irritate) is short, after e (hero, serious,
    theory, cheery) long. Without a spelling that matches, it stays short."""
    if r_letters is None:
        return [True] * sounds
    return [b in ("i", "y") for b in r_letters]


# A word made of one of these and a vowel-led word keeps the r on the
# first part (oh-ver-EE-ting, in-ter-AKT, heer-IN, mor-OH-ver).
_R_PREFIX = re.compile(r"^(?:(?:over|under|inter|hyper|super|counter|here|there|where|more|fore)"
                       r"(?=[aeiou])|wher(?=ever)|for(?=ever))")


def _keep_prefix_r(phones, spelling):
    """Puts a boundary after the first r sound of such a word."""
    if not _R_PREFIX.match(spelling or ""):
        return phones
    i = next((i for i, (p, _s) in enumerate(phones) if p in ("R", "ER")), None)
    return phones if i is None else phones[: i + 1] + [(BOUNDARY, None)] + phones[i + 1:]


def _move_r_to_stressed_vowel(phones):
    """CMU writes the first vowel of "arrive" and "career" as ER: said
    before a stressed vowel it is "uh" and its r starts that syllable
    (uh-RYVE), not er-EYEV."""
    out = []
    for i, (p, s) in enumerate(phones):
        nxt = phones[i + 1] if i + 1 < len(phones) else (None, None)
        if p == "ER" and s == 0 and nxt[1] == 1:
            out += [("AH", 0), ("R", None)]
        else:
            out.append((p, s))
    return out


def _aw_in_ought(phones, spelling):
    """CMU writes the vowel of "bought" and "afterthought" as that of "cot";
    spelled ought or aught it is the vowel of "thought" (BAWT, AF-ter-thawt).
    Only where each such spelling has its one AA before T."""
    spelled = len(re.findall(r"[ao]ught", spelling or ""))
    at = [i for i in range(len(phones) - 1) if phones[i][0] == "AA" and phones[i + 1][0] == "T"]
    if not spelled or len(at) != spelled:
        return phones
    return [("AO", s) if i in at else (p, s) for i, (p, s) in enumerate(phones)]


# gamble + ing, settle + er, wobble + y: the l of a word ending in a
# consonant and "le" joins the ending (GAM-bling, SET-ler, WAH-blee); CMU's
# schwa before it would read as a syllable of its own (GAM-buh-ling)
_SYLLABIC_L_ENDING = re.compile(r"[bcdfgkpstvz]l(?:ing|ings|er|ers|y)$")
_SYLLABIC_L_TAIL = [["IH", "NG"], ["IH", "NG", "Z"], ["ER"], ["ER", "Z"], ["IY"]]


def _syllabic_l_joins_ending(phones, spelling):
    if not _SYLLABIC_L_ENDING.search(spelling or ""):
        return phones
    for tail in _SYLLABIC_L_TAIL:
        i = len(phones) - len(tail) - 2
        if i < 1 or [p for p, _s in phones[i + 2:]] != tail or phones[i + 2][1] != 0:
            continue
        if phones[i] == ("AH", 0) and phones[i + 1][0] == "L" and phones[i - 1][1] is None \
                and phones[i - 1][0] != BOUNDARY:
            return phones[:i] + phones[i + 1:]
    return phones


def _final_s(spelled, onset, vowel, coda):
    """A stressed word-final s after a vowel, n, l or r reads as z when
    written once (PEES, LAWS, SENS): PEESS, LAWSS, SENSS. Not after u (BUS,
    PLUS: "uss" would read as in "puss")."""
    if coda[-1:] != ["S"] or (len(coda) > 1 and coda[-2] not in ("N", "L", "R")) or vowel == "AH":
        return spelled
    if vowel == "AY" and coda == ["S"]:
        # PRYSE and ISE would read as "prize" and "eyes"
        return "".join(CONSONANT_SPELLING[c] for c in onset) + "yss" if onset else "eyess"
    return spelled + "s"


# endings that carry a word's stress (en-juh-NEER, ree-luh-ZAY-shun)
LATE_STRESS = re.compile(r"(?:eer|eers|eering|ation|ations|ition|itions|ution|utions|ity|ities)$")


def respell(arpabet, spelling=None):
    """spelling (the word, lower case) settles what the sounds leave open."""
    phones = parse_phones(arpabet)
    stresses = [s for _p, s in phones if s is not None]
    if stresses and 1 not in stresses:
        # a few entries mark no primary stress: take the strongest syllable
        strongest = 2 if 2 in stresses else 0
        i = next(i for i, (_p, s) in enumerate(phones) if s == strongest)
        phones[i] = (phones[i][0], 1)
    primaries = [i for i, (_p, s) in enumerate(phones) if s == 1]
    if len(primaries) > 1 and BOUNDARY not in arpabet.split() and LATE_STRESS.search(spelling or ""):
        # CMU marks two primary stresses in a few words whose ending
        # takes the stress (engineer, realization): the last one is it
        for i in primaries[:-1]:
            phones[i] = (phones[i][0], 2)
    phones = _syllabic_l_joins_ending(_aw_in_ought(phones, spelling), spelling)
    r_letters = _r_letters(phones, spelling)
    short_ir = _short_ir(r_letters, sum(1 for p, _s in phones if p in ("R", "ER")))
    r_letters = r_letters or []
    phones = _move_r_to_stressed_vowel(_keep_prefix_r(phones, spelling))
    syllables = syllabify(phones)
    parts = []
    r_sounds = 0
    for i, (onset, (vowel, stress), coda) in enumerate(syllables):
        before_vowel = i + 1 < len(syllables) and not syllables[i + 1][0]
        r_sounds += onset.count("R") + (vowel == "ER")
        ir = short_ir[r_sounds] if coda[:1] == ["R"] and r_sounds < len(short_ir) else True
        letters = r_letters[r_sounds] if coda[:1] == ["R"] and r_sounds < len(r_letters) else ""
        r_sounds += coda.count("R")
        s = _spell_syllable(onset, vowel, stress, coda, before_vowel, ir, letters)
        if i == len(syllables) - 1 and stress > 0:
            s = _final_s(s, onset, vowel, coda)
        parts.append(s.upper() if stress == 1 else s)
    return "-".join(parts)


def demote_stress(arpabet):
    """Primary stress becomes secondary: for the later parts of a compound."""
    return arpabet.replace("1", "2")


def parse_pronunciations(lines, width=30):
    """{lowercase word: respelling} from tab-separated lines of word,
    respelling and why the rules' respelling was replaced; '#' starts a
    comment. Raises ValueError on a line without its reason, a malformed
    or over-long respelling, or a word listed twice."""
    table = {}
    for n, line in enumerate(lines, 1):
        line = line.rstrip("\r\n")
        if not line.strip() or line.startswith("#"):
            continue
        values = [v.strip() for v in line.split("\t")]
        if len(values) != 3 or not all(values):
            raise ValueError("pronunciations line %d: word, respelling and reason needed" % n)
        word, text = values[0].lower(), values[1]
        if not _RESPELLING.match(text) or text.islower() or len(text) > width:
            raise ValueError("pronunciations line %d: malformed respelling %r" % (n, text))
        if word in table:
            raise ValueError("pronunciations line %d: %s twice" % (n, word))
        table[word] = text
    return table


def load_pronunciations(path=PRONUNCIATIONS_FILE):
    if not os.path.exists(path):
        return {}
    with open(path, "rb") as fh:
        return parse_pronunciations(_ascii_lines(fh, path))


def _ascii_lines(fh, path):
    """The file's lines as text; a byte outside ASCII is named by its line
    rather than left to stop the run with a bare decoding error."""
    for n, raw in enumerate(fh, 1):
        try:
            yield raw.decode("ascii")
        except UnicodeDecodeError:
            raise ValueError("%s line %d: not plain ASCII" % (os.path.basename(path), n)) from None
