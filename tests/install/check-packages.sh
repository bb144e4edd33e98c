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
# Box2D is built into both programs (cmake/PinnedBox2D.cmake): a dependency on
# a shared Box2D means a machine's own build of it would run the physics, and
# runs would replay differently from one machine to the next.
for package in "${game[0]}" "${server[0]}"; do
    if depends "$package" | grep -q 'libbox2d'; then
        echo "$(basename "$package"): links a shared Box2D: $(depends "$package")"
        fail=1
    fi
done
lintian --fail-on error,warning "${game[0]}" "${server[0]}" >"$out/lintian.txt" 2>&1 || fail=1
grep -v 'root privileges' "$out/lintian.txt" || true
exit "$fail"
