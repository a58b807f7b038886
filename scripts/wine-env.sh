# Which Wine loader this machine can use; sourced by every script that starts Wine, not a
# program of its own.
#
# Once wine32 is installed, Debian's `wine` (and `wineboot`, `winepath`, which call it) starts the
# 32-bit loader for every program, 64-bit ones included. Where the kernel cannot run 32-bit
# programs that loader fails with "Exec format error" and nothing starts at all. There the 64-bit
# loader serves alone: it is named in WINELOADER (so that programs Wine starts from inside use it
# too), prefixes are made without their 32-bit part (WINEARCH=win64), and 32-bit programs are not
# run. Elsewhere nothing changes.
#
# ZORVIK_WINE64_ONLY=1 takes the 64-bit-only way on any machine, to try it where 32-bit programs
# do run. The first script to find out exports the answer in ZORVIK_WINE32_RUNS (yes or no), so
# that the scripts and test programs it starts do not find out again.
#
# After sourcing: $wine is the command that starts a Windows program (or a Wine tool: wineboot,
# reg, winepath, explorer); wine32_runs says whether 32-bit programs run; wine32_skip_reason is the
# one line that says why they do not.

wine32_loader=/usr/lib/wine/wine
wine64_loader=/usr/lib/wine/wine64
wine32_skip_reason="this machine's kernel cannot run 32-bit programs"

# The kernel refuses a program it cannot execute with ENOEXEC, which the shell that tries it
# reports as exit code 126. Without 32-bit Wine there is nothing to try: the programs fail later
# with their own message, as an installation fault rather than a limit of this machine.
kernel_runs_wine32() {
  [ -x "$wine32_loader" ] || return 0
  timeout 30 bash -c 'exec "$0" --version' "$wine32_loader" </dev/null >/dev/null 2>&1
  [ $? -ne 126 ]
}

if [ "${ZORVIK_WINE64_ONLY:-0}" = 1 ]; then
  ZORVIK_WINE32_RUNS=no
elif [ ! -e "$wine32_loader" ] && [ -x "$wine64_loader" ]; then
  # Setup installs the 64-bit part alone where the 32-bit one cannot be installed.
  ZORVIK_WINE32_RUNS=no
  wine32_skip_reason="32-bit Wine is not installed on this machine"
elif [ "${ZORVIK_WINE32_RUNS:-}" != yes ] && [ "${ZORVIK_WINE32_RUNS:-}" != no ]; then
  if kernel_runs_wine32; then ZORVIK_WINE32_RUNS=yes; else ZORVIK_WINE32_RUNS=no; fi
fi
export ZORVIK_WINE32_RUNS

wine32_runs() { [ "$ZORVIK_WINE32_RUNS" = yes ]; }

if wine32_runs; then
  wine=wine
else
  wine=$wine64_loader
  export WINELOADER=$wine64_loader WINEARCH=win64
fi
