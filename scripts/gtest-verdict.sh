#!/usr/bin/env bash
# The verdicts of one recorded GoogleTest run (wine-run.sh --record LOG ...), so that each case
# of a program run once under Wine is a test of its own.
#
#   gtest-verdict.sh LOG Suite.Name   the case: its part of the output, exit 0 when it passed,
#                                     77 when GoogleTest skipped it, 1 when it failed or never ended
#   gtest-verdict.sh --summary LOG    the program: its summary lines, exit 0 when it ended with a
#                                     summary that agrees with its exit code, 1 otherwise
#
# The output is read line by line, not from GoogleTest's XML report: a program that crashes or
# hangs writes no report, but its output still shows every case that ended before.
set -u

skipped=77

die() {
  echo "gtest-verdict: $*"
  exit 1
}

# GoogleTest's closing lines, the first of which says that the run got to its end.
summary_lines='^\[(==========|  PASSED  |  FAILED  |  SKIPPED )\] [0-9]+ tests?'
ran_to_its_end() { tr -d '\r' <"$1" | grep -Eq '^\[==========\] [0-9]+ tests? from .* ran\.'; }

# How the recorded program ended ("exit N" or "timed out after N s").
program_end() {
  [ -f "$1" ] || die "no record $1: the program run before this test did not happen"
  if [ -f "$1.end" ]; then cat "$1.end"; else echo "still running or stopped short"; fi
}

if [ "${1:-}" = --summary ]; then
  [ $# -eq 2 ] || die "usage: gtest-verdict.sh --summary LOG"
  log=$2
  end=$(program_end "$log")
  tr -d '\r' <"$log" | grep -E "$summary_lines"
  ran_to_its_end "$log" || die "the program ended without its summary ($end)"
  failures=$(grep -c '^\[  FAILED  \]' "$log")
  case $end in
    "exit 0") [ "$failures" -eq 0 ] || die "cases failed, yet the program ended with exit code 0" ;;
    "exit 1") [ "$failures" -gt 0 ] || die "exit code 1 after a passing summary" ;;
    *) die "the program ended badly after its summary ($end)" ;;
  esac
  exit 0
fi

[ $# -eq 2 ] || die "usage: gtest-verdict.sh LOG Suite.Name | --summary LOG"
log=$1
case_name=$2
end=$(program_end "$log")

# Prints the case's lines, from "[ RUN      ] NAME" to the line that ends it, and then one word:
# passed, skipped, failed, unfinished (begun, never ended) or absent (never begun).
lines=$(tr -d '\r' <"$log" | awk -v name="$case_name" '
  BEGIN { run = "[ RUN      ] " name; ok = "[       OK ] " name " ("
          failed = "[  FAILED  ] " name " ("; skipped = "[  SKIPPED ] " name " (" }
  !inside && $0 == run { inside = 1; print; next }
  inside {
    # The next case began: this one never ended.
    if (index($0, "[ RUN      ] ") == 1) { verdict = "unfinished"; exit }
    print
    if (index($0, ok) == 1) { verdict = "passed"; exit }
    if (index($0, skipped) == 1) { verdict = "skipped"; exit }
    if (index($0, failed) == 1) { verdict = "failed"; exit }
  }
  END { if (verdict == "") verdict = inside ? "unfinished" : "absent"; print verdict }
')
verdict=${lines##*$'\n'}
[ "$verdict" = "$lines" ] || printf '%s\n' "${lines%$'\n'*}"

case $verdict in
  passed) exit 0 ;;
  skipped) exit "$skipped" ;;
  failed) exit 1 ;;
  unfinished) die "$case_name began but never ended: the program stopped ($end)" ;;
  *)
    if ran_to_its_end "$log"; then
      die "$case_name did not run, though the program ran to its summary ($end)"
    fi
    die "$case_name did not run: the program stopped before it ($end)"
    ;;
esac
