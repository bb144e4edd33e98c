#!/usr/bin/env bash
# Makes the Debian packages of a finished build folder in a scratch folder and
# checks them: the game and the server each in a package of its own, the
# server's free of the game's window, sound and physics libraries, and lintian
# finding neither errors nor warnings in either.
set -euo pipefail
build="$1"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    exit 1
fi
game=("$out"/rollavortex_*.deb)
server=("$out"/rollavortex-server_*.deb)
[ -f "${game[0]}" ] && [ -f "${server[0]}" ] || { ls "$out"; echo "a package is missing"; exit 1; }

depends() { dpkg-deb --field "$1" Depends; }
fail=0
depends "${game[0]}" | grep -q 'libsfml-graphics' || { echo "game: no SFML in: $(depends "${game[0]}")"; fail=1; }
depends "${server[0]}" | grep -q 'libsqlite3' || { echo "server: no SQLite in: $(depends "${server[0]}")"; fail=1; }
# The server replays submitted runs with the game's core library, which links
# Box2D, SFML and SDL; it opens no window and no audio device, but the
# libraries must be installed with it.
depends "${server[0]}" | grep -q 'libbox2d' || { echo "server: no Box2D in: $(depends "${server[0]}")"; fail=1; }
lintian --fail-on error,warning "${game[0]}" "${server[0]}" >"$out/lintian.txt" 2>&1 || fail=1
grep -v 'root privileges' "$out/lintian.txt" || true
exit "$fail"
