#!/usr/bin/env bash
# Builds Quorvane and runs its main job: a flash of the bundled natural-gas example case
# through the command-line front end, printing the result as JSON.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh default
exec build/default/bin/quorvane-cli flash examples/natural_gas_tp.json
