#!/usr/bin/env bash
# Proof that a run replays to the same millisecond and the same end state on
# another CPU: cross-compiles the simulation and replay-run for arm64, replays
# every committed run under qemu and on this machine, and compares. Each run
# must finish at its recorded time, and both CPUs must agree to the bit.
#
#   scripts/arm64-replay.sh NATIVE_BUILD_FOLDER
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
native="$1/tools/replay/replay-run"
# Warnings are the normal build's business: the cross compiler of the same
# version warns falsely about library code (GCC 12's -Wrestrict).
cross="build-arm64"
[ -x "$native" ] || { echo "no replay-run in $1"; exit 1; }

cmake -S . -B "$cross" -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake \
    -DROLLAVORTEX_SIM_ONLY=ON -DCMAKE_BUILD_TYPE=Release -DROLLAVORTEX_WERROR=OFF >/dev/null
mkdir -p "$cross"
cmake --build "$cross" --target replay-run -j"$(nproc)" >"$cross/build.log" 2>&1 ||
    { cat "$cross/build.log"; exit 1; }
file "$cross/tools/replay/replay-run" | grep -q 'ARM aarch64' || { echo "not an arm64 program"; exit 1; }

# Every committed run with its level file: the shipped levels and the packs.
pairs=()
for run in levels/runs/*.run levels/packs/*/runs/*.run; do
    [ -f "$run" ] || continue
    file=$(sed -n 's/^file: //p' "$run" | head -n 1)
    pairs+=("data/$file" "$run")
done
[ ${#pairs[@]} -gt 0 ] || { echo "no committed runs"; exit 1; }

"$native" "${pairs[@]}" >"$cross/amd64.txt"
qemu-aarch64 "$cross/tools/replay/replay-run" "${pairs[@]}" >"$cross/arm64.txt"
if ! diff -u "$cross/amd64.txt" "$cross/arm64.txt"; then
    echo "arm64 replays differ from this machine's"
    exit 1
fi
status=0
while read -r run _ ms _; do
    recorded=$(sed -n 's/^time-ms: //p' "$run" | head -n 1)
    if [ "$ms" != "$recorded" ]; then
        echo "$run finished at $ms ms, recorded $recorded ms"
        status=1
    fi
done <"$cross/arm64.txt"
cat "$cross/arm64.txt"
exit "$status"
