#!/bin/sh
# Checks that what `rtfcat --rtf` writes keeps what the document does not
# show: for every FILE, LibreOffice must read from the rewritten file the same
# body text, header, footer and footnote text, page size and margins as from
# the original. Needs soffice and python3; not part of the test suite.
#   check-kept-parts-with-libreoffice.sh RTFCAT FILE...
set -eu
rtfcat=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in" "$work/out"
for f in "$@"; do
    name=$(basename "$f" .rtf)
    cp "$f" "$work/in/$name.rtf"
    "$rtfcat" --rtf "$f" > "$work/out/$name.rtf"
done
for side in in out; do
    (cd "$work/$side" && HOME="$work/home" soffice --headless --convert-to fodt --outdir "$work/$side" ./*.rtf >/dev/null 2>&1)
done
# The parts of a flat ODF document, one per line: body text, then headers,
# footers and notes in document order, then each page layout's size and margins.
cat > "$work/parts.py" <<'PY'
import sys
import xml.etree.ElementTree as ET
ns = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
}
T = "{%s}" % ns["text"]
def text(e, skip_notes):
    out = e.text or ""
    for c in e:
        if skip_notes and c.tag == T + "note":
            cite = c.find("text:note-citation", ns)
            out += cite.text or "" if cite is not None else ""
        elif c.tag == T + "s":
            out += " " * int(c.get(T + "c", "1"))
        elif c.tag == T + "tab":
            out += "\t"
        elif c.tag == T + "line-break":
            out += "\n"
        else:
            out += text(c, skip_notes)
        out += c.tail or ""
    return out
root = ET.parse(sys.argv[1]).getroot()
body = root.find("office:body/office:text", ns)
for p in body.iter():
    if p.tag in (T + "p", T + "h"):
        print("body:", text(p, True))
for note in body.iter(T + "note"):
    print("note %s %s:" % (note.get(T + "note-class"), (note.find("text:note-citation", ns).text or "")),
          " / ".join(text(p, True) for p in note.iter(T + "p")))
for page in root.iter("{%s}master-page" % ns["style"]):
    for kind in ("header", "header-left", "header-first", "footer", "footer-left", "footer-first"):
        for part in page.findall("style:" + kind, ns):
            print(kind + ":", " / ".join(text(p, True) for p in part.iter(T + "p")))
for layout in root.iter("{%s}page-layout-properties" % ns["style"]):
    fo = "{%s}" % ns["fo"]
    print("page:", " ".join(layout.get(fo + k, "-") for k in
                            ("page-width", "page-height", "margin-left", "margin-right", "margin-top", "margin-bottom")))
PY
same=0
total=0
for f in "$work"/in/*.rtf; do
    name=$(basename "$f" .rtf)
    total=$((total + 1))
    python3 "$work/parts.py" "$work/in/$name.fodt" > "$work/$name.in"
    python3 "$work/parts.py" "$work/out/$name.fodt" > "$work/$name.out"
    if cmp -s "$work/$name.in" "$work/$name.out"; then
        same=$((same + 1))
        echo "SAME   $name ($(grep -c -v '^body:' "$work/$name.in") parts besides the body)"
    else
        echo "DIFF   $name"
        diff "$work/$name.in" "$work/$name.out" | head -10 | sed 's/^/       /'
    fi
done
echo "$same of $total keep their parts in LibreOffice"
[ "$same" -eq "$total" ]
