#!/usr/bin/env bash
# The picture of the main window in the README, docs/screenshots/main.png: Zorvik.exe under Wine
# on a virtual X screen, listing three programs that own sockets and are started with Windows,
# sorted by their verdict, the most severe first, and narrowed by the filter box to the two whose
# path holds "agent". One of them, started from two places, one of them disabled (".bak"), has
# its row clicked so that the start-up list shows both entries, the active one red and the
# disabled one green.
#
#   scripts/screenshot-main.sh [--scale=PERCENT] [BUILD_DIR]
#                                            (default build/win64, an x86_64 Windows build tree
#                                             with Zorvik, zorvik_test_agent and
#                                             zorvik_drive_window built)
#
# With --scale (150, 200) the screen is scaled so: the prefix (one of its own per scale,
# BUILD_DIR/wineprefix-x11-PERCENT) has the user's LogPixels at that share of 96, the virtual
# screen is larger by as much, and the picture is docs/screenshots/main-PERCENT.png.
#
# The programs are the tests' socket-owning agent, copied as C:\Program Files\NetAgent\netagent.exe,
# C:\Tools\Backup\backup.exe and the user's AppData\Roaming\SyncAgent\syncagent.exe; their Run
# values are removed again afterwards. Needs Xvfb and ImageMagick.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
scale=100
case "${1:-}" in
  --scale=*) scale=${1#--scale=}; shift ;;
esac
case "$scale" in
  '' | *[!0-9]*) echo "screenshot-main: --scale takes a percentage, such as 150" >&2; exit 1 ;;
esac
build=$(cd "${1:-$root/build/win64}" && pwd)
picture=$root/docs/screenshots/main.png
[ "$scale" = 100 ] || picture=$root/docs/screenshots/main-$scale.png
for file in Zorvik.exe Scan.ini zorvik_test_agent.exe zorvik_drive_window.exe; do
  [ -f "$build/$file" ] || { echo "screenshot-main: $build/$file is missing" >&2; exit 1; }
done

# shellcheck source=scripts/wine-screen.sh
source "$root/scripts/wine-screen.sh"

user_run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
machine_run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
cleanup() {
  timeout 60 "$wine" reg delete "$user_run" /v NetAgent /f >/dev/null 2>&1 || true
  timeout 60 "$wine" reg delete "$machine_run" /v NetAgentUpdate /f >/dev/null 2>&1 || true
  timeout 60 "$wine" reg delete "$user_run" /v SyncAgent /f >/dev/null 2>&1 || true
  timeout 60 "$wine" reg delete "$machine_run" /v Backup /f >/dev/null 2>&1 || true
  stop_virtual_screen
}
trap cleanup EXIT

screen_width=$((screen_width * scale / 100))
screen_height=$((screen_height * scale / 100))
start_virtual_screen
if [ "$scale" = 100 ]; then
  screen_prefix "$build"
else
  # Wine takes the resolution from here when a program starts.
  screen_prefix "$build" "wineprefix-x11-$scale"
  timeout 60 "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d $((96 * scale / 100)) /f >/dev/null
fi

program_dir="$WINEPREFIX/drive_c/Zorvik"
agent_dir="$WINEPREFIX/drive_c/Program Files/NetAgent"
mkdir -p "$program_dir" "$agent_dir"
cp "$build/Zorvik.exe" "$build/Scan.ini" "$program_dir/"
# Sorted by the Verdict column (the fourth), the most severe first; the columns narrowed so
# that the Verdict and Publisher columns in the window's first width.
printf '[GUI]\r\nLstProcSort=4\r\nLstProcWidths=230,40,215,70,130\r\n' >"$program_dir/Settings.ini"
cp "$build/zorvik_test_agent.exe" "$agent_dir/netagent.exe"
backup_dir="$WINEPREFIX/drive_c/Tools/Backup"
mkdir -p "$backup_dir"
cp "$build/zorvik_test_agent.exe" "$backup_dir/backup.exe"
# The user's roaming folder as Wine names it, read through a file.
appdata_file="$build/screens/appdata.txt"
mkdir -p "$build/screens"
timeout 60 "$wine" cmd /c echo %APPDATA% >"$appdata_file" 2>/dev/null
appdata=$(tr -d '\r\n' <"$appdata_file")
case "$appdata" in
  [A-Za-z]:\\*) ;;
  *) echo "screenshot-main: Wine named no roaming folder (\"$appdata\")" >&2; exit 1 ;;
esac
sync_exe="$appdata\\SyncAgent\\syncagent.exe"
sync_unix=$(timeout 60 "$wine" winepath -u "$sync_exe" 2>/dev/null)
mkdir -p "$(dirname "$sync_unix")"
cp "$build/zorvik_test_agent.exe" "$sync_unix"

timeout 60 "$wine" reg add "$user_run" /v NetAgent /d '"C:\Program Files\NetAgent\netagent.exe" /background' /f >/dev/null
timeout 60 "$wine" reg add "$machine_run" /v NetAgentUpdate /d '"C:\Program Files\NetAgent\netagent.exe.bak" /update' /f >/dev/null
timeout 60 "$wine" reg add "$user_run" /v SyncAgent /d "\"$sync_exe\"" /f >/dev/null
timeout 60 "$wine" reg add "$machine_run" /v Backup /d 'C:\Tools\Backup\backup.exe' /f >/dev/null

# Each agent connects to its own listener and sends, so that the system names it as the owner.
"$wine" 'C:\Program Files\NetAgent\netagent.exe' </dev/null >/dev/null 2>&1 &
"$wine" 'C:\Tools\Backup\backup.exe' </dev/null >/dev/null 2>&1 &
"$wine" "$sync_exe" </dev/null >/dev/null 2>&1 &

in_desktop 'C:\Zorvik\Zorvik.exe'
capture_main_window "$build" "$picture" --wait=netagent.exe --wait=backup.exe --wait=syncagent.exe \
  --filter=agent --select=netagent.exe --entries=2
echo "${picture#"$root"/}: $(identify -format '%wx%h' "$picture")"
