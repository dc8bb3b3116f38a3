# The key layout, single instance, closing, the session end, DPI, hot keys, ON/OFF, the tray
# menu, editing, held keys and themes; sourced by run.sh, with lib.sh.
set_dpi 96

echo "Key layout colours"
dir="$(fresh_folder layout)"
printf '[F1Key]\r\nLabel=Check Email\r\nAction=13\r\n\r\n[PSKey]\r\nLabel=Paste\r\nAction=31\r\nFile=hello\r\n\r\n[DelKey]\r\nLabel=\r\nAction=15\r\n\r\n[F3Key]\r\nLabel=@!#\r\nAction=2\r\n' >"$dir/Keyvane.ini"
if start_app "$dir"; then
  sleep 0.5
  screenshot
  check "the window's background is #D8D8FF" pixel_is 10 200 d8d8ff
  check "F1 (set) is #AAAADD" pixel_is $((24 + 28)) $((24 + 58)) aaaadd
  check "F2 (not set) is white" pixel_is $((88 + 28)) $((24 + 58)) ffffff
  check "F3 (titled @!#) is white" pixel_is $((152 + 28)) $((24 + 58)) ffffff
  check "Print Screen (set) is #AAAADD" pixel_is $((600 + 28)) $((144 + 58)) aaaadd
  check "Delete (empty title) is #AAAADD" pixel_is $((600 + 28)) $((304 + 58)) aaaadd
  check "End (not set) is white" pixel_is $((664 + 28)) $((304 + 58)) ffffff
  check "the key outline is black" pixel_is 24 $((24 + 32)) 000000
  cp "$shot" "$work/layout.png"
else
  check "the main window appears" false
fi

echo "Single instance"
second_dir="$(fresh_folder second)"
(cd "$second_dir" && exec wine ./keyvane.exe </dev/null >/dev/null 2>&1) &
second=$!
check "a second start ends by itself" wait_exit "$second" 15
check "exactly one main window remains" test "$(drive count)" = 1
check "the second copy wrote no settings" test ! -e "$second_dir/Keyvane.ini"

echo "Close button"
drive close >/dev/null
sleep 1
check "closing leaves the program running" kill -0 "$app_pid"
check "closing hides the window into the tray" test "$(drive visible)" = 0

echo "End of the Windows session"
rm -f "$dir/Keyvane.ini.check"
drive end-session >/dev/null
check "the program ends" wait_exit "$app_pid" 10
app_pid=""
check "the settings file has Keys, Setting and Theme" ini_has_sections "$dir/Keyvane.ini" F1Key PSKey DelKey F3Key Keys Setting Theme

echo "First start without a settings file"
dir="$(fresh_folder defaults)"
if start_app "$dir"; then
  check "no settings file is needed to start" kill -0 "$app_pid"
  # As the setup program asks it to end before it replaces Keyvane's files.
  drive exit-request >/dev/null
  check "asked to end by another program, Keyvane ends as Exit ends it" wait_exit "$app_pid" 10
  app_pid=""
  check "the first save writes Keys, Setting and Theme" ini_has_sections "$dir/Keyvane.ini" Keys Setting Theme
  check "the keys are saved as on" grep -q '^Enabled=1' "$dir/Keyvane.ini"
else
  check "the main window appears" false
fi
stop_app

echo "The window on a 1024 x 768 screen at 96, 144 and 192 DPI"
dir="$(fresh_folder dpi)"
for dpi in 96 144 192; do
  set_dpi "$dpi"
  if start_app "$dir"; then
    # The place a window is given can settle a moment after it first shows.
    case "$dpi" in 96) want="103 170" ;; 144) want="0 63" ;; 192) want="0 0" ;; esac
    for _ in $(seq 1 40); do
      read -r left top right bottom <<<"$(drive rect)"
      [ "$left $top" = "$want" ] && break
      sleep 0.05
    done
    note "     at $dpi DPI the window is at $left $top, $((right - left)) x $((bottom - top))"
    case "$dpi" in
      96) check "at 96 DPI the 818 x 427 window is centred on the screen" \
            test "$left $top $((right - left)) $((bottom - top))" = "103 170 818 427" ;;
      # 1227 pixels wide at 150 %: its left edge on the screen's, centred from top to bottom.
      144) check "at 144 DPI the window wider than the screen starts at its left edge" \
             test "$left $top" = "0 63" ;;
      192) check "at 192 DPI the window larger both ways starts at the top-left corner" \
             test "$left $top" = "0 0" ;;
    esac
  else
    check "the main window appears at $dpi DPI" false
  fi
  stop_app
