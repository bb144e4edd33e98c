#!/usr/bin/env bash
# Regenerates every picture of data/images/, docs/contact-sheet.png and the
# application icons of packaging/icons/ with the project's own generator
# (tools/imagegen), drawn from data/font/VeraBd.ttf.
#
#   scripts/generate-images.sh          build the generator, rewrite the pictures
#   scripts/generate-images.sh --check  generate twice into a temporary folder and
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
    cmake --build "$build" --target rollavortex-imagegen -j"$(nproc)" >/dev/null
    generator="$build/tools/imagegen/rollavortex-imagegen"
fi
font="data/font/VeraBd.ttf"

if [ "${1:-}" != "--check" ]; then
    "$generator" "$font" data/images docs/contact-sheet.png
    "$generator" --icons packaging/icons
    exit 0
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
"$generator" "$font" "$scratch/first" "$scratch/first-sheet.png" >/dev/null
"$generator" "$font" "$scratch/second" "$scratch/second-sheet.png" >/dev/null
"$generator" --icons "$scratch/first-icons" >/dev/null
"$generator" --icons "$scratch/second-icons" >/dev/null
diff -r "$scratch/first" "$scratch/second"
diff -r "$scratch/first-icons" "$scratch/second-icons"
cmp "$scratch/first-sheet.png" "$scratch/second-sheet.png"
echo "two runs are identical"
# Only the generated pictures are compared; nothing else lives in data/images.
diff -r "$scratch/first" data/images
cmp "$scratch/first-sheet.png" docs/contact-sheet.png
diff -r "$scratch/first-icons" packaging/icons
echo "committed pictures are up to date"
