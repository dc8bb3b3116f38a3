#!/usr/bin/env bash
# Builds Keyvane for 64-bit Windows and starts it under Wine, in build/run with no settings
# file (so it starts with its defaults). Without a display it starts a virtual one, saves a
# screenshot of the running window and says where.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
KEYVANE_TARGET=keyvane "$root/scripts/build.sh" win64

run="$root/build/run"
rm -rf "$run"
mkdir -p "$run"
cp "$root/build/win64/platform/win32/"{keyvane.exe,*.bmp,*.kth,*.chm} "$run/" 2>/dev/null || true

headless=0
[ -z "${DISPLAY:-}" ] && headless=1
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
[ "$headless" = 0 ] && export KEYVANE_DISPLAY_OK=1
wine_env_start "$root/build/wine-run"
trap wine_env_stop EXIT

cd "$run"
wine ./keyvane.exe </dev/null >/dev/null 2>&1 &
pid=$!
window=""
for _ in $(seq 1 200); do
  window="$(xdotool search --name '^Keyvane - ' 2>/dev/null | head -n1 || true)"
  [ -n "$window" ] && break
  sleep 0.05
done
if [ -z "$window" ]; then
  echo "Keyvane's window did not appear." >&2
  exit 1
fi
sleep 0.5
shot="$root/build/keyvane-screenshot.png"
import -window "$window" "$shot"
echo "Keyvane is running (main window $window)."
echo "Screenshot of the running window: $shot"
if [ "$headless" = 1 ] && [ ! -t 0 ]; then
  echo "No display and no terminal: stopping Keyvane again."
  exit 0
fi
if [ "$headless" = 1 ]; then
  read -r -p "Press Enter to stop Keyvane. " _ || true
  exit 0
fi
echo "Close it from its tray menu (Exit)."
wait "$pid" || true