done
set_dpi 96
echo "Hot keys run their actions"
dir="$(fresh_folder hotkeys)"
cat >"$dir/slow.bat" <<BAT
@echo off
echo started> "$(winpath_of "$dir")\started.txt"
:wait
if not exist "$(winpath_of "$dir")\go.txt" goto wait
echo done> "$(winpath_of "$dir")\done.txt"
BAT
printf '@echo off\r\necho second> "%s\\second.txt"\r\n' "$(winpath_of "$dir")" >"$dir/second.bat"
{
  printf '[F1Key]\r\nLabel=Copy\r\nAction=28\r\nFile=1C\r\n'
  printf '[F2Key]\r\nLabel=Hello\r\nAction=31\r\nFile=Hello Keyvane\r\n'
  printf '[F3Key]\r\nLabel=Slow\r\nAction=10\r\nFile=%s\r\n' "$(winpath_of "$dir/slow.bat")"
  printf '[F4Key]\r\nLabel=Second\r\nAction=10\r\nFile=%s\r\n' "$(winpath_of "$dir/second.bat")"
  printf '[PDKey]\r\nLabel=Marker\r\nAction=10\r\nFile=%s\r\n' "$(winpath_of "$dir/second.bat")"
} >"$dir/Keyvane.ini"
if start_app "$dir"; then
  # Idle with five keys registered (and no balloon on show, which Wine animates in-process).
  sleep 1
  used="$(cpu_ms_over 10)"
  note "     CPU used by keyvane.exe idle for 10 s: $used ms"
  check "an idle Keyvane uses (almost) no CPU" test "$used" -lt 300
  note "     memory of keyvane.exe (with Wine's own share): $(awk '/VmRSS|VmHWM/ {printf "%s %s kB  ", $1, $2}' "/proc/$(keyvane_linux_pid)/status")"
  (cd "$dir" && exec wine "$keylog" keys.log </dev/null >/dev/null 2>&1) &
  keylog_pid=$!
  wait_file "$dir/keys.log" 10
  sleep 0.5
  xdotool search --name 'Keyvane key log' windowfocus --sync >/dev/null 2>&1 || true
  drive post-hotkey KVNF1 >/dev/null
  sleep 0.7
  check "Ctrl+C arrives as Ctrl down, C down, C up, Ctrl up" \
    test "$(grep -E '^(down|up) ' "$dir/keys.log" | tr -d '\r' | tr '\n' ' ')" = "down 0x11 down 0x43 up 0x43 up 0x11 "
  drive post-hotkey KVNF2 >/dev/null
  sleep 0.7
  check "Paste Text pastes through the clipboard" grep -q '^paste Hello Keyvane' "$dir/keys.log"
  kill "$keylog_pid" 2>/dev/null
  drive post-hotkey KVNF3 >/dev/null
  check "Run File starts the batch file" wait_file "$dir/started.txt" 10
  drive post-hotkey KVNF4 >/dev/null
  check "a second hot key runs while the first program still runs" wait_file "$dir/second.txt" 10
  check "... before the first program has ended" test ! -e "$dir/done.txt"
  used="$(cpu_ms_over 5)"
  note "     CPU used by keyvane.exe in 5 s while Run File waits: $used ms"
  check "waiting for a started program uses (almost) no CPU" test "$used" -lt 500
  touch "$dir/go.txt"
  check "the batch file ends" wait_file "$dir/done.txt" 10

  echo "ON/OFF button"
  read -r bx by <<<"$((origin_x + 600 + 120)) $((origin_y + 108 + 15))"
  xdotool mousemove "$bx" "$by" click 1
  sleep 0.5
  check "one click switches the keys off" grep -qx 'OFF' <(drive texts)
  check "... and saves them as off" grep -q '^Enabled=0' <(tr -d '\r' <"$dir/Keyvane.ini")
  check "switching off releases the keys to other programs" test "$(drive free-key 115)" = 1
  rm -f "$dir/second.txt"

  echo "Tray menu"
  drive tray 517 >/dev/null
  sleep 0.5
  xdotool key Up Up Up Up Return
  check "a tray key item runs its key while the keys are off" wait_file "$dir/second.txt" 10
  xdotool mousemove "$bx" "$by" click 1
  sleep 0.5
  check "a second click switches them on again" grep -qx 'ON' <(drive texts)
  check "... and takes the set keys again" test "$(drive free-key 115)" = 0
  check "... and saves them as on" grep -q '^Enabled=1' <(tr -d '\r' <"$dir/Keyvane.ini")
  rm -f "$dir/Keyvane.ini"
  drive tray 517 >/dev/null
  sleep 0.5
  xdotool key Up Return
  check "Exit in the tray menu ends the program" wait_exit "$app_pid" 10
  app_pid=""
  check "... and writes the settings" test -e "$dir/Keyvane.ini"
