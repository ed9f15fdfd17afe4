#!/bin/sh
# Runs wheel_probe on a private Xvfb display and checks, with the X server's
# own events, that wheel buttons 4, 5, 6 and 7 arrive as up, down, left and
# right, and that the game's window settings become the window manager hints
# (no close, no maximize, a fixed size). Exit 77 (skipped) without Xvfb.
#
# usage: wheel_buttons.sh PATH/TO/wheel_probe

probe=$1
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIP: Xvfb is not installed"
    exit 77
fi
for tool in xdotool xprop; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "FAIL: $tool is not installed"
        exit 1
    fi
done
if [ ! -x "$probe" ]; then
    echo "FAIL: no probe at '$probe'"
    exit 1
fi

. "$(dirname "$0")/xvfb.sh"
start_xvfb 640x480x24 || exit 1
DISPLAY=$display
export DISPLAY
echo "display $DISPLAY"

XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb "$probe" >"$work/out" 2>"$work/err" &
client_pid=$!
if ! wait_for 'grep -q "^ready" "$work/out"' 150; then
    echo "FAIL: the probe window did not come up"; cat "$work/err"; exit 1
fi
wid=$(xdotool search --name '^Wheel probe$' | head -n 1)
if [ -z "$wid" ]; then
    echo "FAIL: no window named 'Wheel probe'"; exit 1
fi

failed=0
xdotool mousemove --window "$wid" 100 75
sleep 0.3
# button, expected sign of deltaX, of deltaY, direction
for case in "4 0 - up" "5 0 + down" "6 - 0 left" "7 + 0 right"; do
    set -- $case
    before=$(grep -c '^wheel' "$work/out")
    xdotool click "$1"
    if ! wait_for '[ "$(grep -c "^wheel" "$work/out")" -gt "$before" ]' 50; then
        echo "FAIL: button $1 ($4) raised no MouseWheel"; failed=1; continue
    fi
    sleep 0.2
    # Every report the one click made must point the same way.
    grep '^wheel' "$work/out" | tail -n +"$((before + 1))" | while read -r _ dx dy; do
        sign() { if [ "$1" -lt 0 ]; then echo -; elif [ "$1" -gt 0 ]; then echo +; else echo 0; fi; }
        echo "button $1 ($4): deltaX=$dx deltaY=$dy"
        [ "$(sign "$dx")" = "$2" ] && [ "$(sign "$dy")" = "$3" ] || echo "MISMATCH"
    done >"$work/case"
    cat "$work/case"
    if grep -q MISMATCH "$work/case"; then
        echo "FAIL: button $1 should be $4 (deltaX $2, deltaY $3)"; failed=1
    fi
done

# _MOTIF_WM_HINTS: flags, functions, decorations, ... Functions count only
# with flag bit 0; bit 0 of functions (all) turns the rest into exclusions.
motif=$(xprop -id "$wid" _MOTIF_WM_HINTS)
echo "$motif"
set -- $(echo "$motif" | sed -n 's/.*= *//p' | tr ',' ' ')
if [ $# -lt 2 ]; then
    echo "FAIL: no _MOTIF_WM_HINTS"; failed=1
else
    flags=$(($1)); functions=$(($2))
    if [ $((flags & 1)) -eq 0 ]; then
        echo "FAIL: _MOTIF_WM_HINTS leaves the functions to the window manager"; failed=1
    else
        [ $((functions & 1)) -ne 0 ] && functions=$((~functions & 62))
        [ $((functions & 32)) -ne 0 ] && { echo "FAIL: the window offers close"; failed=1; }
        [ $((functions & 16)) -ne 0 ] && { echo "FAIL: the window offers maximize"; failed=1; }
        [ $((functions & 8)) -eq 0 ] && { echo "FAIL: the window does not offer minimize"; failed=1; }
    fi
fi

hints=$(xprop -id "$wid" WM_NORMAL_HINTS)
echo "$hints"
min=$(echo "$hints" | sed -n 's/.*minimum size: *//p')
max=$(echo "$hints" | sed -n 's/.*maximum size: *//p')
if [ -z "$min" ] || [ "$min" != "$max" ]; then
    echo "FAIL: WM_NORMAL_HINTS minimum size '$min' is not the maximum size '$max'"; failed=1
fi

if [ "$failed" -ne 0 ]; then
    echo "--- probe stderr"; cat "$work/err"
    exit 1
fi
echo "PASS"
