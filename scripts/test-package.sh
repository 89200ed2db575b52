#!/usr/bin/env bash
# The package check: builds the Debian package (scripts/package.sh), has lintian check it (no
# error, no warning), installs it with apt-get, has desktop-file-validate check the desktop entry,
# asks the installed program for --version and --help without a display, starts it through the
# installed launcher on a virtual display in a fresh home folder (in $XDG_DATA_HOME/Vaultrix, and
# in ~/.local/share/Vaultrix without that variable), ends it, removes the package and checks that
# nothing of it is left. The package is installed system-wide for the check: run it in CI or on a
# test machine.
#
#   scripts/test-package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

step_started=$SECONDS
step_done() {
    echo "package: $1 took $((SECONDS - step_started)) s"
    step_started=$SECONDS
}
fail() {
    echo "package: FAILED: $*" >&2
    exit 1
}

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
apt() {
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 -y -qq "$@"
}

./scripts/install-deps.sh desktop-file-utils xvfb x11-utils lintian
export VAULTRIX_PACKAGE_BUILD_DIR=${VAULTRIX_PACKAGE_BUILD_DIR:-build-package}
./scripts/package.sh
deb=$(realpath "$(ls "$VAULTRIX_PACKAGE_BUILD_DIR"/vaultrix_*.deb)")
step_done "building the package"

# Every tag is shown, the informational ones too; an error or a warning fails the check.
lintian --display-info --fail-on error,warning "$deb" || fail "lintian finds errors or warnings"
package_version=$(dpkg-deb -f "$deb" Version)
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/vaultrix/changelog.gz | gzip -d |
    sed -n 1p | grep -F "vaultrix ($package_version)" >/dev/null ||
    fail "the changelog's last entry is not that of version $package_version"
step_done "checking the package with lintian"

scratch=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
    [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    if dpkg-query -W -f='${Status}' vaultrix 2>/dev/null | grep -q "install ok installed"; then
        apt remove vaultrix >/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# A package that dpkg-shlibdeps did not see through would install without Qt.
dpkg-deb -f "$deb" Depends | grep libqt6widgets6 >/dev/null ||
    fail "the package's dependencies were not computed: $(dpkg-deb -f "$deb" Depends)"
# The package's folders that exist already (/usr, /usr/bin, …) stay after the removal.
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's|^\.||' -e 's|/$||' | grep . |
    while read -r path; do [ ! -e "$path" ] || echo "$path"; done >"$scratch/existing"

apt install "$deb" >/dev/null
dpkg -L vaultrix >"$scratch/installed"
step_done "installing the package"

desktop-file-validate /usr/share/applications/vaultrix.desktop ||
    fail "desktop-file-validate rejects the desktop entry"
for size in 16 32 48 64 128 256; do
    [ -f "/usr/share/icons/hicolor/${size}x${size}/apps/vaultrix.png" ] ||
        fail "no ${size}x${size} icon"
done

# Both answers come before the window system is touched.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
version=$("${no_display[@]}" /usr/bin/vaultrix --version) || fail "--version ended with an error"
[ "$version" = "Vaultrix 1.0" ] || fail "vaultrix --version printed '$version'"
"${no_display[@]}" /usr/bin/vaultrix --help | grep '^Aufruf: vaultrix' >/dev/null ||
    fail "vaultrix --help printed no usage"

# Without XDG_DATA_HOME, or with one that is empty or not absolute, the launcher chooses
# ~/.local/share/Vaultrix and copies the tutorial there before the program answers.
for xdg in "" "XDG_DATA_HOME=" "XDG_DATA_HOME=relativ"; do
    fresh=$(mktemp -d "$scratch/home.XXXXXX")
    (cd "$fresh" && env -i HOME="$fresh" PATH="$PATH" ${xdg:+"$xdg"} \
        /usr/bin/vaultrix-start --version >/dev/null) ||
        fail "vaultrix-start --version ended with an error (${xdg:-no XDG_DATA_HOME})"
    [ -d "$fresh/.local/share/Vaultrix" ] && [ ! -e "$fresh/relativ" ] ||
        fail "vaultrix-start chose another data folder than ~/.local/share/Vaultrix (${xdg:-no XDG_DATA_HOME})"
done

# The launcher in a fresh home folder, on a display of its own: up when its main window is there.
# XDG_DATA_HOME names where the data folder lies.
home=$scratch/home
data=$scratch/data/Vaultrix
mkdir -p "$home" "$scratch/runtime"
chmod 700 "$scratch/runtime"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
[ -s "$scratch/display" ] || fail "Xvfb did not start: $(cat "$scratch/xvfb.log")"
display=:$(cat "$scratch/display")
env -i HOME="$home" PATH="$PATH" DISPLAY="$display" XDG_RUNTIME_DIR="$scratch/runtime" \
    XDG_DATA_HOME="$scratch/data" /usr/bin/vaultrix-start >"$scratch/program.log" 2>&1 &
program_pid=$!
up=false
for _ in $(seq 300); do
    kill -0 "$program_pid" 2>/dev/null || break
    if [ -e "$data/vaultrix.lock" ] &&
        DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep '"Vaultrix 1.0 - ' >/dev/null; then
        up=true
        break
    fi
    sleep 0.1
done
$up || fail "the launcher did not bring the program up in $data: $(cat "$scratch/program.log")"
[ ! -e "$home/.local/share/Vaultrix" ] || fail "the launcher ignored XDG_DATA_HOME"
if [ -d /usr/share/vaultrix/Tutorial ]; then
    diff -r /usr/share/vaultrix/Tutorial "$data/Tutorial" >/dev/null ||
        fail "the launcher did not copy the tutorial into the data folder"
fi
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=
step_done "starting the installed program"

apt remove vaultrix >/dev/null
leftovers=$(grep -vxF -f "$scratch/existing" "$scratch/installed" |
    while read -r path; do [ ! -e "$path" ] || echo "$path"; done || true)
[ -z "$leftovers" ] || fail "left after the removal: $leftovers"
step_done "removing the package"

echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB, installed, started, removed"
