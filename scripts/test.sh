#!/usr/bin/env bash
# Sets up the machine, builds the native and both Windows builds (build/native, build/win64,
# build/win32; reused when present) and runs every test with ctest. A fourth tree,
# build/sanitize, builds the native tests again with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer: any finding ends its test program, so it counts as a failure. The Windows tests run
# under Wine. Ends with one line "N passed, N failed, N skipped", counting GoogleTest cases one
# by one, and a non-zero exit when anything failed.
#
# Where this machine cannot run 32-bit programs (or with ZORVIK_WINE64_ONLY=1, see
# scripts/wine-env.sh), Wine runs with its 64-bit loader only: the 32-bit tree is still built and
# its checks that need no Wine still run, and its tests under Wine are counted as skipped.
#
# ZORVIK_BUILD_PREFIX (default "build/") names the trees elsewhere: "build-mine-" gives
# build-mine-native, build-mine-sanitize, build-mine-win64 and build-mine-win32.
set -uo pipefail

cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
jobs=2
prefix=${ZORVIK_BUILD_PREFIX:-build/}

bash scripts/setup.sh || { echo "setup failed" >&2; echo "0 passed, 1 failed, 0 skipped"; exit 1; }

# Found out once here; the runners ctest starts inherit the answer.
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
if ! wine32_runs; then
  why=$wine32_skip_reason
  [ "${ZORVIK_WINE64_ONLY:-0}" != 1 ] || why="ZORVIK_WINE64_ONLY=1, as where $why"
  echo "test: Wine runs with its 64-bit loader only ($why); the tests that need 32-bit Wine are skipped"
fi

builds=(native sanitize win64 win32)
declare -A toolchain=([native]="" [sanitize]="" [win64]=cmake/mingw-x86_64.cmake [win32]=cmake/mingw-i686.cmake)
# Given only when a tree is first configured, like the toolchain.
declare -A tree_options=([sanitize]="-DCMAKE_CXX_COMPILER=clang++ -DZORVIK_SANITIZE=ON -DZORVIK_FUZZ=ON")
declare -A bits=([win64]=64 [win32]=32)

# ctest shuts each prefix's wineserver down after its last test; this covers an interrupted run.
stop_wine() {
  local build
  for build in win64 win32; do
    if [ -d "$root/$prefix$build/wineprefix" ]; then
      WINEPREFIX="$root/$prefix$build/wineprefix" "$root/scripts/wine-run.sh" --stop --bits "${bits[$build]}" >/dev/null
    fi
  done
}
trap stop_wine EXIT

passed=0
failed=0
skipped=0
report=()

step_start() { step_began=$SECONDS; echo; echo "=== $1"; }
step_time() { echo "$((SECONDS - step_began)) s"; }

# count_results LOG FIXTURES: counts ctest's result lines in LOG into build_passed, build_failed
# and build_skipped. The tests named in FIXTURES (the runs of the Windows test programs and
# their Wine server, around the cases) count only when they fail.
count_results() {
  read -r build_passed build_failed build_skipped < <(awk -v fixtures="$2" '
    BEGIN { n = split(fixtures, names, "\n"); for (i = 1; i <= n; i++) fixture[names[i]] = 1 }
    # "  3/146 Test  #12: NAME ......   Passed    0.01 sec", or "***Failed", "***Skipped", ...
    /^ *[0-9]+\/[0-9]+ Test +#[0-9]+: .* sec$/ {
      sub(/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: /, "")
      sub(/ +[0-9.]+ sec$/, "")
      if ($0 ~ / Passed$/) result = "passed"
      else if ($0 ~ /\*\*\*Skipped$/ || $0 ~ /\*\*\*Not Run \(Disabled\)$/) result = "skipped"
      else result = "failed"
      sub(/ +\.* *(Passed|\*\*\*.*)$/, "")
      if (result != "failed" && $0 in fixture) next
      count[result]++
    }
    END { printf "%d %d %d\n", count["passed"], count["failed"], count["skipped"] }' "$1")
}

