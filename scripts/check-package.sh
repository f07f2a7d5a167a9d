#!/usr/bin/env bash
# Checks the Debian package the hard way, as a user's machine would meet it: a fresh minimal
# Debian 12 (debootstrap --variant=minbase bookworm) in a folder, the package installed there
# with apt-get (which must pull in every library it needs), quorvane-cli flashing the bundled
# example, and the desktop program started under xvfb-run with its windows listed and saved as
# PNG files beside the package.
#
# Needs root and a Debian mirror (DEBIAN_MIRROR, default deb.debian.org). debootstrap is
# installed on this machine when missing; xvfb, x11-utils, x11-apps and netpbm are installed
# inside the test system only, to look at the program.
#
# Usage: bash scripts/check-package.sh [FOLDER]   (default /var/tmp/quorvane-bookworm; an
# existing system there is reused, a fresh one made otherwise)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
    echo "error: debootstrap and chroot need root; run this as root." >&2
    exit 1
fi
deb=$(ls -1 build/package/quorvane_*_amd64.deb 2>/dev/null | tail -n 1 || true)
if [ -z "$deb" ]; then
    echo "error: no package in build/package; run 'bash scripts/package.sh' first." >&2
    exit 1
fi
target="${1:-/var/tmp/quorvane-bookworm}"
mirror="${DEBIAN_MIRROR:-http://deb.debian.org/debian}"

if ! command -v debootstrap >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap
fi
if [ ! -x "$target/usr/bin/apt-get" ]; then
    echo "== debootstrap --variant=minbase bookworm $target"
    debootstrap --variant=minbase bookworm "$target" "$mirror"
fi

# The program reads /proc/self/exe to find its folder; X and apt want /dev and /proc.
mount -t proc proc "$target/proc"
mount --bind /dev "$target/dev"
trap 'umount "$target/proc"; umount "$target/dev" || umount --lazy "$target/dev"' EXIT
in_target() { chroot "$target" env DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }

echo "== apt-get install ./$(basename "$deb") in the fresh system"
cp "$deb" "$target/tmp/"
in_target apt-get update -q
in_target sh -c "cd /tmp && apt-get install -y -q ./$(basename "$deb")"
in_target dpkg -s quorvane | grep -E '^(Status|Version|Depends):'

echo "== quorvane-cli flash /usr/share/quorvane/examples/natural_gas_tp.json"
in_target quorvane-cli flash /usr/share/quorvane/examples/natural_gas_tp.json >"$target/tmp/flash.json"
head -c 600 "$target/tmp/flash.json"
echo
grep -q '"converged": *true' "$target/tmp/flash.json"

echo "== quorvane under xvfb-run (1024x700)"
in_target apt-get install -y -q --no-install-recommends xvfb xauth x11-utils x11-apps netpbm
# Each window is saved by itself: an image of the whole root leaves windows mapped later black
# on a server without a window manager.
in_target xvfb-run -a -s "-screen 0 1024x700x24" sh -c '
    quorvane & program=$!
    sleep 12
    kill -0 $program && echo "quorvane is running (pid $program)"
    xwininfo -root -tree | grep "\"Quorvane\"" | tee /tmp/windows.txt
    n=0
    for id in $(awk "!/ 1x1[+]/ {print \$1}" /tmp/windows.txt); do
        n=$((n + 1))
        xwd -id "$id" -silent | xwdtopnm 2>/dev/null | pnmtopng > /tmp/quorvane-window-$n.png
    done
    kill $program
    wait $program || true'
grep -q '"Quorvane"' "$target/tmp/windows.txt"
cp "$target"/tmp/quorvane-window-*.png "$(dirname "$deb")/"
echo "== passed; windows saved as $(dirname "$deb")/quorvane-window-*.png"
