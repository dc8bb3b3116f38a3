#!/usr/bin/env bash
# Installs the Debian packages Keyvane's build and tests need, when any is missing.
# Never installs wine32: these machines cannot run 32-bit code, and with it `wine` breaks.
set -euo pipefail

packages=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick clang libclang-rt-14-dev
  fp-utils-3.2.2 python3 cups printer-driver-cups-pdf poppler-utils nsis)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
