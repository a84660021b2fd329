#!/usr/bin/env bash
# Runs a test under Wine in a prefix of its own, so that tests under Wine can run side by side:
# one test's `wineserver -k`, display or registry never reaches another's programs. The first
# start of Wine in a prefix takes a minute on a small machine, so it is done once, into TEMPLATE
# (under a lock, by whichever test comes first), and each PREFIX is a copy of it made of hard
# links. That is safe because Wine does not write into those files in place: it saves the
# registry to a new file and renames it over the old one (and the registry files are copied
# here besides), and the programs under test write only into their own folders.
# Usage: wine_prefix.sh TEMPLATE PREFIX NEEDED_FILE COMMAND [ARGUMENTS...]
# PREFIX is made afresh, then COMMAND runs. Without Wine or without NEEDED_FILE (the Windows
# build), COMMAND runs at once: it skips by itself, and no minute goes into a prefix unused.
set -euo pipefail
template=$(realpath -m "$1") prefix=$(realpath -m "$2") needed=$3
shift 3
if command -v wine >/dev/null && command -v wineserver >/dev/null && [ -e "$needed" ]; then
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$(dirname "$template")" "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -f "$template/.made" ]; then
            rm -rf "$template"
            mkdir -p "$template"
            WINEPREFIX=$template wineboot --init >/dev/null 2>&1
            WINEPREFIX=$template wineserver -w
            touch "$template/.made"
        fi
    ) 9>"$template.lock"
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
    # Links on one file system, a plain copy across two.
    cp -al "$template" "$prefix" 2>/dev/null || { rm -rf "$prefix"; cp -a "$template" "$prefix"; }
    for file in "$template"/*.reg; do
        cp --remove-destination -p "$file" "$prefix/"
    done
fi
exec "$@"
