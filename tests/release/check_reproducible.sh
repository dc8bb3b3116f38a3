#!/usr/bin/env bash
# Builds the release twice, from scratch, in two separate build trees and into two separate
# folders, and checks that the two runs give byte-identical zips, that each zip holds exactly
# the files a user needs, and that no keyvane.exe carries a link time stamp.
#   tests/release/check_reproducible.sh [work folder]   (default build/reproducible)
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="${1:-$root/build/reproducible}"
mkdir -p "$work"
work="$(cd "$work" && pwd)"
failed=0
fail() { echo "FAIL $*"; failed=1; }
start=$SECONDS
# One date for both runs, even when a commit lands between them.
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 1577836800)}"

for run in a b; do
  rm -rf "${work:?}/$run"
  echo "release run $run"
  if ! KEYVANE_RELEASE_BUILD="$work/$run/build" "$root/scripts/release.sh" "$work/$run/dist" \
      >"$work/$run.log" 2>&1; then
    cat "$work/$run.log"
    echo "FAIL release run $run"
    exit 1
  fi
done

if cmp -s "$work/a/dist/SHA256SUMS" "$work/b/dist/SHA256SUMS"; then
  echo "ok   the two runs give the same SHA256SUMS:"
  sed 's/^/       /' "$work/a/dist/SHA256SUMS"
else
  fail "the two runs differ:"
  diff "$work/a/dist/SHA256SUMS" "$work/b/dist/SHA256SUMS"
fi
(cd "$work/a/dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the zips"

version="$(sed -n 's/^project(Keyvane VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
expected="Control Panel.kth
Games.kth
Keyvane.chm
LICENSE.txt
Quick Start.kth
README.txt
Set all to Nothing.kth
Shopping.kth
keyoff.bmp
keyon.bmp
keyvane.exe"
for kind in win64 win32; do
  zip="$work/a/dist/keyvane-$version-$kind.zip"
  [ -f "$zip" ] || { fail "no $zip"; continue; }
  cmp -s "$zip" "$work/b/dist/keyvane-$version-$kind.zip" || fail "keyvane-$version-$kind.zip differs between the runs"
  names="$(python3 -c 'import sys, zipfile; print("\n".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")"
  [ "$names" = "$expected" ] || { fail "$kind: the zip holds"; echo "$names"; }
  python3 -c 'import sys, zipfile; sys.exit(zipfile.ZipFile(sys.argv[1]).testzip() is not None)' "$zip" \
    || fail "$kind: a damaged entry in the zip"
  triplet=x86_64-w64-mingw32
  [ "$kind" = win32 ] && triplet=i686-w64-mingw32
  exe="$work/a/build/$kind/package/keyvane.exe"
  stamp="$("$triplet-objdump" -p "$exe" | awk '/^Time\/Date/ {print $2, $3, $4, $5, $6}')"
  case "$stamp" in
    "Thu Jan  1 00:00:00 1970"|"Thu Jan 1 00:00:00 1970") echo "ok   $kind keyvane.exe has no link time stamp" ;;
    *) fail "$kind keyvane.exe has the link time stamp $stamp" ;;
  esac
  echo "     $kind: zip $(stat -c %s "$zip") bytes, keyvane.exe $(stat -c %s "$exe") bytes"
done

echo "took $((SECONDS - start)) s"
exit "$failed"
