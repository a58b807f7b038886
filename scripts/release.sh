#!/usr/bin/env bash
# Builds the 32- and 64-bit Windows programs and packs each into a release zip:
#   dist/Zorvik-<version>-x86.zip and dist/Zorvik-<version>-x64.zip
# each holding Zorvik.exe, zorvikc.exe, Scan.ini, "Zorvik Help.chm", report.schema.json (the
# form of zorvikc's JSON report), "Read Me.txt" (docs/release: where to put the programs) and
# Windows.Detection.Zorvik.yaml (the artifact that runs zorvikc on a fleet through Velociraptor),
# side by side. The programs in the zips are stripped of their debugging data (the build trees
# keep it for the debugger).
# The version is the project's (CMakeLists.txt). ZORVIK_BUILD_PREFIX (default "build/") places
# the build trees, as for the other scripts: "build-mine-" gives build-mine-win32 and -win64.
set -euo pipefail

cd "$(dirname "$0")/.."
root=$(pwd)
prefix="${ZORVIK_BUILD_PREFIX:-build/}"

bash scripts/setup.sh

version=$(sed -n 's/^project(Zorvik VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no project version in CMakeLists.txt" >&2; exit 1; }
files=(Zorvik.exe zorvikc.exe Scan.ini "Zorvik Help.chm" report.schema.json)
# Taken from the sources, not built.
readme="docs/release/Read Me.txt"
# The artifact that runs zorvikc on a fleet through Velociraptor.
artifact="docs/fleet/Windows.Detection.Zorvik.yaml"

# The machine a PE file is built for, in hex: 014c (x86) or 8664 (x64).
pe_machine() {
  local offset
  offset=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -t x2 -j $((offset + 4)) -N 2 "$1" | tr -d ' '
}

mkdir -p dist
for arch in x86 x64; do
  case $arch in
    x86) tree=win32 toolchain=cmake/mingw-i686.cmake machine=014c strip=i686-w64-mingw32-strip ;;
    x64) tree=win64 toolchain=cmake/mingw-x86_64.cmake machine=8664 strip=x86_64-w64-mingw32-strip ;;
  esac
  dir="$prefix$tree"
  echo "=== $arch: $dir"
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$root/$toolchain"
  else
    cmake -S . -B "$dir"
  fi
  cmake --build "$dir" -j2 --target Zorvik zorvikc zorvik_help
  for file in "${files[@]}"; do
    [ -f "$dir/$file" ] || { echo "release: $dir/$file was not built" >&2; exit 1; }
  done
  for exe in Zorvik.exe zorvikc.exe; do
    [ "$(pe_machine "$dir/$exe")" = "$machine" ] ||
      { echo "release: $dir/$exe is not an $arch program" >&2; exit 1; }
  done

  staging="$dir/release"
  rm -rf "$staging"
  mkdir -p "$staging"
  for file in "${files[@]}"; do cp "$dir/$file" "$staging/"; done
  cp "$readme" "$artifact" "$staging/"
  "$strip" --strip-debug --strip-unneeded "$staging/Zorvik.exe" "$staging/zorvikc.exe"

  zipfile="dist/Zorvik-$version-$arch.zip"
  rm -f "$zipfile"
  (cd "$staging" && zip -q -X "$root/$zipfile" "${files[@]}" "$(basename "$readme")")
  echo "$zipfile:"
  unzip -l "$zipfile"
done
