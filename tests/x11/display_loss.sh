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

. "$(dirname "$0")/xvfb.sh"

alive() { kill -0 "$1" 2>/dev/null; }

# One run: $1 the case name, $2 "term" to send SIGTERM 0.3 s after the kill.
# Prints what happened; returns 1 on a failure.
one_run() {
    name=$1
    rm -rf "$work/data"
    mkdir -p "$work/data"
    start_xvfb 1024x768x24 || return 1

    # A crash must show as a crash: under AddressSanitizer a SEGV would
    # otherwise end the process with an ordinary exit status.
    DISPLAY=$display XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb \
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}handle_segv=0:handle_abort=0:detect_leaks=0" \
        "$program" >"$work/game.out" 2>"$work/game.err" &
    client_pid=$!
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
        alive "$client_pid" && kill -TERM "$client_pid" 2>/dev/null
    fi
    if ! wait_for '! alive "$client_pid"' 100; then
        echo "FAIL ($name): the game still runs 10 s after its X server went away"
        kill -KILL "$client_pid" 2>/dev/null
        wait "$client_pid" 2>/dev/null
        client_pid=
        return 1
    fi
    wait "$client_pid"
    status=$?
    client_pid=
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
