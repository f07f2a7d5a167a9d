#!/usr/bin/env bash
# Builds the Debian package build/package/quorvane_<version>_amd64.deb: the desktop program,
# quorvane-cli, the libraries libcalvix.so, libdornel.so and libdadez.so, the component
# database, notes, help, examples, a desktop entry and an icon, installed under /usr.
# Install it with: apt-get install ./build/package/quorvane_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset package >/dev/null
cmake --build --preset package -j "$(nproc)"
cpack --preset package
ls -1 build/package/quorvane_*_amd64.deb
