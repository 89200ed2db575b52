#!/usr/bin/env bash
# Stored-file benchmark: the three targets for large data files, measured on a virtual X
# display:
#   - with 10,000 stored sets, the real program shows its status in the caption within 1 s of
#     the start of its process (the median of several starts counts),
#   - appending one record to a 50 MB save.log takes under 2 s (the record and the trim),
#   - the log page with a 50 MB save.log is shown and painted within 1 s.
# The last two run through the program's own code in the driver store_bench.
#
# Usage: bench/stores/run.sh [build folder]      (default: build; build it first)
#   BENCH_STARTS=3 BENCH_RUNS=3 bench/stores/run.sh
# Exit status: 0 all targets met, 1 a target missed, 2 the measurement failed.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$repo/build}")
program=$build/vaultrix
driver=$build/bench/store_bench
starts=${BENCH_STARTS:-3}
runs=${BENCH_RUNS:-3}
set_count=10000
caption_timeout_ms=${BENCH_CAPTION_TIMEOUT_MS:-30000}

fail() {
    echo "bench: $*" >&2
    exit 2
}

[ -x "$program" ] || fail "program not found: $program (build it first: cmake --build build)"
[ -x "$driver" ] || fail "driver not found: $driver (build it first: cmake --build build)"

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

# --- 10,000 sets, written with the bytes the program itself writes ---------------------------
# Windows-1252 with CR LF; "savename.ini" has the newest name directly below its header. The
# sources and the destination exist, so the details of the selected set warn about nothing;
# the times lie two hours ahead, so no set falls due while the program is measured.
data="$work/data"
mkdir -p "$data/quelle" "$data/ziel"
due_hour=$(((10#$(date +%H) + 2) % 24))
awk -v n="$set_count" 'BEGIN {
    printf "[SICHERUNG]\r\n"
    for (i = n; i >= 1; i--) printf "name_%d=Sicherung %05d\r\n", i, i
    printf "\r\n[NUMMER]\r\nwert=%d\r\n", n
}' >"$data/savename.ini"
awk -v n="$set_count" -v data="$data" -v hour="$due_hour" 'BEGIN {
    split("t\344glich Montag Dienstag Mittwoch Donnerstag Freitag Sonnabend Sonntag", days, " ")
    for (i = 1; i <= n; i++) {
        if (i > 1) printf "\r\n"
        printf "[Sicherung %05d]\r\nvon_0=%s/quelle\r\nnach=%s/ziel\r\n", i, data, data
        printf "wann=%s\r\nzeit=%02d:%02d\r\naktiv=%s\r\n", days[i % 8 + 1], hour, i % 60,
            (i % 4 == 0 ? "nein" : "ja")
    }
}' >"$data/save.ini"

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

# True once a top-level window's title is "Vaultrix 1.0 - " and a status: the caption before
# the first status is "Vaultrix 1.0" alone.
caption_shows_status() {
    xwininfo -root -children 2>/dev/null | grep -q '^ *0x[0-9a-f]* "Vaultrix 1\.0 - '
}

# Starts the program in the data folder and sets caption_ms, the milliseconds from the start
# of its process to the status in its caption.
measure_caption() {
    local started elapsed
    started=$(now_ms)
    (cd "$data" && exec "$program") >"$work/program.log" 2>&1 &
    program_pid=$!
    while ! caption_shows_status; do
        kill -0 "$program_pid" 2>/dev/null ||
            fail "the program ended before its caption showed a status: $(tail -n5 "$work/program.log")"
        elapsed=$(($(now_ms) - started))
        [ "$elapsed" -lt "$caption_timeout_ms" ] || fail "no status in the caption after $elapsed ms"
        sleep 0.002
    done
    caption_ms=$(($(now_ms) - started))
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    program_pid=""
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# --- measure ---------------------------------------------------------------------------------
captions=()
for run in $(seq 1 "$starts"); do
    measure_caption
    captions+=("$caption_ms")
    echo "start $run: status in the caption after $caption_ms ms" >&2
done

mkdir -p "$work/log"
"$driver" "$work/log" "$runs" >"$work/driver.out" 2>"$work/driver.log" ||
    fail "store_bench failed: $(tail -n5 "$work/driver.log")"
appends=($(awk '$1 == "append" { print $2 }' "$work/driver.out"))
pages=($(awk '$1 == "logpage" { print $2 }' "$work/driver.out"))
[ ${#appends[@]} -gt 0 ] && [ ${#pages[@]} -gt 0 ] || fail "store_bench printed no figures"

caption_median=$(median "${captions[@]}")
append_median=$(median "${appends[@]}")
page_median=$(median "${pages[@]}")

# --- report ----------------------------------------------------------------------------------
verdict() {  # value target: "ok" when value < target
    if [ "$1" -lt "$2" ]; then echo ok; else echo MISSED; fi
}
caption_verdict=$(verdict "$caption_median" 1000)
append_verdict=$(verdict "$append_median" 2000)
page_verdict=$(verdict "$page_median" 1000)
missed=0
[ "$caption_verdict$append_verdict$page_verdict" = okokok ] || missed=1

printf '\nVaultrix stored-file benchmark: %s\n\n' "$program"
printf '%-48s %10s %10s  %s\n' measurement value target result
printf '%-48s %10s %10s  %s\n' "10,000 sets: status in the caption (median of $starts)" \
    "$caption_median ms" "< 1000 ms" "$caption_verdict"
printf '%-48s %10s %10s  %s\n' "append a record to a 50 MB log (median of $runs)" \
    "$append_median ms" "< 2000 ms" "$append_verdict"
printf '%-48s %10s %10s  %s\n' "log page with a 50 MB log shown (median of $runs)" \
    "$page_median ms" "< 1000 ms" "$page_verdict"
printf '\ncaption: %s ms; append: %s ms; log page: %s ms\n' "${captions[*]}" "${appends[*]}" \
    "${pages[*]}"
exit "$missed"
