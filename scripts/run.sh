#!/usr/bin/env bash
# Sets up the machine, builds the 64-bit Windows program Zorvik.exe (with zorvikc.exe, Scan.ini
# and "Zorvik Help.chm" beside it) and starts it under Wine.
#
# With a usable X display ($DISPLAY), the program opens there and runs until you end it. Without
# one, it runs on a virtual screen (Xvfb): once its first scan is done a picture of its window is
# saved (the file name is printed), the console tool's report of the same scan ("zorvikc scan")
# is printed, and the program is ended.
#
# ZORVIK_BUILD_PREFIX (default "build/") places the tree: "build-mine-" gives build-mine-win64.
set -euo pipefail

cd "$(dirname "$0")/.."
root=$(pwd)
prefix="${ZORVIK_BUILD_PREFIX:-build/}"
dir="${prefix}win64"
screenshot="${prefix}screenshots/zorvik-main.png"

bash scripts/setup.sh

if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
else
  cmake -S . -B "$dir"
fi
cmake --build "$dir" -j2 --target Zorvik zorvikc zorvik_help zorvik_drive_window

for file in Zorvik.exe zorvikc.exe Scan.ini "Zorvik Help.chm" zorvik_drive_window.exe; do
  [ -f "$dir/$file" ] || { echo "run: $dir/$file was not built" >&2; exit 1; }
done

# shellcheck source=scripts/wine-screen.sh
source scripts/wine-screen.sh
build=$root/$dir

if display_usable; then
  screen_prefix "$build"
  echo "run: starting Zorvik on display $DISPLAY (Wine prefix $WINEPREFIX)"
  (cd "$build" && "$wine" Zorvik.exe </dev/null)
  exit 0
fi

echo "run: no usable X display: Zorvik runs on a virtual screen"
trap stop_virtual_screen EXIT
start_virtual_screen
screen_prefix "$build"
in_desktop "$build/Zorvik.exe"
capture_main_window "$build" "$root/$screenshot"
echo "run: screenshot of the main window after its first scan: $screenshot"

echo
echo "=== zorvikc scan (the same scan, from the console tool)"
status=0
(cd "$build" && timeout 120 "$wine" zorvikc.exe scan </dev/null) || status=$?
# Exit code 1 only says that programs were listed.
[ "$status" -le 1 ] || { echo "run: zorvikc scan failed (exit $status)" >&2; exit 1; }
