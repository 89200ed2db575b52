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
build=$(realpath "${1:-$repo/build}")
driver=$build/bench/tree_bench
runs=${BENCH_RUNS:-3}

fail() {
    echo "bench: $*" >&2
    exit 2
}
[ -x "$driver" ] || fail "driver not found: $driver (build it first: cmake --build build)"

work=$(mktemp -d "${TMPDIR:-/tmp}/vaultrix-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

QT_QPA_PLATFORM=offscreen "$driver" "$work" "$runs" >"$work/driver.out" 2>"$work/driver.log" ||
    fail "tree_bench failed: $(tail -n5 "$work/driver.log")"
listed=($(awk '$1 == "listed" { print $2 }' "$work/driver.out"))
stalls=($(awk '$1 == "stall" { print $2 }' "$work/driver.out"))
opens=($(awk '$1 == "open" { print $2 }' "$work/driver.out"))
[ ${#listed[@]} -gt 0 ] || fail "tree_bench printed no figures"

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
largest() { printf '%s\n' "$@" | sort -n | tail -n1; }
verdict() {  # value target: "ok" when value < target
    if [ "$1" -lt "$2" ]; then echo ok; else echo MISSED; fi
}
stall_worst=$(largest "${stalls[@]}")
listed_median=$(median "${listed[@]}")
open_median=$(median "${opens[@]}")
stall_verdict=$(verdict "$stall_worst" 100)
listed_verdict=$(verdict "$listed_median" 3000)
open_verdict=$(verdict "$open_median" 200)
missed=0
[ "$stall_verdict$listed_verdict$open_verdict" = okokok ] || missed=1

printf '\nVaultrix folder tree benchmark: %s\n\n' "$driver"
printf '%-52s %10s %10s  %s\n' measurement value target result
printf '%-52s %10s %10s  %s\n' "longest stall of the window while listing (worst)" \
    "$stall_worst ms" "< 100 ms" "$stall_verdict"
printf '%-52s %10s %10s  %s\n' "100,000 entries in the tree (median of $runs)" \
    "$listed_median ms" "< 3000 ms" "$listed_verdict"
printf '%-52s %10s %10s  %s\n' "opening the folder of 100,000 entries (median)" \
    "$open_median ms" "< 200 ms" "$open_verdict"
printf '\nlisted: %s ms; stalls: %s ms; open: %s ms\n' "${listed[*]}" "${stalls[*]}" "${opens[*]}"
exit "$missed"
