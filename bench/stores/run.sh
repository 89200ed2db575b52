#!/usr/bin/env bash
# Stored-file benchmark: the targets for large data files, measured on a virtual X display:
#   - with 10,000 stored sets, the real program shows its status in the caption within 1 s of
#     the start of its process (the median of several starts counts); the same with one more
#     set whose name is 5 MB long,
#   - appending one record to a 50 MB save.log takes under 2 s (the record and the trim),
#   - the log page with a 50 MB save.log is shown and painted within 1 s,
#   - with 10,000 stored sets, deleting, saving and renaming one set each keep the window
#     thread under 0.3 s (the whole command: the files, the log record, the list, the schedule
#     and the details).
# The last three run through the program's own code in the driver store_bench.
#
# Usage: bench/stores/run.sh [build folder]      (default: build; build it first)
#   BENCH_STARTS=3 BENCH_RUNS=3 bench/stores/run.sh
# Exit status: 0 all targets met, 1 a target missed, 2 the measurement failed.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$repo/bench/common.sh"
build=$(realpath "${1:-$repo/build}")
program=$build/vaultrix
driver=$build/bench/store_bench
starts=${BENCH_STARTS:-3}
runs=${BENCH_RUNS:-3}
set_count=10000
caption_timeout_ms=${BENCH_CAPTION_TIMEOUT_MS:-30000}

require_built "$program" program
require_built "$driver" driver

# --- 10,000 sets, written with the bytes the program itself writes ---------------------------
# Windows-1252 with CR LF. The sources and the destination exist, so the details of the
# selected set warn about nothing.
data="$work/data"
mkdir -p "$data/quelle" "$data/ziel"
write_set_names "$data/savename.ini" "$set_count"
awk -v n="$set_count" -v data="$data" -v hour="$due_hour" 'BEGIN {
    split("t\344glich Montag Dienstag Mittwoch Donnerstag Freitag Sonnabend Sonntag", days, " ")
    for (i = 1; i <= n; i++) {
        if (i > 1) printf "\r\n"
        printf "[Sicherung %05d]\r\nvon_0=%s/quelle\r\nnach=%s/ziel\r\n", i, data, data
        printf "wann=%s\r\nzeit=%02d:%02d\r\naktiv=%s\r\n", days[i % 8 + 1], hour, i % 60,
            (i % 4 == 0 ? "nein" : "ja")
    }
}' >"$data/save.ini"

# The same sets and one more, listed first, whose name is 5 MB long.
long_data="$work/long"
mkdir -p "$long_data"
long_name=$(head -c 5242880 /dev/zero | tr '\0' 'x')
{
    printf '[SICHERUNG]\r\nname_%d=%s\r\n' $((set_count + 1)) "$long_name"
    tail -n +2 "$data/savename.ini" | sed "s/^wert=$set_count/wert=$((set_count + 1))/"
} >"$long_data/savename.ini"
{
    cat "$data/save.ini"
    printf '\r\n[%s]\r\nvon_0=%s/quelle\r\nnach=%s/ziel\r\nwann=Montag\r\nzeit=%02d:00\r\n' \
        "$long_name" "$data" "$data" "$due_hour"
    printf 'aktiv=ja\r\n'
} >"$long_data/save.ini"

start_virtual_display

# True once a top-level window's title is "Vaultrix 1.0 - " and a status: the caption before
# the first status is "Vaultrix 1.0" alone.
caption_shows_status() {
    xwininfo -root -children 2>/dev/null | grep -q '^ *0x[0-9a-f]* "Vaultrix 1\.0 - '
}

# --- measure ---------------------------------------------------------------------------------
captions=()
for run in $(seq 1 "$starts"); do
    start_program_until caption_shows_status "$caption_timeout_ms" 0.002 "a status in its caption"
    stop_program
    captions+=("$waited_ms")
    echo "start $run: status in the caption after $waited_ms ms" >&2
done
long_captions=()
sets_data=$data
data=$long_data
for run in $(seq 1 "$starts"); do
    start_program_until caption_shows_status "$caption_timeout_ms" 0.002 "a status in its caption"
    stop_program
    long_captions+=("$waited_ms")
    echo "start $run with a 5 MB name: status in the caption after $waited_ms ms" >&2
done
data=$sets_data

mkdir -p "$work/log"
"$driver" "$work/log" "$runs" "$data" >"$work/driver.out" 2>"$work/driver.log" ||
    fail "store_bench failed: $(tail -n5 "$work/driver.log")"
appends=($(awk '$1 == "append" { print $2 }' "$work/driver.out"))
pages=($(awk '$1 == "logpage" { print $2 }' "$work/driver.out"))
deletes=($(awk '$1 == "delete" { print $2 }' "$work/driver.out"))
saves=($(awk '$1 == "save" { print $2 }' "$work/driver.out"))
renames=($(awk '$1 == "rename" { print $2 }' "$work/driver.out"))
[ ${#appends[@]} -gt 0 ] && [ ${#pages[@]} -gt 0 ] && [ ${#deletes[@]} -gt 0 ] &&
    [ ${#saves[@]} -gt 0 ] && [ ${#renames[@]} -gt 0 ] || fail "store_bench printed no figures"

caption_median=$(median "${captions[@]}")
append_median=$(median "${appends[@]}")
page_median=$(median "${pages[@]}")
long_median=$(median "${long_captions[@]}")
delete_median=$(median "${deletes[@]}")
save_median=$(median "${saves[@]}")
rename_median=$(median "${renames[@]}")

# --- report ----------------------------------------------------------------------------------
print_table_head "Vaultrix stored-file benchmark: $program" 56
print_figure "10,000 sets: status in the caption (median of $starts)" "$caption_median" 1000 ms
print_figure "and a 5 MB name: status in the caption (median of $starts)" "$long_median" 1000 ms
print_figure "append a record to a 50 MB log (median of $runs)" "$append_median" 2000 ms
print_figure "log page with a 50 MB log shown (median of $runs)" "$page_median" 1000 ms
print_figure "10,000 sets: delete one (median of $runs)" "$delete_median" 300 ms
print_figure "10,000 sets: save one (median of $runs)" "$save_median" 300 ms
print_figure "10,000 sets: rename one (median of $runs)" "$rename_median" 300 ms
printf '\ncaption: %s ms; with a 5 MB name: %s ms; append: %s ms; log page: %s ms\n' \
    "${captions[*]}" "${long_captions[*]}" "${appends[*]}" "${pages[*]}"
printf 'delete: %s ms; save: %s ms; rename: %s ms\n' "${deletes[*]}" "${saves[*]}" "${renames[*]}"
exit "$missed"
