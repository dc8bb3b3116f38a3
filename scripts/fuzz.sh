#!/usr/bin/env bash
# A long fuzz run of one harness on one core: `scripts/fuzz.sh <harness> [runs]` (default
# 10 million), e.g. `scripts/fuzz.sh key_combo`. The run uses the harnesses built for speed
# (scripts/build.sh fuzz, no AddressSanitizer); every input it keeps is then run once more
# under AddressSanitizer and UBSan. New inputs go to build/fuzz/corpus/<harness>; the seeds in
# tests/data/fuzz/<harness> are read as well. A crash is written to build/fuzz/crash-*.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
name="${1:?usage: $0 ini_document|theme_records|theme_file|key_combo|path_expansion|typed_text [runs]}"
runs="${2:-10000000}"
KEYVANE_JOBS=1 KEYVANE_TARGET="fuzz_$name" "$root/scripts/build.sh" fuzz >/dev/null
KEYVANE_JOBS=1 KEYVANE_TARGET="fuzz_$name" "$root/scripts/build.sh" asan >/dev/null
corpus="$root/build/fuzz/corpus/$name"
mkdir -p "$corpus"
"$root/build/fuzz/fuzz/fuzz_$name" -runs="$runs" -print_final_stats=1 \
  -artifact_prefix="$root/build/fuzz/" "$corpus" "$root/tests/data/fuzz/$name"
# The theme harness keeps its one form alive to the end on purpose.
leaks=1
[ "$name" = theme_file ] && leaks=0
echo "Replaying $(find "$corpus" -type f | wc -l) kept inputs under AddressSanitizer and UBSan"
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=$leaks}" "$root/build/asan/fuzz/fuzz_$name" -runs=0 \
  -artifact_prefix="$root/build/fuzz/asan-" "$corpus" 2>&1 | tail -n 3
