#!/bin/bash
# Time and peak memory (/usr/bin/time -v) of the programs on crafted inputs: a 2 GB sparse font,
# a named pipe as the font, a 2 GB sparse PGF, a 2 GB backup note and a 512 MB sparse backup font;
# and pgfinfo and the pgfview window (pgfview_open_benchmark) on the crafted PGF files of the
# tests (tests/pgfinfo/crafted_pgf_main.cpp) and the repro files, whose goal is 1 s and 100 MB.
# Usage: bench/crafted_inputs.sh <program folder> (ttf2pgf.exe, pgfinfo, tessavine-restore; the
# generator crafted_pgf and pgfview_open_benchmark are looked for in ../tests and ../bench).
# A run that does not end within 15 s is stopped and shown as such.
set -u
bin=$(cd "$1" && pwd)
repro=$(cd "$(dirname "$0")/../tests/converter/repro" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkfifo pipe.ttf pipe.pgf
truncate -s 2G huge.ttf huge.pgf
mkdir -p p/backup/note p/backup/font s/PSP/GAME s/font
printf 'Font folder: %s\nMade: then\n' "$work/s/font" >p/backup/note/backup-info.txt
truncate -s 2G p/backup/note/backup-info.txt
printf 'Font folder: %s\nMade: then\n' "$work/s/font" >p/backup/font/backup-info.txt
truncate -s 512M p/backup/font/ltn0.pgf
cp "$bin/tessavine-restore" p/
measure() {
    local label=$1
    shift
    /usr/bin/time -v -o t timeout 15 "$@" >/dev/null 2>err
    local code=$?
    printf '%-34s exit %3s  %6.2f s  %8d KB peak  %s\n' "$label" "$code" \
        "$(grep 'Elapsed (wall' t | awk '{print $NF}' | awk -F: '{print $(NF-1)*60+$NF}')" \
        "$(grep 'Maximum resident' t | awk '{print $NF}')" "$(head -c 110 err | tr '\n' ' ')"
}
measure "ttf2pgf 2 GB sparse font" "$bin/ttf2pgf.exe" huge.ttf ltn0.pgf 18h1.0 b2.5i1.2
measure "ttf2pgf named pipe as font" "$bin/ttf2pgf.exe" pipe.ttf ltn0.pgf 18h1.0 b2.5i1.2
measure "pgfinfo 2 GB sparse PGF" "$bin/pgfinfo" huge.pgf
measure "pgfinfo named pipe as PGF" "$bin/pgfinfo" pipe.pgf
measure "restore 2 GB backup-info.txt" p/tessavine-restore p/backup/note
measure "restore 512 MB sparse ltn0.pgf" p/tessavine-restore p/backup/font
echo "  (the font folder afterwards: $(ls -A s/font | tr '\n' ' '))"
opener=$bin/../bench/pgfview_open_benchmark
for kind in names many-fonts many-runs most-runs; do
    "$bin/../tests/crafted_pgf" $kind $kind.pgf
done
for file in names.pgf many-fonts.pgf many-runs.pgf most-runs.pgf "$repro"/pgf-*.pgf; do
    name=$(basename "$file")
    measure "pgfinfo $name ($(stat -c %s "$file") B)" "$bin/pgfinfo" "$file"
    if [ -x "$opener" ]; then
        QT_QPA_PLATFORM=offscreen measure "pgfview $name" "$opener" "$file"
    fi
done
