# The tray icon's clicks and the drop-down lists as a user picks from them; sourced by run.sh,
# with lib.sh.
ms_now() { echo $(( $(date +%s%N) / 1000000 )); }
press() {  # screen x, y, button: pressed and released as a hand would, not in one instant
  xdotool mousemove "$1" "$2" mousedown "${3:-1}"
  sleep 0.1
  xdotool mouseup "${3:-1}"
}
wait_visible() {  # 0 or 1, seconds
  for _ in $(seq 1 $(( $2 * 20 ))); do
    [ "$(drive visible)" = "$1" ] && return 0
    sleep 0.05
  done
  return 1
}

echo "Tray icon clicks"
# Keyvane's icon is the first one in the "Wine System Tray" strip once the icons of programs
# that have ended are gone; Wine drops such an icon when the mouse passes over it.
tray_x=12
tray_y=32
clear_tray() {
  for _ in 1 2 3 4 5; do
    xdotool mousemove "$tray_x" "$tray_y"; sleep 0.05
    xdotool mousemove "$((tray_x + 1))" "$tray_y"; sleep 0.05
  done
}
menu_after_press() {  # button -> 1 or 0 for the menu, and the ms from the button's release to it
  drive menu 3000 >"$work/menu.txt" &
  local waiter=$! released
  sleep 0.6  # the watcher is up before the click
  press "$tray_x" "$tray_y" "$1"
  released="$(ms_now)"
  wait "$waiter"
  echo "$(cat "$work/menu.txt") $(( $(ms_now) - released ))"
}
dir="$(fresh_folder tray)"
if start_app "$dir"; then
  drive close >/dev/null
  wait_visible 0 5
  clear_tray
  press "$tray_x" "$tray_y"; sleep 0.1; press "$tray_x" "$tray_y"
  check "a double click on the tray icon brings the window back" wait_visible 1 3
  menu="$(drive menu 1500)"
  check "... and opens no menu" test "$menu" = 0
  [ "$menu" = 1 ] && drive end-menu >/dev/null

  drive close >/dev/null
  wait_visible 0 5
  read -r menu took <<<"$(menu_after_press 1)"
  note "     the menu opened $took ms after the button went up"
  check "a single left click opens the tray menu" test "$menu" = 1
  check "... once the double-click time has passed" test "$took" -ge 400
  check "... and leaves the window in the tray" test "$(drive visible)" = 0
  drive end-menu >/dev/null
  sleep 0.3

  read -r menu took <<<"$(menu_after_press 3)"
  note "     the menu opened $took ms after the right button went up"
  check "a right click opens it at once" test "$menu" = 1 -a "$took" -lt 400
  drive end-menu >/dev/null
else
  check "the main window appears" false
fi
stop_app

