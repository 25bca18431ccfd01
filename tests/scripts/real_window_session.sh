# shellcheck shell=bash
# Sourced by the real-window tests of the job dialogs (test_win32_*_job.sh), not run on its own.
# Gives one test a Wine of its own: a prefix, HOME and XDG directories in one temporary directory, drive
# T: mapped to $drive_t, an Xvfb display, and the Wine that matches the build's nullora.exe.
#
#   source "$(dirname "$0")/real_window_session.sh"
#   session_start <build dir>        (exits 77 when the machine cannot run it)
#   session_on_cleanup <command>     (run at exit, before Wine and the display go; e.g. an unmount)
#   app_start <argument>...          nullora.exe in the background; its pid in $app_pid
#   app_start_in <dir> <argument>... the same, started in the host directory <dir>
#   app_wait_ended <seconds>         0 once nullora.exe has ended
#   drive <ui_driver arguments>...   the window driver
#   set_option <name> <value>        a wipe option in the registry, as the options dialog saves it
#   screenshot <name>                <build dir>/<name>.png, for a human to look at
#
# Sets: build, exe, driver, temp, drive_t, display.

skip() {
  echo "SKIPPED: $*"
  exit 77
}
fail() {
  echo "FAILED: $*"
  exit 1
}

app_pid=""
session_cleanups=()

session_on_cleanup() { session_cleanups+=("$*"); }

session_cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null
  local command
  for command in "${session_cleanups[@]}"; do eval "$command" || true; done
  if declare -F nullora_wine_env_cleanup >/dev/null; then nullora_wine_env_cleanup; fi
  [[ -n ${temp:-} ]] && rm -rf "$temp"
}

# The PE machine field of a Windows executable: 014c (i386) or 8664 (x86_64).
pe_machine() {
  local offset
  offset=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -t x2 -j $((offset + 4)) -N 2 "$1" | tr -d ' '
}

session_start() {
  build="$(cd "${1:?usage: $0 <build dir>}" && pwd)"
  exe="$build/nullora.exe"
  driver="$build/ui_driver.exe"
  command -v Xvfb >/dev/null || skip "Xvfb is not installed (Debian package xvfb)"
  command -v xwd >/dev/null || skip "xwd is not installed (Debian package x11-apps)"
  [[ -f $exe ]] || fail "$exe was not built"
  [[ -f $driver ]] || fail "$driver was not built"

  temp="$(mktemp -d "${TMPDIR:-/tmp}/nullora-job-window.XXXXXX")"
  trap session_cleanup EXIT
  # shellcheck source=scripts/wine_env.sh
  source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine_env.sh" --helpers

  # The Wine that matches the executable, chosen as for the whole test run: the shipped 32-bit build
  # runs only under a 32-bit Wine that starts here, never under a `wine` that quietly falls back to
  # 64-bit Wine. Every `wine` below, the sourced helpers' included, goes through the wrapper it puts
  # first in PATH.
  case "$(pe_machine "$exe")" in
    014c)
      nullora_wine_select "$temp" 2>/dev/null || skip "no usable Wine: $NULLORA_WINE_WHY"
      [[ $NULLORA_WINE_BITS == 32 ]] || skip "the 32-bit $exe needs 32-bit Wine: $NULLORA_WINE_WHY"
      ;;
    8664)
      NULLORA_WINE_BITS_WANTED=64 nullora_wine_select "$temp" 2>/dev/null || skip "$NULLORA_WINE_WHY"
      export WINELOADER="$NULLORA_WINE_LOADER" WINEARCH=win64
      ;;
    *) fail "$exe is not a Windows executable" ;;
  esac

  # Nothing of the user's own Wine, home, Recycle Bin or display is used.
  export WINEPREFIX="$temp/prefix" WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export HOME="$temp/home" XDG_DATA_HOME="$temp/xdg-data" XDG_CONFIG_HOME="$temp/xdg-config"
  export XDG_CACHE_HOME="$temp/xdg-cache"
  mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
  unset DISPLAY

  nullora_start_xvfb 2>/dev/null || fail "Xvfb did not start"
  display=$DISPLAY
  nullora_wine_boot || fail "wineboot failed in $WINEPREFIX"
  nullora_wine_keep_warm "$temp"

  drive_t="$temp/drive-t"
  mkdir -p "$drive_t"
  ln -sfn "$drive_t" "$WINEPREFIX/dosdevices/t:"
}

drive() { wine "$driver" "$@"; }

app_start() { app_start_in "$temp" "$@"; }

# The same, with the host directory `dir` as the program's current directory.
app_start_in() {
  local dir=$1
  shift
  (cd "$dir" && exec wine "$exe" "$@") >>"$temp/nullora.log" 2>&1 &
  app_pid=$!
}

app_wait_ended() {
  local tenths=$(($1 * 10))
  while ((tenths-- > 0)); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
      wait "$app_pid" 2>/dev/null
      app_pid=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}

set_option() {
  # reg.exe now and then fails to reach a wineserver busy with a starting program: once more, then fail.
  local try
  for try in 1 2 3; do
    wine reg add 'HKCU\Software\VB and VBA Program Settings\Nullora\Options' /v "$1" /t REG_SZ /d "$2" /f \
      >/dev/null 2>&1 && return 0
    sleep 1
  done
  fail "could not set the option $1 in the registry"
}

# screenshot <name> [<window title>]: the screen, or that one window. Without a window manager, Xvfb shows
# a second top-level window black in a picture of the whole screen; a picture of the window itself is true.
screenshot() {
  local file="$build/$1.png" source=(-root)
  if [[ -n ${2:-} ]]; then
    local id
    id=$(xwininfo -root -tree -display "$display" 2>/dev/null | grep -F "\"$2\": (" | awk '{print $1}' | head -1)
    [[ -n $id ]] && source=(-id "$id")
  fi
  if xwd "${source[@]}" -silent -display "$display" 2>/dev/null | /usr/bin/convert xwd:- -trim +repage "png:$file" 2>/dev/null; then
    echo "screenshot: $file"
  else
    echo "no screenshot (is /usr/bin/convert of imagemagick installed?)"
  fi
}
