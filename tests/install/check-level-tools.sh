#!/usr/bin/env bash
# The level makers' tools as installed, run from a folder of their own: every
# level the game ships checks well, and the autopilot finishes every level of
# the Tour and writes its run.
#
#   tests/install/check-level-tools.sh PREFIX
set -euo pipefail
prefix="$(cd "$1" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
"$prefix/bin/rollavortex-levelc" --check "$prefix/share/rollavortex/levels"
"$prefix/bin/rollavortex-autopilot" --out runs "$prefix/share/rollavortex/levels/tour"
tour=$(grep -cv '^\(#\|name:\|$\)' "$prefix/share/rollavortex/levels/tour/pack.txt")
runs=$(ls runs/*.run | wc -l)
[ "$runs" -eq "$tour" ] || { echo "$runs runs for $tour Tour levels"; exit 1; }