# The theme list, chosen from with real clicks and keys. Three themes of the user's own, all
# of which may be deleted; which one the file system lists first does not matter.
keyvane_x_window() { xdotool search --onlyvisible --name '^Keyvane( - .*)?$' 2>/dev/null | head -n1; }
show_themes_page() {
  xdotool mousemove $((origin_x + 368 + 50)) $((origin_y + 116 + 8)) click 1
  sleep 1.5
}
list_geometry() { drive list-rect "$1"; }  # l t r b item-height index
open_list() {  # an item the list holds
  local l t r b h i
  read -r l t r b h i <<<"$(list_geometry "$1")"
  press $(( (l + r) / 2 )) $(( (t + b) / 2 ))
  sleep 0.4
}
item_in_open_list() {  # item -> screen x y of it in the open list below the drop-down
  local l t r b h i
  read -r l t r b h i <<<"$(list_geometry "$1")"
  echo $(( (l + r) / 2 )) $(( b + 2 + h * i + h / 2 ))
}
pick_with_mouse() {  # item
  local x y
  open_list "$1"
  read -r x y <<<"$(item_in_open_list "$1")"
  press "$x" "$y"
  sleep 0.6
}
list_item() { drive selected | head -n1; }
title_is() { [ "$(drive title)" = "$1" ] || { note "     the title is $(drive title)"; return 1; }; }
delete_theme() {  # name: Delete Theme with the list on it, answered Yes
  drive click "Delete Theme" >/dev/null
  drive answer "Delete $1 Theme?" 6 >/dev/null
  sleep 0.5
}
no_save() {  # the question to save the current keys first, answered No
  drive answer "Save Current Key Setup?" 7 >/dev/null || return 1
  sleep 0.6
}
theme_dir() {
  local d
  d="$(fresh_folder "$1")"
  rm -f "$d"/*.kth
  cp "$build/platform/win32/Games.kth" "$d/Alpha.kth"
  cp "$build/platform/win32/Quick Start.kth" "$d/Beta.kth"
  cp "$build/platform/win32/Shopping.kth" "$d/Gamma.kth"
  echo "$d"
}

echo "Choosing the theme the list shows"
dir="$(theme_dir themelist)"
# The keys of no theme, and the list restored to its second entry, which is then shown but
# not loaded.
printf '[F1Key]\r\nLabel=Mine\r\nAction=13\r\n\r\n[Theme]\r\nIndexofSelected=1\r\n' >"$dir/Keyvane.ini"
if start_app "$dir"; then
  show_themes_page
  shown="$(list_item)"
  before="$(drive title)"
  check "at the start the restored entry ($shown) shows, not loaded" test "$before" != "Keyvane - $shown Theme"
  pick_with_mouse "$shown"
  # The keys match no theme: the remembered entry is not their theme, so the load asks first.
  check "choosing that entry with the mouse asks first to save the keys of no theme" no_save
  check "... and then loads it" title_is "Keyvane - $shown Theme"
  check "... into the settings file" \
    test "$(tr -d '\r' <"$dir/Keyvane.ini" | sed -n '/^\[F1Key\]/,/^\[/p' | grep '^Label=')" != "Label=Mine"

  # Hovering over another entry and closing the list with Escape chooses nothing.
  loaded="$shown"
  open_list "$loaded"
  passed_over=Alpha
  [ "$loaded" = Alpha ] && passed_over=Beta
  read -r x y <<<"$(item_in_open_list "$passed_over")"
  xdotool mousemove "$x" "$y"; sleep 0.3
  xdotool key Escape; sleep 0.6
  check "Escape after the mouse passed over $passed_over loads nothing" title_is "Keyvane - $loaded Theme"
  check "... and the list shows $loaded again" test "$(list_item)" = "$loaded"

  # Deleting the loaded theme leaves keys that are no theme: the next load offers to save them.
  delete_theme "$loaded"
  first="$(list_item)"
  check "Delete Theme selects the first entry ($first) without loading it" title_is "Keyvane - No Theme Loaded"
  # The keyboard: the list has the focus once it has been opened and closed with Escape.
  xdotool windowfocus --sync "$(keyvane_x_window)" 2>/dev/null
  open_list "$first"
  xdotool key Escape; sleep 0.3
  xdotool key alt+Down; sleep 0.4
  xdotool key Return; sleep 0.6
  check "Alt+Down and Return on that entry ask first to save the keys of no theme" no_save
  check "... and then load it" title_is "Keyvane - $first Theme"

  other=""
  for name in Alpha Beta Gamma; do
    [ "$name" != "$first" ] && [ -e "$dir/$name.kth" ] && other="$name"
  done
  pick_with_mouse "$other"
  check "choosing another entry ($other) with the mouse loads it" title_is "Keyvane - $other Theme"
  delete_theme "$other"
  check "after deleting $other, $first shows again, not loaded" \
    test "$(list_item) $(drive title)" = "$first Keyvane - No Theme Loaded"
  pick_with_mouse "$first"
  check "choosing $first with the mouse asks to save the keys, then loads it" no_save
  check "... and loads it" title_is "Keyvane - $first Theme"
else
  check "the main window appears" false
fi
stop_app

# F4, at a start whose restored entry is not the keys' theme.
printf '[F1Key]\r\nLabel=Mine\r\nAction=13\r\n\r\n[Theme]\r\nIndexofSelected=0\r\n' >"$dir/Keyvane.ini"
if start_app "$dir"; then
  show_themes_page
  shown="$(list_item)"
  before="$(drive title)"
  xdotool windowfocus --sync "$(keyvane_x_window)" 2>/dev/null
  open_list "$shown"
  xdotool key Escape; sleep 0.3
  check "Escape on the open list loads nothing" title_is "$before"
  xdotool key F4; sleep 0.4
  xdotool key Return; sleep 0.6
  check "F4 and Return on the restored entry ($shown) ask to save the keys of no theme" no_save
  check "... and then load it" title_is "Keyvane - $shown Theme"
else
  check "the main window appears" false
fi
stop_app

echo "The print dialog"
root="$(cd "$here/../.." && pwd)"
if "$root/scripts/print-queue.sh" start >/dev/null 2>&1; then
  dir="$(fresh_folder printdialog)"
  if start_app "$dir"; then
    show_themes_page
    drive click "Print Theme" >/dev/null
    drive shown-texts "Print" >"$work/print-dialog.txt"
    drive answer "Print" 2 >/dev/null
    check "Print Theme's dialog shows" grep -q . "$work/print-dialog.txt"
    check "... without a \"Print to file\" check box" sh -c "! grep -qi 'to fi' '$work/print-dialog.txt'"
  else
    check "the main window appears" false
  fi
  stop_app
else
  check "a CUPS-PDF print queue is ready" false
fi

echo "Nothing the user made is replaced unasked or lost"
label_of() {  # theme file, section -> the key's title there
  tr -d '\r' <"$1" | sed -n "/^\[$2\]/,/^\[/p" | sed -n 's/^Label=//p' | head -n1
}
boxes_show() {  # text: some box or list of the window shows exactly it
  drive texts | grep -qxF "$1" || { note "     the window's texts: $(drive texts | grep . | tr '\n' '|')"; return 1; }
}
no_question() { [ "$(drive dialog 'Save Current Key Setup?' 1500)" = 0 ] || { drive answer 'Save Current Key Setup?' 7 >/dev/null; return 1; }; }
click_at() { xdotool mousemove $((origin_x + $1)) $((origin_y + $2)) click 1; sleep "${3:-0.4}"; }
editor_tab() { click_at 284 124 1.6; }
dir="$(theme_dir keeping)"
cp "$build/platform/win32/Quick Start.kth" "$dir/"
if start_app "$dir"; then
  # A first start: no key is set, which no listed theme is; the list shows its default entry.
  drive click "Quick Start >>" >/dev/null
  check "Quick Start first offers to save keys that are no theme" no_save
  drive answer "Keyvane - Quick Start Theme" 1 >/dev/null; sleep 1.5
  click_at $((24 + 28 + 64 * 5)) 82 1.6
  check "F6 opens in the editor as Quick Start has it" boxes_show "$(label_of "$dir/Quick Start.kth" F6Key)"
  drive choose Alpha >/dev/null; sleep 0.6
  check "after Quick Start the next theme loads without a question" no_question
  check "... Alpha" title_is "Keyvane - Alpha Theme"
  check "... and the editor shows F6 as Alpha has it now: not set" \
    test "$(drive selected | tr '\n' ' ')" = "F6 - Select One - "
  check "... its title box empty" sh -c "! wine '$driver' texts 2>/dev/null | tr -d '\r' | grep -qxF Notepad"

  # Looking into the action list and taking the item it shows keeps a typed title.
  click_at 341 242
  xdotool key End shift+Home; xdotool type --delay 20 "My own title"; sleep 0.3
  click_at 333 272
  xdotool key Return; sleep 0.6
  check "Return on the action list's shown item keeps the typed title" boxes_show "My own title"

  # A listed theme whose file has gone: reported, the keys kept, the entry taken off the list.
  rm -f "$dir/Gamma.kth"
  kept="$(md5sum <"$dir/Keyvane.ini")"
  drive choose Gamma >/dev/null
  check "choosing a theme whose file has gone says so" \
    grep -q 'The file of the Gamma theme (Gamma.kth) cannot be found' <(drive answer "Keyvane - Alpha Theme" 1)
  sleep 0.4
  check "... keeps the keys" test "$(md5sum <"$dir/Keyvane.ini")" = "$kept"
  check "... and Alpha loaded" title_is "Keyvane - Alpha Theme"
  check "... and takes Gamma off the list" test "$(drive listed Gamma) $(drive listed Alpha)" = "0 1"

  # An edit applied, then a restart: the keys are no theme, and a load asks first.
  drive choose "Sleep" >/dev/null; sleep 0.3
  drive click "Apply" >/dev/null; sleep 0.6
  stop_app
  start_app "$dir"
  check "after an edit and a restart no theme is loaded" title_is "Keyvane - No Theme Loaded"
  drive choose Beta >/dev/null
  check "... and the next theme chosen offers to save the keys first" no_save
else
  check "the main window appears" false
fi
stop_app

# The first turn to the editor while another program holds the settings file selects no key:
# the page stays as before any selection and Apply stores nothing.
printf '[F1Key]\r\nLabel=Mail\r\nAction=13\r\n\r\n[F6Key]\r\nLabel=Task list\r\nAction=29\r\nFile=1\r\n' >"$dir/Keyvane.ini"
if start_app "$dir"; then
  wine "$driver" lock-file "$(winpath_of "$dir/Keyvane.ini")" 2500 </dev/null >"$work/lock.txt" 2>/dev/null &
  locker=$!
  wait_file "$work/lock.txt" 5; sleep 0.3
  editor_tab
  check "the editor's first turn with the settings file held reports it" \
    grep -qi 'Keyvane.ini' <(drive answer "Keyvane - No Theme Loaded" 1)
  wait "$locker" 2>/dev/null
  drive choose "Sleep" >/dev/null; sleep 0.3
  drive click "Apply" >/dev/null; sleep 0.6
  check "... and Apply without a key writes no nameless section" sh -c "! grep -q '^\[\]' '$dir/Keyvane.ini'"

  # A hand-edited combination that cannot be read still opens its key for repair.
  click_at $((24 + 28 + 64 * 5)) 82 0.2
  check "a key whose combination cannot be read says so" \
    grep -qF "'1' is not a valid key combination." <(drive answer "Keyvane - No Theme Loaded" 1)
  sleep 1.6
  check "... and opens in the editor, its lists without a choice" \
    test "$(drive selected | tr '\n' ' ')" = "F6 Press 3 Key Combo (none) (none) (none) "
  drive choose "Remove Action" >/dev/null; sleep 0.3
  drive click "Apply" >/dev/null; sleep 0.6
  check "... where Remove Action removes it" \
    sh -c "! tr -d '\r' <'$dir/Keyvane.ini' | sed -n '/^\[F6Key\]/,/^\[/p' | grep -q '^Action='"
else
  check "the main window appears" false
fi
stop_app
