#!/usr/bin/env bash
# The main window: the notice once at start, F5 captures the square wave into
# the sub-window plot, the crosshair follows the mouse.
source "$(dirname "$0")/lib.sh"
start_x
start_app

[ "$(black start 35 65 10 80)" -eq 0 ] || fail "a trace before any capture"

# One period of the wave spans the shown 1000 samples: low for the first 800
# (lower part of the plot, nothing above it), high for the last 200.
keys F5
traced() { shot wave && [ "$(black wave 35 65 55 85)" -gt 50 ]; }
wait_for traced
[ "$(black wave 35 65 5 45)" -eq 0 ] || fail "trace above the low level"
[ "$(black wave 88 96 3 40)" -gt 10 ] || fail "no high level of the square wave"
gone '^KORVEL$' || fail "a second notice"

# The crosshair in the cursor's green across the plot.
x=$((fx + fw / 2)) y=$((fy + fh / 2))
xdotool mousemove $((x - 3)) $((y - 3)) mousemove $x $y
crosshair() {
  shot cross && [ "$(count cross '#00ff00' "1x$((fh - 60))+$x+$((fy + 10))")" -gt $((fh / 2)) ] &&
    [ "$(count cross '#00ff00' "$((fw - 120))x1+$((fx + 60))+$y")" -gt $((fw / 2)) ]
}
wait_for crosshair
