#!/usr/bin/env bash
# Builds Quorvane and starts the desktop program from the program folder.
# Without a display (no X11 or Wayland session) it runs the main job through the
# command-line front end instead: a flash of the bundled natural-gas example case.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh default
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/default/bin/quorvane
fi
echo "No display found: flashing examples/natural_gas_tp.json with quorvane-cli instead." >&2
echo "(On a headless machine, 'xvfb-run -a build/default/bin/quorvane' starts the desktop program.)" >&2
exec build/default/bin/quorvane-cli flash examples/natural_gas_tp.json
