#!/usr/bin/env bash
# Runs the Windows ttf2pgf.exe, pgfinfo.exe and tessavine-copy.exe under Wine and holds what they
# do against the Linux programs given the same command: the same bytes written, the same text
# printed, the same exit status. Usage: wine_test.sh LINUX_PROGRAM_DIR WINDOWS_PROGRAM_DIR WORK_DIR
# Exits 77 (skipped) when there is no Windows build or no Wine.
set -uo pipefail
mkdir -p "$3"
linux=$(realpath "$1") windows=$(realpath -m "$2") work=$(realpath "$3")
fonts=(Example.ttf Example2.otf)

if [ ! -f "$windows/ttf2pgf.exe" ] || [ ! -f "$windows/pgfinfo.exe" ]; then
    echo "skipped: no Windows build in $windows (tools/build-windows-deps && cmake --workflow --preset windows)"
    exit 77
fi
if ! command -v wine >/dev/null; then
    echo "skipped: wine is not installed"
    exit 77
fi

# A private prefix, made once (the first start takes a while); file names travel as UTF-8.
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.made" ]; then
    mkdir -p "$WINEPREFIX" && wineboot --init >/dev/null 2>&1 && wineserver -w && touch "$WINEPREFIX/.made"
fi

# Two program folders as the window sees them: the programs and the fonts side by side.
rm -rf "$work/lin" "$work/win"
mkdir -p "$work/lin" "$work/win"
for font in "${fonts[@]}"; do cp "$windows/$font" "$work/lin/" && cp "$windows/$font" "$work/win/"; done
cp "$windows/ttf2pgf.exe" "$windows/pgfinfo.exe" "$work/win/"
cp "$linux/ttf2pgf.exe" "$linux/pgfinfo" "$work/lin/"

cases=0
declare -A failed=()
fail() { echo "FAIL $1: $2"; failed[$1]=1; }

# run SIDE PROGRAM WORDS...: runs in that side's program folder; leaves out, err and status.
run() {
    local side=$1 program=$2
    shift 2
    if [ "$side" = win ]; then
        (cd "$work/win" && wine "$program.exe" "$@" >"$work/win.out" 2>"$work/win.err")
    else
        local name=$program
        [ "$program" = ttf2pgf ] && name=ttf2pgf.exe
        (cd "$work/lin" && "./$name" "$@" >"$work/lin.out" 2>"$work/lin.err")
    fi
    echo $? >"$work/$side.status"
    sed -i 's/\r$//' "$work/$side.out" "$work/$side.err"  # Windows ends lines with CR LF
}

# same_run NAME PROGRAM OUTPUT WORDS...: both sides exit alike, print alike, write equal files.
same_run() {
    local name=$1 program=$2 output=$3
    shift 3
    cases=$((cases + 1))
    run lin "$program" "$@"
    run win "$program" "$@"
    for stream in status out err; do
        cmp -s "$work/lin.$stream" "$work/win.$stream" ||
            fail "$name" "$stream differs: Linux $(head -c 300 "$work/lin.$stream") | Windows $(head -c 300 "$work/win.$stream")"
    done
    if [ -n "$output" ]; then
        if [ ! -f "$work/win/$output" ]; then
            fail "$name" "Windows wrote no $output"
        elif ! cmp "$work/lin/$output" "$work/win/$output"; then
            fail "$name" "$output differs"
        fi
        rm -f "$work/lin/$output" "$work/win/$output"
    fi
}

# Every style form at two sizes on both fonts: the heart of it, byte for byte.
sizes=("24 h0.8 b2.5i1.2" "13 h1.15 b0.8i0.6")
for font in "${fonts[@]}"; do
    for style in "" b i bi; do
        for size in "${sizes[@]}"; do
            read -r scale width shadow <<<"$size"
            same_run "$font $scale${style}$width" ttf2pgf ltn0.pgf \
                "$font" ltn0.pgf "$scale$style$width" "$shadow"
        done
    done
done

# An output already there is replaced (the window runs the converter again and again).
echo "an older file" >"$work/lin/ltn0.pgf" && echo "an older file" >"$work/win/ltn0.pgf"
same_run "replacing an older output" ttf2pgf ltn0.pgf Example.ttf ltn0.pgf 24h0.8 b2.5i1.2

# The command line exactly as the window passes it, from a batch file (Wine would quote a line
# handed over from here once more).
cases=$((cases + 1))
run lin ttf2pgf Example.ttf ltn0.pgf 24h0.8 b2.5i1.2
printf '@ttf2pgf.exe "Example.ttf" ltn0.pgf 24h0.8 b2.5i1.2\r\n@exit /b %%ERRORLEVEL%%\r\n' >"$work/win/window.bat"
(cd "$work/win" && wine cmd /c window.bat >/dev/null 2>&1)
status=$?
if [ "$status" != 0 ] || ! cmp "$work/lin/ltn0.pgf" "$work/win/ltn0.pgf"; then
    fail "the window's command line" "status $status"
