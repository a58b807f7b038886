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

# screen_prefix BUILD [NAME]: makes (once) and exports the X11 prefix of the build tree,
# BUILD/NAME (default wineprefix-x11).
screen_prefix() {
  export WINEPREFIX="$1/${2:-wineprefix-x11}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
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

# capture_main_window BUILD OUTPUT.png [--select[=TEXT]] [--entries=N]: waits for the main
# window after the first scan (with --select: until a program is listed, one whose path holds
# TEXT if given, then clicks its row; with --entries: until its start-up list shows N entries)
# and saves the window. Says which of these did not come in time.
#
# The driver that waits inside Wine is started in the virtual desktop. When the desktop already
# runs, the process that started it hands it over and exits at once, so its end says nothing:
# the driver's result file is what is waited for.
capture_main_window() {
  local build=$1 output=$2
  shift 2
  local driver_seconds=120
  local result="$build/screens/main-window.txt"
  mkdir -p "$build/screens" "$(dirname "$output")"
  rm -f "$result" "$result.part"
  local result_win
  result_win=$(timeout 60 "$wine" winepath -w "$result" 2>/dev/null) || result_win="Z:${result//\//\\}"
  in_desktop "$build/zorvik_drive_window.exe" "$result_win" "$@" "$driver_seconds"
  local waited=0 limit=$(((driver_seconds + 30) * 10))
  while [ ! -s "$result" ] && [ "$waited" -lt "$limit" ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  if [ ! -s "$result" ]; then
    echo "wine-screen: the window driver wrote no result in $((limit / 10)) s" >&2
    return 1
  fi
  local word what
  read -r word what <"$result"
  case "$word" in
    main) ;;
    failed)
      case "$what" in
        window*) echo "wine-screen: the main window did not come up (${what#window })" >&2 ;;
        row*) echo "wine-screen: the main window came up, but ${what#row }" >&2 ;;
        entries*) echo "wine-screen: the program's row was clicked, but ${what#entries }" >&2 ;;
        *) echo "wine-screen: $what" >&2 ;;
      esac
      return 1 ;;
    *) echo "wine-screen: the window driver wrote \"$word $what\"" >&2; return 1 ;;
  esac
  local left top width height
  read -r left top width height <<<"$what"
  # The window is painted when the driver answers; the X server may still be drawing it. Two
  # pictures alike in a row say that it is done.
  # PPM holds the pixels alone, so that two pictures alike are alike byte for byte.
  local shot="$build/screens/screen.ppm" previous="$build/screens/screen-previous.ppm" _
  rm -f "$previous"
  for _ in $(seq 50); do
    import -display "$DISPLAY" -window root "$shot"
    [ -f "$previous" ] && cmp -s "$shot" "$previous" && break
    mv "$shot" "$previous"
  done
  [ -f "$shot" ] || mv "$previous" "$shot"
  convert "$shot" -crop "${width}x${height}+${left}+${top}" +repage "$output"
}
