# Keyvane as each class of Windows: Wine tells a program the Windows version set for its prefix
# (HKCU\Software\Wine, "Version") and every keyvane.exe reads it when it starts, so the real
# program runs as Windows XP (OS kind 6: F12 belongs to Windows) and as Windows 7 and 10 (kind 0:
# F12 is a key like the others, and the pages and games of today's Windows). Stand-ins note what
# Keyvane opens: a control-panel applet copied in as ncpa.cpl, netcpl.cpl and nusrmgr.cpl, a game
# in "Microsoft Games" and a control.exe beside keyvane.exe. Sourced by run.sh, with lib.sh.
# It copies stand-ins into the Wine prefix: only ever with run.sh's build folder and prefix.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${build:-}" ] || [ -z "${work:-}" ]; then
  echo "versions_scenarios.sh: run it through tests/e2e/run.sh after scripts/wine-env.sh" >&2
  return 1 2>/dev/null || exit 1
fi
set_windows() { wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1; }
set_windows win7  # an earlier run cut short may have left another version

system32="$WINEPREFIX/drive_c/windows/system32"
games="$WINEPREFIX/drive_c/Program Files/Microsoft Games"
solitaire="$games/Solitaire/Solitaire.exe"
standin_log="$work/standin.log"
: >"$standin_log"
KEYVANE_STANDIN_LOG="$(winpath_of "$standin_log")"
export KEYVANE_STANDIN_LOG

put_standins() {
  local page
  for page in ncpa netcpl nusrmgr; do
    [ -e "$system32/$page.cpl" ] && [ ! -e "$system32/$page.cpl.keyvane-saved" ] &&
      mv "$system32/$page.cpl" "$system32/$page.cpl.keyvane-saved"
    cp "$build/tests/e2e/keyvane_standin_applet.dll" "$system32/$page.cpl"
  done
  mkdir -p "$(dirname "$solitaire")"
  cp "$build/tests/e2e/keyvane_standin.exe" "$solitaire"
}
remove_standins() {
  local page
  for page in ncpa netcpl nusrmgr; do
    rm -f "$system32/$page.cpl"
    [ -e "$system32/$page.cpl.keyvane-saved" ] && mv "$system32/$page.cpl.keyvane-saved" "$system32/$page.cpl"
  done
  rm -f "$solitaire"
  rmdir "$(dirname "$solitaire")" "$games" 2>/dev/null || true
}

opened() { tr -d '\r' <"$standin_log" | grep -qi "$1"; }
wait_opened() {  # pattern, seconds
  for _ in $(seq 1 $(( $2 * 20 ))); do
    opened "$1" && return 0
    sleep 0.05
  done
  note "     opened so far: $(tr -d '\r' <"$standin_log" | tr '\n' ';')"
  return 1
}
# Pixels of exactly this colour in a rectangle of the last screenshot (client coordinates).
ink_pixels() {  # x y width height RRGGBB
  convert "$shot" -crop "$3x$4+$((origin_x + $1))+$((origin_y + $2))" +repage -format %c histogram:info: 2>/dev/null |
    awk -v c="#$(echo "$5" | tr 'a-f' 'A-F')" 'index($0, c) {n += $1} END {print n + 0}'
}

