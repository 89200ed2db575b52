#!/usr/bin/env bash
# Slow-share benchmark: the main window while a network share takes 10 s to answer each path
# test, through the program's own window (offscreen). A set whose destination lies on the share
# is clicked, then the share is selected in the folder tree. Targets:
#   - the window thread is never held up longer than 100 ms (the longest stall, worst of runs),
#   - the set's details stand in the text box within 100 ms of the click (worst),
#   - the warning about the missing destination and the destination picture follow when the
#     share answers, within 11 s (worst).
#
# Usage: bench/window/run.sh [build folder]      (default: build; build it first)
#   BENCH_RUNS=1 bench/window/run.sh
# Exit status: 0 all targets met, 1 a target missed, 2 the measurement failed.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$repo/bench/common.sh"
build=$(realpath "${1:-$repo/build}")
driver=$build/bench/window_bench
runs=${BENCH_RUNS:-1}

require_built "$driver" driver

QT_QPA_PLATFORM=offscreen "$driver" "$work" "$runs" >"$work/driver.out" 2>"$work/driver.log" ||
    fail "window_bench failed: $(tail -n5 "$work/driver.log")"
worst() { awk -v key="$1" '$1 == key { if ($2 > m) m = $2 } END { print m + 0 }' "$work/driver.out"; }
grep -q '^stall ' "$work/driver.out" || fail "window_bench printed no figures"

print_table_head "Vaultrix slow-share benchmark: $driver" 56
print_figure "longest stall of the window (worst of $runs)" "$(worst stall)" 100 ms
print_figure "details shown after the click (worst)" "$(worst details)" 100 ms
print_figure "warning after the click, share answers in 10 s (worst)" "$(worst warning)" 11000 ms
print_figure "destination picture after the selection (worst)" "$(worst folder)" 11000 ms
exit "$missed"
