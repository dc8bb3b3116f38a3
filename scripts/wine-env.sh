# Prepares Wine and a virtual X display for unattended runs of Keyvane's Windows build.
# Source it, then:
#   wine_env_start <builddir>   # prefix in <builddir>/wineprefix, one Xvfb, warm wineserver
#   ...wine / ctest...
#   wine_env_stop               # stops the wineserver and the Xvfb started here
# Safe under `set -eu`; calling wine_env_start twice reuses what is already running.
# Set KEYVANE_DISPLAY_OK=1 to use the current $DISPLAY instead of starting Xvfb.

# Everything this script started is recorded in <builddir>/.wine-env/.
_wine_env_log() { printf 'wine-env: %s\n' "$*" >&2; }

# True when $1 is the pid of a live process whose command is $2.
_wine_env_alive() {
  local pid="${1:-}" name="${2:-}" comm=""
  [ -n "$pid" ] || return 1
  kill -0 "$pid" 2>/dev/null || return 1
  [ -r "/proc/$pid/comm" ] || return 0
  comm="$(cat "/proc/$pid/comm" 2>/dev/null || true)"
  [ "$comm" = "$name" ]
}

_wine_env_start_xvfb() {
  local state="$1" pid="" display=""
  if [ -f "$state/xvfb.pid" ] && [ -f "$state/xvfb.display" ]; then
    pid="$(cat "$state/xvfb.pid")"
    display="$(cat "$state/xvfb.display")"
    if _wine_env_alive "$pid" Xvfb && [ -n "$display" ]; then
      export DISPLAY=":$display" KEYVANE_XVFB_PID="$pid"
      return 0
    fi
    rm -f "$state/xvfb.pid" "$state/xvfb.display"
  fi
  command -v Xvfb >/dev/null 2>&1 || { _wine_env_log "Xvfb is not installed"; return 1; }

  # -displayfd picks a free display and writes its number once the server accepts clients.
  : >"$state/xvfb.display.tmp"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
    3>"$state/xvfb.display.tmp" </dev/null >"$state/xvfb.log" 2>&1 &
  pid=$!
  echo "$pid" >"$state/xvfb.pid"
  for _ in $(seq 1 200); do
    display="$(tr -dc '0-9' <"$state/xvfb.display.tmp" 2>/dev/null || true)"
    [ -n "$display" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
      _wine_env_log "Xvfb exited at start; its log:"
      cat "$state/xvfb.log" >&2 || true
      rm -f "$state/xvfb.pid"
      return 1
    fi
    sleep 0.05
  done
  if [ -z "$display" ]; then
    _wine_env_log "Xvfb did not report a display within 10 s"
    kill "$pid" 2>/dev/null || true
    rm -f "$state/xvfb.pid"
    return 1
  fi
  echo "$display" >"$state/xvfb.display"
  rm -f "$state/xvfb.display.tmp"
  export DISPLAY=":$display" KEYVANE_XVFB_PID="$pid"
}

# A new prefix: boot it, then the settings unattended runs need. The stamp is written last,
# so a prefix whose set-up was interrupted is set up again.
_wine_env_prepare_prefix() {
  local state="$1" reg="$1/unattended.reg"
  [ -f "$WINEPREFIX/.keyvane-ready" ] && return 0
  mkdir -p "$WINEPREFIX"
  if ! timeout 300 wine wineboot -i </dev/null >"$state/wineboot.log" 2>&1; then
    _wine_env_log "wineboot -i failed; its log:"
    cat "$state/wineboot.log" >&2 || true
    return 1
  fi
  # Managed=N: without a window manager, windows close at once and X focus works.
  # ShowCrashDialog=0: a crash prints a backtrace and exits instead of waiting on a dialog.
  cat >"$reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
EOF
  if ! timeout 120 wine regedit /S "$(winepath -w "$reg" 2>/dev/null || echo "$reg")" \
      </dev/null >>"$state/wineboot.log" 2>&1; then
    _wine_env_log "importing the registry settings failed"
    return 1
  fi
  # Let the server write the registry to disk before the prefix counts as ready.
  timeout 60 wineserver -w </dev/null >/dev/null 2>&1 || true
  touch "$WINEPREFIX/.keyvane-ready"
}

wine_env_start() {
  local builddir="${1:-}" state
  if [ -z "$builddir" ]; then
    _wine_env_log "usage: wine_env_start <builddir>"
    return 2
  fi
  mkdir -p "$builddir" || return 1
  builddir="$(cd "$builddir" && pwd)" || return 1
  state="$builddir/.wine-env"
  mkdir -p "$state" || return 1
  command -v wine >/dev/null 2>&1 || { _wine_env_log "wine is not installed"; return 1; }

  export WINEPREFIX="$builddir/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree="
  export KEYVANE_WINE_ENV_STATE="$state"

  if [ -n "${KEYVANE_DISPLAY_OK:-}" ]; then
    if [ -z "${DISPLAY:-}" ]; then
      _wine_env_log "KEYVANE_DISPLAY_OK is set but DISPLAY is empty"
      return 1
    fi
  else
    if [ -z "${KEYVANE_SAVED_DISPLAY+set}" ]; then export KEYVANE_SAVED_DISPLAY="${DISPLAY:-}"; fi
    _wine_env_start_xvfb "$state" || return 1
  fi

  _wine_env_prepare_prefix "$state" || return 1

  # A persistent server, and Wine's background services started now with no pipes of ours:
  # otherwise they inherit the test runner's output and it waits for them.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  return 0
}

wine_env_stop() {
  local state="${KEYVANE_WINE_ENV_STATE:-}" pid=""
  if [ -n "${WINEPREFIX:-}" ] && command -v wineserver >/dev/null 2>&1; then
    wineserver -k </dev/null >/dev/null 2>&1 || true
    # -k only signals; wait until the server has gone so the next start gets a fresh one.
    timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
  fi
  if [ -n "$state" ] && [ -f "$state/xvfb.pid" ]; then
    pid="$(cat "$state/xvfb.pid")"
    if _wine_env_alive "$pid" Xvfb; then
      kill "$pid" 2>/dev/null || true
      for _ in $(seq 1 100); do
        _wine_env_alive "$pid" Xvfb || break
        sleep 0.05
      done
      if _wine_env_alive "$pid" Xvfb; then kill -9 "$pid" 2>/dev/null || true; fi
      # Reap it when it is a child of this shell, so no zombie is left behind.
      wait "$pid" 2>/dev/null || true
    fi
    rm -f "$state/xvfb.pid" "$state/xvfb.display"
    if [ -n "${KEYVANE_SAVED_DISPLAY+set}" ]; then
      if [ -n "$KEYVANE_SAVED_DISPLAY" ]; then
        export DISPLAY="$KEYVANE_SAVED_DISPLAY"
      else
        unset DISPLAY
      fi
    fi
  fi
  unset KEYVANE_XVFB_PID KEYVANE_WINE_ENV_STATE KEYVANE_SAVED_DISPLAY
  return 0
}