# One line per text line of a menu's picture, top to bottom: "top bottom colours" of its ink
# (the pixels that differ from the menu's background; separators are too thin to count).
menu_bands() {  # image
  convert "$1" txt:- 2>/dev/null | awk -F'[,: ]+' '
    NR == 1 { next }
    { c = ""; for (i = 3; i <= NF; i++) if ($i ~ /^#/) { c = $i; break }
      px[$1, $2] = c; if ($1 > w) w = $1; if ($2 > h) h = $2 }
    END {
      bg = px[4, 4]; top = -1
      for (y = 3; y <= h - 3; y++) {
        n = 0
        for (x = 3; x <= w - 3; x++) {
          c = px[x, y]
          if (c != bg) { if (top < 0) { top = y; split("", ink) } ink[c] = 1; n++ }
        }
        if ((n == 0 || y == h - 3) && top >= 0) {
          if (y - top >= 4) { s = ""; for (c in ink) s = s " " c; print top, y - 1 s }
          top = -1
        }
      }
    }'
}

# F1 opens Network Connections, F2 starts Solitaire, F3 opens User Accounts; F12 has a title
# and runs a batch file. The theme "Versions" differs from these keys in F12 alone.
versions_keys() {  # folder, F12's title
  printf '[F1Key]\r\nLabel=Network\r\nAction=3\r\n\r\n'
  printf '[F2Key]\r\nLabel=Solitaire\r\nAction=25\r\n\r\n'
  printf '[F3Key]\r\nLabel=Accounts\r\nAction=7\r\n\r\n'
  printf '[F12Key]\r\nLabel=%s\r\nAction=10\r\nFile=%s\r\n\r\n' "$2" "$(winpath_of "$1/twelve.bat")"
}

as_windows() {  # Wine version, name, OS kind Keyvane must see
  local version="$1" name="$2" kind="$3" dir started
  echo "As $name (Wine version $version)"
  set_windows "$version"
  dir="$(fresh_folder "as-$version")"
  rm -f "$dir"/*.kth
  printf '@echo off\r\necho twelve> "%s\\twelve.txt"\r\n' "$(winpath_of "$dir")" >"$dir/twelve.bat"
  versions_keys "$dir" Twelve >"$dir/Keyvane.ini"
  versions_keys "$dir" Other >"$dir/Versions.kth"
  cp "$build/tests/e2e/keyvane_standin.exe" "$dir/control.exe"
  : >"$standin_log"
  started="$(date +%s%N)"
  if ! start_app "$dir"; then
    check "the main window appears as $name" false
    return
  fi
  sleep 0.5
  screenshot
  if [ "$kind" = 0 ]; then
    check "F12 is drawn like every set key (#AAAADD)" pixel_is $((728 + 28)) $((24 + 58)) aaaadd
    check "... with its own title, in black" test "$(ink_pixels 731 33 50 50 808080)" = 0 -a \
      "$(ink_pixels 731 33 50 50 000000)" -gt 0
    check "the keys that differ from the theme Versions in F12 do not match it" \
      test "$(drive title)" = "Keyvane - No Theme Loaded"
  else
    check "F12 is silver (#C0C0C0), disabled by Windows" pixel_is $((728 + 28)) $((24 + 58)) c0c0c0
    check "... its title grey (#808080)" test "$(ink_pixels 731 33 50 50 808080)" -gt 20
    check "... and no black title" test "$(ink_pixels 731 33 50 50 000000)" = 0
    check "the keys that differ from the theme Versions in F12 alone match it" \
      test "$(drive title)" = "Keyvane - Versions Theme"
  fi

  # The tray menu as drawn: its thirteenth line of text from the bottom (below F12 come the nine
  # other keys, the switch, Minimize Key Layout and Exit; above it the theme line may be empty)
  # is F12's item, black when enabled, grey when Windows has F12. Choosing it runs F12's action
  # only when enabled.
  xdotool mousemove 300 200
  drive tray 517 >/dev/null
  drive menu 3000 >/dev/null
  sleep 0.3
  local l t r b f12
  read -r l t r b <<<"$(drive menu-rect)"
  screenshot
  convert "$shot" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$work/menu.png"
  f12="$(menu_bands "$work/menu.png" | tail -n 13 | head -n 1)"
  if [ "$kind" = 0 ]; then
    check "the tray's F12 item is written in black, as an enabled item" \
      test "${f12#* * }" = "#000000"
  else
    check "the tray's F12 item is greyed (#808080)" test "${f12#* * }" = "#808080"
  fi
  [ -n "$f12" ] && xdotool mousemove $((l + 30)) $((t + ($(echo "$f12" | cut -d' ' -f1,2 | tr ' ' +)) / 2)) click 1
  if [ "$kind" = 0 ]; then
    check "... and choosing it runs F12's action" wait_file "$dir/twelve.txt" 10
  else
    sleep 1
    check "... and choosing it does nothing" test ! -e "$dir/twelve.txt"
    drive end-menu >/dev/null
  fi
  sleep 0.2

  drive post-hotkey KVNF2 >/dev/null
  drive post-hotkey KVNF1 >/dev/null
  check "Network Connections opens ncpa.cpl" wait_opened 'system32\\ncpa.cpl' 10
  check "... never netcpl.cpl" sh -c "! grep -qi netcpl '$standin_log'"
  drive post-hotkey KVNF3 >/dev/null
  if [ "$kind" = 0 ]; then
    check "User Accounts starts control.exe /name Microsoft.UserAccounts" \
      wait_opened 'control.exe|control.exe /name Microsoft.UserAccounts$' 10
    check "Solitaire starts from Program Files\\Microsoft Games, as on Vista" \
      wait_opened 'Microsoft Games\\Solitaire\\Solitaire.exe' 10
  else
    check "User Accounts opens nusrmgr.cpl" wait_opened 'system32\\nusrmgr.cpl' 10
    sleep 0.5
    check "Solitaire asks for sol.exe, not the Vista game" sh -c "! grep -qi solitaire '$standin_log'"
  fi
  stop_app
  note "     ran in $(( ($(date +%s%N) - started) / 1000000 )) ms"
}

put_standins
as_windows winxp "Windows XP" 6
as_windows win7 "Windows 7" 0
as_windows win10 "Windows 10" 0
set_windows win7
remove_standins
