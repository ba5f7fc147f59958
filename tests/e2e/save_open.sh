#!/usr/bin/env bash
# The Settings dialog and the file dialogs: a capture saved with the grid
# switched on comes back, after the program is closed and started again, as
# the same picture.
source "$(dirname "$0")/lib.sh"
start_x
start_app
keys F5

# Settings: the Tab key walks the template's order from Auto Norm to Grid.
keys alt+s
wait_for visible '^Settings$'
xdotool windowfocus --sync "$(visible '^Settings$')"
xdotool key --clearmodifiers --delay 40 $(printf 'Tab %.0s' $(seq 17)) space Return
grid() { shot grid && [ "$(count grid '#96c8ff')" -gt 100 ]; }
wait_for grid

# Types a name into the file dialog that a key of the main window opens. A
# completion list may take a Return before the dialog does.
choose_file() {
  keys "$1"
  wait_for visible "$2"
  xdotool windowfocus --sync "$(visible "$2")"
  xdotool type --delay 30 "$3"
  accepted() { gone "$1" || { xdotool key --clearmodifiers Return; sleep 0.4; gone "$1"; }; }
  wait_for accepted "$2"
}
choose_file F4 "Save KORVEL data to file" rec
choose_file F3 "Read KORVEL data from file" rec.ktf
# The file opens on its first quarter: the wave's high level across the plot.
quarter() { shot opened && [ "$(black opened 35 65 5 45)" -gt 50 ]; }
wait_for quarter
wait_for settled opened

# Closed with Alt+X and started again: no grid until the file is opened.
pid=$APP_PID APP_PID=
keys alt+x
wait_for eval "! kill -0 $pid 2>/dev/null"
start_app
[ "$(count start '#96c8ff')" -eq 0 ] || fail "a grid before the file was opened"
choose_file F3 "Read KORVEL data from file" rec.ktf
wait_for same opened
