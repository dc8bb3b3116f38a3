# Helpers of the end-to-end scenarios, sourced by run.sh: starting keyvane.exe in a prepared
# folder, driving it, and checking what a user would see (pixels) and what it leaves on disk.
# Expects $build (the win64 build dir), Wine and a display (scripts/wine-env.sh).
exe="$build/platform/win32/keyvane.exe"
driver="$build/tests/e2e/keyvane_driver.exe"
keylog="$build/tests/e2e/keyvane_keylog.exe"
work="$build/e2e"
# shellcheck source=../checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"

drive() { wine "$driver" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

wait_exit() {  # pid, seconds
  local pid="$1" tenths=$(( $2 * 20 ))
  for _ in $(seq 1 "$tenths"); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
    sleep 0.05
  done
  return 1
}

fresh_folder() {  # name -> prints the folder, with keyvane.exe and the files beside it
  local dir="$work/$1"
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$exe" "$dir/"
  cp "$build/platform/win32/"*.bmp "$build/platform/win32/"*.kth "$dir/" 2>/dev/null || true
  echo "$dir"
}

app_pid=""
origin_x=0
origin_y=0
start_app() {  # folder, args...
  local dir="$1"
  shift
  (cd "$dir" && exec wine ./keyvane.exe "$@" </dev/null >/dev/null 2>&1) &
  app_pid=$!
  local origin
  origin="$(drive wait-window 15000)" || return 1
  read -r origin_x origin_y <<<"$origin"
}

stop_app() {
  [ -n "$app_pid" ] || return 0
  drive end-session >/dev/null || true
  wait_exit "$app_pid" 10 || kill "$app_pid" 2>/dev/null
  app_pid=""
}

shot=""
screenshot() {
  shot="$work/screen.png"
  import -window root "$shot" 2>/dev/null
}
pixel() {  # client x, client y -> RRGGBB of the last screenshot
  convert "$shot" -format "%[hex:p{$((origin_x + $1)),$((origin_y + $2))}]" info: 2>/dev/null | cut -c1-6 | tr 'A-F' 'a-f'
}
pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ] || { note "     pixel $1,$2 is $(pixel "$1" "$2"), expected $3"; return 1; }; }

ini_has_sections() {  # file, sections...
  local file="$1"
  shift
  local found
  found="$(tr -d '\r' <"$file" | grep -E '^\[' | tr -d '[]' | tr '\n' ' ')"
  [ "$found" = "$* " ] || { note "     sections are: $found"; return 1; }
}


# The screen's DPI, as Windows' display settings set it; each start reads it anew. The scenarios
# expect 96, also after a run that was cut short at another DPI.
set_dpi() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }

winpath_of() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }
wait_file() {  # path, seconds
  for _ in $(seq 1 $(( $2 * 20 ))); do
    [ -e "$1" ] && return 0
    sleep 0.05
  done
  return 1
}
cpu_ticks() {  # utime + stime of a process, in clock ticks
  awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0
}
keyvane_linux_pid() {  # the Wine process that runs keyvane.exe in this run's Wine prefix
  # Other Wine programs, other copies of keyvane.exe among them, may run in other prefixes on
  # the same machine: a process is this run's only when its environment names our prefix.
  local pid
  for pid in $(pgrep -f '^\./keyvane\.exe'); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
      return 0
    fi
  done
}
cpu_ms_over() {  # seconds -> milliseconds of CPU keyvane.exe used meanwhile (10 ms steps)
  local pid before
  pid="$(keyvane_linux_pid)"
  before="$(cpu_ticks "$pid")"
  sleep "$1"
  echo $(( ($(cpu_ticks "$pid") - before) * 10 ))
}
