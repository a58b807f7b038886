# Sourced by the watch timing scripts after `set -u`: reads their common arguments
# [BUILD_DIR] [WRITES] [IDLE_SECONDS] [RULES], checks that the programs they need are built,
# starts the build tree's Wine prefix and makes a work folder.
#   watch_setup SCRIPT_NAME PROGRAM... -- "$@"
# After it: root, build, writes, idle, rules_choice, wine (scripts/wine-env.sh), run_key, work,
# rules (Scan.ini beside the programs).
watch_setup() {
  local name=$1 program
  shift
  local programs=()
  while [ "$1" != "--" ]; do programs+=("$1"); shift; done
  shift
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  build=$(cd "${1:-$root/build/win64}" && pwd) || exit 1
  writes=${2:-20}
  idle=${3:-60}
  rules_choice=${4:-$root/rules/Scan.ini}
  for program in "${programs[@]}"; do
    [ -f "$build/$program.exe" ] ||
      { echo "$name: $build/$program.exe not built" >&2; exit 1; }
  done

  # shellcheck source=scripts/wine-env.sh
  source "$root/scripts/wine-env.sh"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
  "$root/scripts/wine-run.sh" --start >/dev/null || exit 1

  run_key='Software\Microsoft\Windows\CurrentVersion\Run'
  work=$(mktemp -d) || exit 1
  rules=$build/Scan.ini
}
