#!/usr/bin/env bash
# Times the copy operation against `cp -a` and `rsync -a` on three generated trees:
#   (a) one 1 GiB file, (b) 20,000 files of 4 KiB in 200 folders, (c) a mixed tree.
# Full copies go into empty destinations; the repeated run copies the unchanged tree again
# (overwrite method) and is compared with a repeated `rsync -a`. The copy runs once alone and
# once with the counting walk of a backup run beside it, to show what the walk costs. Runs
# alternate between the tools; the tables show medians of REPS runs, the ratios and the peak
# resident memory.
# One more row: the unchanged repeat of the mixed tree onto a FAT32 image mounted with fusefat
# (as a desktop mounts a USB stick), against the same repeat on the bench's own file system.
# That row needs root (to mount the image) and the packages fusefat and dosfstools; without
# them it is skipped with a message.
# A fourth part copies onto a stand-in for a network share (slow_share.py: a passthrough FUSE
# file system that waits 1 ms on every operation, mounted over a folder of the data dir):
# 2,000 files of 4 KiB in 20 folders, against `cp -a`, 8 parallel `cp -a` (split by folder) and
# `rsync -a`, first copies and unchanged repeats.
# Usage: bench/copy/run.sh [REPS]
# Environment: VAULTRIX_BENCH_DIR for the data folder, VAULTRIX_BENCH_TREES to time only some
# of the trees and the share (default "a b c share"), VAULTRIX_BENCH_SHARE_REPS for the runs
# on the share (1 by default: each `cp -a` there takes tens of seconds).
set -euo pipefail
cd "$(dirname "$0")/../.."
reps=${1:-3}

# The tools compared with, installed when missing.
missing=()
command -v rsync >/dev/null || missing+=(rsync)
[ -x /usr/bin/time ] || missing+=(time)
/usr/bin/python3 -c 'import fusepy' 2>/dev/null || missing+=(python3-fusepy)
command -v fusermount >/dev/null || missing+=(fuse3)
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVAULTRIX_BUILD_UI=OFF \
    -DVAULTRIX_BUILD_TESTS=OFF -DVAULTRIX_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target copy_bench >/dev/null
driver=$PWD/$build/bench/copy_bench

