# What the benchmark scripts share: failing, the work folder, a virtual display, starting the
# program and waiting for it, the stored set names, medians and the table of figures.
# Sourced by bench/<name>/run.sh; makes the work folder $work, removed again on exit.

# The measurement itself failed: exit status 2.
fail() {
    echo "bench: $*" >&2
    exit 2
}

# Fails unless the program or driver has been built: path, what it is.
require_built() {
    [ -x "$1" ] || fail "$2 not found: $1 (build it first: cmake --build build)"
}

work=$(mktemp -d "${TMPDIR:-/tmp}/vaultrix-bench.XXXXXX")
xvfb_pid=""
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Starts Xvfb (installing it and xwininfo when missing) and points DISPLAY at it.
start_virtual_display() {
    local need=()
    command -v Xvfb >/dev/null || need+=(xvfb)
    command -v xwininfo >/dev/null || need+=(x11-utils)
    if [ ${#need[@]} -gt 0 ]; then
        local sudo_cmd=()
        [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
        "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}"
    fi
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
}

# Starts $program in the folder $data and looks until the command `sign` succeeds: sign, the
# limit in milliseconds, the pause between two looks in seconds, what is awaited. Sets
# program_pid and waited_ms, the milliseconds from the start of the process to the sign.
start_program_until() {
    local started elapsed
    started=$(now_ms)
    (cd "$data" && exec "$program") >"$work/program.log" 2>&1 &
    program_pid=$!
    while ! "$1"; do
        kill -0 "$program_pid" 2>/dev/null ||
            fail "the program ended before it showed $4: $(tail -n5 "$work/program.log")"
        elapsed=$(($(now_ms) - started))
        [ "$elapsed" -lt "$2" ] || fail "no sign of $4 after $elapsed ms"
        sleep "$3"
    done
    waited_ms=$(($(now_ms) - started))
}

stop_program() {
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    program_pid=""
}

# An hour two hours ahead for the stored sets' times, so no set falls due while measured.
due_hour=$(((10#$(date +%H) + 2) % 24))

# "savename.ini" with the bytes the program itself writes (Windows-1252, CR LF): the names
# "Sicherung 01" … "Sicherung 20", numbered with as many digits as the count has, the newest
# directly below the header.
write_set_names() { # file, count
    awk -v n="$2" -v width="${#2}" 'BEGIN {
        name = "name_%d=Sicherung %0" width "d\r\n"
        printf "[SICHERUNG]\r\n"
        for (i = n; i >= 1; i--) printf name, i, i
        printf "\r\n[NUMMER]\r\nwert=%d\r\n", n
    }' >"$1"
}

# The table of figures: a title and the width of the measurement column, then one row a
# figure. A figure meets its target when it is below it; a missed one sets `missed` to 1, the
# exit status the script ends with.
missed=0
label_width=40
print_table_head() { # title, width of the measurement column
    label_width=$2
    printf '\n%s\n\n' "$1"
    printf "%-${label_width}s %12s %12s  %s\n" measurement value target result
}
print_figure() { # measurement, value, target, unit
    local result=ok
    awk -v v="$2" -v t="$3" 'BEGIN { exit !(v < t) }' || {
        result=MISSED
        missed=1
    }
    printf "%-${label_width}s %12s %12s  %s\n" "$1" "$2 $4" "< $3 $4" "$result"
}
