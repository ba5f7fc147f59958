#!/usr/bin/env bash
# The window on libsigrok's demo device: started with --device, the title
# names it, F5 captures its sine wave into the sub-window plot, Escape leaves
# the window as it was.
source "$(dirname "$0")/lib.sh"
start_x
start_app --device demo:channel=A1:samplerate=100k

title=$(xdotool getwindowname "$window")
[[ $title == *demo* ]] || fail "the title does not name the demo device: $title"
[ "$(black start 35 65 5 95)" -eq 0 ] || fail "a trace before any capture"

# runs SHOT Y: the black stretches along row Y of the plot, between its frame's sides.
runs() {
  convert "$WORK/$1.png" -crop "$((fw - 2))x1+$((fx + 1))+$2" +repage txt:- |
    awk 'NR > 1 { b = /#000000/; if (b && !p) n++; p = b } END { print n + 0 }'
}
# extremes SHOT FROM TO: some row between FROM and TO hundredths of the plot's
# height crosses exactly 50 black stretches: the tips of 50 periods.
extremes() {
  local y
  for ((y = fy + fh * $2 / 100; y <= fy + fh * $3 / 100; ++y)); do
    [ "$(runs "$1" $y)" -eq 50 ] && return 0
  done
  return 1
}

# A1 of the demo device is a sine of 20 samples; at 100 kHz the 10000 us the
# sub-window shows hold 50 periods. The plot fits the record's range, so the
# trace spans the plot: 50 crests just below its top, 50 troughs just above
# its axis labels.
keys F5
traced() { shot wave && extremes wave 1 6; }
wait_for traced
extremes wave 92 97 || fail "no 50 troughs near the bottom of the plot"
[ "$(black wave 35 65 40 60)" -gt 100 ] || fail "no trace through the middle of the plot"

# Escape with no capture under way changes nothing; Escape right after F5
# cancels the capture (or finds it done) and leaves the record as it was.
windows() { xdotool search --onlyvisible --name . 2>/dev/null | wc -l; }
before=$(windows)
keys Escape
keys F5 Escape
wait_for settled after
extremes after 1 6 || fail "the wave gone after Escape"
# The upper control bar as after the first capture: Start/Stop idle again.
[ "$(compare -metric AE -crop 1280x50+0+0 "$WORK/wave.png" "$WORK/after.png" null: 2>&1)" = 0 ] ||
  fail "the control bar not idle after Escape"
[ "$(windows)" -eq "$before" ] || fail "a message after Escape"
kill -0 "$APP_PID" || fail "the program ended"
