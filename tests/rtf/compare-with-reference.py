#!/usr/bin/env python3
"""Compare rtfcat's text with reference text files.

usage: compare-with-reference.py RTFCAT FOLDER [--show]

rtfcat runs with --libreoffice. FOLDER holds NAME.rtf files with NAME.txt beside them (UTF-8, optionally with
a byte order mark), such as LibreOffice's "Text (encoded)" export. Prints one
line per file and a summary; exits non-zero when any file differs or when
rtfcat fails.
"""
import difflib
import pathlib
import subprocess
import sys


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
        elif got == expected:
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
