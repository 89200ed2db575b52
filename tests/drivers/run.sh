#!/usr/bin/env bash
# Backup runs onto FAT32, exFAT and NTFS images, mounted by the drivers a Linux desktop uses:
# fusefat, exfat-fuse through a loop device, ntfs-3g. Needs root (loop devices, mounts); CI runs
# as root. A missing driver is said and fails the script. Everything mounted is unmounted and
# detached again, whatever happens.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${VAULTRIX_BUILD_DIR:-build}
program=$build/tests/driver_run_tests

./scripts/install-deps.sh fusefat exfat-fuse exfatprogs ntfs-3g dosfstools inotify-tools fuse3
missing=()
for tool in fusefat mount.exfat-fuse ntfs-3g mkfs.vfat mkfs.exfat mkntfs losetup fusermount \
    inotifywait; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "drivers: missing: ${missing[*]}" >&2
    exit 1
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "drivers: must run as root (loop devices and mounts)" >&2
    exit 1
fi
if [ ! -x "$program" ]; then
    cmake -S . -B "$build" -G Ninja >/dev/null
    cmake --build "$build" --target driver_run_tests
fi

work=$(mktemp -d /dev/shm/vaultrix-drivers.XXXXXX)
loop=
cleanup() {
    for point in "$work"/mnt/*; do
        mountpoint -q "$point" 2>/dev/null && { fusermount -u "$point" || fusermount -u -z "$point"; }
    done
    [ -n "$loop" ] && losetup -d "$loop"
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work"/mnt/{fat,exfat,ntfs,pull}
mkfs.vfat -F 32 -C "$work/fat.img" $((40 * 1024)) >/dev/null
truncate -s 16M "$work/exfat.img" && mkfs.exfat "$work/exfat.img" >/dev/null
truncate -s 16M "$work/ntfs.img" && mkntfs -F -Q "$work/ntfs.img" >/dev/null 2>&1
truncate -s 16M "$work/pull.img" && mkntfs -F -Q "$work/pull.img" >/dev/null 2>&1

fusefat -o rw+ "$work/fat.img" "$work/mnt/fat"
loop=$(losetup -f --show "$work/exfat.img")
mount.exfat-fuse "$loop" "$work/mnt/exfat" >/dev/null
ntfs-3g "$work/ntfs.img" "$work/mnt/ntfs"
remount_pull="ntfs-3g '$work/pull.img' '$work/mnt/pull'"
eval "$remount_pull"

VAULTRIX_FAT_MOUNT=$work/mnt/fat VAULTRIX_EXFAT_MOUNT=$work/mnt/exfat \
    VAULTRIX_NTFS_MOUNT=$work/mnt/ntfs VAULTRIX_PULL_MOUNT=$work/mnt/pull \
    VAULTRIX_PULL_REMOUNT=$remount_pull "$program" "$@"
