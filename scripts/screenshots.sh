#!/usr/bin/env bash
# Screenshots of the Options and Trusted Programs windows, drawn by Wine on a virtual X screen:
# docs/screenshots/options.png and docs/screenshots/trusted.png.
#
#   scripts/screenshots.sh [BUILD_DIR]   (default build/win64, an x86_64 Windows build with
#                                         its libraries built)
#
# Needs Xvfb and ImageMagick's import. Uses its own Wine prefix (BUILD_DIR/wineprefix-x11) with
# the X11 display driver, since the test prefixes draw nothing.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
work=$build/screens
mkdir -p "$work" "$root/docs/screenshots"

cxx=x86_64-w64-mingw32-g++-win32
x86_64-w64-mingw32-windres -I"$root/src/app" "$root/src/app/Zorvik.rc" -O coff -o "$work/Zorvik.res.o"
$cxx -std=c++20 -O1 -DWIN32_LEAN_AND_MEAN -DNOMINMAX -I"$root/src" \
  "$root/tools/ShowSideWindows.cpp" "$work/Zorvik.res.o" \
  "$build/libzorvik_core.a" "$build/libzorvik_platform.a" \
  -static -static-libgcc -static-libstdc++ \
  -lpsapi -lnetapi32 -lws2_32 -liphlpapi -lshell32 -lshlwapi -lcomctl32 -lcomdlg32 -lole32 \
  -loleaut32 -luuid -luser32 -lgdi32 -ladvapi32 -lkernel32 \
  -o "$work/ShowSideWindows.exe"

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
export WINEPREFIX=$build/wineprefix-x11 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=:${ZORVIK_SCREEN:-99}
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  timeout 60 wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  timeout 300 "$wine" wineboot -i >/dev/null 2>&1
fi

rects=$work/windows.txt
rm -f "$rects"
# A virtual desktop: Wine draws the window frames itself, with no window manager needed.
timeout 120 "$wine" explorer /desktop=Zorvik,800x600 "$work/ShowSideWindows.exe" 'Z:'"${rects//\//\\}" 30 \
  >/dev/null 2>&1 &
for _ in $(seq 60); do
  [ -s "$rects" ] && break
  sleep 1
done
[ -s "$rects" ] || { echo "screenshots: the windows did not come up" >&2; exit 1; }
sleep 4
import -display "$display" -window root "$work/screen.png"
while read -r name left top width height; do
  convert "$work/screen.png" -crop "${width}x${height}+${left}+${top}" +repage \
    "$root/docs/screenshots/$name.png"
  echo "docs/screenshots/$name.png: ${width}x${height}"
done <"$rects"
