#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test (core and widgets, headless),
# and as root the backup runs onto FAT, exFAT and NTFS images through their Linux drivers.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
build_dir=${VAULTRIX_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${VAULTRIX_BUILD_TYPE:-RelWithDebInfo} \
    ${VAULTRIX_CMAKE_ARGS:-}
cmake --build "$build_dir"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" --timeout 300
if [ "$(id -u)" -eq 0 ]; then
    VAULTRIX_BUILD_DIR=$build_dir ./tests/drivers/run.sh
else
    echo "test: the runs onto FAT, exFAT and NTFS images need root (loop devices, mounts):" \
        "sudo ./tests/drivers/run.sh"
fi
