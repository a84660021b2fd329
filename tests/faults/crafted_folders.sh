#!/bin/bash
# Crafted program folders, sticks and --set folders (journals, locks, links, huge files, partial
# backups) against the device copy, tessavine-restore (--finish) and ttf2pgf.exe --set. Each row
# checks the exit code, a part of the message and a checksum listing of the whole temporary tree
# before and after: what may change, and that nothing else does.
# With a fifth argument, sizes and fingerprints come from that copy_driver (to run the rows against
# older programs). Prints each row's exit, time, peak memory and changed entries (all, and those
# under outside/) as figures; only the exit, message and changes are checked.
# ROW_SHARD=K/N runs only the rows K, K+N, K+2N... (from 0), so that N runs share the table.
set -u
driver=$1 restore=$2 ttf2pgf=$3 font=$4 summer=${5:-$1}
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
failures=0 rows=0 ran=0
shard=${ROW_SHARD:-0/1}
t=$work/t  # the tree: p (program folder), s (stick), set (--set folder), outside (bystanders)

"$ttf2pgf" "$font" "$work/old.pgf" 12h1.0 b1i1 >/dev/null && "$ttf2pgf" "$font" "$work/new.pgf" 14h1.0 b1i1 >/dev/null || exit 1
"$ttf2pgf" --set "$font" "$work/ref-set" 9h1.0 b1i1 >/dev/null || exit 1
host=$(hostname)
sleep 0 & dead=$!; wait $dead  # a process number no process has now

from=
scene() {
    from=
    chmod -R u+w "$t" 2>/dev/null; rm -rf "$t"
    mkdir -p "$t/p/backup" "$t/s/PSP/GAME" "$t/s/font" "$t/outside"
    cp "$work/new.pgf" "$t/p/ltn0.pgf"
    cp "$work/old.pgf" "$t/s/font/ltn0.pgf"
    cp -r "$work/ref-set" "$t/set"
    echo "thesis" >"$t/outside/thesis.odt"
    echo "notes" >"$t/set/notes.txt"
    echo "thesis" >"$t/set/thesis.odt"
    cp "$restore" "$t/p/"
}
# Every entry of the tree with its kind and checksum, one per line, sorted.
listing() {
    (cd "$t" && find . -mindepth 1 -printf '%y %p %l\n' | sort | while read -r kind path link; do
        case $kind in f) echo "f $path $(cksum <"$path")" ;; *) echo "$kind $path $link" ;; esac
    done)
}
sum_of() { "$summer" --sum "$1"; }
journal() {  # journal FOLDER BACKUP LINE...: a copy journal as the device copy writes it
    local folder=$1 backup=$2; shift 2
    { echo "tessavine copy journal 1"; echo "backup $backup"; printf '%s\n' "$@"; echo end; } >"$folder/.tessavine-copy.journal"
}
setjournal() {  # setjournal LINE...: a copy journal in the --set folder, as a copy without backup writes it
    { echo "tessavine copy journal 1"; echo "no backup"; printf '%s\n' "$@"; echo end; } >"$t/set/.tessavine-copy.journal"
}
note() {  # note BACKUP FONTFOLDER [ADDED]: a backup's note
    mkdir -p "$1"
    printf 'Font folder: %s\nMade: then\nFonts: ltn0.pgf\n%s' "$2" "${3:+Added by the copy: $3
}" >"$1/backup-info.txt"
}

