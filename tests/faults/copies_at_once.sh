#!/bin/bash
# Two copies started together into one font folder, many times: tessavine-restore against
# tessavine-restore, and against the window's device copy. Never a torn or mixed set, nothing of
# ours left beside it, every backup whole, and what each program says is true: a copy that
# reports success put its set there (the later one wins, having backed up the earlier's), one that
# reports another copy running changed nothing.
set -u
driver=$1 restore=$2 ttf2pgf=$3 font=$4 trials=${5:-50}
work=$(mktemp -d -p "$( [ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir "$work/fonts"
for n in 0 7; do "$ttf2pgf" "$font" "$work/fonts/a$n.pgf" "$((10 + n))h1.0" b1i1 || exit 1; done
for n in 0 7; do "$ttf2pgf" "$font" "$work/fonts/b$n.pgf" "$((20 + n))h0.8" b2i1 || exit 1; done
for n in 0 7; do "$ttf2pgf" "$font" "$work/fonts/c$n.pgf" "$((30 + n))h0.9" b2i1 || exit 1; done

describe() { (cd "$1" && ls -A | sort | xargs -r cksum | awk '{print $3, $1, $2}'); }
set_of() { (cd "$work/fonts" && for n in 0 7; do cksum "$1$n.pgf" | awk -v n=$n '{print "ltn" n ".pgf", $1, $2}'; done); }
A=$(set_of a) B=$(set_of b) C=$(set_of c)

outcomes=""
for ((t = 1; t <= trials; t++)); do
    rm -rf "$work/p" "$work/s"
    mkdir -p "$work/p/backup/one" "$work/p/backup/two" "$work/s/PSP/GAME" "$work/s/font"
    for n in 0 7; do
        cp "$work/fonts/a$n.pgf" "$work/s/font/ltn$n.pgf"
        cp "$work/fonts/b$n.pgf" "$work/p/backup/one/ltn$n.pgf"
        cp "$work/fonts/c$n.pgf" "$work/p/backup/two/ltn$n.pgf"
        cp "$work/fonts/c$n.pgf" "$work/p/ltn$n.pgf"  # what the window copies: set c as well
    done
    for b in one two; do
        printf 'Font folder: %s\nMade: then\n' "$work/s/font" >"$work/p/backup/$b/backup-info.txt"
    done
    cp "$restore" "$work/p/"
    r="$work/p/$(basename "$restore")"
    if ((t % 2)); then
        "$r" "$work/p/backup/one" >"$work/o1" 2>&1 & first=$!
        "$r" "$work/p/backup/two" >"$work/o2" 2>&1 & second=$!
    else
        "$r" "$work/p/backup/one" >"$work/o1" 2>&1 & first=$!
        "$driver" "$work/p" "$work/s" >"$work/o2" 2>&1 & second=$!
    fi
    wait $first; e1=$?
    wait $second; e2=$?
    now=$(describe "$work/s/font")
    [ "$now" = "$B" ] || [ "$now" = "$C" ] || { fail "trial $t: the folder holds $now"; continue; }
    # Whoever says it succeeded: its set is there unless the other one also succeeded after it.
    for k in 1 2; do
        out=$(cat "$work/o$k")
        code=$([ $k = 1 ] && echo $e1 || echo $e2)
        if [ "$code" = 0 ]; then
            [[ $k = 1 && $out != *Restored* ]] && fail "trial $t: restore 1 exit 0 without saying so: $out"
        elif [[ $out != *"Another copy into"*"is running"* ]]; then
            fail "trial $t: copy $k failed with: $out"
        fi
    done
    if [ $e1 = 0 ] && [ $e2 = 0 ]; then
        outcomes+="both "
    else
        outcomes+="one "
        winner=$([ $e1 = 0 ] && echo "$B" || echo "$C")
        [ "$now" = "$winner" ] || fail "trial $t: the copy that succeeded is not the one there"
    fi
    # Backups made by the two: each whole (set a, or the other's set).
    for folder in "$work"/p/backup/2*/; do
        got=$(describe "$folder" | grep -v backup-info)
        [ "$got" = "$A" ] || [ "$got" = "$B" ] || [ "$got" = "$C" ] ||
            fail "trial $t: backup $folder holds $got"
    done
done
echo "$trials trials: $(echo $outcomes | tr ' ' '\n' | grep -c both) with both copies done one after the other, $(echo $outcomes | tr ' ' '\n' | grep -c one) with one told another copy was running; $failures faults"
[ $failures = 0 ]
