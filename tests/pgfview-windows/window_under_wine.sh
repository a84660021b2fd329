#!/usr/bin/env bash
# pgfview.exe's window under Wine, used as a Windows user does, on a display of its own (Xvfb,
# xdotool, ImageMagick's import): started without a file it shows ltn0.pgf of its folder beside
# where the Tessavine window stands, its picture the pixels of Linux pgfview --export; a new file
# renamed over ltn0.pgf (the converter's way) is drawn within a second; a missing and a damaged
# file are said in the title, and a good file brings the picture back; Export PNG writes the
# picture shown.
# Usage: window_under_wine.sh LINUX_PGFVIEW LINUX_TTF2PGF WINDOWS_PROGRAM_DIR WORK_DIR WINE_PREFIX
# Exits 77 (skipped) without the Windows build, Wine, Xvfb, xdotool, import or python3.
set -uo pipefail
here=$(dirname "$(realpath "$0")")
linux=$(realpath "$1") ttf2pgf=$(realpath "$2") windows=$(realpath -m "$3")
mkdir -p "$4"
work=$(realpath "$4")
if [ ! -f "$windows/pgfview.exe" ]; then
    echo "skipped: no pgfview.exe in $windows (cmake --workflow --preset windows)"
    exit 77
fi
for tool in wine Xvfb xdotool import python3; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
export WINEPREFIX=$(realpath -m "$5") WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
# A display of its own, on a number no other is using; 1600 pixels wide: room for the viewer at
# 1x beside a centred Tessavine window.
rm -f "$work/display"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT
for ((i = 0; i < 300; i++)); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -1 "$work/display")
# A Wine session left by a program run without a display (the console check) would keep its
# windows off this display: it ends first.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
if [ ! -f "$WINEPREFIX/.made" ]; then
    mkdir -p "$WINEPREFIX" && wineboot --init >/dev/null 2>&1 && wineserver -w && touch "$WINEPREFIX/.made"
fi
rm -rf "$work/case" && mkdir -p "$work/case"
cd "$work/case" || exit 1
cp "$windows/pgfview.exe" .
cp "$here/../converter/golden/Example-10bh1.pgf" first.pgf
"$ttf2pgf" "$here/../../fonts/Example2.otf" second.pgf 14h1 b2i1 >/dev/null 2>&1
head -c 100 first.pgf >damaged.pgf
export QT_QPA_PLATFORM=offscreen
"$linux" --export first.png first.pgf 2>/dev/null
"$linux" --export second.png second.pgf 2>/dev/null
want_first=$(python3 "$here/png_pixels.py" first.png)
want_second=$(python3 "$here/png_pixels.py" second.png)
cp first.pgf ltn0.pgf

cases=0
failures=0
check() {  # check NAME COMMAND...
    local name=$1
    shift
    cases=$((cases + 1))
    if "$@"; then echo "ok   $name"; else echo "FAIL $name"; failures=$((failures + 1)); fi
}
# The picture at 1x stands 8 pixels in and 72 down in the client area (at 96 dpi).
picture() {
    local digest
    digest=$(import -window root -crop "480x272+$((x + 8))+$((y + 72))" -depth 8 rgb:- 2>/dev/null |
        sha256sum)
    echo "480x272 ${digest%% *}"
}
# shows DIGEST SECONDS: the picture becomes DIGEST within SECONDS; prints the milliseconds taken.
shows() {
    local start end
    start=$(date +%s%N)
    end=$((start + $2 * 1000000000))
    while [ "$(date +%s%N)" -lt "$end" ]; do
        if [ "$(picture)" = "$1" ]; then
            echo "      after $((($(date +%s%N) - start) / 1000000)) ms"
            return 0
        fi
        sleep 0.05
    done
    return 1
}
titled() {  # titled TITLE SECONDS (xdotool takes the title as a pattern: no parentheses)
    local i
    for ((i = 0; i < $2 * 20; i++)); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    return 1
}

(cd / && wine "$work/case/pgfview.exe" >"$work/wine.log" 2>&1 &)
check starts-on-ltn0 titled "pgfview - ltn0.pgf" 30
id=$(xdotool search --onlyvisible --name "^pgfview - ltn0.pgf\$" | head -1)
eval "$(xdotool getwindowgeometry --shell "$id")"
x=$X y=$Y
# The Tessavine window, 447 pixels wide and centred, is not covered.
check beside-main-window test $((x)) -ge $(((1600 + 447) / 2)) -o $((x + WIDTH)) -le $(((1600 - 447) / 2))
check picture-as-linux-export shows "$want_first" 5
cp second.pgf ltn0.tmp && mv ltn0.tmp ltn0.pgf
check renamed-over-redrawn-within-a-second shows "$want_second" 1
rm ltn0.pgf
check missing-said titled "pgfview - ltn0.pgf .missing." 1
cp damaged.pgf ltn0.tmp && mv ltn0.tmp ltn0.pgf
check damaged-said titled "pgfview - ltn0.pgf .damaged." 1
cp first.pgf ltn0.tmp && mv ltn0.tmp ltn0.pgf
check good-file-back titled "pgfview - ltn0.pgf" 1
check good-file-drawn shows "$want_first" 1
# Export PNG: the button (at 350 to 460 pixels across the client area), the Save dialog, a name.
exported() {
    xdotool mousemove --window "$id" 400 20 click 1
    local i dialog=
    for ((i = 0; i < 100; i++)); do
        dialog=$(xdotool search --onlyvisible --name "^Save As\$" 2>/dev/null | head -1)
        [ -n "$dialog" ] && break
        sleep 0.1
    done
    [ -n "$dialog" ] || return 1
    sleep 0.5
    xdotool type --delay 20 'Z:'"${work//\//\\}"'\case\exported.png'
    xdotool key Return
    for ((i = 0; i < 50; i++)); do
        [ -s exported.png ] && break
        sleep 0.1
    done
    sleep 0.3
    [ "$(python3 "$here/png_pixels.py" exported.png)" = "$want_first" ]
}
check export-button-writes-the-view exported

# With PGFVIEW_EXE_REPLACEMENTS=N, the figures: N replacements, alternating the two fonts, and
# the time from each rename to the new picture on the display (an upper bound: a screenshot
# takes part of it).
if [ -n "${PGFVIEW_EXE_REPLACEMENTS:-}" ]; then
    times=()
    current=first
    for ((n = 0; n < PGFVIEW_EXE_REPLACEMENTS; n++)); do
        if [ $current = first ]; then current=second want=$want_second; else current=first want=$want_first; fi
        cp $current.pgf ltn0.tmp
        start=$(date +%s%N)
        mv ltn0.tmp ltn0.pgf
        until [ "$(picture)" = "$want" ]; do
            [ $(($(date +%s%N) - start)) -gt 10000000000 ] && break
        done
        times+=($((($(date +%s%N) - start) / 1000000)))
    done
    sorted=($(printf "%s\n" "${times[@]}" | sort -n))
    echo "redraw after a replacement, $PGFVIEW_EXE_REPLACEMENTS times: median ${sorted[$((${#sorted[@]} / 2))]} ms, worst ${sorted[-1]} ms"
fi
echo "$((cases - failures)) of $cases checks passed"
[ "$failures" = 0 ]
