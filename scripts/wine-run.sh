#!/usr/bin/env bash
# Runs a Windows program under Wine, in a quiet prefix kept inside the build tree.
#
#   wine-run.sh PROGRAM.exe [ARGS...]            run a program; its exit code is passed on
#   wine-run.sh --gtest PROGRAM.exe [ARGS...]    run a GoogleTest program; pass only on a clean summary
#   wine-run.sh --list PROGRAM.exe LIST          write the program's GoogleTest cases to LIST, one
#                                                Suite.Name a line (kept while newer than the program)
#   wine-run.sh --record LOG PROGRAM.exe [ARGS...]
#                                                run a GoogleTest program once, its output to LOG and
#                                                how it ended to LOG.end, for scripts/gtest-verdict.sh
#   wine-run.sh --start [--bits 32]              create the prefix and keep its wineserver running
#   wine-run.sh --stop [--bits 32]               shut the prefix's wineserver (and its programs) down
#
# Where this machine cannot run 32-bit programs (see wine-env.sh), a 32-bit program is not started:
# the runner says why on one line and exits with 77, the code of a skipped test; so do --start and
# --stop with --bits 32, for the prefix of a 32-bit build.
#
# WINEPREFIX may be set by the caller; otherwise the prefix is "wineprefix" beside the program
# (the build root, where every program of the build lands). --start and --stop need WINEPREFIX.
# ZORVIK_WINE_TIMEOUT (seconds, default 600) bounds one program run: a stray message box under the
# null display driver would otherwise wait forever.
set -u

# shellcheck source=scripts/wine-env.sh
source "$(dirname "$0")/wine-env.sh"
# ZORVIK_WINE_NATIVE_FIRST: DLL names (comma-separated) Wine is to search for as Windows does,
# a file beside the program before its own; Wine reads this when a process starts, from the
# environment it was started in, never from a child's Windows environment.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=${ZORVIK_WINE_NATIVE_FIRST:+;$ZORVIK_WINE_NATIVE_FIRST=n,b}"
run_timeout=${ZORVIK_WINE_TIMEOUT:-600}
skipped=77

die() {
  echo "wine-run: $*" >&2
  exit 1
}

skip() {
  echo "wine-run: $1 skipped: $wine32_skip_reason"
  exit "$skipped"
}

# Debian's 32-bit loader; without it a 32-bit program "runs" silently and exits 0.
wine32_installed() { [ -x "$wine32_loader" ]; }

# A prefix for 32-bit programs too needs their system (syswow64).
wants_syswow64() { wine32_runs && wine32_installed; }

