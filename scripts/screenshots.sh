#!/usr/bin/env bash
# Takes the README's screenshots from the real program under Wine: Keyvane's three pages and
# its tray menu, each cropped to its window, into docs/screenshot-{intro,editor,themes,tray}.png.
# Keyvane runs in build/screenshots with the keys of the delivered "Quick Start" theme.
# Uses a virtual display, or the current one when KEYVANE_DISPLAY_OK=1.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
KEYVANE_TARGET=keyvane "$root/scripts/build.sh" win64 >/dev/null
KEYVANE_TARGET=keyvane_driver "$root/scripts/build.sh" win64 >/dev/null
build="$root/build/win64"
driver="$build/tests/e2e/keyvane_driver.exe"
docs="$root/docs"

work="$root/build/screenshots"
rm -rf "$work"
mkdir -p "$work/app"
cp "$build/platform/win32/"{keyvane.exe,*.bmp,*.kth,*.chm} "$work/app/"
# The settings: the keys of "Quick Start", so that the keyboard shows some set keys.
grep -v '^;' "$root/assets/beside-exe/Quick Start.kth" | sed 's/$/\r/' >"$work/app/Keyvane.ini"

# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
wine_env_start "$root/build/wine-screenshots"
drive() { wine "$driver" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
app_pid=""
finish() {
  if [ -n "$app_pid" ]; then
    drive end-session >/dev/null || true
    for _ in $(seq 1 200); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.05; done
    kill "$app_pid" 2>/dev/null || true
  fi
  wine_env_stop
}
trap finish EXIT

(cd "$work/app" && exec wine ./keyvane.exe </dev/null >/dev/null 2>&1) &
app_pid=$!
origin="$(drive wait-window 15000)" || { echo "Keyvane's window did not appear." >&2; exit 1; }
read -r origin_x origin_y <<<"$origin"
window="$(xdotool search --name '^Keyvane - ' | head -n1)"
sleep 1

shoot() {  # name: the main window, as it is on the screen
  import -window "$window" "$docs/screenshot-$1.png"
  echo "docs/screenshot-$1.png"
}
tab() {  # client x of a tab's caption: click it, and let the page slide in
  xdotool mousemove $((origin_x + $1)) $((origin_y + 124)) click 1
  sleep 2.5
}

shoot intro
tab 284
shoot editor
tab 420
shoot themes
tab 112

# The tray menu is a pop-up of its own: the screen before and after it opens differ exactly
# where it is.
xdotool mousemove 900 700
sleep 0.5
import -window root "$work/before.png"
drive tray 517 >/dev/null
sleep 1
import -window root "$work/after.png"
box="$(convert "$work/before.png" "$work/after.png" -compose difference -composite \
  -fuzz 1% -format '%@' info:)"
convert "$work/after.png" -crop "$box" +repage "$docs/screenshot-tray.png"
echo "docs/screenshot-tray.png ($box)"
xdotool key Escape
