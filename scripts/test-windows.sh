#!/usr/bin/env bash
# Cross-builds the core (store/, engine/, platform/) and its tests for 64-bit Windows with
# MinGW-w64 and runs each test program under Wine. Installs what is missing. The widgets are not
# built: Debian has no Qt for MinGW. Everything, the Wine prefix included, stays in build-windows/.
# Prints the time of each step, every skipped test with its reason, and the totals.
#
#   scripts/test-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=$(pwd)/${VAULTRIX_WINDOWS_BUILD_DIR:-build-windows}
toolchain=$(pwd)/cmake/mingw-w64-x86_64-posix.cmake
step_started=$SECONDS
step_done() {
    echo "windows: $1 took $((SECONDS - step_started)) s"
    step_started=$SECONDS
}

./scripts/install-deps.sh cmake ninja-build g++-mingw-w64-x86-64-posix googletest wine64 tzdata
step_done "installing"

# Runs a quiet step; its log is shown only when it fails.
quietly() {
    local log=$1
    shift
    if ! "$@" >"$log" 2>&1; then
        cat "$log"
        return 1
    fi
}

# GoogleTest from Debian's sources, built with the same toolchain and installed in the build folder.
mkdir -p "$build_dir"
gtest_prefix=$build_dir/googletest-install
quietly "$build_dir/googletest.log" cmake -S /usr/src/googletest -B "$build_dir/googletest" \
    -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF \
    -DCMAKE_INSTALL_PREFIX="$gtest_prefix"
quietly "$build_dir/googletest.log" cmake --build "$build_dir/googletest" --target install
step_done "building GoogleTest"

cmake -S . -B "$build_dir/core" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVAULTRIX_BUILD_UI=OFF -DVAULTRIX_BUILD_BENCH=OFF \
    -DGTest_DIR="$gtest_prefix/lib/cmake/GTest" >/dev/null
cmake --build "$build_dir/core"
step_done "building the core and its tests"

# Debian's wine64 package puts its loader outside PATH; the wine package adds wrappers.
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEPREFIX=$build_dir/wine-prefix
export WINEDEBUG=-all
# No dialogs offering Mono and Gecko, which the tests never need.
export WINEDLLOVERRIDES="mscoree,mshtml="
# The clock test of Central European time runs where Windows has that zone; Wine takes it from TZ.
export TZ=Europe/Berlin
quietly "$build_dir/wineboot.log" "$wine" wineboot --init
step_done "preparing the Wine prefix"

# The count of a gtest summary line ("[  PASSED  ] 43 tests."), empty when it has none.
count() { sed -n -E "s/^\[  $1 *\] ([0-9]+) tests?[,.].*/\1/p" "$2" | tail -n 1; }

passed=0
skipped=0
failed=0
status=0
for program in "$build_dir"/core/tests/*_tests.exe; do
    name=$(basename "$program" .exe)
    log=$build_dir/$name.log
    if ! timeout 600 "$wine" "$program" >"$log" 2>&1; then
        status=1
    fi
    p=$(count PASSED "$log")
    s=$(count SKIPPED "$log")
    f=$(count FAILED "$log")
    passed=$((passed + ${p:-0}))
    skipped=$((skipped + ${s:-0}))
    failed=$((failed + ${f:-0}))
    echo "windows: $name: ${p:-0} passed, ${f:-0} failed, ${s:-0} skipped (log $log)"
    # Each skip with the reason the test gave (Wine's console ends lines with CR LF).
    tr -d '\r' <"$log" | awk '/: Skipped$/ { getline reason; next }
        /^\[  SKIPPED \] .* \([0-9]+ ms\)$/ { print "windows:   skipped " $4 ": " reason }'
    if [ -z "$p" ] || [ -n "$f" ]; then
        status=1
        { grep -E -A12 'Failure|FAILED|[Ee]xception|Unhandled' "$log" || tail -n 20 "$log"; } |
            cut -c1-300 | head -n 120
    fi
done
"$wineserver" -k 2>/dev/null || true
step_done "running the tests under Wine"

echo "Windows core tests under Wine: $passed passed, $failed failed, $skipped skipped"
exit $status
