#!/usr/bin/env bash
# Times Keyvane under Wine against minimal Win32 programs doing the same, in one run, as N
# interleaved pairs each (default 21), and prints the medians and their ratios:
#  - start-up: from process start to the first visible window, against a bare program that
#    shows one window of the same size;
#  - a hot key's launch: from the hot key reaching the program's window to the started
#    program's window, F7 set to "Run File" in Keyvane against a minimal program that starts
#    the same file on its own hot key.
# Usage: scripts/timing.sh [pairs]   (after scripts/build.sh win64)
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/win64"
pairs="${1:-21}"
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
wine_env_start "$build" >/dev/null || { echo "no Wine environment" >&2; exit 1; }
dir="$build/timing"
rm -rf "$dir"
mkdir -p "$dir"
cp "$build/platform/win32/keyvane.exe" "$build/platform/win32/"*.bmp "$build/platform/win32/"*.kth "$dir/" 2>/dev/null
for tool in bare_window minimal_launcher launchtime hotkeytime; do cp "$build/tests/e2e/keyvane_$tool.exe" "$dir/"; done
winpath() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }
folder="$(winpath "$dir")"
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
report() {  # what, minimal program's name, its times, then "--", Keyvane's times
  local what="$1" name="$2" minimal=() keyvane=()
  shift 2
  while [ "$1" != -- ]; do minimal+=("$1"); shift; done
  shift
  keyvane=("$@")
  local m k i ratios=()
  m="$(median "${minimal[@]}")"
  k="$(median "${keyvane[@]}")"
  # Each pair ran back to back: the median of their ratios is steady while the machine's speed
  # drifts over the run.
  for i in "${!minimal[@]}"; do
    ratios+=("$(awk -v a="${keyvane[$i]}" -v b="${minimal[$i]}" 'BEGIN {printf "%.3f", a/b}')")
  done
  echo "$what: $name median $m ms; keyvane median $k ms; ratio $(awk -v a="$k" -v b="$m" 'BEGIN {printf "%.2f", a/b}'), median of the pairs' ratios $(median "${ratios[@]}") ($pairs pairs)"
}

# Start-up.
time_start() { wine "$dir/keyvane_launchtime.exe" "$folder" "$folder\\$1" </dev/null 2>/dev/null | tr -d '\r'; }
keyvane=() bare=()
time_start keyvane_bare_window.exe >/dev/null  # warm the caches once
for _ in $(seq 1 "$pairs"); do
  bare+=("$(time_start keyvane_bare_window.exe)")
  keyvane+=("$(time_start keyvane.exe)")
  sleep 0.3  # let the ended copy give back its mutex and tray icon
done
report start-up "bare window" "${bare[@]}" -- "${keyvane[@]}"

# A hot key's launch: both programs running side by side, each starting the bare window.
target="$folder\\keyvane_bare_window.exe"
printf '[F7Key]\r\nLabel=Timing\r\nAction=10\r\nFile=%s\r\n' "$target" >"$dir/Keyvane.ini"
(cd "$dir" && exec wine keyvane.exe </dev/null >/dev/null 2>&1) &
keyvane_pid=$!
(cd "$dir" && exec wine keyvane_minimal_launcher.exe "$target" </dev/null >/dev/null 2>&1) &
minimal_pid=$!
time_key() { wine "$dir/keyvane_hotkeytime.exe" "$1" "$2" KeyvaneBareWindow </dev/null 2>/dev/null | tr -d '\r'; }
for _ in $(seq 1 100); do
  [ -n "$(time_key TKeyvaneMainWindow KVNF7)" ] && break  # Keyvane is up; also warms the caches
  sleep 0.1
done
time_key KeyvaneMinimalLauncher 1 >/dev/null
keyvane=() minimal=()
for _ in $(seq 1 "$pairs"); do
  minimal+=("$(time_key KeyvaneMinimalLauncher 1)")
  keyvane+=("$(time_key TKeyvaneMainWindow KVNF7)")
done
kill "$keyvane_pid" "$minimal_pid" 2>/dev/null
wine_env_stop >/dev/null 2>&1
report "hot key to launched program" "minimal launcher" "${minimal[@]}" -- "${keyvane[@]}"
