#!/usr/bin/env bash
# Builds the product and starts it under Wine, with at most one argument, passed on as one:
#   ./run.sh                      the main window
#   ./run.sh 'Z:\tmp\a.txt'       the file wipe of Z:\tmp\a.txt (/tmp/a.txt through Wine's drive Z:)
# The Wine prefix is ./.wine-nullora, kept between runs, unless WINEPREFIX names another.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"
repo=$PWD

if [[ $# -gt 1 ]]; then
  echo "usage: ./run.sh ['C:\\path\\to\\file']  (quote the path: it is one argument)" >&2
  exit 2
fi

scripts/setup.sh

# shellcheck source=scripts/wine_env.sh
source scripts/wine_env.sh --helpers
scratch=$(mktemp -d "${TMPDIR:-/tmp}/nullora-run.XXXXXX")
NULLORA_WINE_DIRS_TO_REMOVE+=("$scratch")
NULLORA_WINE_KEEP_SERVER=1
trap nullora_wine_env_cleanup EXIT
trap 'exit 130' INT TERM

nullora_wine_select "$scratch"
preset=win32
if [[ $NULLORA_WINE_BITS == 64 ]]; then
  # The shipped program is 32-bit; without a 32-bit Wine only the 64-bit build of the same code runs.
  preset=win64
  echo "run: starting the 64-bit build build/win64/nullora.exe instead of build/win32/nullora.exe" >&2
fi

echo "run: building build/$preset/nullora.exe" >&2
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j2 --target nullora >/dev/null

export WINEPREFIX=${WINEPREFIX:-$repo/.wine-nullora}
export WINEDEBUG=${WINEDEBUG:--all}
if [[ -z ${DISPLAY:-} ]]; then
  nullora_start_xvfb
  echo "run: there is no display; the windows are on the virtual display $DISPLAY" \
    "(look at them with: xwd -root -silent -display $DISPLAY > shot.xwd)" >&2
  # The prefix's desktop goes with this display: end its programs with it.
  NULLORA_WINE_KEEP_SERVER=0
fi
nullora_wine_boot

status=0
wine "build/$preset/nullora.exe" "$@" || status=$?
exit "$status"
