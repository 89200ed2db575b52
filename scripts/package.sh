#!/usr/bin/env bash
# Builds the Debian package (vaultrix_1.0.0_amd64.deb) with CPack: the program, the launcher
# vaultrix-start, the desktop entry, the icons and the tutorial, its dependencies read from the
# program's libraries by dpkg-shlibdeps. Installs what is missing. Builds in build-package/
# (RelWithDebInfo as the tested build, no tests; CPack strips the program) unless
# VAULTRIX_PACKAGE_BUILD_DIR names another build folder, such as the tested build/ in CI. Prints
# the package's path and size last.
#
#   scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
# dpkg-shlibdeps and the file command, with which CPack finds the programs to read.
./scripts/install-deps.sh dpkg-dev file
build_dir=${VAULTRIX_PACKAGE_BUILD_DIR:-build-package}
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVAULTRIX_BUILD_TESTS=OFF -DVAULTRIX_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build_dir"

rm -f "$build_dir"/vaultrix_*.deb
(cd "$build_dir" && cpack -G DEB >cpack.log 2>&1) || { cat "$build_dir/cpack.log"; exit 1; }
deb=$(ls "$build_dir"/vaultrix_*.deb)
echo "package: $(realpath "$deb") ($(du -k "$deb" | cut -f1) KiB)"
