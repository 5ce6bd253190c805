#!/usr/bin/env python3
"""Compare rtfcat's text with reference text files.

usage: compare-with-reference.py RTFCAT FOLDER [--show]

rtfcat runs with --libreoffice; a list line's bullet glyph matches any other
bullet glyph. FOLDER holds NAME.rtf files with NAME.txt beside them (UTF-8, optionally with
a byte order mark), such as LibreOffice's "Text (encoded)" export. Prints one
line per file and a summary; exits non-zero when any file differs or when
rtfcat fails.
"""
import difflib
import pathlib
import re
import subprocess
import sys

# Readers differ in the glyph they show for a bullet (LibreOffice's text export
# puts its own per level), so a list line's bullet matches any other bullet.
BULLETS = "\u2022\u25e6\u25aa\u25ab\u25a0\u25a1\u25cf\u25cb\u27a2\u27a4\u2713\u2714\u2756\u25c6\u25c7\u2666\u2663\u2717\u2610\u2611\u21e8\u2794\u2013\u00b7*o-"
BULLET_LINE = re.compile("^( {4,})[" + re.escape(BULLETS) + "] ", re.M)


def same_bullets(text):
    return BULLET_LINE.sub(lambda m: m.group(1) + "\u2022 ", text)


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    rtfcat, folder = sys.argv[1], pathlib.Path(sys.argv[2])
    show = "--show" in sys.argv[3:]
    files = sorted(folder.glob("*.rtf"))
    matched = 0
    for rtf in files:
        ref_path = rtf.with_suffix(".txt")
        if not ref_path.exists():
            continue
        expected = ref_path.read_text(encoding="utf-8-sig").replace("\r\n", "\n")
        try:
            run = subprocess.run([rtfcat, "--libreoffice", str(rtf)], capture_output=True, timeout=60)
        except subprocess.TimeoutExpired:
            print(f"HANG   {rtf.name}")
            continue
        got = run.stdout.decode("utf-8", errors="replace")
        if run.returncode != 0:
            print(f"FAIL   {rtf.name}: {run.stderr.decode(errors='replace').strip()}")
        elif same_bullets(got) == same_bullets(expected):
            matched += 1
            print(f"same   {rtf.name}")
        else:
            print(f"DIFF   {rtf.name}")
            if show:
                diff = difflib.unified_diff(expected.splitlines(), got.splitlines(), "reference", "rtfcat", lineterm="", n=0)
                for line in list(diff)[:20]:
                    print("       " + line)
    print(f"{matched} of {len(files)} match")
    return 0 if matched == len(files) else 1


if __name__ == "__main__":
    sys.exit(main())
