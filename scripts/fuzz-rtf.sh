#!/bin/sh
# Runs the RTF reader's fuzz target for SECONDS (default 60).
#   scripts/fuzz-rtf.sh [SECONDS]
# Builds in build-fuzz with clang and libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer on). The corpus starts from the test samples and
# grows in build-fuzz/corpus; crashes are written to build-fuzz/crashes.
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
cmake -S "$root" -B "$build" -G Ninja -DLEXIVANE_FUZZ=ON -DLEXIVANE_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2 --target rtfreader_fuzz
mkdir -p "$build/corpus" "$build/crashes"
cp "$root"/tests/rtf/samples/*.rtf "$build/corpus/" 2>/dev/null || true
cd "$build/crashes"
"$build/fuzz/rtfreader_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -dict="$root/fuzz/rtf.dict" "$build/corpus"
