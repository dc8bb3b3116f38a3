#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test suite:
#   native tests (GoogleTest), the same under AddressSanitizer and UBSan, a short fuzz run of
#   the INI reader, every Windows source compiled by clang for Windows (syntax only), the
#   Windows tests under Wine, the end-to-end scenarios on the real keyvane.exe, the setup
#   program under Wine, and a check that both Windows builds import only system DLLs.
# KEYVANE_FUZZ_SECONDS sets the fuzz time (default 30).
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
start=$(date +%s)
total_passed=0
total_failed=0
failures=()

step() { printf '\n==== %s ====\n' "$*"; }
record() {  # name, passed, failed
  total_passed=$((total_passed + $2))
  total_failed=$((total_failed + $3))
  [ "$3" = 0 ] || failures+=("$1")
}
# Runs ctest in a build dir and records its counts.
run_ctest() {
  local name="$1" dir="$2" out
  out="$(mktemp)"
  ctest --test-dir "$dir" --output-on-failure -j2 2>&1 | tee "$out"
  local line total fail
  line="$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -n1)"
  if [ -z "$line" ]; then
    record "$name (no result)" 0 1
  else
    fail="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")"
    total="$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")"
    record "$name" $((total - fail)) "$fail"
  fi
  rm -f "$out"
}
must() {  # a build step that must succeed
  if ! "$@"; then
    echo "FAILED: $*"
    record "$*" 0 1
    return 1
  fi
}

step "Packages"
scripts/deps.sh || { echo "could not install the packages"; exit 1; }

step "Native build and tests"
must scripts/build.sh native && run_ctest native build/native

step "Native tests under AddressSanitizer and UBSan"
if must scripts/build.sh asan; then
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest sanitizers build/asan
  # Every harness from its seeds in tests/data/fuzz/<harness>: the INI reader for
  # KEYVANE_FUZZ_SECONDS, the others for 8 s each; `scripts/fuzz.sh <harness>` runs one longer.
  for harness in ini_document theme_records theme_file key_combo path_expansion typed_text; do
    seconds=8
    [ $harness = ini_document ] && seconds="${KEYVANE_FUZZ_SECONDS:-30}"
    step "Fuzzing $harness for $seconds s"
    corpus="build/asan/fuzz-corpus/$harness"
    mkdir -p "$corpus"
    seeds="tests/data/fuzz/$harness"
    leaks=1
    [ $harness = theme_file ] && leaks=0  # its one form lives to the end on purpose
    if ASAN_OPTIONS=detect_leaks=$leaks build/asan/fuzz/fuzz_$harness -max_total_time="$seconds" \
        -print_final_stats=1 -artifact_prefix=build/asan/ "$corpus" "$seeds" 2>&1 | tail -n 4; then
      record "fuzz $harness" 1 0
    else
      record "fuzz $harness" 0 1
    fi
  done
fi

step "Windows sources under clang (syntax only)"
# A second compiler over every Windows source, against the same MinGW-w64 headers; the 32-bit
# target again for the Windows layer and its tests, whose callbacks are stdcall there.
for pass in "x86_64 all" "i686 windows"; do
  # shellcheck disable=SC2086
  if scripts/clang-check.sh $pass; then record "clang $pass" 1 0; else record "clang $pass" 0 1; fi
done

step "Windows builds (64-bit and 32-bit)"
win64=0
must scripts/build.sh win64 && win64=1
must scripts/build.sh win32
for kind in win64 win32; do
  exe="build/$kind/platform/win32/keyvane.exe"
  [ -f "$exe" ] || continue
  # Only the KnownDLLs, which Windows never takes from the program's folder.
  if tests/release/check_imports.sh "$exe"; then record "$kind imports" 1 0; else record "$kind imports" 0 1; fi
  ls -l "$exe"
  if python3 tests/help/check_help.py "build/$kind/platform/win32/Keyvane.chm"; then record "$kind help" 1 0; else record "$kind help" 0 1; fi
done

if [ "$win64" = 1 ]; then
  # shellcheck source=wine-env.sh
  source scripts/wine-env.sh
  if wine_env_start build/win64; then
    step "Windows tests under Wine"
    # A small file system to fill, for the test of a save on a full disk (skipped without it).
    full_disk="$root/build/win64/full-disk"
    mkdir -p "$full_disk"
    if mountpoint -q "$full_disk" || mount -t tmpfs -o size=256k tmpfs "$full_disk" 2>/dev/null; then
      KEYVANE_FULL_DISK_FOLDER="$(winepath -w "$full_disk" 2>/dev/null | tr -d '\r')"
      export KEYVANE_FULL_DISK_FOLDER
    fi
    run_ctest windows build/win64
    unset KEYVANE_FULL_DISK_FOLDER
    umount "$full_disk" 2>/dev/null || true
    step "End-to-end scenarios on keyvane.exe"
    e2e_out="$(mktemp)"
    tests/e2e/run.sh build/win64 | tee "$e2e_out"
    line="$(tail -n1 "$e2e_out")"
    record e2e "$(cut -d' ' -f1 <<<"$line")" "$(cut -d' ' -f3 <<<"$line")"
    step "The setup program under Wine"
    tests/release/check_installer.sh build/win64 | tee "$e2e_out"
    line="$(tail -n1 "$e2e_out")"
    record setup "$(cut -d' ' -f1 <<<"$line")" "$(cut -d' ' -f3 <<<"$line")"
    rm -f "$e2e_out"
    wine_env_stop
  else
    record "wine environment" 0 1
  fi
fi

echo
echo "Took $(( $(date +%s) - start )) s."
[ ${#failures[@]} = 0 ] || echo "Failing: ${failures[*]}"
echo "$total_passed passed, $total_failed failed"
[ "$total_failed" = 0 ]
