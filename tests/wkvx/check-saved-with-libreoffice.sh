#!/bin/sh
# Checks that a document formatted and saved by the word processor opens in
# LibreOffice Writer with the same text, bold, italic, underline, fonts,
# sizes, colours and alignment. Needs soffice; not part of the test suite.
#   check-saved-with-libreoffice.sh WKVX_FORMATSAMPLE
set -eu
sample=$1
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$sample" "$work/formatted.rtf"
(cd "$work" && nice soffice --headless --convert-to fodt --outdir "$work/lo" formatted.rtf >/dev/null 2>&1)
python3 "$here/check-fodt-formatting.py" "$work/lo/formatted.fodt"
