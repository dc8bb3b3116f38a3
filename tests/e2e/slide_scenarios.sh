# The slide between pages, frame by frame, and page turns asked for while it plays; sourced
# by run.sh, with lib.sh.
set_dpi 96
probe="$build/tests/e2e/keyvane_slide_probe.exe"
slide_dir="$work/slide"
rm -rf "$slide_dir"
mkdir -p "$slide_dir"

# Client points to click: the tabs and the F1 key's shape.
tab_intro=(112 124)
tab_editor=(280 124)
tab_themes=(418 124)
key_f1=(52 82)

area() {  # the page area of the last screenshot, into a file
  convert "$shot" -crop "569x209+$((origin_x + 24))+$((origin_y + 136))" +repage "$1" 2>/dev/null
}
# How many pixels of the last screenshot's client rectangle x y w h have the colour RRGGBB.
count_colour() {
  convert "$shot" -crop "$3x$4+$((origin_x + $1))+$((origin_y + $2))" +repage txt:- 2>/dev/null |
    grep -ci "#$5"
}
tab_box() {  # tab name -> its client rectangle
  case "$1" in
    intro) echo 24 116 177 17 ;;
    editor) echo 200 116 169 17 ;;
    themes) echo 368 116 105 17 ;;
  esac
}
# The tab's caption is drawn in the colour and in no other tab colour.
tab_is() {  # tab name, RRGGBB
  local other=ff0000 box
  [ "$2" = ff0000 ] && other=0000dd
  read -r -a box <<<"$(tab_box "$1")"
  local own foreign
  own="$(count_colour "${box[@]}" "$2")"
  foreign="$(count_colour "${box[@]}" "$other")"
  [ "$own" -ge 20 ] && [ "$foreign" = 0 ] ||
    { note "     the $1 tab has $own pixels of #$2 and $foreign of #$other"; return 1; }
}
only_tab_red() {  # tab name: that tab red, the other two #0000DD
  local tab ok=0
  for tab in intro editor themes; do
    if [ "$tab" = "$1" ]; then tab_is "$tab" ff0000 || ok=1; else tab_is "$tab" 0000dd || ok=1; fi
  done
  return $ok
}
# The two pictures differ in at most a few pixels (a caret may blink).
same_area() {
  local differing
  differing="$(compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1 | cut -d' ' -f1)"
  [ "${differing%.*}" -le 40 ] 2>/dev/null || { note "     $differing pixels differ"; return 1; }
}

settle() { wine "$probe" settle </dev/null >/dev/null 2>&1; }
clicks() { wine "$probe" clicks "$@" </dev/null >/dev/null 2>&1; }

# Films a turn (the clicks as for the probe) and makes one check of each line the probe
# prints: "ok <what>: <figures>" or "FAIL <what>: <figures>". A turn that fails while the
# machine was too busy to draw the slide steadily is turned back and filmed again, twice at
# most: a fault of the slide shows every time, a busy moment passes.
film_turn() {  # name, the point that turns back, clicks...
  local name="$1" back=("$2" "$3") out="$slide_dir/$1.txt" verdict rest attempt
  shift 3
  mkdir -p "$slide_dir/$name"
  for attempt in 1 2 3; do
    wine "$probe" turn "$(winpath_of "$slide_dir/$name")" "$@" </dev/null 2>/dev/null | tr -d '\r' >"$out"
    grep -q '^FAIL' "$out" && grep -q '^unsteady' "$out" && [ "$attempt" -lt 3 ] || break
    note "     $(grep '^unsteady' "$out"); filming it again"
    clicks "${back[@]}"
    settle
  done
  check "the probe filmed the slide" grep -q '^filmed' "$out"
  while read -r verdict rest; do
    case "$verdict" in
      ok) check "${rest%%:*}" true ;;
      FAIL) check "${rest%%:*}" false ;;
      *) continue ;;
    esac
    note "     ${rest#*: }"
  done <"$out"
}

