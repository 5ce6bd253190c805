#!/usr/bin/env bash
# Every program answers --help (usage on standard output, status 0) and
# --version (its name and the suite's version, status 0) without opening a
# window; a wrong option is an error; the set-up finds its data and icons
# from the build tree and fails on a data folder that is not there.
#   check-command-lines.sh BUILD_DIR VERSION
set -uo pipefail
build=$1
version=$2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

declare -A programs=(
  [kavix]=kavix/kavix [wkvx]=wkvx/wkvx [exportUtil4Kavix]=exportutil/exportUtil4Kavix
  [rtfcat]=wkvx/rtf/rtfcat [lexivane-setup]=tools/setup/lexivane-setup
)
for name in "${!programs[@]}"; do
  program="$build/${programs[$name]}"
  # A window that opened would keep the program running: the timeout ends it.
  timeout 20 "$program" --help >"$out" 2>"$err"
  status=$?
  [ "$status" -eq 0 ] || fail "$name --help exits $status"
  grep -q "^usage: $name" "$out" || fail "$name --help prints no usage on standard output: $(head -c 200 "$out")"
  [ ! -s "$err" ] || fail "$name --help writes to standard error: $(head -c 200 "$err")"

  timeout 20 "$program" --version >"$out" 2>"$err"
  status=$?
  [ "$status" -eq 0 ] || fail "$name --version exits $status"
  [ "$(cat "$out")" = "$name $version" ] || fail "$name --version prints '$(cat "$out")'"
done

# Only the option alone is an option: rtfcat and the set-up reject others.
for name in rtfcat lexivane-setup; do
  timeout 20 "$build/${programs[$name]}" --no-such-option >"$out" 2>"$err"
  status=$?
  [ "$status" -eq 2 ] || fail "$name --no-such-option exits $status"
  grep -q "^usage: $name" "$err" || fail "$name --no-such-option gives no usage on standard error"
done

setup="$build/tools/setup/lexivane-setup"
home=$(mktemp -d)
HOME=$home XDG_DATA_DIRS=$home/none "$setup" --data "$home/nonexistent" >"$out" 2>"$err"
status=$?
[ "$status" -ne 0 ] || fail "lexivane-setup --data with no such folder exits 0"
grep -q "$home/nonexistent" "$err" || fail "lexivane-setup does not name the missing folder: $(cat "$err")"
[ ! -e "$home/Lexivane" ] || fail "lexivane-setup made ~/Lexivane from a missing data folder"

# From the build tree, with no options, it takes the sources' data and icons.
HOME=$home XDG_DATA_DIRS=$home/none "$setup" >"$out" 2>"$err"
status=$?
[ "$status" -eq 0 ] || fail "lexivane-setup from the build tree exits $status: $(cat "$err")"
[ -s "$home/Lexivane/db/dictionary.kvx" ] || fail "no dictionary installed from the build tree"
for id in kavix wkvx exportutil; do
  [ -f "$home/.local/share/icons/hicolor/scalable/apps/org.example.lexivane.$id.svg" ] \
    || fail "no $id icon from the build tree"
done
grep -q "^Exec=\"$build/kavix/kavix\"" "$home/.local/share/applications/org.example.lexivane.kavix.desktop" \
  || fail "the build tree's kavix entry does not start $build/kavix/kavix"
rm -rf "$home"

if [ "$failures" -ne 0 ]; then
  echo "$failures failures" >&2
  exit 1
fi
echo "command lines checked"
