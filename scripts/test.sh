#!/usr/bin/env bash
# Builds everything and runs the whole test suite (GUI tests run offscreen).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
bash scripts/build.sh "$preset"
QT_QPA_PLATFORM=offscreen ctest --preset "$preset" -j "$(nproc)" --no-tests=error
