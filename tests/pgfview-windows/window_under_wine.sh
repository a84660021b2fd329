#!/usr/bin/env bash
# pgfview.exe's window under Wine, used as a Windows user does, on a display of its own (Xvfb,
# xdotool, ImageMagick's import): started without a file it shows ltn0.pgf of its folder beside
# where the Tessavine window stands, its picture the pixels of Linux pgfview --export; a new file
# renamed over ltn0.pgf (the converter's way) is drawn within a second; a missing and a damaged
# file are said in the title, and a good file brings the picture back; Export PNG writes the
# picture shown; a .pgf file dropped onto the window (among others) opens; the tabs are Linux
# pgfview's, Screen then Characters, and a cell of the character table tells its code in a tip
# as on Linux; at 192 dpi the captions are whole and each screen pixel is a sharp 2 x 2 block of
# the same picture.
# Usage: window_under_wine.sh LINUX_PGFVIEW LINUX_TTF2PGF WINDOWS_PROGRAM_DIR WORK_DIR WINE_PREFIX
# Exits 77 (skipped) without the Windows build, Wine, Xvfb, xdotool, import or python3; the drop
# and the captions are checked with a small probe built by x86_64-w64-mingw32-gcc, and skipped
# without it.
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
xvfb=
# The screen's scale, as Windows' display settings set it; 96 dpi again when the test ends, for
# the other tests of the prefix.
set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -w
}
trap 'wineserver -k 2>/dev/null; [ -n "$xvfb" ] && kill $xvfb 2>/dev/null; set_dpi 96' EXIT
# A display of its own (WIDTHxHEIGHT), on a number no other is using.
start_display() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    [ -n "$xvfb" ] && kill $xvfb 2>/dev/null && wait $xvfb 2>/dev/null
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "$1"x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb=$!
    for ((i = 0; i < 300; i++)); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
    export DISPLAY=:$(head -1 "$work/display")
}
# 1600 pixels wide: room for the viewer at 1x beside a centred Tessavine window.
start_display 1600x1000
# A Wine session left by a program run without a display (the console check) would keep its
# windows off this display: it ends first.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
if [ ! -f "$WINEPREFIX/.made" ]; then
    mkdir -p "$WINEPREFIX" && wineboot --init >/dev/null 2>&1 && wineserver -w && touch "$WINEPREFIX/.made"
fi
set_dpi 96
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
echo "not a font" >notes.txt
probe=
if command -v x86_64-w64-mingw32-gcc >/dev/null &&
    x86_64-w64-mingw32-gcc -municode -O1 -o window_probe.exe "$here/window_probe.c" -luser32 -lgdi32; then
    probe="$work/case/window_probe.exe"
fi

