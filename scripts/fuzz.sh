#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) in build/fuzz and runs every one of them
# for SECONDS over a temporary copy of its seed corpus (fuzz/corpus/<target>), so the source
# tree gains no files. Prints each target's runs and result; exits non-zero on any finding.
#
#   fuzz.sh SECONDS
#
# ZORVIK_FUZZ_PARALLEL (default 2) targets run at a time. A finding's input and log stay in
# build/fuzz/fuzz/runs/<target>/ for a rerun: build/fuzz/fuzz_<target> FILE.
set -u

if [ $# -ne 1 ] || ! [[ $1 =~ ^[0-9]+$ ]] || [ "$1" -eq 0 ]; then
    echo "usage: $0 SECONDS" >&2
    exit 2
fi
seconds=$1
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
parallel=${ZORVIK_FUZZ_PARALLEL:-2}

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZORVIK_TESTS=OFF -DZORVIK_FUZZ=ON >/dev/null || exit 1
cmake --build "$build" --target fuzz_targets -j"$parallel" >/dev/null || {
    echo "fuzz.sh: the build failed" >&2
    exit 1
}

targets=()
for corpus in "$root"/fuzz/corpus/*/; do
    targets+=("$(basename "$corpus")")
done

# One line per target from the runner; the run's status goes to a file of its own.
status_dir=$(mktemp -d)
trap 'rm -rf "$status_dir"' EXIT
printf '%s\n' "${targets[@]}" | xargs -P "$parallel" -I{} sh -c '
    cmake -DTARGET="$1/fuzz_$2" -DCORPUS="$3/fuzz/corpus/$2" -DWORK="$1/fuzz/runs/$2" \
          -DSECONDS="$4" -P "$3/fuzz/RunFuzzTarget.cmake" >"$5/$2.out" 2>&1
    echo $? >"$5/$2.rc"
    grep -o "fuzz_$2: [0-9?]* runs, [A-Za-z ]*" "$5/$2.out" | tail -n 1
' _ "$build" {} "$root" "$seconds" "$status_dir"

failed=0
for target in "${targets[@]}"; do
    if [ "$(cat "$status_dir/$target.rc" 2>/dev/null)" != 0 ]; then
        failed=$((failed + 1))
        echo "--- $target:" >&2
        tail -n 40 "$status_dir/$target.out" >&2
    fi
done
echo "${#targets[@]} targets, $seconds s each: $failed with a finding"
[ "$failed" -eq 0 ]
