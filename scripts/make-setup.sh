#!/usr/bin/env bash
# Builds Keyvane's setup program (installer/keyvane.nsi) with NSIS:
#   scripts/make-setup.sh <win64 files> <win32 files> <out dir> [x86|amd64]
# Each <files> is either a folder holding exactly what the portable zip holds (as
# scripts/release.sh stages it in <build>/package) or a build tree (build/win64, build/win32 of
# scripts/build.sh), whose platform/win32 gives the program's files; README.txt and LICENSE.txt
# are then made as the release makes them.
# x86 (the default) writes <out dir>/keyvane-<version>-setup.exe, the released setup: a 32-bit
# program that runs on 32-bit and 64-bit Windows and installs the matching keyvane.exe. amd64
# writes keyvane-<version>-setup-amd64.exe from the same script as a 64-bit program, for the
# tests under Wine (which run only 64-bit programs here); the 32-bit setup is built, not run.
# The setup's bytes are the same on every run from the same files: each staged file carries
# SOURCE_DATE_EPOCH (by default the time of the last commit) as its date, and NSIS stores no
# other time, path or name of the build machine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
usage() { echo "usage: $0 <win64 files> <win32 files> <out dir> [x86|amd64]" >&2; exit 2; }
[ $# -ge 3 ] || usage
from64="$1" from32="$2" out="$3" target="${4:-x86}"
case "$target" in x86|amd64) ;; *) usage ;; esac
command -v makensis >/dev/null || { echo "make-setup: makensis is missing (Debian package nsis)" >&2; exit 1; }

version="$(sed -n 's/^project(Keyvane VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "make-setup: no x.y.z in project(Keyvane VERSION ...)" >&2; exit 1; }
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 1577836800)"
fi

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
program_files=(keyvane.exe keyon.bmp keyoff.bmp Keyvane.chm README.txt LICENSE.txt)

# Copies the files beside keyvane.exe of one Windows into $stage/<kind>.
stage_files() {  # kind (win64|win32), folder
  local kind="$1" from="$2" dest="$stage/$1" name arch
  mkdir -p "$dest"
  if [ -f "$from/platform/win32/keyvane.exe" ]; then
    local bin="$from/platform/win32"
    cp "$bin/keyvane.exe" "$bin/keyon.bmp" "$bin/keyoff.bmp" "$bin/Keyvane.chm" "$bin/"*.kth "$dest/"
    arch="64-bit Windows"
    [ "$kind" = win32 ] && arch="32-bit Windows"
    sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e 's/$/\r/' \
      "$root/assets/release/README.txt" >"$dest/README.txt"
    sed -e 's/$/\r/' "$root/LICENSE" >"$dest/LICENSE.txt"
  elif [ -f "$from/keyvane.exe" ]; then
    for name in "$from"/*; do
      name="$(basename "$name")"
      case "$name" in
        *.kth) ;;
        *) [[ " ${program_files[*]} " == *" $name "* ]] \
             || { echo "make-setup: $from holds $name, which is not a file of the release" >&2; exit 1; } ;;
      esac
    done
    cp "$from"/* "$dest/"
  else
    echo "make-setup: $from is neither a build tree nor a folder with keyvane.exe" >&2
    exit 1
  fi
  for name in "${program_files[@]}"; do
    [ -f "$dest/$name" ] || { echo "make-setup: $kind has no $name" >&2; exit 1; }
  done
}
stage_files win64 "$from64"
stage_files win32 "$from32"

# The delivered themes, one list for both: the setup compares what it delivered before with
# what lies beside keyvane.exe, whichever keyvane.exe it installs.
themes=()
for path in "$stage/win64/"*.kth; do
  name="$(basename "$path")"
  # The name goes into the script as it is.
  [[ "$name" =~ ^[A-Za-z0-9][A-Za-z0-9\ ._-]*\.kth$ ]] || { echo "make-setup: a theme name the setup cannot carry: $name" >&2; exit 1; }
  cmp -s "$path" "$stage/win32/$name" || { echo "make-setup: $name differs between win64 and win32" >&2; exit 1; }
  themes+=("$name")
done
[ ${#themes[@]} -gt 0 ] || { echo "make-setup: no delivered themes" >&2; exit 1; }
[ "$(ls "$stage/win32/"*.kth | wc -l)" = ${#themes[@]} ] || { echo "make-setup: win64 and win32 deliver other themes" >&2; exit 1; }
printf '!insertmacro DeliverTheme "%s"\n' "${themes[@]}" >"$stage/themes.nsh"
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/win64/* "$stage"/win32/*

mkdir -p "$out"
out="$(cd "$out" && pwd)"
name="keyvane-$version-setup.exe"
defines=()
if [ "$target" = amd64 ]; then
  name="keyvane-$version-setup-amd64.exe"
  defines+=(-DAMD64)
fi
# -WX: a warning (an unused function, a missing string) stops the build.
makensis -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$version" -DFILES64="$stage/win64" \
  -DFILES32="$stage/win32" -DTHEMES="$stage/themes.nsh" -DICON="$root/assets/icons/keyvane.ico" \
  -DOUTFILE="$stage/$name" "${defines[@]}" "$root/installer/keyvane.nsi" >&2
mv "$stage/$name" "$out/$name"
echo "$out/$name"
