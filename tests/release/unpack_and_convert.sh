#!/usr/bin/env bash
# The release archive as a user gets it: packed by CPack from the build, unpacked into a folder
# of its own, moved to a path with a blank in it, then its converter, pgfinfo and the window run
# from there. Also: installing over a folder keeps its settings.bin, and the menu entry points
# at the unpacked folder.
#   unpack_and_convert.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/packages" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
archives=("$work"/packages/tessavine-"$version"-*.tar.gz)
[ ${#archives[@]} -eq 1 ] && [ -f "${archives[0]}" ] || fail "no archive named by the version $version"
archive=${archives[0]}
top=$(basename "$archive" .tar.gz)

# One top folder, named like the archive, holding the whole program folder.
tar tzf "$archive" | sort >"$work/listing"
for file in tessavine ttf2pgf.exe pgfinfo tessavine-restore tessavine-copy pgfview Example.ttf Example.ttf.LICENSE.txt Example2.otf \
            Example2.otf.LICENSE.txt settings.bin README.txt add-to-menu tessavine.png; do
    grep -qx "$top/$file" "$work/listing" || fail "$file missing from the archive"
done
if grep -v "^$top/" "$work/listing"; then fail "entries outside $top/"; fi

mkdir "$work/unpacked"
tar xzf "$archive" -C "$work/unpacked"
folder="$work/moved here/Tessavine"
mkdir -p "$(dirname "$folder")"
mv "$work/unpacked/$top" "$folder"
cd "$folder"

# Nothing points back into the build.
for program in tessavine ttf2pgf.exe pgfinfo tessavine-restore tessavine-copy pgfview; do
    if readelf -d "$program" | grep -E 'R(UN)?PATH'; then fail "$program carries a library path"; fi
done

[ "$(./ttf2pgf.exe --version)" = "ttf2pgf $version (Tessavine)" ] || fail "ttf2pgf.exe --version"
[ "$(./pgfinfo --version)" = "pgfinfo $version (Tessavine)" ] || fail "pgfinfo --version"
[ "$(./tessavine-copy --version)" = "tessavine-copy $version (Tessavine)" ] || fail "tessavine-copy --version"

./ttf2pgf.exe "Example.ttf" ltn0.pgf 24h0.8 b2.5i1.2
./pgfinfo ltn0.pgf >"$work/report" || fail "pgfinfo cannot read the converted font"
[ "$(stat -c %s ltn0.pgf)" -gt 10000 ] || fail "ltn0.pgf is too small"

# The first start's settings: Example.ttf and the window's initial values, each entry a
# two-byte little-endian length and its text; 15 unticked slots; an empty last entry.
expected=$( { printf '\x0b\x00Example.ttf\x02\x0024\x03\x000.8\x03\x000.8\x03\x002.5\x03\x001.2'
              for _ in $(seq 17); do printf '\x01\x000'; done
              printf '\x00\x00'; } | od -An -tx1 | tr -d ' \n')
[ "$(od -An -tx1 settings.bin | tr -d ' \n')" = "$expected" ] || fail "settings.bin"

# The window starts from here and keeps running (it is ended after three seconds).
status=0
QT_QPA_PLATFORM=offscreen timeout 3 ./tessavine || status=$?
[ $status -eq 124 ] || fail "tessavine ended with $status instead of running"

# The menu entry starts the program in this folder, whatever its path.
XDG_DATA_HOME="$work/data" ./add-to-menu >/dev/null
entry="$work/data/applications/tessavine.desktop"
grep -qx "Exec=\"$folder/tessavine\"" "$entry" || fail "Exec in $(cat "$entry")"
grep -qx "Icon=$folder/tessavine.png" "$entry" || fail "Icon in $(cat "$entry")"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry"; fi

# Installing over a folder keeps the user's settings.bin.
mkdir -p "$work/installed"
printf 'mine' >"$work/installed/settings.bin"
cmake --install "$build" --prefix "$work/installed" >/dev/null
[ "$(cat "$work/installed/settings.bin")" = "mine" ] || fail "install replaced settings.bin"
[ -x "$work/installed/ttf2pgf.exe" ] || fail "install made no converter"
echo "release archive $(basename "$archive"): unpacked, moved, converted"
