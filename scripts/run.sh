#!/usr/bin/env bash
# Installs what is missing, builds and starts Vaultrix in its data folder.
set -euo pipefail
cd "$(dirname "$0")/.."
echo "The program itself arrives with the main window; until then this only builds." >&2
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
