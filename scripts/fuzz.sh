#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build-fuzz/ and runs each for SECONDS (default 60), seeded from tests/fuzz/corpus/<target>/.
# Installs clang when it is missing. Fails when a target breaks a rule or crashes; the input is
# kept in build-fuzz/fuzz-artifacts/ and belongs in a regular test.
#
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/fuzz.sh [SECONDS]" >&2
    exit 2
fi

./scripts/install-deps.sh clang-14 libclang-rt-14-dev cmake ninja-build

# Only the core and the fuzz targets, so the build stays quick.
build_dir=${VAULTRIX_FUZZ_BUILD_DIR:-build-fuzz}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DVAULTRIX_FUZZ=ON \
    -DVAULTRIX_BUILD_UI=OFF -DVAULTRIX_BUILD_TESTS=OFF -DVAULTRIX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build_dir"

# The targets rewrite their files for every input: keep them in memory where that is possible.
scratch_base=/dev/shm
[ -d "$scratch_base" ] && [ -w "$scratch_base" ] || scratch_base=${TMPDIR:-/tmp}
scratch=$(mktemp -d "$scratch_base/vaultrix-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

artifacts="$build_dir/fuzz-artifacts"
mkdir -p "$artifacts"
status=0
while read -r target; do
    [ -n "$target" ] || continue
    # New inputs go to the build folder's corpus; the committed seeds stay as they are.
    corpus="$build_dir/fuzz-corpus/$target"
    mkdir -p "$corpus"
    options=(-max_total_time="$seconds" -timeout=10 -artifact_prefix="$artifacts/$target-")
    [ -f "tests/fuzz/$target.dict" ] && options+=(-dict="tests/fuzz/$target.dict")
    dirs=("$corpus")
    [ -d "tests/fuzz/corpus/$target" ] && dirs+=("tests/fuzz/corpus/$target")
    log="$build_dir/fuzz-$target.log"
    if TMPDIR="$scratch" "$build_dir/tests/fuzz/fuzz_$target" "${options[@]}" "${dirs[@]}" \
        >"$log" 2>&1; then
        echo "fuzz $target: $(grep -E '^Done [0-9]+ runs' "$log" | tail -n 1), no findings"
    else
        echo "fuzz $target: FOUND a fault (log $log)"
        grep -E 'fuzz rule broken|ERROR|SUMMARY|runtime error|Test unit written' "$log" || tail -n 30 "$log"
        status=1
    fi
done <"$build_dir/fuzz_targets.txt"
exit $status