# True when the PE file is a 32-bit x86 program (machine 0x14c, which od prints as 014c).
is_pe32() {
  local pe_offset machine
  pe_offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$pe_offset" ] || return 1
  machine=$(od -An -t x2 -j $((pe_offset + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ')
  [ "$machine" = 014c ]
}

skip_if_unrunnable() {
  if is_pe32 "$1" && ! wine32_runs; then skip "$(basename "$1")"; fi
}

# A prefix made before 32-bit Wine was installed cannot run 32-bit programs: make it again.
prefix_ready() {
  [ -f "$WINEPREFIX/.zorvik-ready" ] || return 1
  if wants_syswow64 && [ ! -e "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    return 1
  fi
  return 0
}

# Creates the prefix once. The lock keeps concurrent runs (ctest -j, two shells) from
# building it twice or using a half-made one.
ensure_prefix() {
  prefix_ready && return 0
  mkdir -p "$(dirname "$WINEPREFIX")" || die "cannot create $(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock" || die "cannot open $WINEPREFIX.lock"
  flock -w 900 9 || die "timed out waiting for $WINEPREFIX.lock"
  if ! prefix_ready; then
    echo "wine-run: creating Wine prefix $WINEPREFIX" >&2
    local started=$SECONDS
    if [ -d "$WINEPREFIX" ]; then
      timeout 60 wineserver -k </dev/null >/dev/null 2>&1 9>&-
      rm -rf "$WINEPREFIX"
    fi
    # Programs started here must not inherit the lock: a server left running would hold it.
    timeout 300 "$wine" wineboot -i </dev/null >/dev/null 2>&1 9>&- || die "wineboot failed in $WINEPREFIX"
    # No display: windows exist but are never drawn, and nothing waits for an X server.
    timeout 60 "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
      </dev/null >/dev/null 2>&1 9>&- || die "could not select the null display driver in $WINEPREFIX"
    # The server writes the registry to disk when it exits.
    timeout 120 wineserver -w </dev/null >/dev/null 2>&1 9>&-
    grep -q '"Graphics"="null"' "$WINEPREFIX/user.reg" || die "null display driver not saved in $WINEPREFIX"
    if wants_syswow64 && [ ! -e "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
      die "prefix $WINEPREFIX has no 32-bit system (syswow64)"
    fi
    touch "$WINEPREFIX/.zorvik-ready"
    echo "wine-run: prefix ready after $((SECONDS - started)) s" >&2
  fi
  exec 9>&-
}

start_server() {
  ensure_prefix
  # Exit code 2: a server for this prefix is already running, which is what we want.
  timeout 30 wineserver -p </dev/null >/dev/null 2>&1
  local rc=$?
  [ $rc -eq 0 ] || [ $rc -eq 2 ] || die "wineserver did not start (exit $rc)"
  # Any client proves the server answers.
  timeout 60 "$wine" cmd /c exit 0 </dev/null >/dev/null 2>&1 || die "Wine does not run programs in $WINEPREFIX"
}

stop_server() {
  [ -d "$WINEPREFIX" ] || return 0
  timeout 60 wineserver -k </dev/null >/dev/null 2>&1
  # Exit code 1 only says that no server was running.
  return 0
}

# run_logged LOG PROGRAM [ARGS...]: runs the program with its output in LOG, shown as it comes;
# returns its exit code (124: timed out).
run_logged() {
  local log=$1 wine_pid
  shift
  # The output goes to a file, not a pipe: the wineserver and any process the tests leave
  # running keep a copy of the program's standard handles, and a pipe would then never end.
  # tail shows the output as it comes and stops when the program has ended.
  timeout "$run_timeout" "$wine" "$@" </dev/null >"$log" 2>&1 &
  wine_pid=$!
  tail -n +1 -s 0.2 -f --pid="$wine_pid" "$log"
  wait "$wine_pid"
}

# Why a GoogleTest program's output holds no summary.
no_summary() {
  local verdict="no GoogleTest summary (exit $2)"
  if is_pe32 "$1" && ! wine32_installed; then
    verdict="$verdict: 32-bit Wine is missing (apt-get install wine32:i386)"
  fi
  echo "$verdict"
}

run_gtest() {
  local exe=$1
  local log rc
  log=$(mktemp) || die "mktemp failed"
  run_logged "$log" "$@"
  rc=$?
  local verdict=""
  if [ "$rc" -eq 124 ]; then
    verdict="timed out after ${run_timeout} s"
  elif grep -q '^\[  FAILED  \]' "$log"; then
    verdict="tests failed"
  elif ! grep -Eq '^\[  PASSED  \] [0-9]+ tests?\.' "$log"; then
    verdict=$(no_summary "$exe" "$rc")
  elif [ "$rc" -ne 0 ]; then
    verdict="exit code $rc after a passing summary"
  fi
  rm -f "$log"
  [ -z "$verdict" ] || die "$(basename "$exe"): $verdict"
  return 0
}

# A list newer than its program is still the program's.
list_current() { [ -s "$2" ] && [ "$2" -nt "$1" ]; }

# The cases as --gtest_list_tests names them: "Suite." lines, each followed by its "  Name"
# lines; parameterised ones carry a "  # GetParam() = ..." note. Wine's console ends lines in CR.
list_cases() {
  local exe=$1 list=$2 output rc
  output=$(mktemp) || die "mktemp failed"
  timeout "$run_timeout" "$wine" "$exe" --gtest_list_tests </dev/null >"$output" 2>/dev/null
  rc=$?
  if [ "$rc" -ne 0 ]; then
    rm -f "$output"
    die "$(basename "$exe") --gtest_list_tests failed (exit $rc)"
  fi
  awk '{ sub(/\r$/, ""); sub(/  #.*/, "") }
       /^[^ ]/ { suite = $0; next }
       /^  [^ ]/ && suite != "" { sub(/^  /, ""); print suite $0 }' "$output" >"$list.new"
  rm -f "$output"
  [ -s "$list.new" ] || { rm -f "$list.new"; die "$(basename "$exe") lists no test cases"; }
  mv "$list.new" "$list"
}

# Records one run for the verdicts of its cases. The run itself passes once GoogleTest has begun:
# what became of each case, and how the program ended, is judged from the record.
record_gtest() {
  local log=$1 exe=$2 rc
  shift
  rm -f "$log" "$log.end"
  run_logged "$log" "$@"
  rc=$?
  if [ "$rc" -eq 124 ]; then
    echo "timed out after ${run_timeout} s" >"$log.end"
  else
    echo "exit $rc" >"$log.end"
  fi
  grep -q '^\[==========\] Running ' "$log" || die "$(basename "$exe"): $(no_summary "$exe" "$rc")"
  return 0
}

mode=run
case "${1:-}" in
  --gtest) mode=gtest; shift ;;
  --list) mode=list; shift ;;
  --record)
    mode=record
    [ $# -ge 3 ] || die "usage: wine-run.sh --record LOG PROGRAM.exe [ARGS...]"
    record_log=$2
    shift 2
    ;;
  --start | --stop)
    [ -n "${WINEPREFIX:-}" ] || die "$1 needs WINEPREFIX"
    export WINEPREFIX
    if [ "${2:-}" = --bits ] && [ "${3:-}" = 32 ] && ! wine32_runs; then
      skip "the prefix of a 32-bit build"
    fi
    if [ "$1" = --start ]; then start_server; else stop_server; fi
    exit $?
    ;;
  "" | -*) die "usage: wine-run.sh [--gtest | --list | --record LOG] PROGRAM.exe [ARGS...] | --start | --stop" ;;
esac

exe=$1
shift
[ -f "$exe" ] || die "no such program: $exe"
skip_if_unrunnable "$exe"
if [ "$mode" = list ]; then
  [ $# -eq 1 ] || die "usage: wine-run.sh --list PROGRAM.exe LIST"
  list_current "$exe" "$1" && exit 0
fi
: "${WINEPREFIX:=$(cd "$(dirname "$exe")" && pwd)/wineprefix}"
export WINEPREFIX
ensure_prefix

case $mode in
  gtest) run_gtest "$exe" "$@" ;;
  list) list_cases "$exe" "$1" ;;
  record) record_gtest "$record_log" "$exe" "$@" ;;
  *) exec timeout "$run_timeout" "$wine" "$exe" "$@" ;;
esac
