#!/usr/bin/env bash
# Makes the Debian packages of a finished build folder in a scratch folder and
# checks them: the game, its data (architecture-independent) and the server
# each in a package of their own; the server free of every window, sound and
# physics library and of the game's package; and lintian finding neither
# errors nor warnings in any.
set -euo pipefail
build="$1"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    exit 1
fi
game=("$out"/rollavortex_*.deb)
data=("$out"/rollavortex-data_*_all.deb)
server=("$out"/rollavortex-server_*.deb)
for package in "${game[0]}" "${data[0]}" "${server[0]}"; do
    [ -f "$package" ] || { ls "$out"; echo "a package is missing: $package"; exit 1; }
done

depends() { dpkg-deb --field "$1" Depends; }
fail=0
depends "${game[0]}" | grep -q 'libsfml-graphics' || { echo "game: no SFML in: $(depends "${game[0]}")"; fail=1; }
depends "${game[0]}" | grep -q 'rollavortex-data' || { echo "game: no data in: $(depends "${game[0]}")"; fail=1; }
depends "${server[0]}" | grep -q 'libsqlite3' || { echo "server: no SQLite in: $(depends "${server[0]}")"; fail=1; }
depends "${server[0]}" | grep -q 'rollavortex-data' || { echo "server: no data in: $(depends "${server[0]}")"; fail=1; }
# Box2D is built into both programs (cmake/PinnedBox2D.cmake): a dependency
# on a shared Box2D would let a machine's own build of it run the physics, and
# runs would replay differently from one machine to the next. The server needs
# nothing to draw or sound.
if depends "${game[0]}" | grep -q 'libbox2d'; then
    echo "game links a shared Box2D: $(depends "${game[0]}")"; fail=1
fi
for unwanted in sfml libsdl libbox2d 'rollavortex \(' 'rollavortex,' 'rollavortex$'; do
    if depends "${server[0]}" | grep -Eq "$unwanted"; then
        echo "server depends on $unwanted: $(depends "${server[0]}")"; fail=1
    fi
done
dpkg-deb --contents "${data[0]}" >"$out/data-contents.txt"
grep -q 'share/rollavortex/levels/TheLabyrinth.tmx' "$out/data-contents.txt" \
    || { echo "data: no levels"; fail=1; }
lintian --fail-on error,warning "${game[0]}" "${data[0]}" "${server[0]}" >"$out/lintian.txt" 2>&1 || fail=1
grep -v 'root privileges' "$out/lintian.txt" || true
exit "$fail"