cases=0
failures=0
check() {  # check NAME COMMAND...
    local name=$1
    shift
    cases=$((cases + 1))
    if "$@"; then echo "ok   $name"; else echo "FAIL $name"; failures=$((failures + 1)); fi
}
# The picture at 1x stands 8 pixels in and 98 down in the client area (at 96 dpi), below the tabs.
picture() {
    local digest
    digest=$(import -window root -crop "480x272+$((x + 8))+$((y + 98))" -depth 8 rgb:- 2>/dev/null |
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
# A first start in a fresh Wine prefix on a busy machine can take half a minute and more.
check starts-on-ltn0 titled "pgfview - ltn0.pgf" 90
id=$(xdotool search --onlyvisible --name "^pgfview - ltn0.pgf\$" | head -1)
if [ -z "$id" ]; then
    echo "pgfview.exe showed no window; what Wine said:"
    tail -n 20 "$work/wine.log"
    exit 1
fi
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
# A fresh file that fails is read a few times before it is believed (a writer may not be done).
check damaged-said titled "pgfview - ltn0.pgf .damaged." 3
cp first.pgf ltn0.tmp && mv ltn0.tmp ltn0.pgf
check good-file-back titled "pgfview - ltn0.pgf" 1
check good-file-drawn shows "$want_first" 1
# Export PNG: the button (86 to 186 pixels across the client area, 40 to 64 down), the Save
# dialog, a name.
exported() {
    xdotool mousemove --window "$id" 136 52 click 1
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

# Files dropped onto the window, as Explorer drops them: the .pgf among them opens and is drawn.
if [ -n "$probe" ]; then
    (cd "$work/case" && wine "$probe" drop notes.txt second.pgf) >/dev/null 2>&1
    check dropped-pgf-opens titled "pgfview - second.pgf" 3
    check dropped-pgf-drawn shows "$want_second" 1
    (cd "$work/case" && wine "$probe" drop notes.txt) >/dev/null 2>&1
    sleep 0.5
    check dropped-other-file-left titled "pgfview - second.pgf" 1
    # The tabs: Linux pgfview's names in its order; a click on Characters shows the table, and the
    # mouse resting on its first cell (U+0020, which the font has) tells its code in a tip.
    (cd "$work/case" && wine "$probe" tabs) 2>&1 | tr -d '\r' >"$work/tabs.txt"
    check tabs-as-linux test "$(sed -n 's/^tab \([0-9]\) \([A-Za-z]*\) at .*/\1 \2/p' "$work/tabs.txt" | tr '\n' ' ')" = "0 Screen 1 Characters "
    read -r _ _ _ _ tab_x tab_y < <(grep '^tab 1 ' "$work/tabs.txt")
    xdotool mousemove --window "$id" "${tab_x:-0}" "${tab_y:-0}" click 1
    sleep 0.5
    (cd "$work/case" && wine "$probe" tabs) 2>&1 | tr -d '\r' >"$work/tabs.txt"
    check characters-tab-chosen grep -q '^chosen 1$' "$work/tabs.txt"
    sleep 0.5
    check characters-tab-drawn test "$(picture)" != "$want_second"
    tipped() {  # tipped TEXT: the tip says TEXT within a few seconds
        local i
        for ((i = 0; i < 30; i++)); do
            [ "$(cd "$work/case" && wine "$probe" tip 2>/dev/null | tr -d '\r')" = "tip $1" ] && return 0
            sleep 0.2
        done
        (cd "$work/case" && wine "$probe" tip)
        return 1
    }
    xdotool mousemove --window "$id" 12 102
    check cell-tip-tells-its-code tipped "U+0020   "
    xdotool mousemove --window "$id" 400 300
    xdotool mousemove --window "$id" "${tab_x:-0}" "${tab_y:-0}"
    read -r _ _ _ _ tab_x tab_y < <(grep '^tab 0 ' "$work/tabs.txt")
    xdotool mousemove --window "$id" "${tab_x:-0}" "${tab_y:-0}" click 1
    check screen-tab-back shows "$want_second" 2
    (cd "$work/case" && wine "$probe" captions) >"$work/captions96.txt" 2>&1
    check captions-whole-at-96-dpi grep -q "^dpi 96, 0 captions cut" "$work/captions96.txt"
    # Back to following ltn0.pgf, for the figures below.
    (cd "$work/case" && wine "$probe" drop ltn0.pgf) >/dev/null 2>&1
    check dropped-back-to-ltn0 titled "pgfview - ltn0.pgf" 3
else
    echo "skipped: the drop and the captions (no x86_64-w64-mingw32-gcc)"
fi

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
# At 192 dpi, on a screen with room for it: every caption whole, and the picture the same as
# Linux pgfview's, each of its pixels a uniform 2 x 2 block.
if [ -n "$probe" ]; then
    start_display 3200x1800
    set_dpi 192
    cp first.pgf ltn0.pgf
    (cd / && wine "$work/case/pgfview.exe" >>"$work/wine.log" 2>&1 &)
    check starts-at-192-dpi titled "pgfview - ltn0.pgf" 30
    id=$(xdotool search --onlyvisible --name "^pgfview - ltn0.pgf\$" | head -1)
    eval "$(xdotool getwindowgeometry --shell "$id")"
    x=$X y=$Y
    sharp() {  # the picture at 2x2 device pixels a pixel: every block uniform, and as Linux's
        local i
        for ((i = 0; i < 40; i++)); do
            import -window root -crop "960x544+$((x + 16))+$((y + 196))" -depth 8 rgb:- 2>/dev/null >"$work/at192.rgb"
            [ "$(python3 "$here/png_pixels.py" --blocks 2 960 544 "$work/at192.rgb")" = "$want_first" ] && return 0
            sleep 0.1
        done
        python3 "$here/png_pixels.py" --blocks 2 960 544 "$work/at192.rgb"
        return 1
    }
    check picture-sharp-at-192-dpi sharp
    (cd "$work/case" && wine "$probe" captions) >"$work/captions192.txt" 2>&1
    check captions-whole-at-192-dpi grep -q "^dpi 192, 0 captions cut" "$work/captions192.txt"
    grep "^cut" "$work/captions192.txt"
fi
echo "$((cases - failures)) of $cases checks passed"
[ "$failures" = 0 ]
