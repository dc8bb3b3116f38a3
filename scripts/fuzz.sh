#!/usr/bin/env bash
# A long fuzz run of one harness on one core: `scripts/fuzz.sh <harness> [runs]` (default
# 10 million), e.g. `scripts/fuzz.sh key_combo`. Builds the harnesses first; new inputs go to
# build/asan/fuzz-corpus/<harness>, the seeds in tests/data/fuzz/<harness> are read as well.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
name="${1:?usage: $0 ini_document|theme_file|key_combo|path_expansion|typed_text [runs]}"
runs="${2:-10000000}"
KEYVANE_JOBS=1 "$root/scripts/build.sh" asan >/dev/null
corpus="$root/build/asan/fuzz-corpus/$name"
mkdir -p "$corpus"
# The theme harness keeps its one form alive to the end on purpose.
leaks=1
[ "$name" = theme_file ] && leaks=0
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=$leaks}" exec "$root/build/asan/fuzz/fuzz_$name" \
  -runs="$runs" -print_final_stats=1 -artifact_prefix="$root/build/asan/" "$corpus" \
  "$root/tests/data/fuzz/$name"
