#!/usr/bin/env bash
# Builds the core (common, platform, store, engine) and its tests without Qt, once under
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), and the store and engine tests
# once under ThreadSanitizer (build-tsan/), and runs the tests of each. A report of either fails
# the test that caused it. Installs what is missing.
#
#   scripts/test-sanitizers.sh [address|thread]...   (both when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."

kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(address thread)
./scripts/install-deps.sh cmake ninja-build g++ libgtest-dev

# Every report fails the test program at once, with the stacks that explain it; ASan looks for
# leaks and for stack memory used after its function returned too.
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

for kind in "${kinds[@]}"; do
    case $kind in
    address)
        build_dir=${VAULTRIX_ASAN_BUILD_DIR:-build-asan}
        targets=(all)
        ;;
    thread)
        # Threads share only the stores and the engine's parts (schedule, slots, copy workers,
        # probes); the other core tests run on one thread and gain nothing under TSan.
        build_dir=${VAULTRIX_TSAN_BUILD_DIR:-build-tsan}
        targets=(store_tests engine_tests)
        ;;
    *)
        echo "usage: scripts/test-sanitizers.sh [address|thread]..." >&2
        exit 2
        ;;
    esac
    started=$SECONDS
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVAULTRIX_SANITIZE="$kind" \
        -DVAULTRIX_BUILD_UI=OFF -DVAULTRIX_BUILD_BENCH=OFF ${VAULTRIX_CMAKE_ARGS:-} >/dev/null
    cmake --build "$build_dir" --target "${targets[@]}"
    echo "sanitizers: building the core tests ($kind) took $((SECONDS - started)) s"
    started=$SECONDS
    # A test program left unbuilt stands in the list as "<program>_NOT_BUILT".
    ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" --timeout 300 -E '_NOT_BUILT$'
    echo "sanitizers: the core tests ($kind) took $((SECONDS - started)) s"
done
