# Sourced by the scripts that drive windows on an Xvfb display of their own. They need openbox
# as the window manager: without one there is no active window and no keyboard focus, and every
# step after that would wait out its limit. Seen on a loaded machine: openbox gone from the start,
# every row of a run then failing after 20 s each. So it is started until it is seen managing the
# screen, and checked again before each program is started.
# Expects DISPLAY; sets wm to openbox's process id; LOG gathers openbox's own messages.

# window_manager_up: openbox runs and has announced itself on the root window of this display
# (a dead one's announcement may still stand there, hence both).
window_manager_up() {
    [ -n "${wm:-}" ] && kill -0 "$wm" 2>/dev/null &&
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# start_window_manager LOG: openbox, once it manages the screen; three tries, 20 s each.
start_window_manager() {
    local log=$1 try until
    for try in 1 2 3; do
        openbox >>"$log" 2>&1 &
        wm=$!
        until=$((SECONDS + 20))
        while kill -0 "$wm" 2>/dev/null && [ $SECONDS -lt $until ]; do
            window_manager_up && return 0
            sleep 0.1
        done
        kill "$wm" 2>/dev/null
        wait "$wm" 2>/dev/null
        echo "openbox did not come up (try $try of 3): $(tail -n 3 "$log" | tr '\n' ' ')" >&2
    done
    return 1
}

# keep_window_manager LOG: starts openbox again if it has gone since.
keep_window_manager() {
    window_manager_up && return 0
    echo "openbox had gone; starting it again: $(tail -n 3 "$1" | tr '\n' ' ')" >&2
    start_window_manager "$1"
}