else
  check "the main window appears" false
fi
stop_app

echo "Editing a key"
dir="$(fresh_folder editor)"
printf 'notes\r\n' >"$dir/notes.txt"
printf '[F6Key]\r\nLabel=Task list\r\nAction=29\r\nFile=12Delete\r\n' >"$dir/Keyvane.ini"
key_at() { echo $((24 + 28 + 64 * ($1 - 1))) $((24 + 58)); }  # F1..F12 shape centres
if start_app "$dir"; then
  sleep 0.5
  read -r kx ky <<<"$(key_at 6)"
  xdotool mousemove $((origin_x + kx)) $((origin_y + ky)) click 1
  sleep 1.6
  three_lists() { [ "$(drive selected | tr '\n' ' ')" = "F6 Press 3 Key Combo Delete Alt Ctrl " ] || { note "     lists show: $(drive selected | tr '\n' ' ')"; return 1; }; }
  check "a stored 12Delete loads as Delete, Alt and Ctrl" three_lists
  read -r kx ky <<<"$(key_at 5)"
  xdotool mousemove $((origin_x + kx)) $((origin_y + ky)) click 1
  sleep 0.5
  drive choose 'Run File \/' >/dev/null
  sleep 0.3
  drive click "..." >/dev/null
  sleep 1.5
  xdotool type --delay 30 "$(winpath_of "$dir/notes.txt")"
  xdotool key Return
  sleep 1
  drive click "Apply" >/dev/null
  sleep 0.7
  check "Browse and Apply store the chosen file for F5" \
    grep -qxF "File=$(winpath_of "$dir/notes.txt")" <(tr -d '\r' <"$dir/Keyvane.ini")
  check "... with its automatic title" grep -qx 'Label=Run File  notes' <(tr -d '\r' <"$dir/Keyvane.ini")
  screenshot
  read -r kx ky <<<"$(key_at 5)"
  check "... and F5 turns #AAAADD" pixel_is "$kx" "$ky" aaaadd
  check "... and takes its hot key" test "$(drive free-key 116)" = 0
  drive choose "Remove Action" >/dev/null
  sleep 0.3
  drive click "Apply" >/dev/null
  sleep 0.7
  f5_empty() { ! tr -d '\r' <"$dir/Keyvane.ini" | sed -n '/^\[F5Key\]/,/^\[F[0-9]/p' | grep -q '^Label='; }
  check "Remove Action empties F5's record" f5_empty
  check "... and gives its hot key back" test "$(drive free-key 116)" = 1
else
  check "the main window appears" false
fi
stop_app

