# Sourced, not run. Gives the caller a Wine of its own, so nothing touches ~/.wine or the user's home:
#
#   source scripts/wine_env.sh            a private prefix (in a temporary directory, or
#                                         $NULLORA_WINEPREFIX when set), drive T: mapped to a temporary
#                                         directory ($NULLORA_DRIVE_T), the Recycle Bin, HOME and the
#                                         XDG directories in temporary directories, and an Xvfb display
#                                         when DISPLAY is empty
#   source scripts/wine_env.sh --helpers  only the functions below
#
# The caller traps the cleanup:  trap nullora_wine_env_cleanup EXIT
#
# Wine runs the 32-bit product only where the kernel runs 32-bit programs. Where it does not (a kernel
# with ia32 emulation disabled), nullora_wine_select puts a `wine` first in PATH that runs 64-bit Wine,
# and sets NULLORA_WINE_BITS=64 so the caller can run the 64-bit build instead.

NULLORA_WINE_PIDS_TO_KILL=()
NULLORA_WINE_DIRS_TO_REMOVE=()

# Sets NULLORA_WINE_BITS to 32 or 64 and, for 64, puts the 64-bit `wine` in `$1/bin` first in PATH.
nullora_wine_select() {
  local scratch=$1
  if [[ -x /usr/lib/wine/wine ]] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    export NULLORA_WINE_BITS=32
  elif [[ ! -e /usr/lib/wine/wine ]] && command -v wine >/dev/null && wine --version >/dev/null 2>&1; then
    export NULLORA_WINE_BITS=32
  elif [[ -x /usr/lib/wine/wine64 ]] && /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
    export NULLORA_WINE_BITS=64
    mkdir -p "$scratch/bin"
    cat >"$scratch/bin/wine" <<'WRAPPER'
#!/bin/sh
export WINELOADER=/usr/lib/wine/wine64
exec /usr/lib/wine/wine64 "$@"
WRAPPER
    chmod +x "$scratch/bin/wine"
    export PATH="$scratch/bin:$PATH"
    echo "wine: this kernel cannot run 32-bit programs (ia32 emulation is off); using 64-bit Wine" >&2
  else
    echo "wine: no working Wine found (run scripts/setup.sh)" >&2
    return 1
  fi
}

# Creates the prefix $WINEPREFIX unless it exists.
nullora_wine_boot() {
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "wine: creating the prefix $WINEPREFIX" >&2
    mkdir -p "$WINEPREFIX"
    # Without Mono and Gecko (nothing here needs them), wineboot never waits on their install prompts.
    # winemenubuilder would write menu entries and file associations into the home directory.
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEDEBUG=-all wine wineboot -i >/dev/null 2>&1 || {
      echo "wine: wineboot failed in $WINEPREFIX" >&2
      return 1
    }
  fi
}

# Keeps one idle program running in the prefix until the cleanup. Once the last program of a prefix
# ends, Wine stops its desktop and services, and the next program then waits up to ten seconds for
# them to come back; with one program always there, each test starts in a fraction of a second, as
# on Windows, where the desktop is always running.
nullora_wine_keep_warm() {
  local fifo=$1/keep-warm
  mkfifo "$fifo"
  # Opened for reading and writing, the pipe never ends: the program waits on its input for good.
  exec {NULLORA_WINE_KEEP_WARM_FD}<>"$fifo"
  wine cmd /c "set /p unused=" <&"$NULLORA_WINE_KEEP_WARM_FD" >/dev/null 2>&1 &
  NULLORA_WINE_PIDS_TO_KILL+=("$!")
}

# Starts Xvfb on a free display and exports DISPLAY. Stopped by the cleanup.
nullora_start_xvfb() {
  command -v Xvfb >/dev/null || {
    echo "xvfb: Xvfb is missing (run scripts/setup.sh)" >&2
    return 1
  }
  local n=99
  while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  local pid=$!
  NULLORA_WINE_PIDS_TO_KILL+=("$pid")
  local tries=0
  while [[ ! -e /tmp/.X11-unix/X$n ]]; do
    if ! kill -0 "$pid" 2>/dev/null || [[ $tries -ge 100 ]]; then
      echo "xvfb: could not start Xvfb on :$n" >&2
      return 1
    fi
    sleep 0.1
    tries=$((tries + 1))
  done
  export DISPLAY=":$n"
  echo "xvfb: started a virtual display on $DISPLAY" >&2
}

# Stops what the sourcing started and removes its temporary directories. With NULLORA_WINE_KEEP_SERVER=1
# the programs of the prefix are left running (a prefix that outlives the caller, on the user's display).
nullora_wine_env_cleanup() {
  if [[ ${NULLORA_WINE_KEEP_SERVER:-0} != 1 && -n ${WINEPREFIX:-} && -d $WINEPREFIX ]] &&
    command -v wineserver >/dev/null; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  if [[ -n ${NULLORA_WINE_KEEP_WARM_FD:-} ]]; then
    exec {NULLORA_WINE_KEEP_WARM_FD}>&-
    NULLORA_WINE_KEEP_WARM_FD=""
  fi
  local pid
  for pid in "${NULLORA_WINE_PIDS_TO_KILL[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  NULLORA_WINE_PIDS_TO_KILL=()
  local dir
  for dir in "${NULLORA_WINE_DIRS_TO_REMOVE[@]}"; do rm -rf "$dir"; done
  NULLORA_WINE_DIRS_TO_REMOVE=()
  return 0
}

if [[ ${1:-} != --helpers ]]; then
  NULLORA_WINE_TMP=$(mktemp -d "${TMPDIR:-/tmp}/nullora-wine.XXXXXX")
  NULLORA_WINE_DIRS_TO_REMOVE+=("$NULLORA_WINE_TMP")
  export NULLORA_WINE_TMP
  export WINEPREFIX=${NULLORA_WINEPREFIX:-$NULLORA_WINE_TMP/prefix}
  export WINEDEBUG=-all
  # winemenubuilder would write menu entries and file associations into the home directory.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # Wine links the shell folders (Desktop, Documents) into HOME, and keeps its Recycle Bin in
  # XDG_DATA_HOME: both point at directories of this run.
  export XAUTHORITY=${XAUTHORITY:-${HOME:-/nonexistent}/.Xauthority}
  export HOME=$NULLORA_WINE_TMP/home
  export XDG_DATA_HOME=$NULLORA_WINE_TMP/xdg-data
  export XDG_CONFIG_HOME=$NULLORA_WINE_TMP/xdg-config
  export XDG_CACHE_HOME=$NULLORA_WINE_TMP/xdg-cache
  export NULLORA_DRIVE_T=$NULLORA_WINE_TMP/drive-t
  mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$NULLORA_DRIVE_T"
  # The display comes first: Wine's desktop keeps the graphics driver it started with.
  if nullora_wine_select "$NULLORA_WINE_TMP" && { [[ -n ${DISPLAY:-} ]] || nullora_start_xvfb; } &&
    nullora_wine_boot; then
    ln -sfn "$NULLORA_DRIVE_T" "$WINEPREFIX/dosdevices/t:"
    nullora_wine_keep_warm "$NULLORA_WINE_TMP"
  else
    echo "wine: the private Wine environment is not usable" >&2
    NULLORA_WINE_ENV_BROKEN=1
  fi
fi
