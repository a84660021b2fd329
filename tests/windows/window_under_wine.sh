#!/usr/bin/env bash
# Drives the Windows window tessavine.exe under Wine as a user would, on a display of its own
# (Xvfb with openbox, xdotool), and checks what it leaves in its program folder, on a fake
# PSP and in settings.bin against the Linux converter and hand-built bytes. It sleeps for no
# fixed time: every step waits, within a time limit, for what it must see (a window, a file),
# so that a busy machine makes it slower, not wrong.
# Usage: window_under_wine.sh LINUX_PROGRAM_DIR WINDOWS_PROGRAM_DIR WORK_DIR [WINE_PREFIX]
# Exits 77 (skipped) when there is no Windows build, no Wine, no Xvfb or no xdotool.
set -uo pipefail
source "$(dirname "$0")/../support/window_manager.sh"
mkdir -p "$3"
linux=$(realpath "$1") windows=$(realpath -m "$2") work=$(realpath "$3")
shipped_settings=$(realpath "$(dirname "$0")/../../packaging/windows/first-start-settings.bin")

if [ ! -f "$windows/tessavine.exe" ] || [ ! -f "$windows/ttf2pgf.exe" ]; then
    echo "skipped: no Windows build in $windows (cmake --workflow --preset windows)"
    exit 77
fi
for tool in wine Xvfb xdotool openbox; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

export WINEPREFIX=${4:-$work/wineprefix} WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
# A display of its own: Xvfb picks a free number and tells it. A fixed number would be shared
# with any other run of this test on the machine, each then driving the other's windows.
exec {numbers}<> <(:)
Xvfb -displayfd "$numbers" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
read -r -t 30 number <&"$numbers" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$number
wm=""
trap 'wineserver -k 2>/dev/null; kill $wm $xvfb 2>/dev/null' EXIT
# until SECONDS COMMAND...: COMMAND until it succeeds, at most that long.
until_true() {
    local limit=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $limit ] && return 1
        sleep 0.1
    done
}
until_true 20 xdotool getdisplaygeometry || { echo "Xvfb did not start"; exit 1; }
# A window manager, so that the active window and the keyboard focus are what a user has.
start_window_manager "$work/openbox.log" || { echo "openbox did not start"; exit 1; }
# One prefix for every run of the test: its first start takes a while.
if [ ! -f "$WINEPREFIX/.made" ]; then
    mkdir -p "$WINEPREFIX" && wineboot --init >/dev/null 2>&1 && wineserver -w && touch "$WINEPREFIX/.made"
fi

cases=0
declare -A failed=()
check() {  # check NAME CONDITION-COMMAND...
    local name=$1
    shift
    cases=$((cases + 1))
    if "$@" >/dev/null; then echo "ok   $name"; else echo "FAIL $name"; failed[$name]=1; fi
}

