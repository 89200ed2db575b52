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
program=$(realpath "${1:-$repo/build/vaultrix}")
starts=${BENCH_STARTS:-3}
idle_seconds=${BENCH_IDLE_SECONDS:-30}
start_timeout_ms=${BENCH_START_TIMEOUT_MS:-20000}
set_count=20

fail() {
    echo "bench: $*" >&2
    exit 2
}

[ -x "$program" ] || fail "program not found: $program (build it first: cmake --build build)"

need=()
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xwininfo >/dev/null || need+=(x11-utils)
if [ ${#need[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/vaultrix-bench.XXXXXX")
xvfb_pid=""
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# --- the data folder: 20 sets written with the bytes the program itself writes -------------
# Windows-1252 text with CR LF line ends. "savename.ini" has the newest name directly below
# its header; "save.ini" one section per set, separated by an empty line.
data="$work/data"
mkdir -p "$data/quelle" "$data/ziel"
for i in $(seq 1 5); do
    head -c $((i * 4096)) /dev/zero >"$data/quelle/datei$i.bin"
done
# Times two hours ahead, so no set falls due while the program is measured.
due_hour=$(((10#$(date +%H) + 2) % 24))
days=("t\xe4glich" Montag Dienstag Mittwoch Donnerstag Freitag Sonnabend Sonntag)
{
    printf '[SICHERUNG]\r\n'
    for i in $(seq "$set_count" -1 1); do
        printf 'name_%d=Sicherung %02d\r\n' "$i" "$i"
    done
    printf '\r\n[NUMMER]\r\nwert=%d\r\n' "$set_count"
} >"$data/savename.ini"
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

# --- a virtual display ---------------------------------------------------------------------
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 200); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    sleep 0.05
done
[ -s "$work/display" ] || fail "Xvfb gave no display number"
export DISPLAY=":$(head -n1 "$work/display")"
unset QT_QPA_PLATFORM

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# True once a viewable top-level window whose title starts with "Vaultrix 1.0" exists.
main_window_shown() {
    local id
    for id in $(xwininfo -root -children 2>/dev/null |
        sed -n 's/^ *\(0x[0-9a-f]*\) "Vaultrix 1\.0.*/\1/p'); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
    done
    return 1
}

# Starts the program in the data folder; sets program_pid and start_ms, the milliseconds from
# the start of the process to its main window shown.
start_program() {
    local started elapsed
    started=$(now_ms)
    (cd "$data" && exec "$program") >"$work/program.log" 2>&1 &
    program_pid=$!
    while ! main_window_shown; do
        kill -0 "$program_pid" 2>/dev/null ||
            fail "the program ended before its window appeared: $(tail -n5 "$work/program.log")"
        elapsed=$(($(now_ms) - started))
        [ "$elapsed" -lt "$start_timeout_ms" ] || fail "no main window after $elapsed ms"
        sleep 0.005
    done
    start_ms=$(($(now_ms) - started))
}

stop_program() {
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    program_pid=""
}

# User and system time of the process in clock ticks: fields 14 and 15 of /proc/<pid>/stat.
# The name in field 2 may hold blanks, so fields are counted after its closing parenthesis.
cpu_ticks() {
    sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

# --- measure ---------------------------------------------------------------------------------
times=()
for run in $(seq 1 "$starts"); do
    start_program
    times+=("$start_ms")
    echo "start $run: $start_ms ms" >&2
    [ "$run" -lt "$starts" ] && stop_program
done
median_ms=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')

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
verdict() {  # value target: "ok" when value < target
    if awk -v v="$1" -v t="$2" 'BEGIN { exit !(v < t) }'; then echo ok; else echo MISSED; fi
}
start_verdict=$(verdict "$median_ms" 400)
idle_verdict=$(verdict "$idle_percent" 0.5)
memory_verdict=$(verdict "$peak_mib" 80)
missed=0
[ "$start_verdict$idle_verdict$memory_verdict" = okokok ] || missed=1

printf '\nVaultrix start-up benchmark: %d stored sets, %s\n\n' "$set_count" "$program"
printf '%-34s %14s %12s  %s\n' measurement value target result
printf '%-34s %14s %12s  %s\n' "start to main window (median of $starts)" "$median_ms ms" \
    "< 400 ms" "$start_verdict"
printf '%-34s %14s %12s  %s\n' "CPU while idle ($idle_seconds s)" "$idle_percent %" "< 0.5 %" \
    "$idle_verdict"
printf '%-34s %14s %12s  %s\n' "peak resident memory (VmHWM)" "$peak_mib MiB" "< 80 MiB" \
    "$memory_verdict"
printf '\nstarts: %s ms\n' "${times[*]}"
exit "$missed"
