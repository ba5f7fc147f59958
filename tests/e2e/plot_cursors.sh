#!/usr/bin/env bash
# The mouse over the oscillogram in a real X server: the crosshair in the
# cursor's green, the read-outs beside the plot, and the reference cross with
# its difference lines.
source "$(dirname "$0")/lib.sh"
start_x 1280x800
start_app

# The notice of the simulated card comes with the first drawing; OK closes it.
notice=
for _ in $(seq 100); do
  notice=$(xdotool search --onlyvisible --name '^KORVEL$' 2>/dev/null | head -1 || true)
  [ -n "$notice" ] && break
  sleep 0.1
done
[ -n "$notice" ] || fail "no notice"
focus "$notice"
xdotool key --clearmodifiers Return
window=$(wait_window "KORVEL Oscillograph Release 1.05")
sleep 0.5
focus "$window"
xdotool key --clearmodifiers F5
sleep 1
shot "$WORK/before.png"

# The sub-window plot is the magenta frame: its bounding box on the screen.
box=$(convert "$WORK/before.png" -fill black +opaque "#FF00FF" -fill white -opaque "#FF00FF" \
      -format "%@" info:)
read -r fw fh fx fy <<<"$(echo "$box" | tr 'x+' '  ')"
[ "${fw:-0}" -gt 200 ] && [ "${fh:-0}" -gt 200 ] || fail "no sub-window frame found ($box)"
x=$((fx + fw / 2))
y=$((fy + fh / 2))

xdotool mousemove "$x" "$y"
sleep 0.2
xdotool mousemove "$((x + 3))" "$((y + 3))"
sleep 0.5
shot "$WORK/cursor.png"
x=$((x + 3))
y=$((y + 3))

# Green (0, 255, 0) along the crosshair's lines, away from their crossing.
green_in() { convert "$WORK/cursor.png" -crop "$1" +repage -fill black +opaque "#00FF00" \
               -fill white -opaque "#00FF00" -format "%[fx:round(mean*w*h)]" info:; }
vertical=$(green_in "1x$((fh - 60))+$x+$((fy + 10))")
horizontal=$(green_in "$((fw - 120))x1+$((fx + 60))+$y")
[ "$vertical" -gt $((fh / 2)) ] || fail "crosshair's vertical line: $vertical green pixels"
[ "$horizontal" -gt $((fw / 2)) ] || fail "crosshair's horizontal line: $horizontal green pixels"
[ "$(pixel "$WORK/before.png" "$x" "$((fy + 20))")" != 00ff00 ] || fail "green before the move"

# The read-outs: ink right of the frame, in the column's upper part.
ink_in() { convert "$1" -crop "$2" +repage -fill black +opaque white -fill white -opaque white \
             -format "%[fx:round((1-mean)*w*h)]" info:; }
column="130x64+$((fx + fw + 4))+$fy"
[ "$(ink_in "$WORK/before.png" "$column")" -eq 0 ] || fail "read-outs before the move"
[ "$(ink_in "$WORK/cursor.png" "$column")" -gt 100 ] || fail "no read-outs beside the plot"

# A right click sets the reference; the next move adds the dT and dV lines
# below the T and V lines (with the default 14-pixel read-out font).
lower="130x70+$((fx + fw + 4))+$((fy + 66))"
[ "$(ink_in "$WORK/cursor.png" "$lower")" -eq 0 ] || fail "dT/dV lines without a reference"
xdotool click 3
sleep 0.2
xdotool mousemove "$((x + 40))" "$((y - 30))"
sleep 0.5
shot "$WORK/reference.png"
[ "$(pixel "$WORK/reference.png" "$((fx + fw / 4))" "$y")" = 64c864 ] || fail "no reference cross"
[ "$(ink_in "$WORK/reference.png" "$lower")" -gt 100 ] || fail "no dT/dV lines"
kill -0 "$APP_PID" || fail "the program ended"
echo "crosshair at $x,$y: $vertical and $horizontal green pixels"
