# Functions for running Zorvik.exe under Wine where it is drawn: on the user's X display, or on
# a virtual X screen (Xvfb) for a picture of its window. Sourced by run.sh and
# screenshot-main.sh; not a program of its own. Start programs with "$wine" (wine-env.sh): where
# this machine cannot run 32-bit programs, Debian's plain `wine` starts nothing.
#
# The test prefixes use Wine's null display driver and draw nothing, so these functions keep a
# prefix of their own, BUILD/wineprefix-x11, with the X11 driver. On the virtual screen every
# program runs inside one Wine virtual desktop ("Zorvik"), where Wine draws the window frames
# itself and no window manager is needed.

# shellcheck source=scripts/wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

screen_width=1024
screen_height=768

# True when $DISPLAY names an X server that answers.
display_usable() {
  [ -n "${DISPLAY:-}" ] || return 1
  if command -v xdpyinfo >/dev/null 2>&1; then
    timeout 10 xdpyinfo >/dev/null 2>&1
  else
    timeout 10 xset q >/dev/null 2>&1
  fi
}

# screen_prefix BUILD: makes (once) and exports the X11 prefix of the build tree.
screen_prefix() {
  export WINEPREFIX="$1/wineprefix-x11" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/.zorvik-ready" ]; then
    echo "wine-screen: creating Wine prefix $WINEPREFIX" >&2
    timeout 300 "$wine" wineboot -i </dev/null >/dev/null 2>&1 || { echo "wine-screen: wineboot failed" >&2; return 1; }
    timeout 120 wineserver -w </dev/null >/dev/null 2>&1
    touch "$WINEPREFIX/.zorvik-ready"
  fi
  # The caption buttons are drawn with Marlett; without it in the prefix they show as letters.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}

# start_virtual_screen: an Xvfb screen on a free display number; exports DISPLAY.
start_virtual_screen() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 "${screen_width}x${screen_height}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  local _
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.2
  done
  echo "wine-screen: Xvfb did not start on :$n" >&2
  return 1
}

stop_virtual_screen() {
  [ -n "${WINEPREFIX:-}" ] && timeout 60 wineserver -k >/dev/null 2>&1
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  xvfb_pid=
  return 0
}

# in_desktop PROGRAM [ARGS...]: starts a Windows program inside the virtual desktop, in the
# background; its Wine process id is in $!.
in_desktop() {
  "$wine" explorer "/desktop=Zorvik,${screen_width}x${screen_height}" "$@" </dev/null >/dev/null 2>&1 &
}

# capture_main_window BUILD OUTPUT.png [--select]: waits for the main window after the first
# scan (with --select: until a program is listed, then clicks its row) and saves the window.
capture_main_window() {
  local build=$1 output=$2 select=${3:-}
  local rect="$build/screens/main-window.txt"
  mkdir -p "$build/screens" "$(dirname "$output")"
  rm -f "$rect"
  local rect_win
  rect_win=$(timeout 60 "$wine" winepath -w "$rect" 2>/dev/null) || rect_win="Z:${rect//\//\\}"
  in_desktop "$build/zorvik_drive_window.exe" "$rect_win" $select 120
  local driver=$!
  timeout 150 tail --pid="$driver" -f /dev/null
  [ -s "$rect" ] || { echo "wine-screen: the main window did not come up" >&2; return 1; }
  sleep 2  # the last paint after the click
  local name left top width height
  read -r name left top width height <"$rect"
  import -display "$DISPLAY" -window root "$build/screens/screen.png"
  convert "$build/screens/screen.png" -crop "${width}x${height}+${left}+${top}" +repage "$output"
}