# waitfor NAME SECONDS: the id of a visible window of that exact title, once there is one.
waitfor() {
    local i
    for ((i = 0; i < $2 * 10; i++)); do
        local id
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# click X_TWIPS Y_TWIPS: a click at that place of the main window's client area (96 dpi).
click() {
    # --sync waits for the pointer to move, which it never does when it stands there already.
    xdotool mousemove 0 0
    xdotool mousemove --sync --window "$main" $(($1 / 15)) $(($2 / 15 + menu)) click 1
}
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
gone() { ! xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -q .; }

# start FOLDER: tessavine.exe of that folder, started from elsewhere; sets main and menu.
start() {
    keep_window_manager "$work/openbox.log" || return 1
    (cd / && wine "$1/tessavine.exe" >/dev/null 2>&1 &)
    main=$(waitfor "Tessavine Gui" 60) || return 1
    until_true 30 active_is "$main" || return 1
    local height
    height=$(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\)/\1/p')
    menu=$((height - 392))
}

# close: the window's close request (Alt+F4); waits for the program to end.
# A program stuck in a box it should not show is ended, so that a fault never hangs the test.
close_window() {
    xdotool mousemove --window "$main" 5 $((menu + 5)) click 1
    until_true 30 active_is "$main" || xdotool windowactivate --sync "$main"
    until_true 30 active_is "$main" && xdotool key alt+F4 2>/dev/null
    timeout 60 wineserver -w || wineserver -k
}

# entry N TEXT: one settings.bin entry, a 2-byte little-endian length and the bytes.
entry() { printf "\\x$(printf %02x ${#1})\\x00%s" "$1"; }

reference() {  # the Linux converter's ltn0.pgf for the window's values, as $work/ref.pgf
    (cd "$linux" && ./ttf2pgf.exe "$1" "$work/ref.pgf" 24h0.8 b2.5i1.2 >/dev/null)
}

# --- First run: the program folder as unpacked, its shipped settings.bin, a PSP on drive P: ---
folder=$work/program
rm -rf "$folder" "$work/psp"
mkdir -p "$folder" "$work/psp/PSP/GAME" "$work/psp/font"
cp "$windows"/{tessavine.exe,ttf2pgf.exe,Example.ttf} "$folder/"
cp "$shipped_settings" "$folder/settings.bin"
printf 'the old ltn0' >"$work/psp/font/ltn0.pgf"
ln -sfn "$work/psp" "$WINEPREFIX/dosdevices/p:"

started=$SECONDS
check "the window opens with the shipped settings.bin" start "$folder"
[ -n "${main:-}" ] || { echo "the window never opened"; exit 1; }

# Check1(3) ticked, then Execute with nothing typed.
click 4160 3120
click 3367 5347
question=""
for ((i = 0; i < 300; i++)); do
    question=$(xdotool search --onlyvisible --name "." 2>/dev/null | while read -r id; do
        name=$(xdotool getwindowname "$id")
        [ "$name" != "Tessavine Gui" ] && [ "$name" != "Tessavine notice" ] && [ -n "$name" ] && echo "$id"
    done | head -1)
    [ -n "$question" ] && break
    sleep 0.1
done
check "the PSP on P: is found and asked about" test -n "$question"
reference Example.ttf
check "Execute: ltn0.pgf equal to the Linux converter's" cmp -s "$folder/ltn0.pgf" "$work/ref.pgf"
check "the ticked slot ltn3.pgf copied from it after the tick" cmp -s "$folder/ltn3.pgf" "$work/ref.pgf"
check "no other slot file" test "$(cd "$folder" && ls ltn*.pgf | tr '\n' ' ')" = "ltn0.pgf ltn3.pgf "
# Enter as the user presses it, once the question has the keyboard.
[ -n "$question" ] && until_true 30 active_is "$question" && xdotool key Return
# The copy runs after the answer; on a busy machine it may take a few seconds.
psp_has_new_fonts() {
    cmp -s "$work/psp/font/ltn0.pgf" "$work/ref.pgf" && cmp -s "$work/psp/font/ltn3.pgf" "$work/ref.pgf"
}
until_true 30 psp_has_new_fonts
check "Yes: the new fonts on the PSP" psp_has_new_fonts
backup=$(ls -d "$folder"/backup/*/ 2>/dev/null | head -1)
check "Yes: the old font in backup/" bash -c "[ -n '$backup' ] && [ \"\$(cat '${backup}ltn0.pgf')\" = 'the old ltn0' ] && [ ! -e '${backup}ltn3.pgf' ]"
rm -f "$WINEPREFIX/dosdevices/p:"

# The copy's notice stands just below the window for a few seconds; a click there dismisses it, as
# a user would. (Left standing, it keeps Wine without a window manager from giving the About
# window the keyboard.)
until_true 30 waitfor "Tessavine notice" 1
notice=$(waitfor "Tessavine notice" 1) && xdotool mousemove --sync --window "$notice" 10 10 click 1
until_true 10 gone "Tessavine notice"

# About: the menu bar's one entry opens the About window, modeless.
xdotool mousemove --window "$main" 20 $((menu / 2)) click 1
check "About opens its window" waitfor "About this Program" 30
if about=$(waitfor "About this Program" 1); then
    # Alt+F4 goes to the active window: sent while the main window still has the keyboard, it
    # would end the program and every check after this one with it.
    until_true 30 active_is "$about" || xdotool windowactivate --sync "$about"
    until_true 30 active_is "$about" && xdotool key alt+F4
    until_true 30 gone "About this Program"
    until_true 30 active_is "$main" || xdotool windowactivate --sync "$main"
    until_true 30 active_is "$main"
fi

# The key filter, the length limits and select-all on focus: into blur1, then Tab onwards.
click 2400 3500
xdotool key Tab && xdotool type --delay 60 "1.2.3"       # horizontal1: "0.8" replaced, 4 at most
xdotool key Tab && xdotool type --delay 60 "a1.2345"     # height1: digits only, 3 at most
xdotool key Tab Tab Tab && xdotool type --delay 60 "Missing.ttf"   # past Command1, bold1
click 3367 5347
check "a missing font's message" waitfor "Tessavine" 30
box=$(waitfor "Tessavine" 1) && until_true 30 active_is "$box" && xdotool key Return
until_true 30 gone "Tessavine"
close_window
{
    entry "Missing.ttf"; entry 123; entry "1.2."; entry 0.8; entry 2.5; entry 1.2; entry 0; entry 0
    for slot in $(seq 1 15); do if [ "$slot" = 3 ]; then entry 1; else entry 0; fi; done
    printf '\x00\x00'
} >"$work/expected.bin"
check "closing saves settings.bin byte for byte as the Linux window" cmp "$folder/settings.bin" "$work/expected.bin"
# The Execute with the missing font removed the slot files of the run before, as every run does.
check "nothing else left in the program folder" test \
    "$(cd "$folder" && ls | tr '\n' ' ')" = "Example.ttf backup settings.bin tessavine.exe ttf2pgf.exe "

# --- Second run: a folder with blanks and non-ASCII letters, a font name in Windows-1252 ---
odd="$work/Prögram Földer ✓"
rm -rf "$odd" && mkdir -p "$odd"
cp "$windows"/{tessavine.exe,ttf2pgf.exe} "$odd/"
cp "$windows/Example.ttf" "$odd/Schrift ß é.ttf"
{
    printf '\x0f\x00Schrift \xdf \xe9.ttf'; entry 24; entry 0.8; entry 0.8; entry 2.5; entry 1.2
    entry 0; entry 0; for _ in $(seq 1 15); do entry 0; done; printf '\x00\x00'
} >"$odd/settings.bin"
cp "$odd/settings.bin" "$work/odd-expected.bin"
start "$odd"
click 3367 5347
odd_made() { cmp -s "$odd/ltn0.pgf" "$work/ref.pgf"; }
until_true 30 odd_made
check "a non-ASCII font name from settings.bin reaches the converter" cmp -s "$odd/ltn0.pgf" "$work/ref.pgf"
close_window
check "its settings.bin is saved unchanged, in Windows-1252" cmp "$odd/settings.bin" "$work/odd-expected.bin"

# --- Third run: a converter that dies gets the crash message, and nothing is taken from it ---
if command -v x86_64-w64-mingw32-gcc >/dev/null; then
    dying="$work/dying"
    rm -rf "$dying" && mkdir -p "$dying"
    cp "$windows"/{tessavine.exe,Example.ttf} "$dying/"
    cp "$shipped_settings" "$dying/settings.bin"
    x86_64-w64-mingw32-gcc -O -o "$dying/ttf2pgf.exe" "$(dirname "$0")/dying_converter.c"
    start "$dying"
    click 4160 3120
    click 3367 5347
    check "a converter that dies: the message after the tick" waitfor "Tessavine" 30
    check "a converter that dies: no slot file made" test -z "$(cd "$dying" && ls ltn* 2>/dev/null)"
    box=$(waitfor "Tessavine" 1) && until_true 30 active_is "$box" && xdotool key Return
    close_window
fi

echo "$((cases - ${#failed[@]})) of $cases cases passed under Wine in $((SECONDS - started)) s"
[ "${#failed[@]}" = 0 ]
