#!/bin/bash
# pgfinfo on crafted PGF files: every row ends within 10 s under a 512 MB address-space limit
# (the bounds catch the old minutes and gigabytes, not a slow machine), with its exit code and
# the words it must print; no name read from the file reaches the terminal as a control
# character, and no report line is faked. Figures for the 1 s / 100 MB goal: bench/crafted_inputs.sh.
# Usage: crafted_inputs.sh <pgfinfo> <crafted_pgf generator> <repro folder>
set -u
pgfinfo=$1 crafted=$2 repro=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
# AddressSanitizer reserves terabytes of address space at start and cannot live under the limit;
# the sanitizer run (which sets ASAN_OPTIONS) checks the words and escapes, the plain run the bound.
limit=(prlimit --as=536870912)
[ -z "${ASAN_OPTIONS:-}" ] || limit=()
for kind in names many-fonts many-runs most-runs; do
    "$crafted" $kind $kind.pgf || { echo "FAIL: cannot make $kind.pgf"; exit 1; }
done
fail() {
    echo "FAIL: $1"
    failures=$((failures + 1))
}
# file, exit code, words on stdout (or on stderr for a refusal), extra pgfinfo arguments
while IFS='|' read -r file code words args; do
    [ -n "$file" ] || continue
    [ -e "$file" ] || file=$repro/$file
    # shellcheck disable=SC2086 # the extra arguments are words
    timeout 10 "${limit[@]}" "$pgfinfo" "$file" $args >out 2>err
    got=$?
    [ "$got" = "$code" ] || fail "$file $args exited $got, not $code: $(head -c 300 err)"
    grep -qF -- "$words" out err || fail "$file $args does not say \"$words\""
    if [ "$code" != 0 ] && [ "$(wc -l <err)" != 1 ]; then
        fail "$file $args: the refusal is not one line: $(cat err)"
    fi
    # ESC, BEL, CR, DEL, C1 CSI, U+202E: none may be printed as such.
    if LC_ALL=C grep -qP '[\x1b\x07\r\x7f]|\xc2\x9b|\xe2\x80\xae' out err; then
        fail "$file $args printed a control character: $(od -c out | head -5)"
    fi
    [ "$(grep -c '^font name' out)" -le 1 ] || fail "$file $args printed a faked report line"
done <<'ROWS'
names.pgf|0|font name        Evil\x1b]0;owned\x07\rfont name        faked
names.pgf|0|style            <b>Bold</b>\x7f\xff
names.pgf|0|  a\x1b[2Jb\x07.ttf: 1 character U+0000
names.pgf|0|  line\r\nfont name        x\u009b\u202e.ttf: 1 character
many-fonts.pgf|0|names 65535 fonts, more than the 64 a file can be made from
many-runs.pgf|0|more than 65536 runs of characters
most-runs.pgf|0|  A.ttf: 32768 characters U+0000,U+0002,
pgf-bomb.pgf|1|far more pixels than a file of this size can hold
pgf-wide-canvas.pgf|0|font name
pgf-wide-canvas.pgf|1|at most 16384 on a side| --png wide.png
pgf-advance-overflow.pgf|1|at most 16384 on a side| --png overflow.png
ROWS
[ ! -e wide.png ] && [ ! -e overflow.png ] || fail "a refused picture was left behind"
[ $failures = 0 ]