for build in "${builds[@]}"; do
  dir="$prefix$build"
  configure_args=(-S . -B "$dir")
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    configure_args+=(-G "Unix Makefiles")
    [ -z "${toolchain[$build]}" ] || configure_args+=("-DCMAKE_TOOLCHAIN_FILE=$root/${toolchain[$build]}")
    # shellcheck disable=SC2206 # the options are separate words
    [ -z "${tree_options[$build]:-}" ] || configure_args+=(${tree_options[$build]})
  fi

  step_start "$build: configure"
  if ! cmake "${configure_args[@]}"; then
    failed=$((failed + 1))
    report+=("$build: configure FAILED")
    continue
  fi

  step_start "$build: build"
  # -k: one broken program must not keep the others from being built and tested.
  build_note=""
  if ! cmake --build "$dir" -j"$jobs" -- -k; then
    failed=$((failed + 1))
    build_note=", build FAILED"
  fi
  build_time=$(step_time)

  step_start "$build: test"
  log=$(mktemp)
  stamp="$dir/Testing/.test-sh-started"
  mkdir -p "$dir/Testing" && touch "$stamp"
  # Listing the tests also lists the Windows programs' cases (under Wine, once per new program).
  fixtures=$(cd "$dir" && ctest -N -L '^program_run$' |
    sed -nE 's/^ *Test +#[0-9]+: ([^ ]+).*/\1/p')
  (cd "$dir" && ctest --output-on-failure -j"$jobs") 2>&1 | tee "$log"
  if grep -qE '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log"; then
    count_results "$log" "$fixtures"
  elif grep -q 'No tests were found' "$log"; then
    build_passed=0 build_failed=0 build_skipped=0
  else
    # ctest itself went wrong: count it as one failure.
    build_passed=0 build_failed=1 build_skipped=0
  fi
  rm -f "$log"

  # What GoogleTest said of each Windows program run in this step, and why tests were skipped.
  for record in "$dir"/tests/*.log; do
    [ -f "$record" ] && [ "$record" -nt "$stamp" ] || continue
    echo "$build: $(basename "$record" .log):"
    scripts/gtest-verdict.sh --summary "$record" | sed 's/^/  /'
  done
  # The programs not run, one line for each reason the runner gave ("wine-run: X.exe skipped: WHY").
  [ -f "$dir/Testing/Temporary/LastTest.log" ] &&
    sed -nE 's/^wine-run: ([^ ]+\.exe) skipped: (.*)$/\2\t\1/p' "$dir/Testing/Temporary/LastTest.log" |
    sort -u | awk -F '\t' -v build="$build" '
      { if ($1 in programs) programs[$1] = programs[$1] ", " $2; else programs[$1] = $2 }
      END { for (reason in programs) print build ": " programs[reason] " skipped: " reason }'

  passed=$((passed + build_passed))
  failed=$((failed + build_failed))
  skipped=$((skipped + build_skipped))
  report+=("$build: $build_passed passed, $build_failed failed, $build_skipped skipped (build $build_time, tests $(step_time))$build_note")
done

# The first command a newcomer runs: run.sh without a display, its demonstration included.
step_start "run.sh: the demonstration on a virtual screen"
if ! command -v Xvfb >/dev/null 2>&1 || ! command -v import >/dev/null 2>&1; then
  skipped=$((skipped + 1))
  report+=("run.sh: skipped: this machine cannot draw (no Xvfb or ImageMagick)")
elif env -u DISPLAY ZORVIK_BUILD_PREFIX="$prefix" bash scripts/run.sh; then
  passed=$((passed + 1))
  report+=("run.sh: passed ($(step_time))")
else
  failed=$((failed + 1))
  report+=("run.sh: FAILED ($(step_time))")
fi

echo
echo "=== summary"
printf '%s\n' "${report[@]}"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
