#!/bin/sh
# The program must end cleanly, never by a crash, when its X server goes away
# under it: Qt then leaves through exit(), and whatever is left for exit() to
# destroy must not touch the dead GUI. Each case starts the program on a
# private Xvfb, waits for its window, kills the server (and in the second case
# also sends the program SIGTERM right after, as at the end of a session), and
# checks that the program ends within a few seconds without a crash signal or a
# sanitizer report. Exit 77 (skipped) without Xvfb.
#
# usage: display_loss.sh PATH/TO/corvessan [RUNS]

program=$1
runs=${2:-3}
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIP: Xvfb is not installed"
    exit 77
fi
if ! command -v xdotool >/dev/null 2>&1; then
    echo "FAIL: xdotool is not installed"
    exit 1
fi
if [ ! -x "$program" ]; then
    echo "FAIL: no program at '$program'"
    exit 1
fi

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill -KILL "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Waits up to $2 tenths of a second for the shell test $1 to hold.
wait_for() {
    n=0
    while ! eval "$1"; do
        n=$((n + 1))
        [ "$n" -ge "$2" ] && return 1
        sleep 0.1
    done
}

alive() { kill -0 "$1" 2>/dev/null; }

# One run: $1 the case name, $2 "term" to send SIGTERM 0.3 s after the kill.
# Prints what happened; returns 1 on a failure.
one_run() {
    name=$1
    rm -rf "$work/data" "$work/display"
    mkdir -p "$work/data"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    if ! wait_for '[ -s "$work/display" ]' 100; then
        echo "FAIL ($name): Xvfb did not start"; cat "$work/xvfb.log"; return 1
    fi
    display=:$(cat "$work/display")

    # A crash must show as a crash: under AddressSanitizer a SEGV would
    # otherwise end the process with an ordinary exit status.
    DISPLAY=$display XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb \
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}handle_segv=0:handle_abort=0:detect_leaks=0" \
        "$program" >"$work/game.out" 2>"$work/game.err" &
    game_pid=$!
    if ! DISPLAY=$display wait_for 'xdotool search --onlyvisible --name "^Corvessan$" >/dev/null 2>&1' 150; then
        echo "FAIL ($name): the game window did not come up"; cat "$work/game.err"; return 1
    fi
    # Let the window paint and the event loop settle.
    sleep 0.5

    kill -KILL "$xvfb_pid"
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
    if [ "$2" = term ]; then
        sleep 0.3
        alive "$game_pid" && kill -TERM "$game_pid" 2>/dev/null
    fi
    if ! wait_for '! alive "$game_pid"' 100; then
        echo "FAIL ($name): the game still runs 10 s after its X server went away"
        kill -KILL "$game_pid" 2>/dev/null
        wait "$game_pid" 2>/dev/null
        game_pid=
        return 1
    fi
    wait "$game_pid"
    status=$?
    game_pid=
    echo "$name: exit status $status; stderr: $(tr '\n' ' ' <"$work/game.err" | cut -c1-200)"
    # 128 + n is death by signal n; SIGTERM (15) is the one we sent ourselves.
    if [ "$status" -gt 128 ] && [ "$status" -ne 143 ]; then
        echo "FAIL ($name): the game was killed by signal $((status - 128))"; cat "$work/game.err"; return 1
    fi
    if grep -q "Sanitizer\|runtime error" "$work/game.err"; then
        echo "FAIL ($name): a sanitizer reported an error"; cat "$work/game.err"; return 1
    fi
    return 0
}

failed=0
i=1
while [ "$i" -le "$runs" ]; do
    one_run "server killed, run $i" none || failed=1
    one_run "server killed then SIGTERM, run $i" term || failed=1
    i=$((i + 1))
done

if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "PASS"
