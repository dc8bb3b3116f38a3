# Run at Startup, the quiet start it leads to, and Help; sourced by run.sh, with lib.sh.
probe() { wine "$build/tests/e2e/keyvane_shellprobe.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
ms_now() { echo $(( $(date +%s%N) / 1000000 )); }

echo "Run at Startup"
startup_w="$(probe startup-folder)"
link_w="$startup_w\\Keyvane.lnk"
link_u="$(winepath -u "$link_w" 2>/dev/null)"
rm -f "$link_u"
dir="$(fresh_folder runatstartup)"
if [ -n "$startup_w" ] && start_app "$dir"; then
  read -r cx cy <<<"$((origin_x + 376 + 8)) $((origin_y + 351 + 8))"
  xdotool mousemove "$cx" "$cy" click 1
  check "checking the box creates Keyvane.lnk in the Startup folder" wait_file "$link_u" 5
  mapfile -t link < <(probe read-link "$link_w")
  exe_w="$(winpath_of "$dir")\\keyvane.exe"
  check "... whose target is keyvane.exe" test "${link[0]:-}" = "$exe_w"
  check "... started with \"bootup\"" test "${link[1]:-}" = "bootup"
  check "... described as \"Keyvane\"" test "${link[2]:-}" = "Keyvane"
  check "... in its own folder, with the backslash" test "${link[3]:-}" = "$(winpath_of "$dir")\\"
  check "... in a normal window" test "${link[4]:-}" = 1
  check "... and stores RunAtStartup=1" grep -q '^RunAtStartup=1' <(tr -d '\r' <"$dir/Keyvane.ini")
  xdotool mousemove "$cx" "$cy" click 1
  sleep 0.5
  check "unchecking deletes it" test ! -e "$link_u"
  check "... and stores RunAtStartup=0" grep -q '^RunAtStartup=0' <(tr -d '\r' <"$dir/Keyvane.ini")
  stop_app
  # Stored as on, with the link gone: the next start makes it again.
  sed -i 's/^RunAtStartup=0/RunAtStartup=1/' "$dir/Keyvane.ini"
  if start_app "$dir"; then
    check "a start with RunAtStartup=1 recreates the deleted link" wait_file "$link_u" 5
  fi
  stop_app
else
  check "the main window appears (and the Startup folder is known)" false
fi
rm -f "$link_u"

echo "Start with bootup"
dir="$(fresh_folder bootup)"
# Without theme files no theme matches the keys, so no "Theme Loaded" balloon follows.
rm -f "$dir"/*.kth
if start_app "$dir" bootup; then
  shown="$(ms_now)"
  while [ "$(drive visible)" = 1 ] && [ $(( $(ms_now) - shown )) -lt 5000 ]; do sleep 0.05; done
  took=$(( $(ms_now) - shown ))
  note "     shown to the tray in $took ms"
  check "the window goes to the tray about a second after it is shown" test "$took" -ge 600 -a "$took" -le 2500
  check "... and the program keeps running there" kill -0 "$app_pid"
  # The balloon is one of the tool-tip windows; a control's hint may show beside it.
  expected_balloon="Keyvane has started.||You may start using your Designed Keys Now.||Double-Click Here to view Keyvane|"
  balloon=""
  for _ in $(seq 1 40); do
    balloon="$(probe tooltips | tr '\n' '|')"
    [[ "$balloon" == *"$expected_balloon"* ]] && break
    sleep 0.1
  done
  balloon_shown() { [[ "$balloon" == *"$expected_balloon"* ]] || { note "     tool tips: $balloon"; return 1; }; }
  check "the balloon says Keyvane has started" balloon_shown
  stop_app
else
  check "the main window appears" false
fi

echo "Help"
dir="$(fresh_folder help)"
cp "$build/platform/win32/Keyvane.chm" "$dir/"
if start_app "$dir"; then
  xdotool mousemove $((origin_x + 296 + 30)) $((origin_y + 348 + 11)) click 1
  check "the Help button opens Keyvane.chm in the help viewer" window_appears --visible '^Keyvane Help$' 60
  stop_app
  check "... and the program still ends cleanly" test -z "$(keyvane_linux_pid)"
else
  check "the main window appears" false
fi

echo "No library planted beside keyvane.exe runs"
# Each name Keyvane, or a library it uses, could look for beside the program. Wine takes its own
# copy of a system library first; the overrides make it search as Windows does.
planted=(MSIMG32.dll POWRPROF.dll hhctrl.ocx winspool.drv comdlg32.dll uxtheme.dll oleacc.dll)
planted_search="mscoree=;msimg32=n,b;powrprof=n,b;hhctrl.ocx=n,b;winspool.drv=n,b;comdlg32=n,b;uxtheme=n,b;oleacc=n,b"
plant_in() {  # folder: the planted copies and the bare-name loader beside its keyvane.exe
  for name in "${planted[@]}"; do cp "$build/tests/e2e/keyvane_planted_library.dll" "$1/$name"; done
  cp "$build/tests/e2e/keyvane_bare_loader.exe" "$1/"
}
markers_in() { (cd "$1" && ls -- *.loaded 2>/dev/null | sed 's/\.loaded$//' | tr '\n' ' '); }
dir="$(fresh_folder planted)"
cp "$build/platform/win32/Keyvane.chm" "$dir/"
printf '[F1Key]\r\nLabel=Sleep\r\nAction=15\r\n' >"$dir/Keyvane.ini"
plant_in "$dir"
(cd "$dir" && WINEDLLOVERRIDES="$planted_search" wine ./keyvane_bare_loader.exe "${planted[@]}" </dev/null >/dev/null 2>&1)
check "a program loading by bare name beside them loads every planted copy" \
  test "$(markers_in "$dir" | wc -w)" = "${#planted[@]}"
rm -f "$dir"/*.loaded
"$here/../../scripts/print-queue.sh" start >/dev/null 2>&1
if WINEDLLOVERRIDES="$planted_search" start_app "$dir"; then
  ran=""
  drive post-hotkey KVNF1 >/dev/null && ran+="sleep "; sleep 0.5
  xdotool mousemove $((origin_x + 296 + 30)) $((origin_y + 348 + 11)) click 1
  window_appears --visible '^Keyvane Help$' 60 && ran+="help "
  xdotool mousemove $((origin_x + 368 + 50)) $((origin_y + 116 + 8)) click 1; sleep 1.5
  drive click "Print Theme" >/dev/null
  drive answer "Print" 2 >/dev/null && ran+="print "
  drive tray 517 >/dev/null
  [ "$(drive menu 1500)" = 1 ] && ran+="menu "
  drive end-menu >/dev/null; sleep 0.3
  check "Sleep ran, Help, the print dialog and the tray menu showed" test "$ran" = "sleep help print menu "
  found="$(markers_in "$dir")"
  note "     planted libraries keyvane.exe loaded: ${found:-none}"
  check "... and keyvane.exe loaded none of the planted libraries" test -z "$found"
else
  check "the main window appears with the planted libraries beside it" false
fi
stop_app

echo "A folder Keyvane may read but not write"
src="$(fresh_folder readonly-src)"
printf '[F1Key]\r\nLabel=Marker\r\nAction=10\r\nFile=%s\r\n\r\n[Keys]\r\nEnabled=1\r\n' \
  "$(winpath_of "$work/readonly-ran.bat")" >"$src/Keyvane.ini"
printf '@echo off\r\necho ran> "%s"\r\n' "$(winpath_of "$work/readonly-ran.txt")" >"$work/readonly-ran.bat"
rm -f "$work/readonly-ran.txt"
dir="$work/readonly"
mkdir -p "$dir"
umount "$dir" 2>/dev/null
if mount --bind "$src" "$dir" 2>/dev/null && mount -o remount,ro,bind "$dir" 2>/dev/null; then
  before="$(cd "$dir" && ls -l --time-style=+%s | md5sum; cat ./* | md5sum)"
  if start_app "$dir"; then
    notice="$(drive answer "Keyvane cannot keep changes" 1)"
    check "Keyvane says once that it cannot keep changes in its folder" \
      grep -qF "Keyvane cannot keep changes in the folder $(winpath_of "$dir"):" <<<"$notice"
    check "... and what to do" grep -qF "move the Keyvane folder into a folder of your own" <<<"$notice"
    drive post-hotkey KVNF1 >/dev/null
    check "the keys stored there run" wait_file "$work/readonly-ran.txt" 10
    drive click "ON" >/dev/null; sleep 0.4
    drive click "OFF" >/dev/null
    check "switching the keys off and on brings no box" test "$(drive dialog "$(drive title)" 1500)" = 0
    drive end-session >/dev/null
    check "the end of the session waits on no box" wait_exit "$app_pid" 10
    app_pid=""
  else
    check "the main window appears in a folder it cannot write" false
  fi
  stop_app
  check "... and nothing in the folder changed" test "$(cd "$dir" && ls -l --time-style=+%s | md5sum; cat ./* | md5sum)" = "$before"
  umount "$dir"
else
  note "     skipped: a read-only bind mount needs root"
fi
