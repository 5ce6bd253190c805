"""Tests of the review counter (review/shares.py)."""

import importlib.util
import os
import tempfile
import unittest

_HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("shares", os.path.join(_HERE, "review", "shares.py"))
shares = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(shares)


class SharesTest(unittest.TestCase):
    def counted(self, rows):
        head = "rank\tword\tmeaning ok\tsynonyms ok\tantonyms ok\texample ok\tnote"
        with tempfile.NamedTemporaryFile("w", suffix=".tsv", delete=False, encoding="ascii") as fh:
            fh.write(head + "\n" + "\n".join(rows) + "\n")
        self.addCleanup(os.remove, fh.name)
        return dict(shares.shares(fh.name))

    def test_an_empty_example_mark_counts_as_no_example(self):
        got = self.counted(["1\ta\tY\tY\tY\tY\t",
                            "2\tb\tY\tY\tY\t-\t",
                            "3\tc\tY\tY\tY\t\t",
                            "4\td\tY\tY\tY\tN\t"])
        self.assertEqual(got["entries"], 4)
        self.assertEqual(got["with an example"], 50.0)
        # of the two with an example, one is in the sense
        self.assertEqual(got["examples in the sense"], 50.0)
        # an entry without an example fails the three together
        self.assertEqual(got["meaning, synonyms, example"], 25.0)


if __name__ == "__main__":
    unittest.main()