run() {
    case $1 in
        device) "$driver" "$t/p" "$t/s" ;;
        finish) "$t/p/$(basename "$restore")" --finish "$t/s/font" ;;
        force) "$t/p/$(basename "$restore")" --finish --force "$t/s/font" ;;
        restore) "$t/p/$(basename "$restore")" "$from" ;;
        set) "$ttf2pgf" --set "$font" "$t/set" 9h1.0 b1i1 ;;
        finishset) "$t/p/$(basename "$restore")" --finish "$t/set" ;;
    esac
}
# row NAME PROGRAM SETUP EXIT MESSAGE CHANGES: CHANGES is an extended regex of the listing lines
# allowed to differ ("" for none: the tree must be exactly as before).
row() {
    local name=$1 program=$2 setup=$3 code=$4 message=$5 changes=$6 gone=${7:-}
    rows=$((rows + 1))
    [ $(((rows - 1) % ${shard#*/})) = "${shard%/*}" ] || return 0
    ran=$((ran + 1))
    scene; eval "$setup"
    listing >"$work/before"
    /usr/bin/time -f "%e %M" -o "$work/time" bash -c "$(declare -p t driver restore ttf2pgf font work from 2>/dev/null; declare -f run); run $program" >"$work/out" 2>&1
    local got=$?
    listing >"$work/after"
    local diff
    diff=$(diff "$work/before" "$work/after" | grep '^[<>]' | cut -c3-)
    printf '%-70s %-8s exit %s  %5s s %7s KB  %3d changed, %d outside\n' "$name" "$program" "$got" \
        $(tail -1 "$work/time") "$(grep -c . <<<"$diff")" "$(grep -c '\./outside' <<<"$diff")"
    if [ -n "$changes" ]; then diff=$(grep -Ev -- "$changes" <<<"$diff"); fi
    if [ -n "$gone" ] && grep -Eq -- "$gone" "$work/after"; then
        failures=$((failures + 1)); echo "FAIL: $name: still there: $gone"
    fi
    if [ "$got" != "$code" ] || { [ -n "$message" ] && ! grep -qF -- "$message" "$work/out"; } || [ -n "$diff" ]; then
        failures=$((failures + 1))
        echo "FAIL: $name ($program): exit $got (wanted $code)"; cat "$work/out"
        [ -n "$diff" ] && echo "changed beyond what may change:" && echo "$diff"
    fi
    grep -q $'\e' "$work/out" && { failures=$((failures + 1)); echo "FAIL: $name: raw escape in the message"; }
}

NEW=$(sum_of "$work/new.pgf") OLD=$(sum_of "$work/old.pgf")
TMP=.ltn0.pgf.tessavine.1-a.tmp

# --- --set journals: only the set's own files, ever ------------------------------------------
for j in 'file thesis.odt x.part notes.txt 1 1 1' \
         'file ltn0.pgf ltn0.pgf.1-a.part notes.txt 1 1 1' \
         'file ltn0.pgf a\\..\\..\\outside\\thesis.odt ltn0.pgf.1-a.old 1 1 1' \
         'file ltn0.pgf ltn0.pgf.1-a.part ltn0.pgf.2-a.old 1 1 1' \
         'file ltn0.pgf ../outside/thesis.odt ltn0.pgf.1-a.old 1 1 1'; do
    row "--set journal: $j" set "printf '%s\nend\n' '$j' >\"\$t/set/.ttf2pgf-set.journal\"" 1 \
        "names files that are not fonts of ours; nothing was changed" ""
done
row "--set journal with 17 lines" set \
    'for n in $(seq 0 16); do echo "file ltn$((n % 16)).pgf ltn$((n % 16)).pgf.1-a.part ltn$((n % 16)).pgf.1-a.old 1 1 1"; done >"$t/set/.ttf2pgf-set.journal"; echo end >>"$t/set/.ttf2pgf-set.journal"' \
    1 "names files that are not fonts of ours" ""
row "--set journal whose part is a shell script of the stated size and fingerprint" set \
    'printf "#!/bin/sh\necho owned\n" >"$t/set/ltn0.pgf.1-a.part"; echo "file ltn0.pgf ltn0.pgf.1-a.part ltn0.pgf.1-a.old $(sum_of "$t/set/ltn0.pgf.1-a.part") 1" >"$t/set/.ttf2pgf-set.journal"; echo end >>"$t/set/.ttf2pgf-set.journal"' \
    0 "undone: it holds the old fonts" "^f \./set/ltn[0-9]+\.pgf |\./set/ltn0\.pgf\.1-a\.part|\./set/\.ttf2pgf-set\.journal"

# --- --set's copy journals (no backup): ttf2pgf --set and --finish of the folder settle them ----
SETTMP=.ltn0.pgf.tessavine.1-a.tmp
for program in set finishset; do
    for j in 'font ltn0.pgf ../outside/thesis.odt 1 1 0 0 0' \
             'font ../outside/thesis.odt .ltn0.pgf.tessavine.1-a.tmp 1 1 0 0 0' \
             'font ltn0.pgf .ltn0.pgf.tessavine.1-a\..\..\outside\thesis.odt.tmp 1 1 0 0 0' \
             'font ltn0.pgf a\b.tmp 1 1 0 0 0' \
             'font ltn0.pgf Z:\outside\thesis.odt 1 1 0 0 0' \
             'font Z:ltn0.pgf .ltn0.pgf.tessavine.1-a.tmp 1 1 0 0 0' \
             'font thesis.odt .thesis.odt.tessavine.1-a.tmp 1 1 0 0 0' \
             'font ltn0.pgf .ltn0.pgf.tessavine.1-a.tmp 1 1 1 1 1'; do
        row "--set copy journal: $j" $program "setjournal '$j'" 1 \
            "is damaged or names files that are not fonts of ours. Nothing was changed" ""
    done
    row "--set copy journal with 17 fonts" $program \
        'setjournal $(for n in $(seq 0 16); do echo "font ltn$((n % 16)).pgf .ltn$((n % 16)).pgf.tessavine.1-a.tmp 1 1 0 0 0"; done)' \
        1 "is damaged or names files that are not fonts of ours" ""
    # A script at our temporary name with the stated size and fingerprint is no font: it never
    # goes in place; the run that kept no backup is not finished, and only its own files go.
    row "--set copy journal whose new font is a shell script" $program \
        'printf "#!/bin/sh\necho owned\n" >"$t/set/$SETTMP"; setjournal "font ltn0.pgf $SETTMP $(sum_of "$t/set/$SETTMP") 0 0 0"' \
        0 "could not be finished, as some of its new fonts are damaged or gone" \
        "\./set/\.ltn0\.pgf\.tessavine\.1-a\.tmp|\./set/\.tessavine-copy\.journal" "tessavine\.1-a\.tmp|copy\.journal"
done

# --- copy journals: --finish and the device copy settle them first ---------------------------
for program in finish device; do
    row "journal: a script at our temporary name, said to be added" $program \
        'printf "#!/bin/sh\necho owned\n" >"$t/s/font/$TMP"; journal "$t/s/font" "" "font ltn0.pgf $TMP $(sum_of "$t/s/font/$TMP") 0 0 0"' \
        1 "was added by the copy, but a font is there that no backup holds" ""
    row "journal: a script at our temporary name, backed up" $program \
        'note "$t/p/backup/2026-01-01_00-00-00" "$t/s/font"; cp "$work/old.pgf" "$t/p/backup/2026-01-01_00-00-00/ltn0.pgf"; printf "#!/bin/sh\n" >"$t/s/font/$TMP"; journal "$t/s/font" "$t/p/backup/2026-01-01_00-00-00" "font ltn0.pgf $TMP $(sum_of "$t/s/font/$TMP") 1 $OLD"' \
        "$([ $program = finish ] && echo 0 || echo 1)" "was undone: it holds the old ltn0.pgf" \
        "/s/font/|/p/backup/"
    for backup in '$t/outside' '../../outside' '$t/p/backup/../../outside/2026-01-01_00-00-00' '$t/p/backup/x'; do
        row "journal: the old font from $backup" $program \
            'mkdir -p "$t/outside/2026-01-01_00-00-00"; note "$t/outside" "$t/s/font"; cp "$work/new.pgf" "$t/outside/ltn0.pgf"; journal "$t/s/font" "'"$backup"'" "font ltn0.pgf $TMP $NEW 1 $NEW"' \
            1 "names a backup outside the program's backup folder" ""
    done
    row "journal: a backup whose note names another font folder" $program \
        'note "$t/p/backup/2026-01-01_00-00-00" "$t/outside"; cp "$work/new.pgf" "$t/p/backup/2026-01-01_00-00-00/ltn0.pgf"; journal "$t/s/font" "$t/p/backup/2026-01-01_00-00-00" "font ltn0.pgf $TMP $NEW 1 $NEW"' \
        1 "names a backup of another font folder" ""
    row "journal: a backup that does not hold the old font" $program \
        'note "$t/p/backup/2026-01-01_00-00-00" "$t/s/font"; journal "$t/s/font" "$t/p/backup/2026-01-01_00-00-00" "font ltn0.pgf $TMP $NEW 1 $NEW"' \
        1 "holds the old ltn0.pgf, but it does not" ""
    row "journal: a font said to be added that no backup lists" $program \
        'cp "$work/new.pgf" "$t/s/font/ltn5.pgf"; journal "$t/s/font" "" "font ltn5.pgf .ltn5.pgf.tessavine.1-a.tmp $NEW 0 0 0" "font ltn6.pgf .ltn6.pgf.tessavine.1-a.tmp $NEW 0 0 0"' \
        "$([ $program = finish ] && echo 0 || echo 1)" "it had added stay, as no backup says they were added" "journal|^f \./s/font/ltn0\.pgf|backup/[0-9_-]+|^d \./p/backup/"
    row "journal: 17 fonts" $program \
        'journal "$t/s/font" "" $(for n in $(seq 0 16); do echo "font ltn$((n % 16)).pgf .ltn$((n % 16)).pgf.tessavine.1-a.tmp 1 1 0 0 0"; done)' \
        1 "is damaged or names files that are not fonts of ours" ""
    row "journal: a Windows path as the temporary name" $program \
        'journal "$t/s/font" "" "font ltn0.pgf .ltn0.pgf.tessavine.1-a\\..\\..\\x.tmp 1 1 0 0 0"' \
        1 "is damaged or names files that are not fonts of ours" ""
done

# --- locks ----------------------------------------------------------------------------------
put_lock() {  # put_lock FOLDER KIND: something at the lock's name that no copy of ours wrote
    local at=$1/.tessavine-copy.lock
    case $2 in
        empty) : >"$at" ;;
        garbage) printf 'hello\033]0;owned\a\rprocess 1\n' >"$at" ;;
        link) ln -s "$t/outside/thesis.odt" "$at" ;;
        pipe) mkfifo "$at" ;;
        folder) mkdir "$at" ;;
        oversize) head -c 5000 /dev/zero | tr '\0' x >"$at" ;;
    esac
}
for program in finish device set; do
    folder='$t/s/font'; [ $program = set ] && folder='$t/set'
    for kind in empty garbage link pipe folder oversize; do
        row "lock: $kind" $program "put_lock \"$folder\" $kind" 1 \
            ".tessavine-copy.lock\", that no copy of this program wrote" ""
    done
