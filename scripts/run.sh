#!/usr/bin/env bash
# Sets up the machine, builds the 64-bit Windows console tool and runs it under Wine:
# "zorvikc rules" prints the rules of the Scan.ini beside it, "zorvikc sockets" the TCP table.
# ZORVIK_BUILD_PREFIX (default "build/") places the tree: "build-mine-" gives build-mine-win64.
set -euo pipefail

cd "$(dirname "$0")/.."
root=$(pwd)
dir="${ZORVIK_BUILD_PREFIX:-build/}win64"

bash scripts/setup.sh

if ! compgen -G "src/zorvikc/*.cpp" >/dev/null; then
  echo "run: the console tool zorvikc has no sources yet (src/zorvikc/*.cpp)" >&2
  exit 1
fi

if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
else
  cmake -S . -B "$dir"
fi
cmake --build "$dir" -j2 --target zorvikc

exe="$dir/zorvikc.exe"
[ -f "$exe" ] || { echo "run: $exe was not built" >&2; exit 1; }
[ -f "$dir/Scan.ini" ] || { echo "run: $dir/Scan.ini is missing" >&2; exit 1; }

export WINEPREFIX="$root/$dir/wineprefix"
trap 'scripts/wine-run.sh --stop' EXIT
scripts/wine-run.sh --start

for command in rules sockets; do
  echo
  echo "=== zorvikc $command"
  ZORVIK_WINE_TIMEOUT=120 scripts/wine-run.sh "$exe" "$command" </dev/null
done
