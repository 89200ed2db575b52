#!/usr/bin/env bash
# Installs what is missing, builds and starts Vaultrix in its data folder, which lies outside
# the source tree and persists between runs. The program reads and writes its files in the
# folder it starts in.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
cd "$source_dir"

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target vaultrix

# The folder the installed launcher (packaging/vaultrix-start) chooses.
case ${XDG_DATA_HOME:-} in
/*) data_dir=$XDG_DATA_HOME/Vaultrix ;;
*) data_dir=$HOME/.local/share/Vaultrix ;;
esac
mkdir -p "$data_dir"
# The tutorial that "Einleitung" and "Tutorial" open lies below the data folder.
if [ ! -d "$data_dir/Tutorial" ]; then
    cp -r resources/Tutorial "$data_dir/Tutorial"
fi
cd "$data_dir"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: Vaultrix runs on a virtual display (xvfb-run); scheduled backups still run."
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$source_dir/build/vaultrix"
fi
exec "$source_dir/build/vaultrix"