done
row "lock: another computer's" finish \
    'printf "process 1\nhost elsewhere\nsince then\nwritten 1\n" >"$t/s/font/.tessavine-copy.lock"' \
    1 "Another computer, elsewhere, holds the lock" ""
row "lock: a process number reused after a restart" finish \
    'printf "process %s\nhost %s\nsince then\nwritten 1000\n" $$ "$host" >"$t/s/font/.tessavine-copy.lock"' \
    0 "nothing to do" "lock"
row "lock: a process that is gone" device \
    'printf "process %s\nhost %s\nsince then\n" $dead "$host" >"$t/s/font/.tessavine-copy.lock"' \
    0 "" "^f \./s/font/ltn0\.pgf|lock|^[fd] \./p/backup/"
row "lock: --force removes garbage and settles" force 'put_lock "$t/s/font" garbage' 0 "nothing to do" "lock"
row "lock: --force leaves a running copy's" force \
    'printf "process %s\nhost %s\nsince then\nwritten %s\n" $$ "$host" "$(date +%s)" >"$t/s/font/.tessavine-copy.lock"' \
    1 "Another copy into" ""

# --- links, bounds, partial backups -----------------------------------------------------------
row "backup folder as a link" device 'rmdir "$t/p/backup"; ln -s "$t/outside" "$t/p/backup"' \
    1 "is a symbolic link" ""
row "the stick's font folder as a link" device 'rm -r "$t/s/font"; mkdir "$t/outside/font"; ln -s "$t/outside/font" "$t/s/font"' \
    1 "is a symbolic link" ""
row "a 2 GB old font" device 'truncate -s 2G "$t/s/font/ltn0.pgf"' \
    1 "more than any PGF font can be" ""
row "a dead run's unfinished backup" device \
    'mkdir "$t/p/backup/2026-01-01_00-00-00.$dead.partial"; cp "$work/old.pgf" "$t/p/backup/2026-01-01_00-00-00.$dead.partial/ltn0.pgf"' \
    0 "" "^f \./s/font/ltn0\.pgf|^[fd] \./p/backup/" "\.partial"
row "an unfinished backup is not restored" restore \
    'from=$t/p/backup/2026-01-01_00-00-00.$dead.partial; note "$from" "$t/s/font"; cp "$work/new.pgf" "$from/ltn0.pgf"' \
    1 "is a backup that was never finished" ""

echo "$ran of $rows rows run, $failures failed"
[ $failures = 0 ] && [ $ran -gt 0 ]  # a shard that ran nothing must not pass