echo "A key assigned with the keyboard alone, as a screen reader reads it"
dir="$(fresh_folder keyboard)"
printf '[F1Key]\r\nLabel=Mail\r\nAction=13\r\n' >"$dir/Keyvane.ini"
if start_app "$dir"; then
  sleep 0.5
  xdotool search --onlyvisible --name '^Keyvane( - .*)?$' windowfocus --sync >/dev/null 2>&1
  focus_is() { [ "$(drive accessible-focus)" = "$1" ] || { note "     the focus is on: $(drive accessible-focus)"; return 1; }; }
  check "the key layout has the focus, on F1, read with its title and action" \
    focus_is "push button|F1|Mail|Open Email Program|focused,focusable"
  # The driver flushes each event as it comes, so the file holds them when it is stopped.
  wine "$driver" winevents 30000 </dev/null >"$work/events.txt" 2>/dev/null &
  watcher=$!
  sleep 0.8
  for _ in 1 2 3 4; do xdotool key Right; sleep 0.15; done
  check "four Right arrows bring it to F5, a free key" focus_is "push button|F5|(not set)||focused,focusable"
  # Keys typed while the page slides in reach it: the tabs, the key list, the title box, the
  # action list.
  xdotool key Return Tab Tab Tab Tab; sleep 1.6
  check "Enter opens F5 in the editor" grep -qx 'static text|Key - F5 key|||' <(drive accessible)
  xdotool key Home; for _ in $(seq 1 15); do xdotool key Down; sleep 0.05; done; sleep 0.6
  check "the arrow keys in the action list choose Sleep" grep -qx 'combo box|Action|Sleep||focused,focusable' <(drive accessible)
  xdotool key shift+Tab; sleep 0.2
  xdotool key End shift+Home; xdotool type --delay 30 "Nap"; sleep 0.3
  check "the title box is named by its label" grep -qx 'text|Title|Nap||focused,focusable' <(drive accessible)
  xdotool key shift+Tab shift+Tab; sleep 0.2  # the key list, then Apply, first on the page
  check "Shift+Tab reaches Apply" grep -qx 'push button|Apply|||focused,focusable' <(drive accessible)
  xdotool key space; sleep 0.6
  check "Space on Apply stores F5 as Nap, Sleep" \
    test "$(tr -d '\r' <"$dir/Keyvane.ini" | sed -n '/^\[F5Key\]/,/^\[/p' | grep -E '^(Label|Action)=' | tr '\n' ' ')" = "Label=Nap Action=15 "
  check "... which the reader reads on the key" grep -qx 'push button|F5|Nap|Sleep|selected,focusable' <(drive accessible)
  xdotool key ctrl+Tab; sleep 1.5
  # The editor's controls are hidden now: the focus is on the page tabs.
  check "Ctrl+Tab turns to the Themes page" grep -qx 'page tab|Themes|||focused,selected,focusable' <(drive accessible)
  xdotool key ctrl+shift+Tab; sleep 1.5
  check "Ctrl+Shift+Tab turns back" grep -qx 'page tab|Create or Edit Key|||focused,selected,focusable' <(drive accessible)
  drive close >/dev/null; sleep 0.8
  drive tray 515 >/dev/null; sleep 1  # a double click on the tray icon brings the window back
  xdotool search --onlyvisible --name '^Keyvane( - .*)?$' windowfocus --sync >/dev/null 2>&1
  check "back from the tray, the focus is where it was" \
    focus_is 'page tab|Create or Edit Key|||focused,selected,focusable'
  xdotool key Right; sleep 1.5
  check "... and the keys still move it" grep -qx 'page tab|Themes|||focused,selected,focusable' <(drive accessible)
  xdotool key ctrl+Tab ctrl+Tab; sleep 2.5
  check "two quick Ctrl+Tab turn two pages" grep -qx 'page tab|Create or Edit Key|||focused,selected,focusable' <(drive accessible)
  sleep 1
  kill "$watcher" 2>/dev/null; wait "$watcher" 2>/dev/null
  heard() { tr -d '\r' <"$work/events.txt" | grep -qx "$1"; }
  check "the reader heard the focus move along the keys" heard 'focus F5 = (not set)'
  check "... and F5's new title" heard 'value F5 = Nap'
  check "... and the page turns" heard 'selection Themes'
  check "... and the focus come to the page tabs" heard 'focus Themes'
  screenshot
  cp "$shot" "$work/keyboard.png"
else
  check "the main window appears" false
fi
stop_app

echo "A key another program holds"
dir="$(fresh_folder held)"
printf '[F7Key]\r\nLabel=Notes\r\nAction=13\r\n\r\n[F8Key]\r\nLabel=Mail\r\nAction=13\r\n' >"$dir/Keyvane.ini"
wine "$driver" hold-key 118 6000 </dev/null >"$work/hold.txt" 2>/dev/null &
holder=$!
sleep 1
if grep -q held "$work/hold.txt" && start_app "$dir"; then
  sleep 0.7
  screenshot
  check "the held F7 carries the mark" pixel_is 456 28 ff8000
  check "... and keeps its #AAAADD" pixel_is $((408 + 28)) $((24 + 58)) aaaadd
  check "F8, which Keyvane holds, has no mark" sh -c "[ '$(pixel 520 28)' != ff8000 ]"
  wait "$holder" 2>/dev/null
  drive click "ON" >/dev/null; sleep 0.4
  drive click "OFF" >/dev/null; sleep 0.7
  screenshot
  check "once the other program lets go, ON takes F7 and the mark goes" sh -c "[ '$(pixel 456 28)' != ff8000 ]"
  check "... and F7 is Keyvane's" test "$(drive free-key 118)" = 0
else
  check "the helper holds F7 and the main window appears" false
fi
stop_app
kill "$holder" 2>/dev/null

