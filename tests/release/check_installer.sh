#!/usr/bin/env bash
# Keyvane's setup program under Wine, as one user goes through it: a silent installation and
# what it puts where (files, Start menu entry, Apps and Features entry), the installed Keyvane
# starting and saving, a setup run while Keyvane runs, an update over the user's settings and
# themes, a Keyvane that will not end, the silent uninstallation, a second one and one of a
# folder already gone, the setup beside planted libraries, and an uninstallation that is told
# to remove the settings too.
#   tests/release/check_installer.sh <build dir> [win64 build] [win32 build]
# <build dir> names the Wine environment to use (scripts/wine-env.sh: <build dir>/wineprefix and
# its display); one already started, as scripts/test.sh starts it, is used and left running,
# else it is started here and stopped at the end. The setup is made by scripts/make-setup.sh from
# the normal build trees (default build/win64 and build/win32), with no compile of its own.
# The setup tested is the 64-bit build of installer/keyvane.nsi: only 64-bit programs run here.
# The released 32-bit setup is built and compared between two builds, but not run, as the
# 32-bit keyvane.exe is not. The last line reads "<passed> passed, <failed> failed".
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
envdir="$(cd "${1:?usage: check_installer.sh <build dir> [win64 build] [win32 build]}" && pwd)"
build="$(cd "${2:-$root/build/win64}" && pwd)"
build32="$(cd "${3:-$root/build/win32}" && pwd)"
work="$envdir/installer-test"
driver="$build/tests/e2e/keyvane_driver.exe"
start_time=$SECONDS
# shellcheck source=../checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"

# The Wine environment: the one of <build dir> when it runs already, else one started here.
# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
own_env=1
if [ -n "${DISPLAY:-}" ] && [ "${WINEPREFIX:-}" = "$envdir/wineprefix" ]; then
  own_env=0
elif [ -f "$envdir/.wine-env/xvfb.pid" ] && _wine_env_alive "$(cat "$envdir/.wine-env/xvfb.pid")" Xvfb; then
  own_env=0  # started by another run: used, not stopped
fi
wine_env_start "$envdir" || { echo "no Wine environment in $envdir"; echo "0 passed, 1 failed"; exit 1; }
export WINEDEBUG=-all

