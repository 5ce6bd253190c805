"""Unit tests of the morphology data writer; they use small made-up lists."""

import os
import tempfile
import unittest

from morphology import morphology_text


class MorphologyTextTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        root = self.dir.name
        lists = {"noun": "mice mouse\nbureaux_de_change bureau_de_change\n",
                 "verb": "went go\n", "adj": "better good well\n", "adv": "\n"}
        for name, text in lists.items():
            with open(os.path.join(root, name + ".exc"), "w", encoding="latin-1") as fh:
                fh.write(text)
        self.licence = os.path.join(root, "LICENSE")
        with open(self.licence, "w", encoding="ascii") as fh:
            fh.write("Our preface\n\nThis software and database is provided.\n\nWordNet 3.0 Copyright 2006\n")

    def tearDown(self):
        self.dir.cleanup()

    def test_lists_rules_and_licence(self):
        lines = morphology_text(self.dir.name, self.licence).split("\n")
        self.assertIn("# This software and database is provided.", lines)
        self.assertIn("# WordNet 3.0 Copyright 2006", lines)
        self.assertNotIn("# Our preface", lines)
        self.assertIn("rule\tn\tses\ts", lines)
        self.assertIn("rule\tv\ting\t", lines)
        exc = [l for l in lines if l.startswith("exc")]
        self.assertEqual(exc, ["exc\tn\tmice\tmouse", "exc\tn\tbureaux de change\tbureau de change",
                               "exc\tv\twent\tgo", "exc\ta\tbetter\tgood\twell"])
        self.assertEqual(lines[-1], "")

    def test_refuses_what_the_format_cannot_carry(self):
        with open(os.path.join(self.dir.name, "verb.exc"), "a", encoding="latin-1") as fh:
            fh.write("caf\xe9s caf\xe9\n")
        with self.assertRaises(ValueError):
            morphology_text(self.dir.name, self.licence)


if __name__ == "__main__":
    unittest.main()