echo "Pages slide, frame by frame: introduction to themes, themes to editor"
dir="$(fresh_folder pages)"
if start_app "$dir"; then
  film_turn to-themes "${tab_intro[@]}" "${tab_themes[@]}"
  screenshot
  check "the themes tab is red, the others #0000DD" only_tab_red themes
  film_turn to-editor "${tab_themes[@]}" "${tab_editor[@]}"
  screenshot
  check "the editor page has arrived with F1 chosen (its key is #0000FF)" pixel_is $((24 + 28)) $((24 + 58)) 0000ff
  check "the editor tab is red, the others #0000DD" only_tab_red editor
else
  check "the main window appears" false
fi
stop_app

echo "Page turns asked for while the slide plays"
dir="$(fresh_folder turns)"
if start_app "$dir"; then
  # Each page as a turn on its own leaves it: the introduction, the editor (clicking F1 turns
  # to it with F1 chosen), the themes page.
  settle; screenshot; area "$slide_dir/alone-intro.png"
  clicks "${key_f1[@]}"; settle; screenshot; area "$slide_dir/alone-editor.png"
  clicks "${tab_themes[@]}"; settle; screenshot; area "$slide_dir/alone-themes.png"
  check "the three pages look different" test "$(md5sum "$slide_dir"/alone-*.png | cut -d' ' -f1 | sort -u | wc -l)" = 3

  # Each sequence starts on the introduction page; the last page asked for is the one shown,
  # alone, with its tab alone red.
  turns() {  # description, final page, then the clicks as for the probe
    local what="$1" page="$2" name="${1//[^a-zA-Z0-9]/-}"
    shift 2
    clicks "${tab_intro[@]}"; settle
    if [ -n "${film:-}" ]; then film_turn "$name" "${tab_intro[@]}" "$@"; else clicks "$@"; settle; fi
    screenshot; area "$slide_dir/after-$name.png"
    check "$what: only the $page page is shown" same_area "$slide_dir/after-$name.png" "$slide_dir/alone-$page.png"
    check "$what: only the $page tab is red" only_tab_red "$page"
  }
  # Filmed: the slide that set out for the themes page stretches the editor page in instead.
  film=1 turns "themes tab, then F1 300 ms later, filmed" editor "${tab_themes[@]}" 300 "${key_f1[@]}"
  turns "themes tab, then F1 in the second pass" editor "${tab_themes[@]}" 700 "${key_f1[@]}"
  turns "themes tab, editor tab, F1, 150 ms apart" editor "${tab_themes[@]}" 150 "${tab_editor[@]}" 150 "${key_f1[@]}"
  turns "F1, then the themes tab 200 ms later" themes "${key_f1[@]}" 200 "${tab_themes[@]}"
  turns "editor tab, themes tab, introduction tab, 100 ms apart" intro "${tab_editor[@]}" 100 "${tab_themes[@]}" 100 "${tab_intro[@]}"
else
  check "the main window appears" false
fi
stop_app

echo "Without animations in Windows a page turns at once"
dir="$(fresh_folder nomotion)"
page_at_200ms() {  # tab -> how many pixels of the page area 200 ms after the click differ from it settled
  xdotool mousemove $((origin_x + $1)) $((origin_y + $2)) click 1
  sleep 0.2
  screenshot; area "$slide_dir/early.png"
  sleep 1.5
  screenshot; area "$slide_dir/settled.png"
  compare -metric AE "$slide_dir/early.png" "$slide_dir/settled.png" null: 2>&1 | cut -d' ' -f1
}
if start_app "$dir"; then
  sleep 0.5
  moving="$(page_at_200ms "${tab_themes[@]}")"
  check "with animations the page is still sliding 200 ms after the click ($moving pixels apart)" test "${moving%.*}" -gt 1000
fi
stop_app
# Wine hands a program the setting as it stood when the program started.
drive animations 0 >/dev/null
if start_app "$dir"; then
  sleep 0.5
  still="$(page_at_200ms "${tab_themes[@]}")"
  check "with them off it is the new page already ($still pixels apart)" test "${still%.*}" -lt 50
else
  check "the main window appears" false
fi
stop_app
drive animations 1 >/dev/null 2>&1
