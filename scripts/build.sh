#!/usr/bin/env bash
# Builds Keyvane: `scripts/build.sh native|asan|fuzz|win64|win32` into build/<kind>; extra arguments
# go to the configure step. KEYVANE_TARGET builds one target instead of all.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
kind="${1:-win64}"
shift || true
jobs="${KEYVANE_JOBS:-2}"
case "$kind" in
  native)
    cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null ;;
  asan)
    CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DKEYVANE_SANITIZE=ON -DKEYVANE_BENCH=OFF -DKEYVANE_FUZZ=ON "$@" >/dev/null ;;
  fuzz)  # the harnesses alone at full speed, without AddressSanitizer, for long runs
    CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DKEYVANE_BENCH=OFF -DKEYVANE_FUZZ=ON "$@" >/dev/null ;;
  win64|win32)
    triplet=x86_64-w64-mingw32
    [ "$kind" = win32 ] && triplet=i686-w64-mingw32
    cmake -S "$root" -B "$root/build/$kind" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DKEYVANE_TRIPLET=$triplet "$@" >/dev/null ;;
  *) echo "usage: $0 native|asan|fuzz|win64|win32" >&2; exit 2 ;;
esac
cmake --build "$root/build/$kind" -j "$jobs" ${KEYVANE_TARGET:+--target "$KEYVANE_TARGET"}
