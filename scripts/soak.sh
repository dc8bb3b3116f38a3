#!/usr/bin/env bash
# What a resident Keyvane costs over a long run: starts the real keyvane.exe under Wine and
# works it with every kind of operation (hot keys that switch the keys and run actions, page
# turns, Apply, theme loads, the tray menu), N of each, and prints its memory and GDI objects
# at the start and after 500 and N operations of each kind.
#   scripts/build.sh win64 && scripts/soak.sh [N]          (N defaults to 5000)
# Page turns come every 200 ms, so N of them take N/5 seconds; the whole run about N/4 s.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
count="${1:-5000}"
build="$root/build/win64"
soak="$build/tests/e2e/keyvane_soak.exe"
[ -f "$soak" ] || { echo "build the Windows programs first: scripts/build.sh win64" >&2; exit 1; }
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
wine_env_start "$build"
# shellcheck source=../tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"  # keyvane_linux_pid

dir="$build/soak"
rm -rf "$dir"
mkdir -p "$dir"
cp "$build/platform/win32/keyvane.exe" "$build/platform/win32/"*.bmp "$build/platform/win32/"*.kth "$dir/"
{
  printf '[Keys]\r\nEnabled=1\r\n\r\n'
  printf '[F1Key]\r\nLabel=Switch\r\nAction=35\r\n\r\n'
  printf '[F2Key]\r\nLabel=Greeting\r\nAction=31\r\nFile=Hello from Keyvane\r\n\r\n'
  printf '[F3Key]\r\nLabel=Copy\r\nAction=28\r\nFile=1C\r\n\r\n'
  printf '[F4Key]\r\nLabel=Soak\r\nAction=15\r\n\r\n'
} >"$dir/Keyvane.ini"

(cd "$dir" && exec wine ./keyvane.exe </dev/null >/dev/null 2>&1) &
app=$!
stop() {  # ends Keyvane as the end of the session would, then the Wine environment
  wine "$build/tests/e2e/keyvane_driver.exe" end-session </dev/null >/dev/null 2>&1 || true
  for _ in $(seq 1 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill "$app" 2>/dev/null
  wine_env_stop
}
trap stop EXIT
for _ in $(seq 1 300); do
  wine "$soak" census </dev/null >/dev/null 2>&1 && break
  sleep 0.1
done

census() {  # label
  local windows rss anon
  windows="$(wine "$soak" census </dev/null 2>/dev/null | tr -d '\r')"
  read -r rss anon < <(awk '/^VmRSS/ {r=$2} /^RssAnon/ {a=$2} END {print r, a}' "/proc/$(keyvane_linux_pid)/status")
  printf '%-34s %s  rss_kb %s  anon_kb %s\n' "$1" "$windows" "$rss" "$anon"
}
work() {  # kind, rounds
  sleep 1  # lets the balloons of the run before settle
  local started=$SECONDS
  wine "$soak" "$1" "$2" </dev/null 2>&1 | tr -d '\r' || { echo "the $1 run stopped" >&2; exit 1; }
  echo "  ($2 $1 in $((SECONDS - started)) s)"
}

sleep 1
census "after start"
for stage in 500 "$count"; do
  [ "$stage" -le "$count" ] || continue
  done_so_far="${done_so_far:-0}"
  rounds=$((stage - done_so_far))
  [ "$rounds" -gt 0 ] || continue
  work hotkeys "$rounds"
  work tray "$rounds"
  work themes "$rounds"
  work apply "$rounds"
  work pages "$rounds"
  done_so_far=$stage
  census "after $stage of each kind"
done
