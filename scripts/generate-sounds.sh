#!/usr/bin/env bash
# Regenerates every sound effect of data/sound/ and music piece of data/music/
# with the project's own sequencer and synthesiser (tools/soundgen). The
# generator measures every sound it makes and fails on one that clips, clicks,
# is too quiet or loops with a seam (tools/soundgen/Quality.hpp).
#
#   scripts/generate-sounds.sh          build the generator, rewrite the files
#   scripts/generate-sounds.sh --check  generate twice into a temporary folder and
#                                       fail unless both runs and the committed
#                                       files are byte for byte the same
#
# BUILD_DIR picks the build folder (default: build).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${BUILD_DIR:-build}"

# GENERATOR names a generator already built (the test suite passes its own).
generator="${GENERATOR:-}"
if [ -z "$generator" ]; then
    cmake -S . -B "$build" >/dev/null
    cmake --build "$build" --target rollavortex-soundgen -j"$(nproc)" >/dev/null
    generator="$build/tools/soundgen/rollavortex-soundgen"
fi

if [ "${1:-}" != "--check" ]; then
    "$generator" data
    exit 0
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
"$generator" "$scratch/first" >/dev/null
"$generator" "$scratch/second" >/dev/null
diff -r "$scratch/first" "$scratch/second"
echo "two runs are identical"
diff -r "$scratch/first/sound" data/sound
diff -r "$scratch/first/music" data/music
echo "committed sounds and music are up to date"
