#!/usr/bin/env bash
# The journal and lock rows of crafted_folders.sh against the Windows programs under Wine:
# tessavine-restore.exe (--finish, --finish --force, a restore) and ttf2pgf.exe --set, with the
# names only Windows reads as paths besides: "a\..\..\victim.txt", "Z:\…", drive letters, "\\?\"
# and drive-relative forms. Each row checks the exit code, a part of the message and a checksum
# listing of the whole temporary tree before and after, including the files such names would
# reach (victim.txt above the folders, the drive Y: that stands for outside/).
# Usage: crafted_folders_wine.sh COPY_DRIVER LINUX_TTF2PGF FONT WINDOWS_PROGRAM_DIR WORK_DIR
# COPY_DRIVER gives sizes and fingerprints (--sum); LINUX_TTF2PGF makes the fonts. Exits 77
# (skipped) without Wine, the mingw-w64 compiler or the Windows build. Prints each row's exit
# and time; only the exit, message and changes are checked.
set -u
driver=$1 ttf2pgf=$2 font=$3 windows=$(realpath -m "$4") work=$(realpath -m "$5")
here=$(cd "$(dirname "$0")" && pwd)
for program in tessavine-restore.exe ttf2pgf.exe; do
    [ -f "$windows/$program" ] || { echo "skipped: no $program in $windows"; exit 77; }
done
for tool in wine wineserver x86_64-w64-mingw32-gcc; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

# The prefix tests/windows/wine_prefix.sh made for this test alone (others may run beside it),
# its server kept running between rows.
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
if [ ! -f "$WINEPREFIX/.made" ]; then
    mkdir -p "$WINEPREFIX" && wineboot --init >/dev/null 2>&1 && wineserver -w && touch "$WINEPREFIX/.made"
fi
t=$work/t  # the tree: p (program folder), s (stick), set (--set folder), outside (bystanders)
trap 'wineserver -k 2>/dev/null; chmod -R u+w "$t" 2>/dev/null; rm -rf "$t"' EXIT
wineserver -p
failures=0 rows=0

x86_64-w64-mingw32-gcc -O -o "$work/lock_holder.exe" "$here/lock_holder.c" || exit 1
"$ttf2pgf" "$font" "$work/old.pgf" 12h1.0 b1i1 >/dev/null &&
    "$ttf2pgf" "$font" "$work/new.pgf" 14h1.0 b1i1 >/dev/null || exit 1
rm -rf "$work/ref-set" && "$ttf2pgf" --set "$font" "$work/ref-set" 9h1.0 b1i1 >/dev/null || exit 1
cp "$font" "$work/font.ttf"
# The drive Y: of this prefix is outside/: a name there reaches the bystanders.
ln -sfn "$t/outside" "$WINEPREFIX/dosdevices/y:"

# win PATH: the Windows spelling of a Linux path (Wine's drive Z: is the root).
win() { local path=${1//\//\\}; echo "Z:$path"; }
scene() {
    chmod -R u+w "$t" 2>/dev/null; rm -rf "$t"
    mkdir -p "$t/p/backup" "$t/s/font" "$t/outside"
    cp "$work/old.pgf" "$t/s/font/ltn0.pgf"
    cp -r "$work/ref-set" "$t/set"
    echo "thesis" >"$t/outside/thesis.odt"
    echo "victim" >"$t/victim.txt"
    echo "notes" >"$t/set/notes.txt"
    cp "$windows/tessavine-restore.exe" "$t/p/"
    from=
}
# Every entry of the tree with its kind and checksum, one per line, sorted.
listing() {
    (cd "$t" && find . -mindepth 1 -printf '%y %p %l\n' | sort | while read -r kind path link; do
        case $kind in f) echo "f $path $(cksum <"$path")" ;; *) echo "$kind $path $link" ;; esac
    done)
}
sum_of() { "$driver" --sum "$1"; }
journal() {  # journal BACKUP LINE...: a copy journal in the stick's font folder
    local backup=$1; shift
    { echo "tessavine copy journal 1"; echo "backup $backup"; printf '%s\n' "$@"; echo end; } \
        >"$t/s/font/.tessavine-copy.journal"
}
note() {  # note BACKUP FONTFOLDER [ADDED]: a backup's note, the font folder as Windows spells it
    mkdir -p "$1"
    printf 'Font folder: %s\nMade: then\nFonts: ltn0.pgf\n%s' "$2" "${3:+Added by the copy: $3
}" >"$1/backup-info.txt"
}
set_journal() { printf '%s\nend\n' "$@" >"$t/set/.ttf2pgf-set.journal"; }
V=  # the crafted value of the row at hand, for its setup