# Source and destinations on one file system, as a backup to a folder beside the data is.
work=${VAULTRIX_BENCH_DIR:-$(mktemp -d /var/tmp/vaultrix-bench.XXXXXX)}
mkdir -p "$work"
share_pid=""
fat_mount=""
cleanup() {
    [ -n "$fat_mount" ] && fusermount -u "$fat_mount"
    if [ -n "$share_pid" ]; then
        fusermount -u "$work/share" 2>/dev/null || true
        wait "$share_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
echo "Data in $work on $(df -T "$work" | awk 'NR==2 {print $2}'); $reps runs per tool."

make_trees() {
    mkdir -p "$work/a/Gross" "$work/b/Klein" "$work/c/Gemischt"
    head -c 1G /dev/urandom >"$work/a/Gross/daten.bin"

    head -c $((100 * 4096)) /dev/urandom >"$work/blob"
    for d in $(seq -w 0 199); do
        mkdir "$work/b/Klein/ordner$d"
        (cd "$work/b/Klein/ordner$d" && split -b 4096 -a 2 -d "$work/blob" datei)
    done

    local c=$work/c/Gemischt
    head -c 50M /dev/urandom >"$c/video1.bin"
    head -c 120M /dev/urandom >"$c/video2.bin"
    head -c 200M /dev/urandom >"$c/archiv.bin"
    head -c $((100 * 64 * 1024)) /dev/urandom >"$work/blob"
    local i=0
    for x in 1 2 3 4; do
        for y in 1 2 3 4 5; do
            for z in 1 2 3; do
                local f=$c/Projekt$x/Teil$y/Stufe$z
                mkdir -p "$f" "$c/Projekt$x/Leer$y"
                head -c $(((i % 64 + 1) * 1024 * 100)) "$work/blob" >"$work/part"
                (cd "$f" && split -n 100 -a 2 -d "$work/part" .datei && touch -d '2020-01-01' .datei*)
                i=$((i + 1))
            done
        done
    done
    ln -s Projekt1 "$c/verweis"
    rm -f "$work/blob" "$work/part"
    sync
}

# Runs the command, appends its seconds (ns precision) to the named file and its peak
# resident memory in KiB to the same file with ".rss".
timed() {
    local out=$1
    shift
    sync
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$out.rss.tmp" "$@" >>"$out.out"
    end=$(date +%s%N)
    awk -v s="$start" -v e="$end" 'BEGIN {printf "%.3f\n", (e - s) / 1e9}' >>"$out"
    cat "$out.rss.tmp" >>"$out.rss"
    rm -f "$out.rss.tmp"
}

median() { sort -n "$1" | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

make_trees
results=$work/results
mkdir -p "$results"
# vx: the copy alone; vxc: the copy with the counting walk beside it.
tools=(vx vxc cp rsync)
repeaters=(vx vxc rsync)
trees_and_share=${VAULTRIX_BENCH_TREES:-a b c share}
trees=$(echo "$trees_and_share" | tr ' ' '\n' | grep -v '^share$' | tr '\n' ' ' || true)
for tree in $trees; do
    src=$(ls -d "$work/$tree"/*)
    for r in $(seq 1 "$reps"); do
        # Rotate the order so no tool always runs first on a warm cache.
        for k in 0 1 2 3; do
            tool=${tools[$(((k + r) % 4))]}
            dest=$work/dest-$tree-$tool
            rm -rf "$dest"
            mkdir "$dest"
            case $tool in
                vx) timed "$results/$tree-vx-full" "$driver" "$src" "$dest" ;;
                vxc) timed "$results/$tree-vxc-full" "$driver" --count "$src" "$dest" ;;
                cp) timed "$results/$tree-cp-full" cp -a "$src" "$dest/" ;;
                rsync) timed "$results/$tree-rsync-full" rsync -a "$src" "$dest/" ;;
            esac
        done
        if [ "$r" -eq 1 ]; then
            diff -r --no-dereference "$src" "$work/dest-$tree-vx/$(basename "$src")" >/dev/null ||
                { echo "copy of tree $tree differs from its source" >&2; exit 1; }
            # The walk's total is what the copy did, or it was stopped when the copy ended first.
            awk '/counted_files/ {
                    for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] }
                    if (v["files"] != v["counted_files"] || v["bytes"] != v["counted_bytes"]) exit 1
                 }' "$results/$tree-vxc-full.out" ||
                { echo "the counting walk of tree $tree disagrees with the copy" >&2; exit 1; }
        fi
        for k in 0 1 2; do
            tool=${repeaters[$(((k + r) % 3))]}
            case $tool in
                vx) timed "$results/$tree-vx-repeat" "$driver" "$src" "$work/dest-$tree-vx" ;;
                vxc) timed "$results/$tree-vxc-repeat" "$driver" --count "$src" "$work/dest-$tree-vxc" ;;
                rsync) timed "$results/$tree-rsync-repeat" rsync -a "$src" "$work/dest-$tree-rsync/" ;;
            esac
        done
    done
    rm -rf "$work"/dest-"$tree"-*
done

# The FAT row: the full copy once, then the repeats alternating with those on the bench's own
# file system, and what one more repeat writes onto FAT, counted with inotify.
fat_skip=""
if [[ " $trees " != *" c "* ]]; then
    fat_skip="the mixed tree (c) is not timed"
elif [ "$(id -u)" -ne 0 ]; then
    fat_skip="mounting the FAT image needs root"
elif ! command -v fusefat >/dev/null || ! command -v mkfs.vfat >/dev/null; then
    fat_skip="fusefat or mkfs.vfat missing (packages fusefat, dosfstools)"
fi
if [ -z "$fat_skip" ]; then
    src=$work/c/Gemischt
    # FAT holds no links: the tree's link waits outside while this row runs.
    mv "$src/verweis" "$work/verweis"
    truncate -s 1G "$work/fat.img"
    mkfs.vfat -F 32 "$work/fat.img" >/dev/null
    mkdir "$work/fat" "$work/dest-fat-own"
    # Larger writes only speed up the first copy, which is not timed; the repeat writes nothing.
    fusefat -o rw+,big_writes "$work/fat.img" "$work/fat" >/dev/null 2>&1
    fat_mount=$work/fat
    "$driver" "$src" "$work/fat" >/dev/null
    "$driver" "$src" "$work/dest-fat-own" >/dev/null
    diff -r "$src" "$work/fat/$(basename "$src")" >/dev/null ||
        { echo "copy of tree c onto FAT differs from its source" >&2; exit 1; }
    # The floor: find reading the size and time of every entry on the FAT mount, as any repeat
    # must; the driver answers each look-up by reading the directory from the image.
    for r in $(seq 1 "$reps"); do
        for k in 0 1 2; do
            case $(((k + r) % 3)) in
                0) timed "$results/fat-repeat" "$driver" "$src" "$work/fat" ;;
                1) timed "$results/fat-own-repeat" "$driver" "$src" "$work/dest-fat-own" ;;
                2) timed "$results/fat-find" find "$work/fat/$(basename "$src")" -printf '%s %T@\n' ;;
            esac
        done
    done
    fat_writes="not counted (inotifywait missing)"
    if command -v inotifywait >/dev/null; then
        inotifywait -q -m -r -e modify,attrib,create,delete,moved_to "$work/fat" \
            >"$work/fat.events" 2>/dev/null &
        watcher=$!
        sleep 2  # the watches on every folder are set up before the run starts
        "$driver" "$src" "$work/fat" >/dev/null
        sleep 2  # the last events are read before the watcher ends
        kill "$watcher"
        wait "$watcher" 2>/dev/null || true
        # The probe of the destination's traits writes under a temporary name in the root.
        fat_writes=$(grep -cv "^$work/fat/ .*\.vxtmp\$" "$work/fat.events" || true)
    fi
    fusermount -u "$work/fat"
    fat_mount=""
    mv "$work/verweis" "$src/verweis"
fi

# The name a tree goes by in the tables.
tree_name() {
    case $1 in
        a) echo "(a) 1 GiB file" ;;
        b) echo "(b) 20,000 x 4 KiB" ;;
        c) echo "(c) mixed" ;;
    esac
}

echo
echo "Medians in seconds (page cache not dropped between runs: not possible here)."
printf '%-26s %9s %9s %9s %9s %10s %11s %12s %9s\n' tree "copy" "cp -a" "rsync -a" "copy/cp" \
    "repeat" "rsync rep." "repeat/rsync" "peak MiB"
for tree in $trees; do
    name=$(tree_name "$tree")
    vx=$(median "$results/$tree-vx-full")
    cp=$(median "$results/$tree-cp-full")
    rs=$(median "$results/$tree-rsync-full")
    vr=$(median "$results/$tree-vx-repeat")
    rr=$(median "$results/$tree-rsync-repeat")
    rss=$(cat "$results/$tree-vx-full.rss" "$results/$tree-vx-repeat.rss" | sort -n | tail -1)
    awk -v n="$name" -v vx="$vx" -v cp="$cp" -v rs="$rs" -v vr="$vr" -v rr="$rr" -v rss="$rss" \
        'BEGIN {printf "%-26s %9.3f %9.3f %9.3f %9.2f %10.3f %11.3f %12.2f %9.1f\n",
                n, vx, cp, rs, vx / cp, vr, rr, vr / rr, rss / 1024}'
done
echo
echo "Fastest runs (the floor, less disturbed by other load on the machine):"
for tree in $trees; do
    awk -v t="$tree" -v vx="$(sort -n "$results/$tree-vx-full" | head -1)" \
        -v cp="$(sort -n "$results/$tree-cp-full" | head -1)" \
        -v vr="$(sort -n "$results/$tree-vx-repeat" | head -1)" \
        -v rr="$(sort -n "$results/$tree-rsync-repeat" | head -1)" \
        'BEGIN {printf "(%s) copy %.3f  cp -a %.3f  copy/cp %.2f   repeat %.3f  rsync %.3f  repeat/rsync %.2f\n",
                t, vx, cp, vx / cp, vr, rr, vr / rr}'
done
echo "Targets: copy/cp <= 1.05, repeat/rsync <= 1.00, peak memory of the copy < 32 MiB."
echo
echo "The unchanged repeat of the mixed tree (without its link) onto FAT32 through fusefat,"
echo "against the same repeat on $(df -T "$work" | awk 'NR==2 {print $2}'): medians and fastest runs in seconds."
if [ -n "$fat_skip" ]; then
    echo "Skipped: $fat_skip."
else
    awk -v f="$(median "$results/fat-repeat")" -v o="$(median "$results/fat-own-repeat")" \
        -v n="$(median "$results/fat-find")" \
        -v ff="$(sort -n "$results/fat-repeat" | head -1)" \
        -v fo="$(sort -n "$results/fat-own-repeat" | head -1)" \
        'BEGIN {printf "%-26s %9s %9s %9s %9s %11s %9s\n", "", "FAT", "own", "FAT/own", "fastest",
                       "find on FAT", "FAT/find"
                printf "%-26s %9.3f %9.3f %9.2f %9.2f %11.3f %9.2f\n", "(c) mixed, repeat", f, o,
                       f / o, ff / fo, n, f / n}'
    echo "Entries written onto FAT by one more repeat (inotify events): $fat_writes"
    echo "Target: FAT/own <= 1.50, nothing written."
fi
echo
echo "The counting walk beside the copy: medians in seconds, ratios to the copy alone, and the"
echo "fastest runs' ratios; how often the walk was through before the copy ended."
printf '%-26s %9s %9s %9s %9s %11s %9s %9s %9s %9s\n' tree "copy" "+walk" "ratio" "fastest" \
    "repeat" "+walk" "ratio" "fastest" "peak MiB"
for tree in $trees; do
    name=$(tree_name "$tree")
    vx=$(median "$results/$tree-vx-full")
    vc=$(median "$results/$tree-vxc-full")
    vr=$(median "$results/$tree-vx-repeat")
    vcr=$(median "$results/$tree-vxc-repeat")
    rss=$(cat "$results/$tree-vxc-full.rss" "$results/$tree-vxc-repeat.rss" | sort -n | tail -1)
    awk -v n="$name" -v vx="$vx" -v vc="$vc" -v vr="$vr" -v vcr="$vcr" -v rss="$rss" \
        -v fx="$(sort -n "$results/$tree-vx-full" | head -1)" \
        -v fc="$(sort -n "$results/$tree-vxc-full" | head -1)" \
        -v fr="$(sort -n "$results/$tree-vx-repeat" | head -1)" \
        -v fcr="$(sort -n "$results/$tree-vxc-repeat" | head -1)" \
        'BEGIN {printf "%-26s %9.3f %9.3f %9.3f %9.3f %11.3f %9.3f %9.3f %9.3f %9.1f\n",
                n, vx, vc, vc / vx, fc / fx, vr, vcr, vcr / vr, fcr / fr, rss / 1024}'
    for kind in full repeat; do
        printf '    %-6s walk through before the copy ended: %s of %s runs\n' "$kind" \
            "$(grep -c counted_files "$results/$tree-vxc-$kind.out" || true)" \
            "$(wc -l <"$results/$tree-vxc-$kind.out")"
    done
done
echo "Targets: +walk/copy <= 1.05, peak memory with the walk < 32 MiB."
echo
echo "Every run, in the order timed:"
for tree in $trees; do
    for kind in vx-full vxc-full cp-full rsync-full vx-repeat vxc-repeat rsync-repeat; do
        printf '%s %-13s %s\n' "$tree" "$kind" "$(tr '\n' ' ' <"$results/$tree-$kind")"
    done
done
if [ -z "$fat_skip" ]; then
    for kind in fat-repeat fat-own-repeat fat-find; do
        printf 'c %-13s %s\n' "$kind" "$(tr '\n' ' ' <"$results/$kind")"
    done
fi


# The share stand-in: every operation waits 1 ms, as on a LAN; the files below it are on the
# data dir's disk.
time_share() {
    share_reps=${VAULTRIX_BENCH_SHARE_REPS:-1}
    mkdir -p "$work/share-below" "$work/share" "$work/s/Klein"
    /usr/bin/python3 bench/copy/slow_share.py "$work/share-below" "$work/share" 1 2>"$work/share.log" &
    share_pid=$!
    for _ in $(seq 1 100); do
        mountpoint -q "$work/share" && break
        sleep 0.1
    done
    mountpoint -q "$work/share" || { echo "the share stand-in did not mount: $(cat "$work/share.log")" >&2; exit 1; }
    head -c $((100 * 4096)) /dev/urandom >"$work/blob"
    for d in $(seq -w 0 19); do
        mkdir "$work/s/Klein/ordner$d"
        (cd "$work/s/Klein/ordner$d" && split -b 4096 -a 2 -d "$work/blob" datei)
    done
    rm -f "$work/blob"
    src=$work/s/Klein
    on_share=$work/share
    for r in $(seq 1 "$share_reps"); do
        rm -rf "${on_share:?}"/*
        mkdir "$on_share/cp" "$on_share/cp8" "$on_share/rsync" "$on_share/vx"
        timed "$results/share-cp-full" cp -a "$src" "$on_share/cp/"
        mkdir "$on_share/cp8/Klein"
        # Eight at once, one folder each in turn, as a parallel copy by hand would split them.
        timed "$results/share-cp8-full" sh -c "ls '$src' | xargs -P 8 -I{} cp -a '$src/{}' '$on_share/cp8/Klein/'"
        timed "$results/share-rsync-full" rsync -a "$src" "$on_share/rsync/"
        timed "$results/share-vx-full" "$driver" "$src" "$on_share/vx"
        timed "$results/share-rsync-repeat" rsync -a "$src" "$on_share/rsync/"
        timed "$results/share-vx-repeat" "$driver" "$src" "$on_share/vx"
        if [ "$r" -eq 1 ]; then
            diff -r "$src" "$work/share-below/vx/Klein" >/dev/null ||
                { echo "the copy onto the share differs from its source" >&2; exit 1; }
        fi
    done
    echo
    echo "Onto the share stand-in (1 ms per operation), 2,000 x 4 KiB in 20 folders; medians of"
    echo "$share_reps run(s) in seconds. The machine's cores are shared: repeat a run that looks noisy."
    cp=$(median "$results/share-cp-full")
    cp8=$(median "$results/share-cp8-full")
    rs=$(median "$results/share-rsync-full")
    vx=$(median "$results/share-vx-full")
    rr=$(median "$results/share-rsync-repeat")
    vr=$(median "$results/share-vx-repeat")
    awk -v cp="$cp" -v cp8="$cp8" -v rs="$rs" -v vx="$vx" -v rr="$rr" -v vr="$vr" 'BEGIN {
        printf "%-34s %9.3f\n", "cp -a", cp
        printf "%-34s %9.3f   %.2f x cp -a\n", "8 x cp -a in parallel", cp8, cp8 / cp
        printf "%-34s %9.3f   %.2f x cp -a\n", "rsync -a, first", rs, rs / cp
        printf "%-34s %9.3f   %.2f x cp -a   (target <= 0.40)\n", "copy, first", vx, vx / cp
        printf "%-34s %9.3f\n", "rsync -a, unchanged repeat", rr
        printf "%-34s %9.3f   %.2f x rsync -a (target <= 1.50)\n", "copy, unchanged repeat", vr, vr / rr
    }'
}
case " $trees_and_share " in *" share "*) time_share ;; esac
