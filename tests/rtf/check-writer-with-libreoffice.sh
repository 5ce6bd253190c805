#!/bin/sh
# Checks that what `rtfcat --rtf` writes opens in LibreOffice with the text the
# reader found: for every FOLDER/*.rtf, LibreOffice's text of the rewritten
# file must equal `rtfcat FILE`. Needs soffice; not part of the test suite.
#   check-writer-with-libreoffice.sh RTFCAT FOLDER
set -eu
rtfcat=$1
folder=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Readers differ in the glyph they show for a bullet; a list line's bullet
# stands for any other.
bullets() {
    sed -E 's/^( {4,})(•|◦|▪|▫|■|□|●|○|➢|➤|✓|✔|❖|◆|◇|♦|♣|✗|☐|☑|⇨|➔|–|·|\*|o|-) /\1• /'
}
for f in "$folder"/*.rtf; do
    name=$(basename "$f" .rtf)
    "$rtfcat" --rtf "$f" > "$work/$name.rtf"
    "$rtfcat" "$f" > "$work/$name.expected"
    bullets < "$work/$name.expected" > "$work/$name.bullets"
done
(cd "$work" && soffice --headless --convert-to "txt:Text (encoded):UTF8" --outdir "$work/lo" ./*.rtf >/dev/null 2>&1)
same=0
total=0
for f in "$work"/*.expected; do
    name=$(basename "$f" .expected)
    total=$((total + 1))
    if sed '1s/^\xEF\xBB\xBF//' "$work/lo/$name.txt" | bullets | cmp -s - "$work/$name.bullets"; then
        same=$((same + 1))
    else
        echo "DIFF   $name"
        sed '1s/^\xEF\xBB\xBF//' "$work/lo/$name.txt" | bullets | diff "$work/$name.bullets" - | head -6 | sed 's/^/       /'
    fi
done
echo "$same of $total read back the same in LibreOffice"
[ "$same" -eq "$total" ]
