#!/usr/bin/env bash
# The program starts, tells once that it simulates the card, and F5 captures
# a record whose square wave shows in the sub-window plot.
source "$(dirname "$0")/lib.sh"
start_x 1280x800
start_app

# The notice comes with the first drawing, before the plot; OK dismisses it.
notice=
for _ in $(seq 100); do
  notice=$(xdotool search --onlyvisible --name '^KORVEL$' 2>/dev/null | head -1 || true)
  [ -n "$notice" ] && break
  sleep 0.1
done
[ -n "$notice" ] || fail "no notice"
focus "$notice"
xdotool key --clearmodifiers Return
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^KORVEL$' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^KORVEL$' >/dev/null 2>&1 && fail "the notice stayed"

window=$(wait_window "KORVEL Oscillograph Release 1.05")
sleep 0.5
shot "$WORK/before.png"

# The sub-window plot is framed in magenta; its bounding box is the frame.
frame=$(convert "$WORK/before.png" -fill black +opaque '#ff00ff' -fill white -opaque '#ff00ff' \
        -format '%@' info:)
[[ $frame =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "no sub-window frame ($frame)"
fw=${BASH_REMATCH[1]}; fh=${BASH_REMATCH[2]}; fx=${BASH_REMATCH[3]}; fy=${BASH_REMATCH[4]}
[ "$fw" -gt 400 ] && [ "$fh" -gt 200 ] || fail "sub-window frame too small: $frame"

# Black pixels in a part of the frame given in hundredths of its width and height.
black_in() {
  local image=$1 x0=$2 x1=$3 y0=$4 y1=$5
  local x=$((fx + fw * x0 / 100)) y=$((fy + fh * y0 / 100))
  local w=$((fw * (x1 - x0) / 100)) h=$((fh * (y1 - y0) / 100))
  convert "$image" -crop "${w}x${h}+${x}+${y}" +repage -fill white +opaque black \
    -fill black -opaque black -negate -format '%[fx:round(mean*w*h)]' info:
}

# Before any capture the record is empty: no trace in the middle of the plot.
[ "$(black_in "$WORK/before.png" 35 65 10 80)" -eq 0 ] || fail "a trace before any capture"

focus "$window"
xdotool key --clearmodifiers F5
sleep 1
shot "$WORK/after.png"
kill -0 "$APP_PID" || fail "the program ended"

# One period of the wave spans the shown 1000 samples: low for the first 800,
# high for the last 200. The low level lies in the lower part of the plot,
# the high level in its upper part, and nothing in between in the low stretch.
low=$(black_in "$WORK/after.png" 35 65 55 85)
above_low=$(black_in "$WORK/after.png" 35 65 5 45)
high=$(black_in "$WORK/after.png" 88 96 3 40)
echo "sub-window $frame: low $low, above low $above_low, high $high"
[ "$low" -gt 50 ] || fail "no low level of the square wave ($low black pixels)"
[ "$above_low" -eq 0 ] || fail "trace above the low level ($above_low black pixels)"
[ "$high" -gt 10 ] || fail "no high level of the square wave ($high black pixels)"