run() {
    case $1 in
        finish) wine "$t/p/tessavine-restore.exe" --finish "$(win "$t/s/font")" ;;
        force) wine "$t/p/tessavine-restore.exe" --finish --force "$(win "$t/s/font")" ;;
        restore) wine "$t/p/tessavine-restore.exe" "$from" ;;
        set) (cd "$work" && wine "$windows/ttf2pgf.exe" --set font.ttf "$(win "$t/set")" 9h1.0 b1i1) ;;
    esac
}
# row NAME PROGRAM SETUP EXIT MESSAGE CHANGES: CHANGES is an extended regex of the listing lines
# allowed to differ ("" for none: the tree must be exactly as before).
row() {
    local name=$1 program=$2 setup=$3 code=$4 message=$5 changes=$6
    rows=$((rows + 1))
    scene; eval "$setup"
    listing >"$work/before"
    local start=$EPOCHREALTIME
    timeout 60 bash -c "$(declare -p t work windows from 2>/dev/null; declare -f run win); run $program" \
        >"$work/out" 2>&1
    local got=$?
    local took
    took=$(bc <<<"$EPOCHREALTIME - $start")
    tr -d '\r' <"$work/out" >"$work/out.txt"
    listing >"$work/after"
    local diff
    diff=$(diff "$work/before" "$work/after" | grep '^[<>]' | cut -c3-)
    printf '%-78s %-7s exit %s %6.2f s %3d changed, %d outside\n' "$name" "$program" "$got" "$took" \
        "$(grep -c . <<<"$diff")" "$(grep -Ec '\./(outside|victim)' <<<"$diff")"
    if [ -n "$changes" ]; then diff=$(grep -Ev -- "$changes" <<<"$diff"); fi
    if [ "$got" != "$code" ] || { [ -n "$message" ] && ! grep -qF -- "$message" "$work/out.txt"; } ||
        [ -n "$diff" ]; then
        failures=$((failures + 1))
        echo "FAIL: $name ($program): exit $got (wanted $code)"; cat "$work/out.txt"
        [ -n "$diff" ] && echo "changed beyond what may change:" && echo "$diff"
    fi
    grep -q $'\e' "$work/out.txt" && { failures=$((failures + 1)); echo "FAIL: $name: raw escape in the message"; }
}

NEW=$(sum_of "$work/new.pgf") OLD=$(sum_of "$work/old.pgf")
TMP=.ltn0.pgf.tessavine.1-a.tmp
W_OUT=$(win "$t/outside") W_P=$(win "$t/p") W_FONT=$(win "$t/s/font")
STAMP=2026-01-01_00-00-00
damaged="is damaged or names files that are not fonts of ours"
not_ours="names files that are not fonts of ours; nothing was changed"

# --- --set journals: only the set's own files, whatever Windows makes of a name ----------------
for j in 'file thesis.odt x.part notes.txt 1 1 1' \
         'file ltn0.pgf a\..\..\victim.txt ltn0.pgf.1-a.old 1 1 1' \
         'file ltn0.pgf ltn0.pgf.1-a.part a\..\..\victim.txt 1 1 1' \
         'file ltn0.pgf ltn0.pgf.1-a\..\..\..\victim.txt.part ltn0.pgf.1-a\..\..\..\victim.txt.old 1 1 1' \
         "file ltn0.pgf ltn0.pgf.1-a.part $W_OUT\\thesis.odt 1 1 1" \
         'file ltn0.pgf ltn0.pgf.1-a.part Y:\thesis.odt 1 1 1' \
         'file ltn0.pgf ltn0.pgf.1-a.part Y:thesis.odt 1 1 1' \
         "file ltn0.pgf \\\\?\\$W_OUT\\thesis.odt ltn0.pgf.1-a.old 1 1 1" \
         'file LTN0.PGF LTN0.PGF.1-a.part LTN0.PGF.1-a.old 1 1 1' \
         'file ltn0.pgf. ltn0.pgf..1-a.part ltn0.pgf..1-a.old 1 1 1' \
         'file ltn0.pgf:x ltn0.pgf:x.1-a.part ltn0.pgf:x.1-a.old 1 1 1' \
         'file ltn0.pgf ltn0.pgf.1-a.part ltn0.pgf.1-a.old:$DATA 1 1 1'; do
    V=$j
    row "--set journal: $j" set 'set_journal "$V"' 1 "$not_ours" ""
