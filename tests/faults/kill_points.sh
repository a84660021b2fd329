#!/bin/bash
# Ends (SIGKILL) or fails (EIO) the device copy, tessavine-restore and ttf2pgf.exe --set at each
# of their file operations in turn; after each, the next run into the folder (or
# tessavine-restore --finish) must leave one whole set, old or new, no file of ours beside it,
# and every backup whole. Prints the table of points tried and outcomes.
# PART (the sixth argument) is "copy", "restore" or "set" for those trials alone, so that they may
# run side by side; without it, all of them.
set -u
driver=$1 restore=$2 ttf2pgf=$3 shim=$4 font=$5 part=${6:-all}
case $part in all | copy | restore | set) ;; *) echo "unknown part $part"; exit 2 ;; esac
wanted() { [ "$part" = all ] || [ "$part" = "$1" ]; }
# On a memory file system where there is one: the runs flush every font to the drive.
work=$(mktemp -d -p "$( [ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Fonts: three slots' new fonts and three slots' old ones, all different, all real PGFs.
mkdir "$work/fonts"
for n in 0 3 7; do "$ttf2pgf" "$font" "$work/fonts/new$n.pgf" "$((10 + n))h1.0" b1i1 || exit 1; done
for n in 0 7 9; do "$ttf2pgf" "$font" "$work/fonts/old$n.pgf" "$((20 + n))h0.8" b2i1 || exit 1; done

shopt -s dotglob nullglob
# Each process costs; one cksum describes a whole folder: "name crc size" per entry, sorted.
describe() {
    local folder=$1 filter=${2:-} files=() file
    for file in "$folder"/*; do
        [[ -n $filter && ! $(basename "$file") =~ ^ltn[0-9]+\.pgf$ ]] && continue
        files+=("$file")
    done
    [ ${#files[@]} = 0 ] && return
    cksum "${files[@]}" 2>&1 | while read -r crc size path; do echo "$(basename "$path") $crc $size"; done | sort
}
# The description a folder holding "slot:file ..." of $work/fonts has.
expect() {
    local entry
    for entry in $1; do
        set -- $(cksum <"$work/fonts/${entry#*:}")
        echo "ltn${entry%%:*}.pgf $1 $2"
    done | sort
}
# same FOLDER DESCRIPTION [fonts]: the folder holds exactly these files (with "fonts": these font
# files, whatever else is there).
same() { [ "$(describe "$1" "${3:-}")" = "$2" ]; }
# Every backup with its note holds one whole set (each font the old or each the new one).
backups_whole() {
    local folder line name crc size n old new
    for folder in "$1"/backup/*/; do
        [ -f "$folder/backup-info.txt" ] || continue
        old=1 new=1
        while read -r name crc size; do
            n=${name#ltn}; n=${n%.pgf}
            [ "$crc $size" = "${sums[old$n]:-}" ] || old=0
            [ "$crc $size" = "${sums[new$n]:-}" ] || new=0
        done < <(describe "$folder" fonts)
        [ $old = 1 ] || [ $new = 1 ] || return 1
    done
}
declare -A sums
for file in "$work"/fonts/*.pgf; do
    set -- $(cksum <"$file")
    sums[$(basename "$file" .pgf)]="$1 $2"
done

# --- The window's device step -----------------------------------------------------------------
DEVICE_OLD=$(expect "0:old0.pgf 7:old7.pgf 9:old9.pgf")
DEVICE_NEW=$(expect "0:new0.pgf 3:new3.pgf 7:new7.pgf 9:old9.pgf")
device_scene() {
    rm -rf "$work/p" "$work/s"
    mkdir -p "$work/p" "$work/s/PSP/GAME" "$work/s/font"
    for n in 0 3 7; do cp "$work/fonts/new$n.pgf" "$work/p/ltn$n.pgf"; done
    for n in 0 7 9; do cp "$work/fonts/old$n.pgf" "$work/s/font/ltn$n.pgf"; done
    cp "$restore" "$work/p/"  # --finish takes old fonts only from its own program folder's backups
}
device_run() { "$driver" "$work/p" "$work/s" >"$work/out" 2>&1; }

# --- tessavine-restore ------------------------------------------------------------------------
RESTORE_OLD=$(expect "0:new0.pgf 3:new3.pgf 7:new7.pgf")
RESTORE_NEW=$(expect "0:old0.pgf 3:new3.pgf 7:old7.pgf")
restore_scene() {
    rm -rf "$work/p" "$work/s"
    mkdir -p "$work/p/backup/b" "$work/s/PSP/GAME" "$work/s/font"
    for n in 0 3 7; do cp "$work/fonts/new$n.pgf" "$work/s/font/ltn$n.pgf"; done
    for n in 0 7; do cp "$work/fonts/old$n.pgf" "$work/p/backup/b/ltn$n.pgf"; done
    printf 'Font folder: %s\nMade: then\nFonts: ltn0.pgf ltn7.pgf\n' "$work/s/font" \
        >"$work/p/backup/b/backup-info.txt"
    cp "$restore" "$work/p/"
}
restore_run() { "$work/p/$(basename "$restore")" "$work/p/backup/b" >"$work/out" 2>&1; }
# The backed-up copy had also added ltn3.pgf: the restore removes it with the rest.
RESTORE_REMOVING_NEW=$(expect "0:old0.pgf 7:old7.pgf")
restore_removing_scene() {
    restore_scene
    printf 'Added by the copy:  ltn3.pgf\n' >>"$work/p/backup/b/backup-info.txt"
}

# trials NAME SCENE RUN OLD NEW: the kill and fail points of one program.
trials() {
    local name=$1 scene=$2 run=$3 old=$4 new=$5 total k mode
    trial_sets=$((trial_sets + 1))
    $scene
    TESSAVINE_COUNT_FILE="$work/count" LD_PRELOAD="$shim" $run || { fail "$name without faults"; cat "$work/out"; }
    total=$(cat "$work/count")
    local tried=0 whole=0 mixed_after_fault=0
    for mode in KILL FAIL; do
        for ((k = 1; k <= total; k++)); do
            $scene
            (export "TESSAVINE_${mode}_AT=$k" LD_PRELOAD="$shim"; $run) 2>/dev/null
            tried=$((tried + 1))
            same "$work/s/font" "$old" fonts || same "$work/s/font" "$new" fonts ||
                mixed_after_fault=$((mixed_after_fault + 1))
            # The next run settles what was interrupted; --finish first, then a whole copy.
            "$work/p/$(basename "$restore")" --finish "$work/s/font" >"$work/finish" 2>&1 ||
                { fail "$name $mode at $k: --finish failed"; cat "$work/finish"; }
            if same "$work/s/font" "$old" || same "$work/s/font" "$new"; then
                backups_whole "$work/p" || { fail "$name $mode at $k: a backup is torn"; continue; }
                $run || { fail "$name $mode at $k: the next run failed"; cat "$work/out"; continue; }
                if same "$work/s/font" "$new" && backups_whole "$work/p"; then
                    whole=$((whole + 1))
                else
                    fail "$name $mode at $k: the next run left $(ls -A "$work/s/font" | tr '\n' ' ')"
                fi
            else
                fail "$name $mode at $k: after --finish: $(ls -A "$work/s/font" | tr '\n' ' ')"
                cat "$work/finish"
            fi
        done
    done
    printf '%-22s %4d operations, %4d kill/fail points tried, %4d one whole set after the next run (%d of them a mix of old and new fonts right after the fault)\n' \
        "$name" "$total" "$tried" "$whole" "$mixed_after_fault"
}

SECONDS=0
trial_sets=0  # a part that tried nothing must not pass
if wanted copy; then
    trials "device copy" device_scene device_run "$DEVICE_OLD" "$DEVICE_NEW"
fi
if wanted restore; then
    trials "tessavine-restore" restore_scene restore_run "$RESTORE_OLD" "$RESTORE_NEW"
    trials "restore, removing" restore_removing_scene restore_run "$RESTORE_OLD" "$RESTORE_REMOVING_NEW"
fi
echo "($SECONDS s so far)"
wanted set || { [ $failures = 0 ] && [ $trial_sets -gt 0 ]; exit; }

# --- ttf2pgf.exe --set ------------------------------------------------------------------------
# References: the old and the new set made whole elsewhere.
"$ttf2pgf" --set "$font" "$work/ref-old" 8h1.0 b1i1 >/dev/null || exit 1
"$ttf2pgf" --set "$font" "$work/ref-new" 9h1.0 b1i1 >/dev/null || exit 1
REF_OLD=$(describe "$work/ref-old") REF_NEW=$(describe "$work/ref-new")
set_is() { same "$work/set" "$1"; }
fonts_are() { same "$work/set" "$1" fonts; }
set_scene() { rm -rf "$work/set"; cp -r "$work/ref-old" "$work/set"; }
set_run() { "$ttf2pgf" --set "$font" "$work/set" 9h1.0 b1i1 >"$work/out" 2>&1; }
set_scene
TESSAVINE_COUNT_FILE="$work/count" LD_PRELOAD="$shim" set_run
total=$(cat "$work/count")
tried=0 whole=0 mixed=0
# Kills at every operation of the replacement phase (the last 130: lock, clean-up, sixteen files
# written and flushed, journal, renames), failures at every seventh; before it the conversion only
# reads, sampled every tenth. No backup is kept of an output folder: a run ended after its journal
# is finished, before it leaves the old set. Every other point is settled by
# tessavine-restore --finish of the folder first, the rest by the next --set alone.
mkdir -p "$work/setprog" && cp "$restore" "$work/setprog/"
for mode in KILL FAIL; do
    step=1
    [ "$mode" = KILL ] || step=7
    for ((k = 1; k <= total; k += (k < total - 130 ? 10 : step))); do
        set_scene
        (env "TESSAVINE_${mode}_AT=$k" LD_PRELOAD="$shim" "$ttf2pgf" --set "$font" "$work/set" 9h1.0 b1i1 >/dev/null 2>&1) 2>/dev/null
        tried=$((tried + 1))
        fonts_are "$REF_OLD" || fonts_are "$REF_NEW" || mixed=$((mixed + 1))
        if [ $((tried % 2)) = 1 ]; then
            "$work/setprog/$(basename "$restore")" --finish "$work/set" >"$work/finish" 2>&1 ||
                { fail "--set $mode at $k: --finish failed"; cat "$work/finish"; }
            set_is "$REF_OLD" || set_is "$REF_NEW" ||
                fail "--set $mode at $k: after --finish: $(ls -A "$work/set" | tr '\n' ' ')"
        fi
        set_run || { fail "--set $mode at $k: the next run failed"; cat "$work/out"; continue; }
        if set_is "$REF_NEW"; then
            whole=$((whole + 1))
        else
            fail "--set $mode at $k: the next run left $(ls -A "$work/set" | tr '\n' ' ')"
        fi
    done
done
printf '%-22s %4d operations, %4d kill/fail points tried, %4d one whole set after the next run (%d of them a mix of old and new fonts right after the fault)\n' \
    "ttf2pgf.exe --set" "$total" "$tried" "$whole" "$mixed"

echo "($SECONDS s in all)"
[ $failures = 0 ]
