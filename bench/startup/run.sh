#!/usr/bin/env bash
# Start-up benchmark: starts the real program on a virtual X display with 20 stored backup
# sets and measures
#   - the time from the start of the process to the main window shown (target < 400 ms),
#   - the CPU time used while idle over 30 s (target < 0.5 % of one core),
#   - the peak resident memory, VmHWM (target < 80 MiB).
# The start is measured several times (the first start reads the libraries from disk); the
# median counts. The last start stays up for the idle and memory measurement.
#
# Usage: bench/startup/run.sh [path/to/vaultrix]      (default: build/vaultrix)
#   BENCH_STARTS=5 BENCH_IDLE_SECONDS=30 bench/startup/run.sh
# Exit status: 0 all targets met, 1 a target missed, 2 the measurement failed.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$repo/bench/common.sh"
program=$(realpath "${1:-$repo/build/vaultrix}")
starts=${BENCH_STARTS:-3}
idle_seconds=${BENCH_IDLE_SECONDS:-30}
start_timeout_ms=${BENCH_START_TIMEOUT_MS:-20000}
set_count=20

require_built "$program" program

# --- the data folder: 20 sets written with the bytes the program itself writes -------------
# Windows-1252 text with CR LF line ends; "save.ini" has one section per set, separated by an
# empty line.
data="$work/data"
mkdir -p "$data/quelle" "$data/ziel"
for i in $(seq 1 5); do
    head -c $((i * 4096)) /dev/zero >"$data/quelle/datei$i.bin"
done
days=("t\xe4glich" Montag Dienstag Mittwoch Donnerstag Freitag Sonnabend Sonntag)
write_set_names "$data/savename.ini" "$set_count"
{
    for i in $(seq 1 "$set_count"); do
        [ "$i" -gt 1 ] && printf '\r\n'
        printf '[Sicherung %02d]\r\n' "$i"
        printf 'von_0=%s\r\n' "$data/quelle/datei$((i % 5 + 1)).bin"
        printf 'von_1=%s\r\n' "$data/quelle"
        printf 'nach=%s\r\n' "$data/ziel"
        printf "wann=${days[$((i % 8))]}\r\n"
        printf 'zeit=%02d:%02d\r\n' "$due_hour" $((i * 2))
        if [ $((i % 4)) -eq 0 ]; then printf 'aktiv=nein\r\n'; else printf 'aktiv=ja\r\n'; fi
    done
} >"$data/save.ini"

start_virtual_display

# True once a viewable top-level window whose title starts with "Vaultrix 1.0" exists.
main_window_shown() {
    local id
    for id in $(xwininfo -root -children 2>/dev/null |
        sed -n 's/^ *\(0x[0-9a-f]*\) "Vaultrix 1\.0.*/\1/p'); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
    done
    return 1
}

# User and system time of the process in clock ticks: fields 14 and 15 of /proc/<pid>/stat.
# The name in field 2 may hold blanks, so fields are counted after its closing parenthesis.
cpu_ticks() {
    sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

# --- measure ---------------------------------------------------------------------------------
times=()
for run in $(seq 1 "$starts"); do
    start_program_until main_window_shown "$start_timeout_ms" 0.005 "its main window"
    times+=("$waited_ms")
    echo "start $run: $waited_ms ms" >&2
    [ "$run" -lt "$starts" ] && stop_program
done
median_ms=$(median "${times[@]}")

# Let the start settle (first paints, the first status tick) before idling is measured.
sleep 2
ticks_per_second=$(getconf CLK_TCK)
ticks_before=$(cpu_ticks "$program_pid")
sleep "$idle_seconds"
kill -0 "$program_pid" 2>/dev/null || fail "the program ended while idle"
ticks_after=$(cpu_ticks "$program_pid")
peak_kib=$(awk '/^VmHWM:/ { print $2 }' "/proc/$program_pid/status")
stop_program

idle_percent=$(awk -v t=$((ticks_after - ticks_before)) -v hz="$ticks_per_second" \
    -v s="$idle_seconds" 'BEGIN { printf "%.2f", 100 * t / hz / s }')
peak_mib=$(awk -v k="$peak_kib" 'BEGIN { printf "%.1f", k / 1024 }')

# --- report ----------------------------------------------------------------------------------
print_table_head "Vaultrix start-up benchmark: $set_count stored sets, $program" 34
print_figure "start to main window (median of $starts)" "$median_ms" 400 ms
print_figure "CPU while idle ($idle_seconds s)" "$idle_percent" 0.5 %
print_figure "peak resident memory (VmHWM)" "$peak_mib" 80 MiB
printf '\nstarts: %s ms\n' "${times[*]}"
exit "$missed"
