#!/usr/bin/env bash
# Sets up the machine, builds the 64-bit Windows program Zorvik.exe (with zorvikc.exe, Scan.ini
# and "Zorvik Help.chm" beside it) and starts it under Wine.
#
#   bash scripts/run.sh [--demo]
#
# With a usable X display ($DISPLAY), the program opens there and runs until you end it. Without
# one (or with --demo), it shows what a detection looks like: in a Wine prefix of its own it starts
# a harmless demonstration program that owns sockets, registers it where bots register themselves
# (a Run value of the current user and a scheduled task at logon), saves a picture of Zorvik's
# window with that program's row selected (the file name is printed), prints the console tool's
# report of the same machine ("zorvikc scan"), and removes everything it planted, also when
# interrupted.
#
# ZORVIK_BUILD_PREFIX (default "build/") places the tree: "build-mine-" gives build-mine-win64.
set -euo pipefail

cd "$(dirname "$0")/.."
root=$(pwd)
prefix="${ZORVIK_BUILD_PREFIX:-build/}"
dir="${prefix}win64"
screenshot="${prefix}screenshots/zorvik-main.png"

demo=0
case "${1:-}" in
  "") ;;
  --demo) demo=1 ;;
  *) echo "usage: bash scripts/run.sh [--demo]" >&2; exit 2 ;;
esac

bash scripts/setup.sh

if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
else
  cmake -S . -B "$dir"
fi
cmake --build "$dir" -j2 --target Zorvik zorvikc zorvik_help zorvik_drive_window zorvik_test_agent

for file in Zorvik.exe zorvikc.exe Scan.ini "Zorvik Help.chm" zorvik_drive_window.exe \
  zorvik_test_agent.exe; do
  [ -f "$dir/$file" ] || { echo "run: $dir/$file was not built" >&2; exit 1; }
done

# shellcheck source=scripts/wine-screen.sh
source scripts/wine-screen.sh
build=$root/$dir

if [ "$demo" = 0 ] && display_usable; then
  screen_prefix "$build"
  echo "run: starting Zorvik on display $DISPLAY (Wine prefix $WINEPREFIX)"
  (cd "$build" && "$wine" Zorvik.exe </dev/null)
  exit 0
fi

# shellcheck source=scripts/demo-bot.sh
source scripts/demo-bot.sh

# The demonstration draws on a virtual screen of its own, with or without the user's display.
[ "$demo" = 1 ] || echo "run: no usable X display: Zorvik runs on a virtual screen"
start_virtual_screen
# It plants its program only in a prefix of its own, never in the user's.
demo_prefix "$build"
end_demo() {
  remove_demo_bot
  stop_virtual_screen
  timeout 60 wineserver -w >/dev/null 2>&1 || true
  local left
  left=$(demo_leftovers "$WINEPREFIX")
  [ -z "$left" ] || { echo "run: left in $WINEPREFIX: $left" >&2; return 1; }
}
trap end_demo EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

echo "run: DEMONSTRATION: a harmless program that owns sockets ($demo_bot_path) is started"
echo "run: and registered as bots register themselves: Run value \"$demo_run_value\" and the"
echo "run: scheduled task \"$demo_task_name\" at logon, in the Wine prefix $WINEPREFIX only"
plant_demo_bot "$build"

in_desktop "$build/Zorvik.exe"
capture_main_window "$build" "$root/$screenshot" --select="$demo_bot_file" --entries=2
echo "run: picture of the main window with the demonstration program selected: $screenshot"

echo
echo "=== zorvikc scan (the same machine, from the console tool)"
status=0
(cd "$build" && timeout 120 "$wine" zorvikc.exe scan </dev/null >"$build/screens/zorvikc-scan.txt" 2>&1) ||
  status=$?
cat "$build/screens/zorvikc-scan.txt"
# Exit code 1 only says that programs were listed; here the demonstration program must be.
[ "$status" -le 1 ] || { echo "run: zorvikc scan failed (exit $status)" >&2; exit 1; }
grep -qi "$demo_bot_file" "$build/screens/zorvikc-scan.txt" ||
  { echo "run: zorvikc scan did not list the demonstration program" >&2; exit 1; }

# The fleet artifact runs the same scan as JSON: its columns must be in what the tool writes.
status=0
(cd "$build" && timeout 120 "$wine" zorvikc.exe scan --json --level unverified </dev/null \
  >"$build/screens/zorvikc-scan.json" 2>"$build/screens/zorvikc-scan-json.err") || status=$?
[ "$status" -le 1 ] || { echo "run: zorvikc scan --json failed (exit $status)" >&2; exit 1; }
# The same scan into the event log, as a fleet's forwarding reads it: the source registered,
# written under, removed again. Wine keeps no such log, so only the commands' answers are checked.
eventlog_step() {
  local most=$1 status=0
  shift
  (cd "$build" && timeout 120 "$wine" zorvikc.exe "$@" </dev/null \
    >"$build/screens/zorvikc-eventlog.out" 2>"$build/screens/zorvikc-eventlog.err") || status=$?
  [ "$status" -le "$most" ] && return 0
  echo "run: zorvikc $* failed (exit $status):" >&2
  cat "$build/screens/zorvikc-eventlog.err" >&2
  exit 1
}
eventlog_step 0 --install-eventlog-source
eventlog_step 1 scan --json --eventlog
eventlog_step 0 --uninstall-eventlog-source
echo "run: zorvikc wrote its findings to the event log (the source registered, then removed)"
python3 "$root/tests/fleet/check_artifact.py" "$root/docs/fleet/Windows.Detection.Zorvik.yaml" \
  "$root/docs/help/report.schema.json" "$build/screens/zorvikc-scan.json" ||
  { echo "run: the fleet artifact does not fit zorvikc's report" >&2; exit 1; }

trap - EXIT
end_demo
echo
echo "run: the demonstration program, its Run value and its task are removed again"
