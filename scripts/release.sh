#!/usr/bin/env bash
# Builds the release: both Windows programs in Release, each packed with the files that belong
# beside it into dist/keyvane-<version>-win64.zip and -win32.zip (the portable copies), the
# setup dist/keyvane-<version>-setup.exe that installs the same files per user
# (scripts/make-setup.sh; a 32-bit program, which installs the 64-bit keyvane.exe on 64-bit
# Windows), and SHA256SUMS.
#   scripts/release.sh [output folder]      (default: dist)
# The build trees are <KEYVANE_RELEASE_BUILD>/win64 and /win32 (default build/release), apart
# from the ones scripts/build.sh uses. The zips are reproducible: keyvane.exe carries no link
# time stamp, Keyvane.chm no compile time, and every archive entry has the same fixed date
# (SOURCE_DATE_EPOCH, by default the time of the last commit), fixed attributes and a sorted
# place.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/dist}"
builds="${KEYVANE_RELEASE_BUILD:-$root/build/release}"
jobs="${KEYVANE_JOBS:-2}"

"$root/scripts/deps.sh"

version="$(sed -n 's/^project(Keyvane VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
[ -n "$version" ] || { echo "release: no project(Keyvane VERSION ...) in CMakeLists.txt" >&2; exit 1; }
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 1577836800)"
fi
export SOURCE_DATE_EPOCH

mkdir -p "$out"
out="$(cd "$out" && pwd)"

for kind in win64 win32; do
  triplet=x86_64-w64-mingw32
  [ "$kind" = win32 ] && triplet=i686-w64-mingw32
  build="$builds/$kind"
  echo "release: building keyvane.exe for $kind in $build"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DKEYVANE_TRIPLET=$triplet >/dev/null
  # The help compiler lays out its indexes after where its memory happens to lie; without
  # address-space randomisation that is the same on every run. Its clock is cleared below.
  rm -f "$build/assets/help/Keyvane.chm"
  setarch "$(uname -m)" -R cmake --build "$build" -j "$jobs" --target keyvane >/dev/null

  bin="$build/platform/win32"
  stage="$build/package"
  rm -rf "$stage"
  mkdir -p "$stage"
  cp "$bin/keyvane.exe" "$bin/keyon.bmp" "$bin/keyoff.bmp" "$bin/Keyvane.chm" "$bin/"*.kth "$stage/"
  # Keyvane.chm records when it was compiled, in its header and in its #SYSTEM file (a time
  # of day in milliseconds); both become zero.
  python3 - "$stage/Keyvane.chm" <<'CHM'
import struct, sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
assert data[:4] == b"ITSF", "Keyvane.chm is not a compiled help file"
data[0x10:0x14] = bytes(4)
section0 = struct.unpack_from("<Q", data, 0x58)[0]
def number(p):  # the directory's variable-length numbers
    v = 0
    while True:
        b = data[p]; p += 1
        v = (v << 7) | (b & 0x7F)
        if b < 0x80:
            return v, p
cleared = False
chunk = data.find(b"PMGL")
while chunk >= 0 and not cleared:
    end = chunk + 4096 - struct.unpack_from("<I", data, chunk + 4)[0]
    p = chunk + 20
    while p < end:
        n, p = number(p)
        name = bytes(data[p:p + n]); p += n
        section, p = number(p); offset, p = number(p); length, p = number(p)
        if name == b"/#SYSTEM" and section == 0:
            r, stop = section0 + offset + 4, section0 + offset + length
            while r + 4 <= stop:
                code, size = struct.unpack_from("<HH", data, r)
                if code == 10 and size >= 4:
                    data[r + 4:r + 8] = bytes(4)
                    cleared = True
                r += 4 + size
            break
    chunk = data.find(b"PMGL", chunk + 4)
assert cleared, "no compile time found in Keyvane.chm's #SYSTEM file"
open(path, "wb").write(bytes(data))
CHM
  # The two text files with Windows line ends, so that Notepad shows them as lines.
  arch="64-bit Windows"
  [ "$kind" = win32 ] && arch="32-bit Windows"
  sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e 's/$/\r/' \
    "$root/assets/release/README.txt" >"$stage/README.txt"
  sed -e 's/$/\r/' "$root/LICENSE" >"$stage/LICENSE.txt"

  zip="$out/keyvane-$version-$kind.zip"
  python3 - "$stage" "$zip" <<'EOF'
import os, sys, time, zipfile
stage, target = sys.argv[1], sys.argv[2]
stamp = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))
# Zip dates have a 2-second grain and start in 1980.
date = (max(stamp.tm_year, 1980), stamp.tm_mon, stamp.tm_mday,
        stamp.tm_hour, stamp.tm_min, stamp.tm_sec - stamp.tm_sec % 2)
names = sorted(os.listdir(stage), key=lambda n: n.encode("utf-8"))
tmp = target + ".tmp"
with zipfile.ZipFile(tmp, "w") as z:
    for name in names:
        info = zipfile.ZipInfo(name, date_time=date)
        info.create_system = 0          # MS-DOS attributes, as a Windows archiver writes
        info.external_attr = 0x20       # FILE_ATTRIBUTE_ARCHIVE
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(stage, name), "rb") as f:
            z.writestr(info, f.read(), compresslevel=9)
os.replace(tmp, target)
EOF
  echo "release: $zip ($(stat -c %s "$zip") bytes; keyvane.exe $(stat -c %s "$stage/keyvane.exe") bytes)"
done

# The setup holds exactly the files of the zips, as staged above.
setup="$("$root/scripts/make-setup.sh" "$builds/win64/package" "$builds/win32/package" "$out" x86)"
echo "release: $setup ($(stat -c %s "$setup") bytes)"

(cd "$out" && sha256sum "keyvane-$version-win64.zip" "keyvane-$version-win32.zip" \
  "keyvane-$version-setup.exe" >SHA256SUMS)
cat "$out/SHA256SUMS"
