#!/bin/sh
# Checks that the pictures `rtfcat --rtf` writes open in LibreOffice: every
# FILE is rewritten, converted to ODT, and its images counted against the
# pictures the rewritten file holds. Needs soffice and unzip; not part of the
# test suite.
#   check-pictures-with-libreoffice.sh RTFCAT FILE...
set -eu
rtfcat=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for f in "$@"; do
    name=$(basename "$f" .rtf)
    "$rtfcat" --rtf "$f" > "$work/$name.rtf"
    written=$(grep -o '{\\pict' "$work/$name.rtf" | wc -l)
    soffice -env:UserInstallation="file://$work/profile" --headless --convert-to odt --outdir "$work" \
        "$work/$name.rtf" >/dev/null 2>&1 || true
    if [ ! -f "$work/$name.odt" ]; then
        echo "FAIL   $name: LibreOffice could not open the written file"
        status=1
        continue
    fi
    shown=$(unzip -p "$work/$name.odt" content.xml | grep -o '<draw:image ' | wc -l)
    if [ "$shown" -eq "$written" ]; then
        echo "same   $name: $shown pictures"
    else
        echo "DIFF   $name: $written pictures written, LibreOffice shows $shown"
        status=1
    fi
done
exit $status
