#!/usr/bin/env bash
# Builds every configuration and runs every test:
#   native  the workbench (host g++, AddressSanitizer + UBSan): its ctest, natively
#   win32   the product (i686 mingw-w64): its ctest under Wine, with a prefix and an Xvfb display of
#           its own
#   win64   the 64-bit compile check
# Exits non-zero when anything failed, after a summary that ends with "N passed, M failed".
set -uo pipefail
cd "$(dirname "$(readlink -f "$0")")"

started=$SECONDS
# Every step's full output stays here for a look afterwards.
logDir=$PWD/build/test-logs
rm -rf "$logDir"
mkdir -p "$logDir"
summary=()
totalPassed=0
totalFailed=0
totalSkipped=0
anyFailed=0

stepStarted=$SECONDS
Note() {
  printf '\n==> %s\n' "$*"
  stepStarted=$SECONDS
}
Record() { summary+=("$(printf '%-34s %-44s %4d s' "$1" "$2" $((SECONDS - stepStarted)))"); }

# Runs a build step quietly into a log; on failure shows its errors. The builds keep going past a
# failing target, so the tests of everything that did build still run and report.
Step() {
  local name=$1 log=$logDir/${1//[^A-Za-z0-9]/-}.log
  shift
  Note "$name"
  if "$@" >"$log" 2>&1; then
    Record "$name" ok
    return 0
  fi
  grep -E "error|Error" "$log" | head -40
  echo "... (last lines of $log)"
  tail -20 "$log"
  Record "$name" FAILED
  anyFailed=1
  return 1
}

# Runs a ctest and adds its counts to the totals.
TestStep() {
  local name=$1 log=$logDir/${1//[^A-Za-z0-9]/-}.log
  shift
  Note "$name"
  "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line failed total skipped passed
  line=$(grep -E '[0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [[ -z $line ]]; then
    Record "$name" "FAILED (no tests ran)"
    totalFailed=$((totalFailed + 1))
    anyFailed=1
    return 1
  fi
  failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  skipped=$(grep -cE '^[[:space:]]*[0-9]+ - .*\(Skipped\)' "$log")
  passed=$((total - failed - skipped))
  totalPassed=$((totalPassed + passed))
  totalFailed=$((totalFailed + failed))
  totalSkipped=$((totalSkipped + skipped))
  Record "$name" "$passed passed, $failed failed, $skipped skipped"
  if [[ $rc -ne 0 || $failed -ne 0 ]]; then anyFailed=1; fi
}

# Setup installs what it can and says what it left out. Even when the build lacks something it cannot
# do without, the run goes on: what can still be built and tested is, and the rest shows up below as
# failed steps, never as a pass.
Note "setup"
leftOut=$logDir/setup-left-out.txt
if NULLORA_SETUP_LEFT_OUT=$leftOut scripts/setup.sh; then setupStatus=ok; else setupStatus=FAILED; fi
if [[ $setupStatus == FAILED ]]; then
  echo "setup: the build lacks tools it needs (above); going on with what there is"
  anyFailed=1
fi
if [[ -s $leftOut ]]; then setupStatus+=" (left out: $(tr '\n' ' ' <"$leftOut" | sed 's/ $//'))"; fi
Record "setup" "$setupStatus"

# A Wine prefix, home and display of this run; nothing of the user's own is used. Made first, because
# which Wine this machine runs decides what is worth building.
Note "Wine prefix and display"
unset DISPLAY
# shellcheck source=scripts/wine_env.sh
source scripts/wine_env.sh
trap nullora_wine_env_cleanup EXIT
if [[ -n ${NULLORA_WINE_ENV_BROKEN:-} ]]; then
  Record "Wine prefix and display" FAILED
  anyFailed=1
else
  Record "Wine prefix and display" "ok ($NULLORA_WINE_BITS-bit Wine, display $DISPLAY)"
fi

# The workbench.
Step "native configure" cmake --preset native &&
  Step "native build" cmake --build --preset native -j2 -- -k
TestStep "native tests" ctest --preset native --timeout 600

if [[ -n ${NULLORA_WINE_ENV_BROKEN:-} ]]; then
  Step "win32 configure" cmake --preset win32 &&
    Step "win32 build" cmake --build --preset win32 -j2 -- -k
  Record "win32 tests (Wine)" "FAILED (no usable Wine)"
  totalFailed=$((totalFailed + 1))
  Step "win64 configure" cmake --preset win64 &&
    Step "win64 build" cmake --build --preset win64 -j2 --target nullora_core nullora
elif [[ $NULLORA_WINE_BITS == 32 ]]; then
  Step "win32 configure" cmake --preset win32 &&
    Step "win32 build" cmake --build --preset win32 -j2 -- -k
  TestStep "win32 tests (Wine)" ctest --preset win32 --timeout 600
  Step "win64 configure" cmake --preset win64 &&
    Step "win64 build" cmake --build --preset win64 -j2 --target nullora_core nullora
else
  # No 32-bit Wine starts here (not installed, or a kernel that runs no 32-bit program), so the 32-bit
  # tests cannot run: the 32-bit build is only compiled (the product), and the same tests, built for
  # x86_64, run under 64-bit Wine; that build is also the 64-bit compile check.
  echo "The 32-bit tests cannot run here ($NULLORA_WINE_WHY); running the x86_64 build of the same tests."
  Step "win32 configure" cmake --preset win32 &&
    Step "win32 build (product only)" cmake --build --preset win32 -j2 --target nullora
  Step "win64 configure (with tests)" cmake --preset win64 -DNULLORA_TESTS=ON &&
    Step "win64 build (with tests)" cmake --build --preset win64 -j2 -- -k
  TestStep "win64 tests (64-bit Wine)" ctest --test-dir build/win64 --output-on-failure --timeout 600
  summary+=("$(printf '%-34s NOT RUN: %s' "win32 tests (Wine)" "$NULLORA_WINE_WHY")")
fi

elapsed=$((SECONDS - started))
echo
echo "==================== summary ===================="
printf '%s\n' "${summary[@]}"
echo "-------------------------------------------------"
echo "$totalPassed passed, $totalFailed failed"
[[ $totalSkipped -eq 0 ]] || echo "$totalSkipped skipped (see the test output for why)"
echo "time: $((elapsed / 60)) min $((elapsed % 60)) s; the output of each step is in build/test-logs/"
if [[ $anyFailed -ne 0 || $totalFailed -ne 0 ]]; then
  echo "RESULT: FAILED"
  exit 1
fi
echo "RESULT: PASSED"
