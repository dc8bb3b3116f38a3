# What the shell-driven test suites share, sourced by them: counted checks and waiting for a
# window on the X display.
passed=0
failed=0

note() { printf '  %s\n' "$*"; }
check() {  # description, then a command that must succeed
  local what="$1"
  shift
  if "$@"; then
    passed=$((passed + 1))
    note "ok   $what"
  else
    failed=$((failed + 1))
    note "FAIL $what"
  fi
}

# Prints the first window whose name matches <pattern> within <tenths> tenths of a second;
# with --visible only shown ones. Succeeds when one was found.
find_window() {  # [--visible] pattern tenths
  local only=() id=""
  [ "$1" = --visible ] && { only=(--onlyvisible); shift; }
  for _ in $(seq 1 "$2"); do
    id="$(xdotool search "${only[@]}" --name "$1" 2>/dev/null | head -n1)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
# The same, for a check: succeeds when such a window appears.
window_appears() { find_window "$@" >/dev/null; }