done
row "--set journal whose part is a script of the stated size and fingerprint" set \
    'printf "@echo owned\r\n" >"$t/set/ltn0.pgf.1-a.part"; set_journal "file ltn0.pgf ltn0.pgf.1-a.part ltn0.pgf.1-a.old $(sum_of "$t/set/ltn0.pgf.1-a.part") 1"' \
    0 "undone: it holds the old fonts" "^f \./set/ltn[0-9]+\.pgf |\./set/ltn0\.pgf\.1-a\.part|\./set/\.ttf2pgf-set\.journal"

# --- copy journals: --finish settles them, or refuses and changes nothing ---------------------
row "journal: a script at our temporary name, said to be added" finish \
    'printf "@echo owned\r\n" >"$t/s/font/$TMP"; journal "" "font ltn0.pgf $TMP $(sum_of "$t/s/font/$TMP") 0 0 0"' \
    1 "was added by the copy, but a font is there that no backup holds" ""
row "journal: a script at our temporary name, backed up" finish \
    'note "$t/p/backup/$STAMP" "$W_FONT"; cp "$work/old.pgf" "$t/p/backup/$STAMP/ltn0.pgf"; printf "@echo owned\r\n" >"$t/s/font/$TMP"; journal "$W_P\\backup\\$STAMP" "font ltn0.pgf $TMP $(sum_of "$t/s/font/$TMP") 1 $OLD"' \
    0 "was undone: it holds the old ltn0.pgf" "^f \./s/font/\.ltn0|\./s/font/\.tessavine-copy\.journal"
for temporary in '.ltn0.pgf.tessavine.1-a\..\..\..\victim.txt' ".ltn0.pgf.tessavine.1-a.tmp\\..\\..\\..\\victim.txt" \
                 "$W_OUT\\thesis.odt" 'Y:\thesis.odt' 'Y:thesis.odt' '.ltn0.pgf.tessavine.1-a.tmp:$DATA' \
                 '.LTN0.PGF.TESSAVINE.1-A.TMP'; do
    V=$temporary
    row "journal: the temporary name $temporary" finish 'journal "" "font ltn0.pgf $V 1 1 0 0 0"' \
        1 "$damaged" ""
done
for name in 'a\..\..\..\victim.txt' 'LTN0.PGF' 'ltn0.pgf.' 'Y:ltn0.pgf'; do
    V=$name
    row "journal: the font name $name" finish 'journal "" "font $V .$V.tessavine.1-a.tmp 1 1 0 0 0"' \
        1 "$damaged" ""
done
for backup in "$W_OUT\\$STAMP" "..\\..\\outside\\$STAMP" "$W_P\\backup\\..\\..\\outside\\$STAMP" \
              "Y:\\$STAMP" "Y:$STAMP" "\\\\?\\$W_OUT\\$STAMP" "$W_P\\backup\\x" "$W_P\\backup\\$STAMP:x"; do
    V=$backup
    row "journal: the old font from $backup" finish \
        'note "$t/outside/$STAMP" "$W_FONT"; cp "$work/new.pgf" "$t/outside/$STAMP/ltn0.pgf"; journal "$V" "font ltn0.pgf $TMP $NEW 1 $NEW"' \
        1 "names a backup outside the program's backup folder" ""
done
row "journal: a backup whose note names another folder, by drive letter" finish \
    'note "$t/p/backup/$STAMP" "Y:\\"; cp "$work/new.pgf" "$t/p/backup/$STAMP/ltn0.pgf"; journal "$W_P\\backup\\$STAMP" "font ltn0.pgf $TMP $NEW 1 $NEW"' \
    1 "names a backup of another font folder" ""
