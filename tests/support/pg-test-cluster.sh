#!/bin/sh
# Usage: pg-test-cluster.sh FOLDER
# Makes a throw-away PostgreSQL cluster in FOLDER/data with Debian's initdb and
# runs its server in the foreground, listening only on a Unix socket in
# FOLDER/run (no TCP port to clash with). As root (CI) both run as the
# `postgres` user, as they refuse root. The server gets SIGQUIT, its immediate
# shutdown, when the process that started this script dies, so a crashed test
# program leaves no server behind.
set -eu
folder=$1
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ ! -x "$bin/initdb" ]; then
    echo "no PostgreSQL server under /usr/lib/postgresql; scripts/install-deps.sh --tests installs it" >&2
    exit 1
fi
mkdir -p "$folder/data" "$folder/run"
chmod 700 "$folder/data"
user=""
if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$folder"
    chown postgres:postgres "$folder/data" "$folder/run"
    user="--reuid=postgres --regid=postgres --clear-groups"
fi
# No syncs: the folder is thrown away, and waiting for the disk of a busy
# machine only slows the tests; what they check is the same either way.
# shellcheck disable=SC2086
setpriv $user -- "$bin/initdb" -D "$folder/data" -U postgres -A trust -E UTF8 \
    --no-locale --no-sync --no-instructions >"$folder/initdb.log" 2>&1 ||
    { cat "$folder/initdb.log" >&2; exit 1; }
# shellcheck disable=SC2086
exec setpriv $user --pdeathsig SIGQUIT -- "$bin/postgres" -D "$folder/data" \
    -k "$folder/run" -c listen_addresses= -c fsync=off
