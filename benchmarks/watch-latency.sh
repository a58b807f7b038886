#!/usr/bin/env bash
# Under Wine: how long after a registry write the place watch tells of it, and how much
# processor time the watcher takes while nothing changes.
#
#   benchmarks/watch-latency.sh [BUILD_DIR] [WRITES] [IDLE_SECONDS] [RULES]
#                       (defaults: build/win64, 10 writes, 60 s idle, the shipped rules)
#
# The watch holds a key of its own and, beside it, every place the rules name, as zorvikc
# watches them: RULES is a rules file, by default the shipped rules/Scan.ini, or "none" for the
# key alone. Needs zorvik_watch_probe built in BUILD_DIR (cmake --build BUILD_DIR --target
# zorvik_watch_probe); Scan.ini beside it is put back as it was afterwards.
# Prints, per write, the delay from the write returning in a Windows program to the watch's
# line (and from starting `reg add` to the line, which includes starting a Wine program), then
# the median of each and the watcher's processor time over the idle wait.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd) || exit 1
writes=${2:-10}
idle=${3:-60}
rules_choice=${4:-$root/rules/Scan.ini}
probe=$build/zorvik_watch_probe.exe
[ -f "$probe" ] || { echo "watch-latency: $probe not built" >&2; exit 1; }

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
"$root/scripts/wine-run.sh" --start >/dev/null || exit 1

key='Software\ZorvikWatchLatency\Run'
work=$(mktemp -d) || exit 1
log=$work/watch.log
rules=$build/Scan.ini
cp "$rules" "$work/Scan.ini.saved"
cleanup() {
  [ -n "${watcher:-}" ] && kill "$watcher" 2>/dev/null
  timeout 60 "$wine" reg delete 'HKCU\Software\ZorvikWatchLatency' /f >/dev/null 2>&1
  cp "$work/Scan.ini.saved" "$rules"
  rm -rf "$work"
}
trap cleanup EXIT
with_rules=rules
if [ "$rules_choice" = none ]; then
  with_rules=
  echo "rules: none (the key alone)"
else
  cp "$rules_choice" "$rules" || exit 1
  echo "rules: $rules_choice ($(grep -c '^\[' "$rules") rules)"
fi

now_us() { echo $(($(date +%s%N) / 1000)); }
# Waits until the watch log tells of at least N changes of the key; the Nth one. Changes of the
# rules' places (a Wine program starting writes some of them) are left aside.
changed_line() {
  local n=$1 waited=0
  while [ "$(tr -d '\r' <"$log" | grep -c '^changed .* key$')" -lt "$n" ]; do
    sleep 0.01
    waited=$((waited + 1))
    [ $waited -lt 3000 ] || { echo "watch-latency: no notification within 30 s" >&2; exit 1; }
  done
  tr -d '\r' <"$log" | grep '^changed .* key$' | sed -n "${n}p"
}
# Milliseconds from the second time to the first, both in microseconds; the watch may tell of a
# write before the writer has returned from it, which shows as a negative delay.
ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f\n", (a - b) / 1000 }'; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "-" }'; }

timeout 60 "$wine" reg add "HKCU\\$key" /f >/dev/null 2>&1
# Two changes per round: one from reg.exe, one from the probe's own write.
timeout 3600 "$wine" "$probe" watch "$key" $((2 * writes + 1)) $with_rules </dev/null >"$log" 2>&1 &
watcher=$!
for _ in $(seq 300); do grep -q '^armed' "$log" && break; sleep 0.1; done
grep -q '^armed' "$log" || { echo "watch-latency: the watch did not start" >&2; cat "$log" >&2; exit 1; }
echo "watched places: $(grep '^armed' "$log" | tr -d '\r' | awk '{ print $2 }')"

# Idle: one change before and one after the wait give the processor time in between.
timeout 60 "$wine" reg add "HKCU\\$key" /v Idle /d x /f >/dev/null 2>&1
cpu_before=$(changed_line 1 | awk '{ print $3 }')
sleep "$idle"

told=1
: >"$work/reg" ; : >"$work/write"
for i in $(seq "$writes"); do
  started=$(now_us)
  timeout 60 "$wine" reg add "HKCU\\$key" /v "Reg$i" /d "C:\\bot$i.exe" /f >/dev/null 2>&1
  told=$((told + 1))
  at=$(changed_line $told | awk '{ print $2 }')
  [ $told -eq 2 ] && cpu_after=$(changed_line 2 | awk '{ print $3 }')
  ms "$at" "$started" >>"$work/reg"

  written=$(timeout 60 "$wine" "$probe" write "$key" "Probe$i" </dev/null 2>/dev/null | tr -d '\r' | awk '/^written/ { print $2 }')
  told=$((told + 1))
  at=$(changed_line $told | awk '{ print $2 }')
  ms "$at" "$written" >>"$work/write"
  printf 'write %2d: %8s ms from starting reg add, %8s ms from the write returning\n' \
    "$i" "$(tail -n1 "$work/reg")" "$(tail -n1 "$work/write")"
  sleep 0.3  # lets the watch re-arm and the two writes stay separate changes
done
echo "median: $(median <"$work/reg") ms from starting reg add, $(median <"$work/write") ms from the write returning"
echo "idle watcher: $((cpu_after - cpu_before)) ms of processor time over ${idle} s (and one change)"
echo "changes of the rules' places meanwhile: $(tr -d '\r' <"$log" | grep -c '^changed .* other$')"
