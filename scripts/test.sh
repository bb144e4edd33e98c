#!/usr/bin/env bash
# Installs what is missing, builds from nothing and runs every test:
#   1. the normal build (warnings are errors): unit, scene, server and end-to-end
#      tests, the scene and end-to-end ones in a virtual display;
#   2. the committed runs replayed on arm64 under qemu, against this machine;
#   3. a clang build with ThreadSanitizer of the simulation, replaying runs on
#      several threads at once, and a replay seeking while its worker parks
#      checkpoints;
#   4. a clang build with AddressSanitizer and UndefinedBehaviorSanitizer: the
#      unit tests again, and every fuzz target for a bounded time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="$(nproc)"

scripts/install-deps.sh --tests

echo "== normal build"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROLLAVORTEX_WERROR=ON >/dev/null
cmake --build build-test -j"$jobs"

echo "== tests (virtual display, dummy audio)"
export SDL_AUDIODRIVER=dummy
# -noreset: by default the X server resets whenever its last client leaves, and a
# test connecting in that moment fails to open the display.
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    ctest --test-dir build-test --output-on-failure -j"$jobs"

echo "== arm64: the committed runs replayed under qemu"
scripts/arm64-replay.sh build-test

echo "== thread sanitizer: simulations on several threads"
CC=clang CXX=clang++ cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DROLLAVORTEX_SIM_ONLY=ON -DCMAKE_CXX_FLAGS=-fsanitize=thread \
    -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build build-tsan --target sim_run -j"$jobs" >/dev/null
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/sim_run --gtest_filter='ShippedRuns.EightThreads*:RunTimeline.*'

echo "== sanitizer build (clang, address + undefined behaviour) with fuzz targets"
CC=clang CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug \
    -DROLLAVORTEX_SANITIZE=ON -DROLLAVORTEX_FUZZ=ON -DROLLAVORTEX_UNIT_ONLY=ON \
    -DROLLAVORTEX_FUZZ_SECONDS="${FUZZ_SECONDS:-30}" >/dev/null
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j"$jobs"
