#!/usr/bin/env bash
# The Windows build's pgfinfo.exe, run under Wine, draws the golden specimens byte for byte as
# the Linux pgfinfo does (whose pictures psp_screen.golden holds against the saved ones): the
# shared drawing gives the same picture on both systems.
# Usage: specimens_under_wine.sh LINUX_PGFINFO WINDOWS_PROGRAM_DIR WORK_DIR GOLDEN_DIR
# Exits 77 (skipped) when there is no Windows build or no Wine.
set -uo pipefail
linux=$(realpath "$1") windows=$(realpath -m "$2") golden=$(realpath "$4")
mkdir -p "$3"
work=$(realpath "$3")
if [ ! -f "$windows/pgfinfo.exe" ]; then
    echo "skipped: no Windows build in $windows (cmake --workflow --preset windows)"
    exit 77
fi
if ! command -v wine >/dev/null; then
    echo "skipped: wine is not installed"
    exit 77
fi
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.made" ]; then
    mkdir -p "$WINEPREFIX" && wineboot --init >/dev/null 2>&1 && wineserver -w && touch "$WINEPREFIX/.made"
fi
rm -rf "$work/case" && mkdir -p "$work/case"
cp "$windows/pgfinfo.exe" "$golden/gradient.pgf" "$golden/../../converter/golden/Example-10bh1.pgf" \
    "$work/case/"
cd "$work/case" || exit 1

failures=0
cases=0
# same NAME FONT WORDS...: both programs write the specimen; the two files must be equal.
same() {
    local name=$1 font=$2
    shift 2
    cases=$((cases + 1))
    "$linux" "$font" --png "lin-$name.png" "$@" >/dev/null 2>&1
    local linux_status=$?
    wine pgfinfo.exe "$font" --png "win-$name.png" "$@" >/dev/null 2>&1
    local windows_status=$?
    if [ "$linux_status" != 0 ] || [ "$windows_status" != 0 ]; then
        echo "FAIL $name: exit $linux_status on Linux, $windows_status under Wine"
        failures=$((failures + 1))
    elif ! cmp -s "lin-$name.png" "win-$name.png"; then
        echo "FAIL $name: the pictures differ (lin-$name.png, win-$name.png in $work/case)"
        failures=$((failures + 1))
    fi
}
same converted Example-10bh1.pgf
same converted-shadow Example-10bh1.pgf --shadow
same converted-missing-zoom3 Example-10bh1.pgf --shadow --zoom 3 --text 'Ωμέγα\n漢字 ok'
same gradient-shadow gradient.pgf --shadow --text 'GiG iG\nxGi'
same gradient-zoom3 gradient.pgf --zoom 3 --text 'GGi x'
echo "$((cases - failures)) of $cases specimens the same under Wine"
[ "$failures" = 0 ]