drive() { wine "$driver" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
probe() { wine "$build/tests/e2e/keyvane_shellprobe.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
unix_of() { winepath -u "$1" 2>/dev/null; }
wait_gone() {  # pid, seconds
  local _
  for _ in $(seq 1 $(( $2 * 20 ))); do
    kill -0 "$1" 2>/dev/null || { wait "$1" 2>/dev/null; return 0; }
    sleep 0.05
  done
  return 1
}
wait_file() {  # path, seconds
  local _
  for _ in $(seq 1 $(( $2 * 20 ))); do
    [ -e "$1" ] && return 0
    sleep 0.05
  done
  return 1
}
# Processes of this prefix only: other Wine programs may run in other prefixes on this machine.
in_prefix() { { tr '\0' '\n' <"/proc/$1/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; }
pids_of() {  # pattern of the Windows command line
  local pid
  for pid in $(pgrep -f "$1"); do in_prefix "$pid" && echo "$pid"; done
}
end_keyvanes() {  # any keyvane.exe of this prefix, as a run cut short may leave one
  local pid
  for pid in $(pids_of 'keyvane\.exe'); do
    kill -CONT "$pid" 2>/dev/null
    kill "$pid" 2>/dev/null
    wait_gone "$pid" 5
  done
}
# The uninstaller copies itself into the temporary folder, starts that copy (Un.exe) and ends at
# once; the copy does the work. Waits until it has been seen or has visibly finished, then until
# it has ended.
wait_uninstaller() {  # installation folder, seconds
  local i
  for i in $(seq 1 40); do
    [ -n "$(pids_of '~nsu.*\.tmp.Un\.exe')" ] && break
    [ ! -e "$1/uninstall.exe" ] && break
    sleep 0.05
  done
  for i in $(seq 1 $(( $2 * 20 ))); do
    [ -z "$(pids_of '~nsu.*\.tmp.Un\.exe')" ] && return 0
    sleep 0.05
  done
  return 1
}

# A key press into a window; bounded, as focusing a window that cannot take it waits forever.
press() { timeout 5 xdotool windowfocus --sync "$1" key "$2" 2>/dev/null; }

app_pid=""
start_keyvane() {  # folder; waits for the main window
  (cd "$1" && exec wine ./keyvane.exe </dev/null >/dev/null 2>&1) &
  app_pid=$!
  drive wait-window 15000 >/dev/null
}
stop_keyvane() {
  [ -n "$app_pid" ] || return 0
  kill -CONT "$app_pid" 2>/dev/null
  drive exit-request >/dev/null
  wait_gone "$app_pid" 10 || kill "$app_pid" 2>/dev/null
  app_pid=""
}
run_setup() {  # args...: runs the setup (it ends when done); sets $rc
  wine "$setup" "$@" </dev/null >/dev/null 2>&1
  rc=$?
}

reg_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Keyvane'
reg_values=""
read_key() { reg_values="$(wine reg query "$reg_key" </dev/null 2>/dev/null | tr -d '\r')"; }
reg_is() {  # name, type, data
  local got
  got="$(sed -n "s/^    $1    \(REG_[A-Z_]*\)    /\1 /p" <<<"$reg_values")"
  [ "$got" = "$2 $3" ] || { note "     $1 is \"$got\", expected \"$2 $3\""; return 1; }
}
key_exists() { wine reg query "$reg_key" </dev/null >/dev/null 2>&1; }
key_gone() { ! key_exists; }
same() { cmp -s "$1" "$2" || { note "     $1 differs from $2"; return 1; }; }
listing() { (cd "$1" 2>/dev/null && LC_ALL=C ls -1 | tr '\n' '|'); }
listing_is() {  # folder, expected names separated by |
  local got
  got="$(listing "$1")"
  [ "$got" = "$2" ] || { note "     $1 holds: $got"; note "     expected:    $2"; return 1; }
}
link_target() { probe read-link "$1" | head -n1; }

version="$(sed -n 's/^project(Keyvane VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
bin="$build/platform/win32"
rm -rf "$work"
mkdir -p "$work"

echo "Building the setup"
setup="$("$root/scripts/make-setup.sh" "$build" "$build32" "$work/a" amd64 2>"$work/make-setup.log")"
check "the 64-bit setup builds" test -f "$setup"
[ -f "$setup" ] || { cat "$work/make-setup.log"; echo "$passed passed, $failed failed"; exit 1; }
setup32="$("$root/scripts/make-setup.sh" "$build" "$build32" "$work/a" x86 2>>"$work/make-setup.log")"
check "the 32-bit setup builds" test -f "$setup32"
"$root/scripts/make-setup.sh" "$build" "$build32" "$work/b" amd64 >/dev/null 2>&1
"$root/scripts/make-setup.sh" "$build" "$build32" "$work/b" x86 >/dev/null 2>&1
rebuilt_same() { same "$setup" "$work/b/$(basename "$setup")" && same "$setup32" "$work/b/$(basename "$setup32")"; }
check "both setups are the same bytes when built again" rebuilt_same

# Where a per-user installation goes, in this prefix.
local_w="$(wine cmd /c echo %LOCALAPPDATA% </dev/null 2>/dev/null | tr -d '\r')"
inst_w="$local_w\\Programs\\Keyvane"
inst="$(unix_of "$inst_w")"
shell_folders="$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' </dev/null 2>/dev/null | tr -d '\r')"
programs_w="$(sed -n 's/^    Programs    REG_SZ    //p' <<<"$shell_folders")"
startup_w="$(probe startup-folder)"
menu_link_w="$programs_w\\Keyvane.lnk"
menu_link="$(unix_of "$menu_link_w")"
startup_link_w="$startup_w\\Keyvane.lnk"
startup_link="$(unix_of "$startup_link_w")"
scratch_w="$local_w\\Keyvane-planted-test"
scratch="$(unix_of "$scratch_w")"
if [ -z "$local_w" ] || [ -z "$programs_w" ] || [ -z "$startup_w" ] || [ -z "$inst" ]; then
  echo "the user's folders are not known in this prefix"
  echo "$passed passed, $((failed + 1)) failed"
  exit 1
fi
clean_prefix() {
  local pid
  for pid in $(pids_of 'keyvane-.*-setup.*\.exe') $(pids_of '~nsu.*\.tmp.Un\.exe'); do kill "$pid" 2>/dev/null; done
  end_keyvanes
  rm -rf "$inst" "$scratch"
  rm -f "$menu_link" "$startup_link"
  wine reg delete "$reg_key" /f </dev/null >/dev/null 2>&1
}
clean_prefix

themes=()
for path in "$bin/"*.kth; do themes+=("$(basename "$path")"); done
delivered_listing="$(printf "%s\n" "${themes[@]}" | LC_ALL=C sort | tr "\n" "|")"
expected="$( (printf '%s\n' keyvane.exe keyon.bmp keyoff.bmp Keyvane.chm README.txt LICENSE.txt \
  uninstall.exe "Delivered themes" "${themes[@]}") | LC_ALL=C sort | tr '\n' '|')"

echo "A silent installation"
run_setup /S
check "the setup ends with exit code 0" test "$rc" = 0
check "%LOCALAPPDATA%\\Programs\\Keyvane holds the files of the zip, the uninstaller and the delivered themes' copies" \
  listing_is "$inst" "$expected"
all_same=0
for name in keyvane.exe keyon.bmp keyoff.bmp Keyvane.chm "${themes[@]}"; do
  same "$bin/$name" "$inst/$name" || all_same=1
  case "$name" in *.kth) same "$bin/$name" "$inst/Delivered themes/$name" || all_same=1 ;; esac
done
check "... the 64-bit keyvane.exe and the files beside it, as built; the copies are the delivered themes" test "$all_same" = 0
check "... \"Delivered themes\" holds only the delivered themes" listing_is "$inst/Delivered themes" "$delivered_listing"
check "... README.txt for 64-bit Windows, with Windows line ends" grep -q "^Keyvane $version (64-bit Windows)"$'\r'"\$" "$inst/README.txt"
check "the Start menu entry Keyvane.lnk exists" test -f "$menu_link"
check "... and starts the installed keyvane.exe" test "$(link_target "$menu_link_w")" = "$inst_w\\keyvane.exe"
read_key
check "the Apps and Features entry exists (HKCU)" test -n "$reg_values"
check "... DisplayName" reg_is DisplayName REG_SZ "Keyvane"
check "... DisplayVersion is the program's version" reg_is DisplayVersion REG_SZ "$version"
check "... Publisher" reg_is Publisher REG_SZ "The Keyvane developers"
check "... DisplayIcon" reg_is DisplayIcon REG_SZ "$inst_w\\keyvane.exe"
check "... InstallLocation" reg_is InstallLocation REG_SZ "$inst_w"
check "... UninstallString" reg_is UninstallString REG_SZ "\"$inst_w\\uninstall.exe\""
check "... QuietUninstallString" reg_is QuietUninstallString REG_SZ "\"$inst_w\\uninstall.exe\" /S"
check "... NoModify" reg_is NoModify REG_DWORD 0x1
check "... NoRepair" reg_is NoRepair REG_DWORD 0x1
size_kb=$(( $(find "$inst" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }') / 1024 ))
check "... EstimatedSize, in KB, is what the folder holds ($size_kb)" reg_is EstimatedSize REG_DWORD "$(printf '0x%x' "$size_kb")"
cp "$inst/uninstall.exe" "$work/uninstall-copy.exe"
cp "$inst/README.txt" "$work/readme-installed.txt"

echo "The installed Keyvane starts and saves at its end"
printf '[Setting]\r\nRunAtStartup=1\r\n' >"$inst/Keyvane.ini"
if start_keyvane "$inst"; then
  check "its window shows" true
  check "with Run at Startup on it makes its start-up shortcut" wait_file "$startup_link" 5
  check "... which starts the installed keyvane.exe" test "$(link_target "$startup_link_w")" = "$inst_w\\keyvane.exe"
  rm -f "$inst/Keyvane.ini"
  drive exit-request >/dev/null
  check "asked to end, it ends" wait_gone "$app_pid" 10
  check "... and has saved its settings: Keyvane.ini is there again" test -f "$inst/Keyvane.ini"
else
  check "the installed Keyvane's window shows" false
fi
stop_keyvane

echo "The setup run while Keyvane runs"
if start_keyvane "$inst"; then
  rm -f "$inst/Keyvane.ini"
  check "Keyvane runs, its Keyvane.ini removed" test "$(drive count)" = 1 -a ! -e "$inst/Keyvane.ini"
  run_setup /S
  check "the setup ends with exit code 0" test "$rc" = 0
  check "... having ended Keyvane" wait_gone "$app_pid" 5
  check "... which saved its settings as it ended" test -f "$inst/Keyvane.ini"
else
  check "the installed Keyvane's window shows" false
fi
stop_keyvane

echo "An update keeps the user's settings and themes"
printf '[F1Key]\r\nLabel=Mine\r\nAction=15\r\n\r\n[Keys]\r\nEnabled=0\r\n' >"$inst/Keyvane.ini"
printf '[F2Key]\r\nLabel=My own theme\r\nAction=15\r\n' >"$inst/My Own.kth"
# A delivered theme the user changed; one no earlier setup recorded (a copy made without the
# setup, or an older setup), changed too; one an earlier setup delivered in an older version
# that the user left as it came; and a program file that is not the user's.
changed="${themes[0]}" untracked="${themes[1]}" older="${themes[2]}"
sed -i '0,/[a-z]/s//X/' "$inst/$changed"  # one letter: the same size as delivered
printf '; mine too\r\n' >>"$inst/$untracked"
rm -f "$inst/Delivered themes/$untracked"
printf '[F3Key]\r\nLabel=Delivered long ago\r\nAction=15\r\n' | tee "$inst/$older" >"$inst/Delivered themes/$older"
printf 'changed\r\n' >>"$inst/README.txt"
for name in Keyvane.ini "My Own.kth" "$changed" "$untracked"; do cp "$inst/$name" "$work/user-$name"; done
run_setup /S
check "the setup ends with exit code 0" test "$rc" = 0
check "Keyvane.ini is kept as it was" same "$work/user-Keyvane.ini" "$inst/Keyvane.ini"
check "the user's own theme is kept as it was" same "$work/user-My Own.kth" "$inst/My Own.kth"
check "the changed delivered theme ($changed) is kept as the user changed it" same "$work/user-$changed" "$inst/$changed"
check "a theme the setup did not record delivering ($untracked) is kept as it is" same "$work/user-$untracked" "$inst/$untracked"
check "the unchanged theme of the earlier delivery ($older) becomes this delivery's" same "$bin/$older" "$inst/$older"
check "README.txt, a program file the user changed, is this setup's again" same "$work/readme-installed.txt" "$inst/README.txt"
all_same=0
for name in "${themes[@]}"; do same "$bin/$name" "$inst/Delivered themes/$name" || all_same=1; done
check "the delivered themes' copies are this delivery's, the untracked one recorded now" test "$all_same" = 0

echo "A Keyvane that does not end"
if start_keyvane "$inst"; then
  kill -STOP "$app_pid"
  printf 'changed\r\n' >>"$inst/README.txt"
  cp "$inst/README.txt" "$work/readme-changed.txt"
  began=$SECONDS
  run_setup /S
  check "the setup gives up with exit code 2 (it was $rc)" test "$rc" = 2
  check "... after waiting a few seconds ($((SECONDS - began)) s)" test $((SECONDS - began)) -le 15
  check "... and replaced nothing (README.txt as changed)" same "$work/readme-changed.txt" "$inst/README.txt"
  kill -CONT "$app_pid"
  check "Keyvane, running again, ends as the setup asked" wait_gone "$app_pid" 10
  app_pid=""
else
  check "the installed Keyvane's window shows" false
fi
stop_keyvane

echo "The silent uninstallation"
check "before it: the start-up shortcut starts the installed keyvane.exe" \
  test "$(link_target "$startup_link_w")" = "$inst_w\\keyvane.exe"
if start_keyvane "$inst"; then
  rm -f "$inst/Keyvane.ini"
  wine "$inst/uninstall.exe" /S </dev/null >/dev/null 2>&1
  rc=$?
  check "uninstall.exe /S starts the uninstallation (exit code 0)" test "$rc" = 0
  check "... which ends" wait_uninstaller "$inst" 20
  check "... having ended Keyvane" wait_gone "$app_pid" 5
  check "... which saved its settings as it ended" test -f "$inst/Keyvane.ini"
  app_pid=""
else
  check "the installed Keyvane's window shows" false
fi
stop_keyvane
check "what is left is the user's: Keyvane.ini, the own and the changed themes" \
  listing_is "$inst" "$(printf '%s\n' Keyvane.ini "My Own.kth" "$changed" "$untracked" | LC_ALL=C sort | tr '\n' '|')"
check "... as the user left them" same "$work/user-$changed" "$inst/$changed"
check "the Start menu entry is gone" test ! -e "$menu_link"
check "the Apps and Features entry is gone" key_gone
check "the start-up shortcut to the installed keyvane.exe is gone" test ! -e "$startup_link"

echo "No library planted beside the setup runs"
# Names a setup program, or a library it uses, could look for beside itself, as in a Downloads
# folder. Wine takes its own copy of a system library first; the overrides make it search as
# Windows does. Two names are left out, because under these overrides Wine's own libraries load
# them from the program's folder before the program's first instruction, whatever it does
# (measured with WINEDEBUG=+loaddll,+relay): version.dll, which Wine's user32.dll imports (so
# keyvane.exe, which imports user32, loads it too), and uxtheme.dll, which Wine's user32 loads
# by its bare name while COMCTL32.dll, which the setup's NSIS stub imports, initialises. What
# Windows' own libraries do there cannot be seen here.
planted=(userenv.dll dwmapi.dll cryptbase.dll msimg32.dll oleacc.dll setupapi.dll shfolder.dll
  propsys.dll apphelp.dll)
search="mscoree="
for name in "${planted[@]}"; do search+=";${name%.dll}=n,b"; done
downloads="$work/downloads"
mkdir -p "$downloads"
cp "$setup" "$build/tests/e2e/keyvane_bare_loader.exe" "$downloads/"
for name in "${planted[@]}"; do cp "$build/tests/e2e/keyvane_planted_library.dll" "$downloads/$name"; done
markers() { (cd "$downloads" && ls -- *.loaded 2>/dev/null | sed 's/\.loaded$//' | tr '\n' ' '); }
(cd "$downloads" && WINEDLLOVERRIDES="$search" wine ./keyvane_bare_loader.exe "${planted[@]}" </dev/null >/dev/null 2>&1)
check "a program loading by bare name beside them loads every planted copy" test "$(markers | wc -w)" = "${#planted[@]}"
rm -f "$downloads/"*.loaded
(cd "$downloads" && WINEDLLOVERRIDES="$search" wine "./$(basename "$setup")" /S "/D=$scratch_w" </dev/null >/dev/null 2>&1)
rc=$?
check "the silent setup beside them installs (exit code 0, keyvane.exe in the folder given with /D)" \
  test "$rc" = 0 -a -f "$scratch/keyvane.exe"
found="$(markers)"
note "     planted libraries the silent setup loaded: ${found:-none}"
check "... and loads none of them" test -z "$found"
rm -f "$downloads/"*.loaded
# Then through its pages, over that installation: Install on the first page, then Finish on the
# last one, where "Start Keyvane" is checked. msimg32.dll is searched as Wine searches it here:
# drawing the themed pages, Wine's own uxtheme.dll resolves its delayed import of msimg32.dll
# (AlphaBlend) through the program's folder although the setup restricted the search (measured
# as above), which says nothing about the setup.
search_pages="${search/;msimg32=n,b/}"
wine reg delete "$reg_key" /f </dev/null >/dev/null 2>&1  # its last value written tells the end
(cd "$downloads" && WINEDLLOVERRIDES="$search_pages" exec wine "./$(basename "$setup")" "/D=$scratch_w" \
  </dev/null >/dev/null 2>&1) &
setup_pid=$!
setup_id="$(find_window '^Keyvane Setup' 100)"
# Each button is pressed once its page is there: the first page shows with the window; the
# last one follows the installation, whose end shows as the last value of the Apps and Features
# entry written. (Reading the pages' texts from outside while they change, or a second
# press during a change, can leave Wine's setup window stuck.)
last_page=""
if [ -n "$setup_id" ]; then
  sleep 1
  press "$setup_id" Return
  for _ in $(seq 1 100); do
    wine reg query "$reg_key" /v EstimatedSize </dev/null >/dev/null 2>&1 && { last_page=1; break; }
    sleep 0.1
  done
  sleep 1.5
  [ -n "$last_page" ] && press "$setup_id" Return
fi
check "the setup beside them installs through its pages (Install, then Finish)" test -n "$last_page"
rc="still running"
for _ in $(seq 1 200); do
  kill -0 "$setup_pid" 2>/dev/null || { wait "$setup_pid"; rc=$?; break; }
  sleep 0.05
done
[ "$rc" = "still running" ] && kill "$setup_pid" 2>/dev/null
check "... ends with exit code 0 ($rc), keyvane.exe in the folder given with /D" test "$rc" = 0 -a -f "$scratch/keyvane.exe"
started=""
if drive wait-window 15000 >/dev/null; then
  for pid in $(pids_of 'keyvane\.exe'); do
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF "$scratch_w\\keyvane.exe" && started=1
  done
fi
check "... and Finish starts the keyvane.exe it installed" test -n "$started"
drive exit-request >/dev/null
for pid in $(pids_of 'keyvane\.exe'); do wait_gone "$pid" 10; done
found="$(markers)"
note "     planted libraries the setup loaded: ${found:-none}"
check "... and it loaded none of the planted libraries" test -z "$found"

echo "A second uninstallation, with another installation's entries and another copy's start-up shortcut"
# The installation beside the planted libraries now owns the Start menu and Apps and Features
# entries.
other="$work/other copy"
mkdir -p "$other"
cp "$bin/keyvane.exe" "$bin/"*.bmp "$other/"
printf '[Setting]\r\nRunAtStartup=1\r\n' >"$other/Keyvane.ini"
if start_keyvane "$other"; then
  wait_file "$startup_link" 5
fi
stop_keyvane
other_w="$(winepath -w "$other" 2>/dev/null | tr -d '\r')"
check "another copy of Keyvane made its start-up shortcut" test "$(link_target "$startup_link_w")" = "$other_w\\keyvane.exe"
before="$(listing "$inst")"
wine "$work/uninstall-copy.exe" /S "_?=$inst_w" </dev/null >/dev/null 2>&1
rc=$?
check "the uninstaller run again on the same folder ends with exit code 0" test "$rc" = 0
check "... keeps the user's files" test "$(listing "$inst")" = "$before"
check "... and the start-up shortcut of the other copy" test "$(link_target "$startup_link_w")" = "$other_w\\keyvane.exe"
check "... and the other installation's Start menu entry" test "$(link_target "$menu_link_w")" = "$scratch_w\\keyvane.exe"
read_key
check "... and its Apps and Features entry" reg_is InstallLocation REG_SZ "$scratch_w"
rm -rf "$inst"
wine "$work/uninstall-copy.exe" /S "_?=$inst_w" </dev/null >/dev/null 2>&1
rc=$?
check "the uninstaller run on a folder that is gone ends with exit code 0" test "$rc" = 0
check "... and makes no folder there" test ! -e "$inst"
other_entries_kept() { [ -f "$menu_link" ] && key_exists; }
check "... and keeps the other installation's entries" other_entries_kept
rm -f "$startup_link"

echo "An uninstallation told to remove the settings and themes as well"
printf '[Keys]\r\nEnabled=1\r\n' >"$scratch/Keyvane.ini"
printf '[F2Key]\r\nLabel=Mine\r\nAction=15\r\n' >"$scratch/Mine.kth"
printf '~\r\n' >"$scratch/~Keyvane12-0.tmp"
echo "not Keyvane's" >"$scratch/notes.txt"
echo "not a theme" >"$scratch/old.kthbak"
start_keyvane "$scratch"
scratch_pid="$app_pid"
app_pid=""
wine "$scratch/uninstall.exe" </dev/null >/dev/null 2>&1 &
# The confirmation page, its Uninstall button focused; then the question, a second window.
main_id="$(find_window '^Keyvane Uninstall' 100)"
asked=""
question_id=""
if [ -n "$main_id" ]; then
  sleep 0.3
  for attempt in 1 2; do  # a key press before the page has focus may be lost: once more
    press "$main_id" Return
    for _ in $(seq 1 30); do
      question_id="$(xdotool search --name '^Keyvane Uninstall' 2>/dev/null | grep -vx "$main_id" | head -n1)"
      [ -n "$question_id" ] && break 2
      sleep 0.1
    done
  done
  if [ -n "$question_id" ]; then
    sleep 0.3
    asked="$(timeout 10 wine "$driver" shown-texts "Keyvane Uninstall" </dev/null 2>/dev/null | tr -d '\r' | grep -F "Remove your settings")"
    press "$question_id" y
    # Then the last page's Close button, once the work is done (uninstall.exe gone).
    for _ in $(seq 1 100); do
      [ -e "$scratch/uninstall.exe" ] || break
      sleep 0.1
    done
    for _ in 1 2; do
      sleep 1.5
      [ -z "$(pids_of '~nsu.*\.tmp.Un\.exe')" ] && break
      press "$main_id" Return
      sleep 3
    done
  fi
fi
check "the uninstaller asks whether to remove the settings and themes" test -n "$asked"
check "... answered Yes, it ends" wait_uninstaller "$scratch" 20
check "... having ended Keyvane" wait_gone "$scratch_pid" 5
check "... and leaves only the files that are not Keyvane's" listing_is "$scratch" "notes.txt|old.kthbak|"
entries_gone() { [ ! -e "$menu_link" ] && key_gone; }
check "... and the Start menu and Apps and Features entries of that installation are gone" entries_gone
for id in $(xdotool search --name '^Keyvane Uninstall' 2>/dev/null); do xdotool windowclose "$id" 2>/dev/null; done

clean_prefix
rm -rf "$other" "$downloads"
[ "$own_env" = 1 ] && wine_env_stop
echo "took $((SECONDS - start_time)) s"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
