#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test (core and widgets, headless).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
build_dir=${VAULTRIX_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${VAULTRIX_BUILD_TYPE:-RelWithDebInfo} \
    ${VAULTRIX_CMAKE_ARGS:-}
cmake --build "$build_dir"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" --timeout 300
