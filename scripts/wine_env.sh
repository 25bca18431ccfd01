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
# The 32-bit product runs under 32-bit Wine, and only where a 32-bit Wine loader really starts: wine32
# may be missing (Debian's `wine` is then a script that falls back to 64-bit Wine, so `wine --version`
# proves nothing), or the kernel may run no 32-bit program at all. Elsewhere nullora_wine_select picks
# 64-bit Wine, and the caller runs the x86_64 build of the same code instead.
#
#   NULLORA_WINE_BITS_WANTED=64    64-bit Wine even where 32-bit Wine works (the path of machines
#                                  without it); =32 fails rather than fall back; empty: the best there is
#   NULLORA_WINE_LOADER_DIR=<dir>  where the distribution keeps its loaders (default /usr/lib/wine)

NULLORA_WINE_PIDS_TO_KILL=()
NULLORA_WINE_DIRS_TO_REMOVE=()

# Prints 32 or 64, the class of an ELF program; fails for anything else (a script, a missing file).
nullora_elf_class() {
  local magic
  magic=$(od -An -t x1 -N 5 "$1" 2>/dev/null | tr -d ' \n')
  case $magic in
    7f454c4601) echo 32 ;;
    7f454c4602) echo 64 ;;
    *) return 1 ;;
  esac
}

# Takes $1 as the loader when it is a program of the kind $2 (32, 64, or not32: anything but a 32-bit
# program, scripts included) and `--version` runs. Sets NULLORA_WINE_LOADER to its real path.
nullora_wine_try_loader() {
  local resolved class
  [[ -n $1 ]] && resolved=$(readlink -f "$1") && [[ -f $resolved && -x $resolved ]] || return 1
  class=$(nullora_elf_class "$resolved")
  case $2 in
    32 | 64) [[ $class == "$2" ]] || return 1 ;;
    not32) [[ $class != 32 ]] || return 1 ;;
  esac
  # Found, whether or not it starts: the reason given below differs.
  NULLORA_WINE_LOADER_SEEN=$resolved
  "$resolved" --version >/dev/null 2>&1 || return 1
  NULLORA_WINE_LOADER=$resolved
}

# Finds a Wine loader of $1 bits that starts here: sets NULLORA_WINE_LOADER, or NULLORA_WINE_WHY and
# returns 1.
nullora_wine_find_loader() {
  local bits=$1 dir=${NULLORA_WINE_LOADER_DIR:-/usr/lib/wine}
  NULLORA_WINE_LOADER="" NULLORA_WINE_LOADER_SEEN=""
  if [[ $bits == 32 ]]; then
    nullora_wine_try_loader "$dir/wine" 32 || nullora_wine_try_loader "$(command -v wine)" 32
  else
    nullora_wine_try_loader "$dir/wine64" not32 || nullora_wine_try_loader "$(command -v wine64)" not32 ||
      nullora_wine_try_loader "$(command -v wine)" 64
  fi && return 0
  if [[ -n $NULLORA_WINE_LOADER_SEEN ]]; then
    NULLORA_WINE_WHY="$bits-bit Wine ($NULLORA_WINE_LOADER_SEEN) does not start"
    [[ $bits == 64 ]] || NULLORA_WINE_WHY+=" (can this kernel run 32-bit programs?)"
  elif [[ $bits == 32 ]]; then
    NULLORA_WINE_WHY="32-bit Wine is not installed (Debian package wine32:i386)"
  else
    NULLORA_WINE_WHY="64-bit Wine is not installed (Debian package wine64)"
  fi
  return 1
}

# Puts a `wine` in $1/bin, first in PATH, that runs the loader $2 of $3 bits.
nullora_wine_put_first() {
  local quoted="'${2//\'/\'\\\'\'}'"
  mkdir -p "$1/bin"
  {
    echo '#!/bin/sh'
    # 64-bit Wine starts its other programs through WINELOADER.
    [[ $3 == 64 ]] && echo "export WINELOADER=$quoted"
    echo "exec $quoted \"\$@\""
  } >"$1/bin/wine"
  chmod +x "$1/bin/wine"
  [[ $PATH == "$1/bin:"* ]] || export PATH="$1/bin:$PATH"
}

# Chooses the Wine that runs the tests and the program: sets NULLORA_WINE_BITS to 32 or 64 and puts a
# `wine` for it in `$1/bin`, first in PATH. For 64, NULLORA_WINE_WHY says why not 32; on failure, why
# there is none.
nullora_wine_select() {
  local scratch=$1 wanted=${NULLORA_WINE_BITS_WANTED:-} why32
  # No choice from an earlier call survives a failure.
  export NULLORA_WINE_BITS="" NULLORA_WINE_WHY=""
  case $wanted in
    "" | 32 | 64) ;;
    *)
      NULLORA_WINE_WHY="NULLORA_WINE_BITS_WANTED is '$wanted'; it can be 32, 64, or empty for the best there is"
      echo "wine: $NULLORA_WINE_WHY" >&2
      return 1
      ;;
  esac
  if [[ $wanted == 64 ]]; then
    why32="NULLORA_WINE_BITS_WANTED=64 asks for 64-bit Wine"
  elif nullora_wine_find_loader 32; then
    export NULLORA_WINE_BITS=32 NULLORA_WINE_WHY=""
    nullora_wine_put_first "$scratch" "$NULLORA_WINE_LOADER" 32
    return 0
  else
    why32=$NULLORA_WINE_WHY
    if [[ $wanted == 32 ]]; then
      echo "wine: NULLORA_WINE_BITS_WANTED=32, but $why32" >&2
      return 1
    fi
  fi
  if ! nullora_wine_find_loader 64; then
    [[ $wanted == 64 ]] || NULLORA_WINE_WHY="$why32, and $NULLORA_WINE_WHY"
    echo "wine: no working Wine: $NULLORA_WINE_WHY (run scripts/setup.sh)" >&2
    return 1
  fi
  export NULLORA_WINE_BITS=64 NULLORA_WINE_WHY=$why32
  nullora_wine_put_first "$scratch" "$NULLORA_WINE_LOADER" 64
  echo "wine: $why32; using 64-bit Wine" >&2
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
