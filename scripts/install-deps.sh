#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# Runs as root, or through sudo when it is available.
set -euo pipefail

packages=(
    build-essential cmake pkg-config clang-format
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    libsqlite3-dev nlohmann-json3-dev
    qt6-base-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite libgl-dev
    xvfb xauth
    dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    run=()
elif command -v sudo >/dev/null 2>&1; then
    run=(sudo)
else
    echo "error: packages ${missing[*]} are missing and this user can neither install them" \
         "as root nor through sudo. Install them, then run this again." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -q
"${run[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