row "journal: 17 fonts" finish \
    'journal "" $(for n in $(seq 0 16); do echo "font ltn$((n % 16)).pgf .ltn$((n % 16)).pgf.tessavine.1-a.tmp 1 1 0 0 0"; done)' \
    1 "$damaged" ""

# --- a restore whose note names files elsewhere ------------------------------------------------
for added in 'a\..\..\..\victim.txt' 'Y:\thesis.odt' "$W_OUT\\thesis.odt"; do
    V=$added
    row "restore: a note that says the copy added $added" restore \
        'from=$(win "$t/p/backup/$STAMP"); note "$t/p/backup/$STAMP" "$W_FONT" "$V"; cp "$work/new.pgf" "$t/p/backup/$STAMP/ltn0.pgf"' \
        1 "which is not the name of a font slot file" ""
done
row "restore: an unfinished backup" restore \
    'from=$(win "$t/p/backup/$STAMP.999999.partial"); note "$t/p/backup/$STAMP.999999.partial" "$W_FONT"; cp "$work/new.pgf" "$t/p/backup/$STAMP.999999.partial/ltn0.pgf"' \
    1 "is a backup that was never finished" ""

# --- locks ----------------------------------------------------------------------------------
# No pipe row: a folder on Windows holds no pipes (Wine would show it as a file that blocks).
put_lock() {  # put_lock FOLDER KIND: something at the lock's name that no copy of ours wrote
    local at=$1/.tessavine-copy.lock
    case $2 in
        empty) : >"$at" ;;
        garbage) printf 'hello\033]0;owned\a\rprocess 1\n' >"$at" ;;
        crlf) printf 'process 1\r\nhost x\r\nsince then\r\nwritten 1\r\n' >"$at" ;;
        link) ln -s "$t/outside/thesis.odt" "$at" ;;
        folder) mkdir "$at" ;;
        oversize) head -c 5000 /dev/zero | tr '\0' x >"$at" ;;
    esac
}
for program in finish set; do
    folder='$t/s/font'; [ $program = set ] && folder='$t/set'
    for kind in empty garbage crlf link folder oversize; do
        row "lock: $kind" $program "put_lock \"$folder\" $kind" 1 \
            ".tessavine-copy.lock\", that no copy of this program wrote" ""
    done
done
# A copy that runs: a Windows process of this prefix, with the number and computer name that
# the Windows programs see.
rm -f "$work/holder" "$work/holder.stop"
wine "$work/lock_holder.exe" "$(win "$work/holder")" "$(win "$work/holder.stop")" &
holder=$!
for _ in $(seq 1 300); do [ -s "$work/holder" ] && break; sleep 0.1; done
read -r live winhost < <(tr -d '\r' <"$work/holder") || { echo "FAIL: the lock holder did not start"; exit 1; }
lock() {  # lock FOLDER PROCESS HOST WRITTEN
    printf 'process %s\nhost %s\nsince then\nwritten %s\n' "$2" "$3" "$4" >"$1/.tessavine-copy.lock"
}
for program in finish set; do
    folder='$t/s/font'; [ $program = set ] && folder='$t/set'
    row "lock: another computer's" $program "lock \"$folder\" 1 elsewhere 1" \
        1 "Another computer, elsewhere, holds the lock" ""
    row "lock: a running copy's" $program "lock \"$folder\" $live \"$winhost\" \$(date +%s)" \
        1 "Another copy into" ""
done
row "lock: a process number reused after a restart" finish "lock \"\$t/s/font\" $live \"$winhost\" 1000" \
    0 "nothing to do" "lock"
row "lock: a process that is gone" finish "lock \"\$t/s/font\" 4000000 \"$winhost\" 1000" \
    0 "nothing to do" "lock"
row "lock: a process that is gone, before a --set" set "lock \"\$t/set\" 4000000 \"$winhost\" 1000" \
    0 "" "^f \./set/ltn[0-9]+\.pgf |lock"
row "lock: --force removes garbage and settles" force 'put_lock "$t/s/font" garbage' 0 "nothing to do" "lock"
row "lock: --force leaves a running copy's" force "lock \"\$t/s/font\" $live \"$winhost\" \$(date +%s)" \
    1 "Another copy into" ""
touch "$work/holder.stop"
wait $holder

echo "$rows rows, $failures failed"
[ $failures = 0 ]
