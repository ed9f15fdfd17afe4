# Sourced by the tests that need a private X server. Gives them a work folder
# ($work), the helper wait_for, and start_xvfb, which starts an Xvfb and sets
# $display. Whatever runs in $xvfb_pid and $client_pid is killed at the end.

work=$(mktemp -d)
xvfb_pid=
client_pid=
cleanup() {
    [ -n "$client_pid" ] && kill -KILL "$client_pid" 2>/dev/null
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

# Starts Xvfb with a screen of $1 (WxHxDEPTH). It picks a free display itself
# and writes its number once it accepts clients. Returns 1 when it does not start.
start_xvfb() {
    rm -f "$work/display"
    # -noreset: a server whose last client leaves resets, and refuses clients
    # that connect meanwhile.
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    if ! wait_for '[ -s "$work/display" ]' 100; then
        echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; return 1
    fi
    display=:$(cat "$work/display")
}
