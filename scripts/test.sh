#!/usr/bin/env bash
# Sets up the machine, builds the native and both Windows builds (build/native, build/win64,
# build/win32; reused when present) and runs every test with ctest. The Windows tests run
# under Wine. Ends with one line "N passed, N failed" and a non-zero exit when anything failed.
# ZORVIK_BUILD_PREFIX (default "build/") names the trees elsewhere: "build-mine-" gives
# build-mine-native, build-mine-win64 and build-mine-win32.
set -uo pipefail

cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
jobs=2
prefix=${ZORVIK_BUILD_PREFIX:-build/}

bash scripts/setup.sh || { echo "setup failed" >&2; echo "0 passed, 1 failed"; exit 1; }

builds=(native win64 win32)
declare -A toolchain=([native]="" [win64]=cmake/mingw-x86_64.cmake [win32]=cmake/mingw-i686.cmake)

# ctest shuts each prefix's wineserver down after its last test; this covers an interrupted run.
stop_wine() {
  local build
  for build in win64 win32; do
    if [ -d "$root/$prefix$build/wineprefix" ]; then
      WINEPREFIX="$root/$prefix$build/wineprefix" "$root/scripts/wine-run.sh" --stop
    fi
  done
}
trap stop_wine EXIT

passed=0
failed=0
report=()

step_start() { step_began=$SECONDS; echo; echo "=== $1"; }
step_time() { echo "$((SECONDS - step_began)) s"; }

for build in "${builds[@]}"; do
  dir="$prefix$build"
  configure_args=(-S . -B "$dir")
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    configure_args+=(-G "Unix Makefiles")
    [ -z "${toolchain[$build]}" ] || configure_args+=("-DCMAKE_TOOLCHAIN_FILE=$root/${toolchain[$build]}")
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
  (cd "$dir" && ctest --output-on-failure -j"$jobs") 2>&1 | tee "$log"
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -n "$summary" ]; then
    build_failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
    build_total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
    build_passed=$((build_total - build_failed))
  elif grep -q 'No tests were found' "$log"; then
    build_failed=0
    build_passed=0
  else
    # ctest itself went wrong: count it as one failure.
    build_failed=1
    build_passed=0
  fi
  rm -f "$log"
  passed=$((passed + build_passed))
  failed=$((failed + build_failed))
  report+=("$build: $build_passed passed, $build_failed failed (build $build_time, tests $(step_time))$build_note")
done

echo
echo "=== summary"
printf '%s\n' "${report[@]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
