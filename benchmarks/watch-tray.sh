#!/usr/bin/env bash
# Under Wine: the main window's watch from the notification area. Prints how long after a Run
# value is written (naming a running program that owns sockets) the balloon is asked for and
# the rescan after it has listed the rows, the median and the worst of them, and how much
# processor time the window takes in the tray while nothing changes. Wine shows no balloon and
# sends none of its callbacks: the moment the program asks for it is what is timed.
#
#   benchmarks/watch-tray.sh [BUILD_DIR] [WRITES] [IDLE_SECONDS] [RULES]
#                          (defaults: build/win64, 20 writes, 60 s idle, the shipped rules)
#
# RULES is a rules file to watch with, or "run" for one rule of the current user's Run key
# alone. Needs zorvik_tray_probe, zorvik_watch_probe and zorvik_test_agent built in BUILD_DIR.
# Scan.ini and Settings.ini beside them are put back as they were afterwards.
set -u
# shellcheck source=benchmarks/watch-setup.sh
source "$(dirname "$0")/watch-setup.sh"
watch_setup watch-tray zorvik_tray_probe zorvik_watch_probe zorvik_test_agent -- "$@"
log=$work/tray.log
settings=$build/Settings.ini
cp "$rules" "$work/Scan.ini.saved"
[ -f "$settings" ] && cp "$settings" "$work/Settings.ini.saved"
agent_unix=$work/zvktrayagent.exe
cp "$build/zorvik_test_agent.exe" "$agent_unix"
agent=$(timeout 60 "$wine" winepath -w "$agent_unix" 2>/dev/null | tr -d '\r')
cleanup() {
  [ -n "${prober:-}" ] && kill "$prober" 2>/dev/null
  [ -n "${agent_pid:-}" ] && kill "$agent_pid" 2>/dev/null
  for i in $(seq "$writes"); do
    timeout 60 "$wine" reg delete "HKCU\\$run_key" /v "ZorvikTray$i" /f >/dev/null 2>&1
  done
  cp "$work/Scan.ini.saved" "$rules"
  if [ -f "$work/Settings.ini.saved" ]; then cp "$work/Settings.ini.saved" "$settings"
  else rm -f "$settings"; fi
  rm -rf "$work"
}
trap cleanup EXIT
if [ "$rules_choice" = run ]; then
  printf '[Run]\r\nType=REG\r\nRoot=HKEY_CURRENT_USER\r\nKey=%s\r\nAction=ENUM\r\n' \
    "$run_key" >"$rules"
else
  cp "$rules_choice" "$rules" || exit 1
fi
echo "rules: $rules_choice ($(grep -c '^\[' "$rules") rules)"

# Processor time of a Linux process so far, in milliseconds (user + system).
cpu_ms() {
  awk -v hz="$(getconf CLK_TCK)" '{ print int(($14 + $15) * 1000 / hz) }' "/proc/$1/stat"
}
# Waits until the log holds N lines starting with WORD; prints the Nth one's second field.
nth_time() {
  local word=$1 n=$2 waited=0
  until [ "$(grep -c "^$word " "$log")" -ge "$n" ]; do
    sleep 0.01
    waited=$((waited + 1))
    [ $waited -lt 3000 ] || { echo "watch-tray: no $word line within 30 s" >&2; exit 1; }
  done
  grep "^$word " "$log" | sed -n "${n}p" | tr -d '\r' | awk '{ print $2 }'
}
ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f\n", (a - b) / 1000 }'; }
median() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "-" }'
}
worst() { sort -g | tail -n1; }

# The 64-bit loader runs the probe as this very process, so that its processor time can be read.
(cd "$build" && exec "$wine64_loader" zorvik_tray_probe.exe "$writes") </dev/null >"$log" 2>&1 &
prober=$!
for _ in $(seq 600); do grep -q '^armed' "$log" && break; sleep 0.1; done
grep -q '^armed' "$log" || { echo "watch-tray: the window did not start" >&2; cat "$log" >&2; exit 1; }
echo "window: $(cpu_ms "$prober") ms of processor time for its start and first scan"

cpu_before=$(cpu_ms "$prober")
sleep "$idle"
cpu_after=$(cpu_ms "$prober")

"$wine64_loader" "$agent_unix" </dev/null >/dev/null 2>&1 &
agent_pid=$!
sleep 3

: >"$work/balloon" ; : >"$work/listed"
for i in $(seq "$writes"); do
  written=$(timeout 60 "$wine" "$build/zorvik_watch_probe.exe" write "$run_key" "ZorvikTray$i" \
              "\"$agent\" /tray$i" </dev/null 2>/dev/null |
            tr -d '\r' | awk '/^written/ { print $2 }')
  [ -n "$written" ] || { echo "watch-tray: the write failed" >&2; exit 1; }
  ms "$(nth_time balloon "$i")" "$written" >>"$work/balloon"
  ms "$(nth_time listed "$i")" "$written" >>"$work/listed"
  rows=$(grep '^listed ' "$log" | sed -n "${i}p" | tr -d '\r' | awk '{ print $3 }')
  printf 'write %2d: %7s ms to the balloon, %7s ms until the rows are listed (%s rows)\n' "$i" \
    "$(tail -n1 "$work/balloon")" "$(tail -n1 "$work/listed")" "$rows"
  sleep 0.3
done
grep '^box ' "$log" >&2
echo "first balloon: $(grep '^balloon ' "$log" | head -n1 | tr -d '\r' | cut -d' ' -f3-)"
echo "median: $(median <"$work/balloon") ms to the balloon," \
     "$(median <"$work/listed") ms until the rows are listed"
echo "worst of $writes: $(worst <"$work/balloon") ms to the balloon," \
     "$(worst <"$work/listed") ms until the rows are listed"
echo "idle window in the tray: $((cpu_after - cpu_before)) ms of processor time over ${idle} s" \
     "($(awk -v c=$((cpu_after - cpu_before)) -v s="$idle" \
          'BEGIN { printf "%.3f", c / (s * 10) }')% of a core)"
for _ in $(seq 100); do kill -0 "$prober" 2>/dev/null || break; sleep 0.1; done
kill -0 "$prober" 2>/dev/null && echo "watch-tray: the probe did not end" >&2
prober=
