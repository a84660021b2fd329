#!/usr/bin/env bash
# pgfview.exe from a console under Wine, without any display: --help and --version answer,
# --export draws the very pixels Linux pgfview --export draws for the same file (the two PNG
# encoders differ, the pictures may not), and a missing, damaged or non-ordinary file, or a
# place that cannot be written, is named with its reason, exits non-zero and leaves nothing.
# Usage: console_under_wine.sh LINUX_PGFVIEW LINUX_TTF2PGF WINDOWS_PROGRAM_DIR WORK_DIR WINE_PREFIX
# Exits 77 (skipped) when there is no Windows build, no Wine or no python3.
set -uo pipefail
here=$(dirname "$(realpath "$0")")
linux=$(realpath "$1") ttf2pgf=$(realpath "$2") windows=$(realpath -m "$3")
mkdir -p "$4"
work=$(realpath "$4")
if [ ! -f "$windows/pgfview.exe" ]; then
    echo "skipped: no pgfview.exe in $windows (cmake --workflow --preset windows)"
    exit 77
fi
for tool in wine python3; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
export WINEPREFIX=$(realpath -m "$5") WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/.made" ]; then
    mkdir -p "$WINEPREFIX" && wineboot --init >/dev/null 2>&1 && wineserver -w && touch "$WINEPREFIX/.made"
fi
rm -rf "$work/case" && mkdir -p "$work/case"
cd "$work/case" || exit 1
cp "$windows/pgfview.exe" .
cp "$here/../converter/golden/Example-10bh1.pgf" ltn0.pgf
"$ttf2pgf" "$here/../../fonts/Example2.otf" shadowed.pgf 14h1 b2i1 >/dev/null 2>&1
head -c 100 ltn0.pgf >damaged.pgf
mkfifo pipe.pgf

cases=0
failures=0
check() {  # check NAME COMMAND...: the command must succeed
    local name=$1
    shift
    cases=$((cases + 1))
    if "$@"; then echo "ok   $name"; else echo "FAIL $name"; failures=$((failures + 1)); fi
}
pixels() { python3 "$here/png_pixels.py" "$1"; }
# same_export NAME [FONT]: both programs export; the pixels must be equal.
same_export() {
    local name=$1
    shift
    QT_QPA_PLATFORM=offscreen "$linux" --export "lin-$name.png" "${@:-ltn0.pgf}" 2>/dev/null &&
        timeout 60 wine pgfview.exe --export "win-$name.png" "$@" &&
        [ -n "$(pixels "lin-$name.png")" ] && [ "$(pixels "lin-$name.png")" = "$(pixels "win-$name.png")" ]
}
# refused NAME FONT OUT WORDS...: export fails, says WORDS, and OUT is not there afterwards.
refused() {
    local font=$2 out=$3
    shift 3
    timeout 60 wine pgfview.exe --export "$out" "$font" >out.txt 2>err.txt
    local status=$?
    [ "$status" != 0 ] && [ "$status" != 124 ] && [ ! -e "$out" ] && [ ! -s out.txt ] &&
        grep -qF "$font" err.txt && grep -qF "$*" err.txt
}

check help-without-display bash -c 'timeout 60 wine pgfview.exe --help | grep -q "^usage: pgfview.exe \[FILE.pgf\]"'
check version bash -c 'timeout 60 wine pgfview.exe --version | grep -qx "pgfview [0-9.]* (Tessavine)"'
check export-own-folder-ltn0 same_export ltn0
check export-shadowed-font same_export shadowed shadowed.pgf
check missing-file refused missing gone.pgf a.png "there is no such file"
check damaged-file refused damaged damaged.pgf b.png "no PGF font"
check pipe-refused refused pipe pipe.pgf c.png "not an ordinary file"
# A picture already there stays as it was when the font cannot be read: the font is judged
# before anything is written.
cp win-ltn0.png kept.png
check damaged-keeps-old-picture bash -c \
    'wine pgfview.exe --export kept.png damaged.pgf 2>/dev/null; [ $? != 0 ] && cmp -s kept.png win-ltn0.png'
check unwritable-place bash -c \
    'wine pgfview.exe --export "no-such-folder\\x.png" ltn0.pgf 2>err.txt; [ $? != 0 ] &&
     grep -q "Could not write" err.txt && [ ! -e no-such-folder ]'
check nothing-stray bash -c \
    'diff <(ls | sort) <(printf "%s\n" b.png c.png damaged.pgf err.txt kept.png lin-ltn0.png lin-shadowed.png ltn0.pgf out.txt pgfview.exe pipe.pgf shadowed.pgf win-ltn0.png win-shadowed.png | grep -v "^[bc].png$" | sort)'
# The session started without a display ends here, so that windows of later tests show.
wineserver -k 2>/dev/null
echo "$((cases - failures)) of $cases checks passed"
[ "$failures" = 0 ]
