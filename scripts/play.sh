#!/usr/bin/env bash
# Installs what is missing, builds, starts the local highscore server and plays.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target rollavortex rollavortex-highscored

server="build/server/rollavortex-highscored"
server_pid=""
if [ -x "$server" ]; then
    mkdir -p "$HOME/.local/share/rollavortex"
    "$server" --listen 127.0.0.1:8077 --db "$HOME/.local/share/rollavortex/highscores.db" \
        >>"$HOME/.local/share/rollavortex/server.log" 2>&1 &
    server_pid=$!
    trap 'kill "$server_pid" 2>/dev/null || true' EXIT
fi

build/rollavortex