echo "Themes"
root="$(cd "$here/../.." && pwd)"
queue_ok=0
"$root/scripts/print-queue.sh" start && queue_ok=1
check "a CUPS-PDF print queue is ready" test "$queue_ok" = 1
pdf_out="$("$root/scripts/print-queue.sh" outdir)"
dir="$(fresh_folder themes)"
printf '[F1Key]\r\nLabel=Mail\r\nAction=13\r\n\r\n[Theme]\r\nIndexofSelected=-1\r\n' >"$dir/Keyvane.ini"
title() { drive title; }
if start_app "$dir"; then
  drive click "Create Theme from Current Settings" >/dev/null
  check "Create Theme asks for a name in the Save Keys box" drive answer "Save Keys" 1 "Mine"
  wait_file "$dir/Mine.kth" 5
  check "... and writes the current keys as Mine.kth" grep -q '^Label=Mail' <(tr -d '\r' <"$dir/Mine.kth" 2>/dev/null)
  sleep 0.3
  check "... which is then the matched theme" test "$(title)" = "Keyvane - Mine Theme"
  drive choose Games >/dev/null
  sleep 0.5
  check "choosing Games in the list loads it" test "$(title)" = "Keyvane - Games Theme"
  check "... into the settings file" grep -q '^Label=Play Freecell' <(tr -d '\r' <"$dir/Keyvane.ini")
  drive post-hotkey KVNScrLock >/dev/null
  sleep 0.5
  next="$(title)"
  next="${next#Keyvane - }"
  next="${next% Theme}"
  check "a Load Next Theme key loads another listed theme ($next)" \
    test "$next" != Games -a -e "$dir/$next.kth"
  drive choose Mine >/dev/null
  sleep 0.3
  drive click "Delete Theme" >/dev/null
  check "Delete Theme asks first" drive answer "Delete Mine Theme?" 6
  sleep 0.3
  check "... and deletes the theme file" test ! -e "$dir/Mine.kth"
  # Mine was the theme of the keys: they are no theme now, and a load offers to save them first.
  check "... and the keys it held are no theme any more" test "$(title)" = "Keyvane - No Theme Loaded"
  drive choose "Quick Start" >/dev/null
  check "the next theme chosen offers to save them first" drive answer "Save Current Key Setup?" 7
  sleep 0.3
  caption="$(title)"
  drive click "Delete Theme" >/dev/null
  check "deleting Quick Start is refused" \
    grep -q 'is a fixed theme name that may not be deleted' <(drive answer "$caption" 1)
  check "... and keeps its file" test -e "$dir/Quick Start.kth"
  printf '[F1Key]\r\nLabel=Other\r\nAction=13\r\n' >>"$dir/Keyvane.ini"
  drive click "Quick Start >>" >/dev/null
  check "Quick Start >> loads the Quick Start theme and says so" \
    grep -q 'The Quick Start Theme has been loaded' <(drive answer "Keyvane - Quick Start Theme" 1)
  check "... into the settings file" grep -q '^Label=Notepad' <(tr -d '\r' <"$dir/Keyvane.ini")

  drive choose Games >/dev/null
  sleep 0.3
  mkdir -p "$pdf_out"
  before="$(ls "$pdf_out" 2>/dev/null)"
  drive click "Print Theme" >/dev/null
  check "Print Theme opens the print dialog" drive answer "Print" 1
  pdf=""
  for _ in $(seq 1 200); do
    pdf="$(comm -13 <(printf '%s\n' "$before") <(ls "$pdf_out" 2>/dev/null) | grep -i 'games.*\.pdf$' | head -n1)"
    [ -n "$pdf" ] && break
    sleep 0.05
  done
  check "the theme is printed to the PDF queue" test -n "$pdf"
  if [ -n "$pdf" ]; then
    sleep 0.5
    # The printer font's "hyphen" glyph comes back from the PDF as a soft hyphen (U+00AD).
    pdftotext "$pdf_out/$pdf" - 2>/dev/null | tr -d '\f' | sed 's/\xc2\xad/-/g; s/[[:space:]]*$//' >"$work/printed.txt"
    sed 's/[[:space:]]*$//' "$root/tests/data/themes/Games.printout.txt" >"$work/expected.txt"
    check "... and its text is the theme's 31 lines" diff <(grep -v '^$' "$work/expected.txt") <(grep -v '^$' "$work/printed.txt")
  fi
  "$root/scripts/print-queue.sh" reject
  drive click "Print Theme" >/dev/null
  drive answer "Print" 1 >/dev/null
  check "a job the queue rejects shows Error Printing text." \
    grep -q 'Error Printing text.' <(drive answer "Keyvane" 1)
  "$root/scripts/print-queue.sh" accept
  check "... and the program goes on running" kill -0 "$app_pid"
else
  check "the main window appears" false
fi
stop_app
