#!/usr/bin/env bash
# Installs the build into a temporary prefix whose name holds characters that
# menu entries must escape, and checks what a desktop reads there: the entries
# (desktop-file-validate, each naming an installed program), the AppStream
# metainfo (appstreamcli validate), icons at every size, man pages, copyright.
#   check-install.sh BUILD_DIR
set -euo pipefail
build=$1
for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    echo "FAIL: $tool is missing (Debian: desktop-file-utils, appstream)" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/pre fix%20\$HOME"
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

ids=(org.example.lexivane.kavix org.example.lexivane.wkvx org.example.lexivane.exportutil)
programs=(kavix wkvx exportUtil4Kavix)
for i in 0 1 2; do
  id=${ids[$i]}
  program="$prefix/bin/${programs[$i]}"
  entry="$prefix/share/applications/$id.desktop"
  [ -f "$entry" ] || { fail "no menu entry $id.desktop"; continue; }
  desktop-file-validate "$entry" || fail "desktop-file-validate $id.desktop"
  # TryExec is a plain string: only its backslashes would be escaped.
  tryexec=$(sed -n 's/^TryExec=//p' "$entry")
  [ "$tryexec" = "$program" ] || fail "$id: TryExec=$tryexec, not $program"
  [ -x "$program" ] || fail "$id: $program is not installed"
  grep -qx "StartupWMClass=${programs[$i]}" "$entry" || fail "$id: StartupWMClass"
  grep -qx "Icon=$id" "$entry" || fail "$id: Icon"
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null \
    || fail "appstreamcli validate $id.metainfo.xml: $(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" 2>&1)"
  [ -f "$prefix/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "$id: no SVG icon"
  for size in 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$png" ] || { fail "$id: no ${size}x${size} icon"; continue; }
    # The PNG header's width and height, big-endian at bytes 16 and 20.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x${size}" ] || fail "$id: the ${size}x${size} icon is $dims"
  done
done
grep -qx 'MimeType=text/rtf;application/rtf;' "$prefix/share/applications/org.example.lexivane.wkvx.desktop" \
  || fail "wkvx does not take RTF files"
# The Exec line, unescaped as a desktop does, is the installed program.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/org.example.lexivane.wkvx.desktop")
unescaped=$(printf '%s' "$exec_line" | sed -e 's/\\\\/\\/g' -e 's/%%/%/g')
eval "set -- $unescaped"
[ "$1" = "$prefix/bin/wkvx" ] && [ "${2:-}" = "%F" ] || fail "wkvx's Exec line gives '$1' '${2:-}'"
for page in kavix wkvx exportUtil4Kavix lexivane-setup rtfcat; do
  [ -f "$prefix/share/man/man1/$page.1.gz" ] || fail "no man page $page.1.gz"
  gzip -dc "$prefix/share/man/man1/$page.1.gz" | grep -q '^\.TH ' || fail "$page.1.gz is no manual page"
done
[ -s "$prefix/share/doc/lexivane/copyright" ] || fail "no copyright file"
[ -f "$prefix/share/lexivane/dictionary.csv" ] || fail "no default dictionary"
# Every installed file is in the manifest, so an install can be undone.
while IFS= read -r -d '' f; do
  grep -qxF "$f" "$build/install_manifest.txt" || fail "not in install_manifest.txt: $f"
done < <(find "$prefix" -type f -print0)

if [ "$failures" -ne 0 ]; then
  echo "$failures failures" >&2
  exit 1
fi
echo "install checked: $prefix"
