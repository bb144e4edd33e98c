#!/usr/bin/env bash
# Puts Box2D's source into external/box2d-<version>/, from Debian's source
# package, checked and patched, for cmake/PinnedBox2D.cmake to build. The
# physics is part of a run's format, so the game builds Box2D itself (static,
# without fused multiply-adds) instead of linking whatever library a machine
# has. A second run finds the stamp and does nothing.
#
# The machine's apt sources name only binary packages: the source entries are
# derived from them into a private apt configuration under .cache/, so no
# system file changes and no mirror address is kept in the project.
set -euo pipefail

package=box2d
version=2.4.1-3
upstreamVersion=2.4.1
# The .dsc names the SHA-256 of every file of the package; pinning the .dsc
# pins them all.
dscSha256=d9937a4737cc75489094d5dece12f44de3f880191ab56381899a47a1de9fad6d

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
patchFile="$root/cmake/box2d-deterministic-trig.patch"
target="$root/external/box2d-$upstreamVersion"
stamp="$target/.fetched"
aptRoot="$root/.cache/box2d-apt"

fail() {
    echo "fetch-box2d: $*" >&2
    exit 1
}

# The stamp names the package and the patch it was made with: a changed patch
# unpacks again.
wanted="$package $version $dscSha256 $(sha256sum <"$patchFile" | cut -d' ' -f1)"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then
    exit 0
fi

# One-line entries: "deb [options] uri suite components" becomes "deb-src ...".
deriveListFile() {
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$1"
}

# deb822 entries: every stanza whose Types names "deb" is kept with Types set
# to deb-src alone; stanzas of other types are dropped.
deriveSourcesFile() {
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         {
             n = split($0, lines, "\n"); out = ""; binary = 0
             for (i = 1; i <= n; i++) {
                 if (lines[i] ~ /^Types:/) {
                     if (lines[i] ~ /[: ]deb( |$)/) binary = 1
                     lines[i] = "Types: deb-src"
                 }
                 out = out lines[i] (i < n ? "\n" : "")
             }
             if (binary) print out
         }' "$1"
}

prepareAptConfig() {
    mkdir -p "$aptRoot/sources.list.d" "$aptRoot/lists/partial" "$aptRoot/cache/archives/partial"
    rm -f "$aptRoot"/sources.list.d/*
    : >"$aptRoot/sources.list"
    [ -f /etc/apt/sources.list ] && deriveListFile /etc/apt/sources.list >"$aptRoot/sources.list"
    local file n=0
    for file in /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        n=$((n + 1))
        case "$file" in
        *.list) deriveListFile "$file" >"$aptRoot/sources.list.d/$n-$(basename "$file")" ;;
        *.sources) deriveSourcesFile "$file" >"$aptRoot/sources.list.d/$n-$(basename "$file")" ;;
        esac
    done
    grep -qs . "$aptRoot/sources.list" "$aptRoot"/sources.list.d/* ||
        fail "no 'deb' entry in /etc/apt/sources.list or /etc/apt/sources.list.d/ to derive source entries from"
}

aptOptions=()
setAptOptions() {
    aptOptions=(
        -o "Dir::Etc::SourceList=$aptRoot/sources.list"
        -o "Dir::Etc::SourceParts=$aptRoot/sources.list.d"
        -o "Dir::State::Lists=$aptRoot/lists"
        -o "Dir::Cache=$aptRoot/cache"
        -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache="
    )
}

# Every folder apt writes to is private, so it needs no root: a user's run keeps
# the files the user's own.
runApt() {
    apt-get -q "${aptOptions[@]}" "$@"
}

# Checks every file the .dsc names against the SHA-256 it gives.
checkPackageFiles() {
    local dsc=$1 sums
    sums=$(awk '/^Checksums-Sha256:/ { on = 1; next }
                /^[^ ]/ { on = 0 }
                on && NF == 3 { print $1 "  " $3 }' "$dsc")
    [ -n "$sums" ] || fail "$dsc names no SHA-256 checksums"
    echo "$sums" | sha256sum --check --quiet --strict ||
        fail "a file of the source package does not match the SHA-256 its .dsc names"
}

prepareAptConfig
setAptOptions
echo "fetch-box2d: reading the source package lists (private apt configuration in $aptRoot)"
if ! runApt update -qq; then
    echo "fetch-box2d: warning: apt-get update reported errors; trying the download anyway" >&2
fi

download="$aptRoot/download"
rm -rf "$download"
mkdir -p "$download"
# apt's download user writes here when this runs as root.
[ "$(id -u)" -eq 0 ] && chown _apt "$download" 2>/dev/null || true
(cd "$download" && runApt source --download-only "$package=$version") ||
    fail "could not download Debian's source package $package $version (no network, or no mirror carries it): see apt's message above"

dsc="$download/${package}_$version.dsc"
[ -f "$dsc" ] || fail "apt-get source gave no $(basename "$dsc")"
echo "$dscSha256  $dsc" | sha256sum --check --quiet --strict ||
    fail "$(basename "$dsc") does not have the pinned SHA-256 $dscSha256"
(cd "$download" && checkPackageFiles "$dsc")

# Debian's own patches touch only Box2D's unit tests and documentation, so the
# upstream tarball is the source Debian builds its library from.
orig="$download/${package}_$upstreamVersion.orig.tar.gz"
[ -f "$orig" ] || fail "the source package has no $(basename "$orig")"
staging="$root/external/.box2d-staging"
rm -rf "$staging"
mkdir -p "$staging"
tar --no-same-owner -xzf "$orig" -C "$staging" || fail "could not unpack $(basename "$orig")"
unpacked=$(find "$staging" -mindepth 1 -maxdepth 1 -type d)
[ "$(echo "$unpacked" | wc -l)" -eq 1 ] && [ -d "$unpacked/include/box2d" ] ||
    fail "$(basename "$orig") does not hold one folder with include/box2d"
patch --quiet --forward --batch -p1 -d "$unpacked" <"$patchFile" ||
    fail "$(basename "$patchFile") does not apply to Box2D $upstreamVersion"

rm -rf "$target"
mv "$unpacked" "$target"
rm -rf "$staging" "$download"
echo "$wanted" >"$stamp"
echo "fetch-box2d: Box2D $upstreamVersion (Debian $version) is in ${target#"$root"/}"