fi
rm -f "$work/lin/ltn0.pgf" "$work/win/ltn0.pgf" "$work/win/window.bat"

# Names a Windows user meets: non-ASCII characters, blanks, an absolute drive-letter path, the
# \\?\ form and a network (UNC) path. Wine maps the drive Z: to the Linux root and the share
# \\tessavine\work to the folder its dosdevices/unc link names.
odd="Schrift Ünïcødé 字体 ✓.ttf"
cp "$work/lin/Example.ttf" "$work/lin/$odd" && cp "$work/win/Example.ttf" "$work/win/$odd"
same_run "non-ASCII names with blanks" ttf2pgf "lätin ß 0.pgf" "$odd" "lätin ß 0.pgf" 24h0.8 b2.5i1.2
winwork="Z:${work//\//\\}\\win"
mkdir -p "$WINEPREFIX/dosdevices/unc/tessavine"
ln -sfn "$work/win" "$WINEPREFIX/dosdevices/unc/tessavine/work"
for form in "$winwork" "\\\\?\\$winwork" "\\\\tessavine\\work"; do
    cases=$((cases + 1))
    run win ttf2pgf "$form\\$odd" "$form\\ltn1.pgf" 24h0.8 b2.5i1.2
    run lin ttf2pgf Example.ttf ltn1.pgf 24h0.8 b2.5i1.2
    if [ "$(cat "$work/win.status")" != 0 ] || ! cmp "$work/lin/ltn1.pgf" "$work/win/ltn1.pgf"; then
        fail "absolute path $form" "status $(cat "$work/win.status"): $(cat "$work/win.err")"
    fi
    rm -f "$work/lin/ltn1.pgf" "$work/win/ltn1.pgf"
done

