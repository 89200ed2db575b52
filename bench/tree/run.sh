#!/usr/bin/env bash
# Folder tree benchmark: a folder of 100,000 files in the editor's tree, through the program's
# own window (offscreen). Targets:
#   - the window thread is never held up longer than 100 ms while the tree thread lists the
#     folder and the window inserts its entries (the longest stall, worst of the runs),
#   - all 100,000 entries stand in the tree within 3 s of opening its parent (median),
#   - opening the folder itself, with all its entries, takes under 200 ms (median).
#
# Usage: bench/tree/run.sh [build folder]      (default: build; build it first)
#   BENCH_RUNS=3 bench/tree/run.sh
# Exit status: 0 all targets met, 1 a target missed, 2 the measurement failed.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$repo/bench/common.sh"
build=$(realpath "${1:-$repo/build}")
driver=$build/bench/tree_bench
runs=${BENCH_RUNS:-3}

require_built "$driver" driver

QT_QPA_PLATFORM=offscreen "$driver" "$work" "$runs" >"$work/driver.out" 2>"$work/driver.log" ||
    fail "tree_bench failed: $(tail -n5 "$work/driver.log")"
listed=($(awk '$1 == "listed" { print $2 }' "$work/driver.out"))
stalls=($(awk '$1 == "stall" { print $2 }' "$work/driver.out"))
opens=($(awk '$1 == "open" { print $2 }' "$work/driver.out"))
[ ${#listed[@]} -gt 0 ] || fail "tree_bench printed no figures"

stall_worst=$(printf '%s\n' "${stalls[@]}" | sort -n | tail -n1)
listed_median=$(median "${listed[@]}")
open_median=$(median "${opens[@]}")

print_table_head "Vaultrix folder tree benchmark: $driver" 52
print_figure "longest stall of the window while listing (worst)" "$stall_worst" 100 ms
print_figure "100,000 entries in the tree (median of $runs)" "$listed_median" 3000 ms
print_figure "opening the folder of 100,000 entries (median)" "$open_median" 200 ms
printf '\nlisted: %s ms; stalls: %s ms; open: %s ms\n' "${listed[*]}" "${stalls[*]}" "${opens[*]}"
exit "$missed"
