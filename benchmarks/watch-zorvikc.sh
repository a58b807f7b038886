#!/usr/bin/env bash
# Under Wine: `zorvikc watch` as a user runs it, its output going to a file. Prints how long
# after a Run value is written (naming a running program that owns sockets) its line is in the
# file, the median and the worst of them, and how much processor time the watcher takes while
# nothing changes. Ends the watcher with Ctrl+C (SIGINT, which Wine hands to the program as
# CTRL_C_EVENT) and says its exit code.
#
#   benchmarks/watch-zorvikc.sh [BUILD_DIR] [WRITES] [IDLE_SECONDS] [RULES]
#                          (defaults: build/win64, 20 writes, 60 s idle, the shipped rules)
#
# RULES is a rules file to watch with, or "run" for one rule of the current user's Run key
# alone; by default the watcher reads the rules shipped beside the program (rules/Scan.ini).
# Needs zorvikc, zorvik_watch_probe and zorvik_test_agent built in BUILD_DIR. Scan.ini beside
# zorvikc.exe is put back as it was afterwards.
set -u
# shellcheck source=benchmarks/watch-setup.sh
source "$(dirname "$0")/watch-setup.sh"
watch_setup watch-zorvikc zorvikc zorvik_watch_probe zorvik_test_agent -- "$@"
log=$work/watch.jsonl
cp "$rules" "$work/Scan.ini.saved"
agent_unix=$work/zvkwatchagent.exe
cp "$build/zorvik_test_agent.exe" "$agent_unix"
agent=$(timeout 60 "$wine" winepath -w "$agent_unix" 2>/dev/null | tr -d '\r')
cleanup() {
  [ -n "${watcher:-}" ] && kill "$watcher" 2>/dev/null
  [ -n "${agent_pid:-}" ] && kill "$agent_pid" 2>/dev/null
  [ -n "${poller:-}" ] && kill "$poller" 2>/dev/null
  for i in $(seq "$writes"); do
    timeout 60 "$wine" reg delete "HKCU\\$run_key" /v "ZorvikWatch$i" /f >/dev/null 2>&1
  done
  cp "$work/Scan.ini.saved" "$rules"
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

now_us() { echo $(($(date +%s%N) / 1000)); }
# Processor time of a Linux process so far, in milliseconds (user + system).
cpu_ms() {
  awk -v hz="$(getconf CLK_TCK)" '{ print int(($14 + $15) * 1000 / hz) }' "/proc/$1/stat"
}
# Notes "N MICROSECONDS" in $work/seen the moment the log holds its Nth line.
poll_lines() {
  local n=0 count
  while :; do
    count=$(wc -l <"$log")
    while [ "$n" -lt "$count" ]; do n=$((n + 1)); echo "$n $(now_us)"; done
    sleep 0.002
  done
}
# Waits until the poller saw the Nth line; prints when (microseconds).
line_seen() {
  local n=$1 waited=0
  until grep -q "^$n " "$work/seen"; do
    sleep 0.01
    waited=$((waited + 1))
    [ $waited -lt 3000 ] || { echo "watch-zorvikc: no line within 30 s" >&2; exit 1; }
  done
  grep "^$n " "$work/seen" | awk '{ print $2 }'
}
# An ISO 8601 UTC time in microseconds since 1970.
iso_us() { echo $(( $(date -u -d "$1" +%s%N) / 1000 )); }
ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f\n", (a - b) / 1000 }'; }
median() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "-" }'
}
worst() { sort -g | tail -n1; }

# Started as a user starts it; its output goes to a file, not a pipe. The 64-bit loader runs
# it as this very process (`wine` may start it through start.exe), so that its processor time
# can be read and Ctrl+C sent to it.
(cd "$build" && exec "$wine64_loader" zorvikc.exe watch) </dev/null >"$log" 2>"$work/watch.err" &
watcher=$!
sleep 8  # the first read of every place sets the baseline
echo "watcher: $(cat "/proc/$watcher/comm" 2>/dev/null)," \
     "$(cpu_ms "$watcher") ms of processor time for its start and first scan"
[ -s "$log" ] && { echo "watch-zorvikc: lines before any change:" >&2; cat "$log" >&2; exit 1; }
kill -0 "$watcher" 2>/dev/null ||
  { echo "watch-zorvikc: the watcher ended" >&2; cat "$work/watch.err" >&2; exit 1; }

wineserver_pid=$(pgrep -u "$(id -u)" -x wineserver | head -n1)
cpu_before=$(cpu_ms "$watcher")
server_before=$([ -n "$wineserver_pid" ] && cpu_ms "$wineserver_pid" || echo 0)
sleep "$idle"
cpu_after=$(cpu_ms "$watcher")
server_after=$([ -n "$wineserver_pid" ] && cpu_ms "$wineserver_pid" || echo 0)

# The agent owns loopback sockets (it has sent data, so the TCP table names it) for two minutes.
"$wine64_loader" "$agent_unix" </dev/null >/dev/null 2>&1 &
agent_pid=$!
sleep 3
: >"$work/seen"
poll_lines >"$work/seen" &
poller=$!

: >"$work/line" ; : >"$work/file"
for i in $(seq "$writes"); do
  written=$(timeout 60 "$wine" "$build/zorvik_watch_probe.exe" write "$run_key" "ZorvikWatch$i" \
              "\"$agent\" /watch$i" </dev/null 2>/dev/null |
            tr -d '\r' | awk '/^written/ { print $2 }')
  [ -n "$written" ] || { echo "watch-zorvikc: the write failed" >&2; exit 1; }
  seen=$(line_seen "$i")
  line=$(sed -n "${i}p" "$log" | tr -d '\r')
  stamped=$(iso_us "$(echo "$line" | sed 's/.*"time": "\([^"]*\)".*/\1/')")
  ms "$stamped" "$written" >>"$work/line"
  ms "$seen" "$written" >>"$work/file"
  running=$(echo "$line" | sed 's/.*"running": \([a-z]*\).*/\1/')
  sockets=$(echo "$line" | grep -o '"state"' | wc -l)
  printf 'write %2d: %7s ms to the line'"'"'s time, %7s ms until it is in the file;' "$i" \
    "$(tail -n1 "$work/line")" "$(tail -n1 "$work/file")"
  printf ' running %s, %d sockets\n' "$running" "$sockets"
  sleep 0.3
done
echo "first line: $(head -n1 "$log" | tr -d '\r')"
echo "median: $(median <"$work/line") ms from the write to the line's time," \
     "$(median <"$work/file") ms until the line is in the file"
echo "worst of $writes: $(worst <"$work/line") ms to the line's time," \
     "$(worst <"$work/file") ms until the line is in the file"
kill "$poller"; poller=
echo "idle watcher: $((cpu_after - cpu_before)) ms of processor time over ${idle} s" \
     "($(awk -v c=$((cpu_after - cpu_before)) -v s="$idle" \
          'BEGIN { printf "%.3f", c / (s * 10) }')% of a core);" \
     "wineserver meanwhile: $((server_after - server_before)) ms"

kill -INT "$watcher"
for _ in $(seq 100); do kill -0 "$watcher" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$watcher" 2>/dev/null; then
  echo "Ctrl+C: the watcher did not end"
else
  wait "$watcher"; echo "Ctrl+C: the watcher ended with exit code $?"
fi
watcher=