# Bad input: status 1, one line on the error stream (the same as on Linux), no file left.
mkdir -p "$work/lin/o.pgf" "$work/win/o.pgf"
echo "not a font" >"$work/lin/notes.ttf" && echo "not a font" >"$work/win/notes.ttf"
bad_runs=(
    "missing font|Missing.ttf|out.pgf|24h1|b1i1"
    "text file as font|notes.ttf|out.pgf|24h1|b1i1"
    "scale too large|Example.ttf|out.pgf|200h1|b1i1"
    "folder in the output's place|Example.ttf|o.pgf|24h1|b1i1"
    "missing output folder|Example.ttf|no\\out.pgf|24h1|b1i1"
)
for bad in "${bad_runs[@]}"; do
    IFS='|' read -r name font output size shadow <<<"$bad"
    linux_output=${output//\\//}
    before=$(ls -A "$work/win")
    cases=$((cases + 1))
    run win ttf2pgf "$font" "$output" "$size" "$shadow"
    run lin ttf2pgf "$font" "$linux_output" "$size" "$shadow"
    [ "$(cat "$work/win.status")" = 1 ] || fail "$name" "status $(cat "$work/win.status"), not 1"
    [ "$(wc -l <"$work/win.err")" = 1 ] || fail "$name" "not one line: $(cat "$work/win.err")"
    [ "$(ls -A "$work/win")" = "$before" ] || fail "$name" "left files: $(ls -A "$work/win")"
    # The one difference allowed: a Windows path is written as it was typed, with backslashes.
    [ "$(sed 's/\\/\//g' "$work/win.err")" = "$(cat "$work/lin.err")" ] ||
        fail "$name" "error differs: Linux $(cat "$work/lin.err") | Windows $(cat "$work/win.err")"
done

# pgfinfo: the same report and the same specimen picture from the same file.
run lin ttf2pgf Example.ttf ltn0.pgf 24bih0.8 b2.5i1.2 && cp "$work/lin/ltn0.pgf" "$work/win/"
same_run "pgfinfo report and specimen" pgfinfo specimen.png ltn0.pgf --png specimen.png --shadow
cp "$work/lin/ltn0.pgf" "$work/lin/$odd.pgf" && cp "$work/lin/ltn0.pgf" "$work/win/$odd.pgf"
same_run "pgfinfo with a non-ASCII name" pgfinfo "ß $odd.png" "$odd.pgf" --png "ß $odd.png"

# Names read from a crafted file are printed as escapes on both, byte for byte alike when the
# output is a file (UTF-8); the generator is built with the Linux programs.
if [ -x "$linux/../tests/crafted_pgf" ]; then
    "$linux/../tests/crafted_pgf" names "$work/lin/names.pgf" && cp "$work/lin/names.pgf" "$work/win/"
    same_run "pgfinfo shows names from the file as escapes" pgfinfo "" names.pgf
    grep -qF 'Evil\x1b]0;owned\x07\rfont name' "$work/win.out" ||
        fail "pgfinfo escapes" "Windows printed: $(head -c 300 "$work/win.out")"
fi

# tessavine-copy.exe puts jpn0.pgf onto a fake PSP found through TESSAVINE_DEVICE_ROOTS (a drive
# path as Windows names it), tessavine-restore.exe puts the firmware's back; a non-font is
# refused in the Linux program's words and leaves the PSP as it was.
if [ -f "$windows/tessavine-copy.exe" ] && [ -x "$linux/tessavine-copy" ]; then
    cp "$windows/tessavine-copy.exe" "$windows/tessavine-restore.exe" "$work/win/"
    cp "$linux/tessavine-copy" "$linux/tessavine-restore" "$work/lin/"
    (cd "$work/lin" && ./ttf2pgf.exe Example.ttf firmware.pgf 24h0.8 b2.5i1.2 &&
        ./ttf2pgf.exe Example2.otf jpn0.pgf 18h1.0 b1i1)
    for side in lin win; do
        rm -rf "$work/$side/psp" "$work/$side/backup" "$work/$side/bad"
        mkdir -p "$work/$side/psp/PSP/GAME" "$work/$side/psp/font" "$work/$side/bad"
        cp "$work/lin/firmware.pgf" "$work/$side/psp/font/jpn0.pgf"
        [ "$side" = win ] && cp "$work/lin/jpn0.pgf" "$work/win/"
        echo "not a font" >"$work/$side/bad/jpn0.pgf"
    done
    cases=$((cases + 1))
    TESSAVINE_DEVICE_ROOTS="$winwork\\psp" run win tessavine-copy jpn0.pgf
    backups=("$work/win/backup"/*)
    if [ "$(cat "$work/win.status")" != 0 ] || ! cmp -s "$work/win/jpn0.pgf" "$work/win/psp/font/jpn0.pgf" ||
        ! grep -qF "Memory Stick of the PSP found at $winwork\\psp." "$work/win.out" ||
        ! grep -qF "1 font copied to $winwork\\psp\\font." "$work/win.out" ||
        [ "${#backups[@]}" != 1 ] || ! cmp -s "$work/lin/firmware.pgf" "${backups[0]}/jpn0.pgf" ||
        [ "$(ls -A "$work/win/psp/font")" != jpn0.pgf ]; then
        fail "tessavine-copy.exe jpn0.pgf" "status $(cat "$work/win.status"): $(cat "$work/win.out" "$work/win.err")"
    else
        cases=$((cases + 1))
        run win tessavine-restore "backup\\$(basename "${backups[0]}")"
        if [ "$(cat "$work/win.status")" != 0 ] || ! cmp -s "$work/lin/firmware.pgf" "$work/win/psp/font/jpn0.pgf" ||
            ! grep -qF "Restored jpn0.pgf from" "$work/win.out"; then
            fail "tessavine-restore.exe puts jpn0.pgf back" "status $(cat "$work/win.status"): $(cat "$work/win.out" "$work/win.err")"
        fi
    fi
    cases=$((cases + 1))
    before=$(cd "$work/win" && find psp -type f -exec md5sum {} + | sort)
    run win tessavine-copy --to "psp\\font" "bad\\jpn0.pgf"
    run lin tessavine-copy --to psp/font bad/jpn0.pgf
    [ "$(cat "$work/win.status")" = 1 ] && [ "$(cat "$work/lin.status")" = 1 ] ||
        fail "tessavine-copy.exe refuses a non-font" "status $(cat "$work/win.status")"
    [ "$(wc -l <"$work/win.err")" = 1 ] || fail "tessavine-copy.exe refuses a non-font" "not one line: $(cat "$work/win.err")"
    [ "$(sed 's/\\/\//g' "$work/win.err")" = "$(cat "$work/lin.err")" ] ||
        fail "tessavine-copy.exe refuses a non-font" "Linux $(cat "$work/lin.err") | Windows $(cat "$work/win.err")"
    [ "$(cd "$work/win" && find psp -type f -exec md5sum {} + | sort)" = "$before" ] ||
        fail "tessavine-copy.exe refuses a non-font" "the PSP changed"
    rm -rf "$work/lin/psp" "$work/win/psp" "$work/lin/backup" "$work/win/backup" "$work/lin/bad" "$work/win/bad"
fi

echo "$((cases - ${#failed[@]})) of $cases cases alike under Wine"
[ "${#failed[@]}" = 0 ]
