#!/usr/bin/env bash
# Compiles every source of the Windows build (the portable program, platform/win32, the
# Windows tests and the end-to-end helpers) with clang for Windows against the MinGW-w64
# headers, syntax only: a second compiler finds what GCC lets through (GCC extensions,
# missing includes, non-standard code) before another Windows compiler would.
#   scripts/clang-check.sh [x86_64|i686] [all|windows]     (default x86_64 all)
# "windows" checks only platform/win32 and the Windows tests and helpers: what differs between
# the two targets for them is the calling convention of callbacks (stdcall on 32-bit).
# Prints each file's diagnostics and "N files, E failed, W warnings"; fails on any error.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
arch="${1:-x86_64}"
scope="${2:-all}"
triplet="$arch-w64-mingw32"

gcc_dir="$(ls -d /usr/lib/gcc/"$triplet"/*-posix 2>/dev/null | sort -V | tail -n1)"
resource="$(clang++ -print-resource-dir 2>/dev/null)"
if [ -z "$gcc_dir" ] || [ -z "$resource" ] || [ ! -d "/usr/$triplet/include" ]; then
  echo "clang or the MinGW-w64 headers for $triplet are missing"
  exit 1
fi

# Only the Windows headers and MinGW's libstdc++, never the host's /usr/include.
flags=(--target="$triplet" -std=c++20 -fsyntax-only -nostdinc
  -isystem "$resource/include"
  -isystem "$gcc_dir/include/c++" -isystem "$gcc_dir/include/c++/$triplet"
  -isystem "$gcc_dir/include/c++/backward" -isystem "/usr/$triplet/include"
  -isystem /usr/src/googletest/googletest/include
  -I "$root"
  -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX
  -D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -D_WIN32_IE=0x0800
  -Wall -Wextra -Wshadow -Wno-unknown-pragmas)

portable=()
[ "$scope" = windows ] || mapfile -t portable < <(ls core/*.cpp ui/*.cpp app/*.cpp hotkeys/*.cpp \
  actions/*.cpp layout/*.cpp editor/*.cpp themes/*.cpp shell/*.cpp 2>/dev/null)
mapfile -t windows < <(ls platform/win32/*.cpp platform/win32/window/*.cpp platform/win32/services/*.cpp tests/windows/*.cpp tests/windows/helper/*.cpp \
  tests/e2e/*.cpp 2>/dev/null)
sources=("${portable[@]}" "${windows[@]}")

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

# The standard headers every file parses again, and for the Windows sources windows.h and
# GoogleTest, are parsed once into precompiled headers. Missing includes are not hidden by
# this: both compilers read the same libstdc++ here, which the GCC build already holds
# every file to, and a file that does not include windows.h never sees it.
stl='#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>'
printf '%s\n' "$stl" >"$out/portable.h"
printf '%s\n#include <windows.h>\n#include <gtest/gtest.h>\n' "$stl" >"$out/windows.h"
for pch in portable windows; do
  clang++ "${flags[@]/-fsyntax-only/}" -x c++-header "$out/$pch.h" -o "$out/$pch.pch" &
done
wait
for pch in portable windows; do
  [ -s "$out/$pch.pch" ] || { echo "could not precompile the $pch headers"; exit 1; }
done

printf '%s\n' "${flags[@]}" >"$out/flags"
check_one() {  # source, precompiled header; the flags and the logs are in $CLANG_CHECK_OUT
  local src="$1" pch="$2" flags
  local log="$CLANG_CHECK_OUT/$(tr '/' '_' <<<"$src").log"
  mapfile -t flags <"$CLANG_CHECK_OUT/flags"
  if clang++ "${flags[@]}" -include-pch "$pch" "$src" >"$log" 2>&1; then echo ok >"$log.rc"; else echo failed >"$log.rc"; fi
}
export -f check_one
export CLANG_CHECK_OUT="$out"
{
  for src in "${portable[@]}"; do echo "$src $out/portable.pch"; done
  # A Windows-side file that includes neither windows.h nor GoogleTest stays without them.
  for src in "${windows[@]}"; do
    pch=portable
    grep -qE '#include (<windows\.h>|<gtest/|"platform/win32/|"tests/windows/)' "$src" && pch=windows
    echo "$src $out/$pch.pch"
  done
} | xargs -P "$(nproc)" -L1 bash -c 'check_one "$@"' _

failed=0
warnings=0
for src in "${sources[@]}"; do
  log="$out/$(tr '/' '_' <<<"$src").log"
  [ -s "$log" ] && cat "$log"
  warnings=$((warnings + $(grep -c ' warning: ' "$log" || true)))
  [ "$(cat "$log.rc" 2>/dev/null)" = ok ] || { failed=$((failed + 1)); echo "FAILED: $src"; }
done
echo "${#sources[@]} files, $failed failed, $warnings warnings"
[ "$failed" = 0 ]
