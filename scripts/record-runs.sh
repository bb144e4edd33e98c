#!/usr/bin/env bash
# Records every committed run again with the autopilot: the game's own levels
# (levels/runs) and the Tour pack (levels/packs/tour/runs), each the fastest
# of eight styles. Then run sim_run: its failures name the new golden hashes
# for tests/sim/run/ShippedRunsTest.cpp.
#
#   scripts/record-runs.sh BUILD_FOLDER
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${1:?usage: scripts/record-runs.sh BUILD_FOLDER}"
cmake --build "$build" --target autopilot
autopilot="$build/tools/autopilot/rollavortex-autopilot"
"$autopilot" --styles 8 --out levels/runs
"$autopilot" --styles 8 --out levels/packs/tour/runs data/levels/tour
