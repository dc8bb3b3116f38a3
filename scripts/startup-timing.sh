#!/usr/bin/env bash
# Times Keyvane's start-up under Wine against a bare Win32 program showing one window of the
# same size: N interleaved pairs (default 21), each from process start to the first visible
# window, and prints both medians and their ratio.
# Usage: scripts/startup-timing.sh [pairs]   (after scripts/build.sh win64)
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/win64"
pairs="${1:-21}"
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
wine_env_start "$build" >/dev/null || { echo "no Wine environment" >&2; exit 1; }
dir="$build/startup-timing"
rm -rf "$dir"
mkdir -p "$dir"
cp "$build/platform/win32/keyvane.exe" "$build/platform/win32/"*.bmp "$build/platform/win32/"*.kth "$dir/" 2>/dev/null
cp "$build/tests/e2e/keyvane_bare_window.exe" "$dir/"
launch="$build/tests/e2e/keyvane_launchtime.exe"
winpath() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }
folder="$(winpath "$dir")"
time_one() { wine "$launch" "$folder" "$folder\\$1" </dev/null 2>/dev/null | tr -d '\r'; }
keyvane=() bare=()
time_one keyvane_bare_window.exe >/dev/null  # warm the caches once
for _ in $(seq 1 "$pairs"); do
  bare+=("$(time_one keyvane_bare_window.exe)")
  keyvane+=("$(time_one keyvane.exe)")
  sleep 0.3  # let the ended copy give back its mutex and tray icon
done
wine_env_stop >/dev/null 2>&1
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
kv="$(median "${keyvane[@]}")"
bw="$(median "${bare[@]}")"
echo "bare window: median $bw ms; keyvane: median $kv ms; ratio $(awk -v a="$kv" -v b="$bw" 'BEGIN {printf "%.2f", a/b}') ($pairs pairs)"
