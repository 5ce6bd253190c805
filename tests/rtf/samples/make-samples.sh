#!/bin/sh
# Regenerates the RTF samples and their reference text from the sources here.
# Needs LibreOffice (libreoffice-writer-nogui), AbiWord and pandoc; the tests
# themselves only read the committed outputs.
#   NAME.rtf  saved by a real program
#   NAME.txt  LibreOffice's plain text of NAME.rtf (UTF-8)
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# LibreOffice: HTML into Writer, then Word's RTF filter.
soffice --headless --infilter="HTML (StarWriter)" --convert-to odt --outdir "$work" essay.html >/dev/null 2>&1
soffice --headless --convert-to "rtf:Rich Text Format" --outdir "$work" "$work/essay.odt" >/dev/null 2>&1
cp "$work/essay.rtf" libreoffice-essay.rtf
soffice --headless --infilter="Text (encoded):UTF8,LF,," --convert-to "rtf:Rich Text Format" --outdir "$work" memo.txt >/dev/null 2>&1
cp "$work/memo.rtf" libreoffice-memo.rtf
# Footnotes, header and footer, nested list, merged cells, fields.
soffice --headless --convert-to "rtf:Rich Text Format" --outdir "$work" report.fodt >/dev/null 2>&1
cp "$work/report.rtf" libreoffice-report.rtf

# AbiWord
abiword --to=rtf --to-name="$work/abiword-essay.rtf" essay.html >/dev/null 2>&1
cp "$work/abiword-essay.rtf" abiword-essay.rtf
abiword --to=rtf --to-name="$work/abiword-memo.rtf" memo.txt >/dev/null 2>&1
cp "$work/abiword-memo.rtf" abiword-memo.rtf

# pandoc
pandoc -s -f markdown -t rtf -o pandoc-notes.rtf notes.md
pandoc -s -f html -t rtf -o pandoc-essay.rtf essay.html

for rtf in libreoffice-essay libreoffice-memo libreoffice-report abiword-essay abiword-memo pandoc-notes pandoc-essay; do
    soffice --headless --convert-to "txt:Text (encoded):UTF8" --outdir "$work" "$rtf.rtf" >/dev/null 2>&1
    # Drop the byte order mark LibreOffice writes.
    sed '1s/^\xEF\xBB\xBF//' "$work/$rtf.txt" > "$rtf.txt"
done
