#!/usr/bin/env bash
# A capture saved with the grid switched on comes back, after the program is
# closed and started again, as the same record with the grid: the plot shows
# the same picture as when it was opened in the run that saved it.
source "$(dirname "$0")/lib.sh"
KORVEL_BIN=$(readlink -f "$KORVEL_BIN")
cd "$WORK"  # the file dialogs open in the current folder
start_x 1280x800

GRID_BLUE=96c8ff

# The notice comes with the first drawing of each run; OK dismisses it. A
# loaded machine may take many seconds to start the program, so wait up to 30.
dismiss_notice() {
  local notice=
  for _ in $(seq 300); do
    notice=$(xdotool search --onlyvisible --name '^KORVEL$' 2>/dev/null | head -1 || true)
    [ -n "$notice" ] && break
    sleep 0.1
  done
  [ -n "$notice" ] || fail "no notice"
  focus "$notice"
  xdotool key --clearmodifiers Return
  wait_gone '^KORVEL$'
}

wait_gone() {
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "window '$1' stayed"
}

# Shows a dialog with a key of the main window and waits for it.
dialog_by_key() {
  focus "$window"
  xdotool key --clearmodifiers "$1"
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$2" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || fail "no window '$2' after $1"
  sleep 0.8  # until it has laid itself out and taken the keyboard
  focus "$id"
}

# Types a file name into the file dialog that has the keyboard and accepts it.
choose_file() {
  local title=$1
  dialog_by_key "$2" "$title"
  xdotool type --delay 30 "$3"
  sleep 0.3
  xdotool key --clearmodifiers Return
  for _ in $(seq 10); do
    xdotool search --onlyvisible --name "$title" >/dev/null 2>&1 || return 0
    sleep 0.2
    # A completion list may have taken the first Return.
    xdotool key --clearmodifiers Return
  done
  fail "the file dialog '$title' stayed"
}

# Grid-blue pixels of a screenshot.
grid_pixels() {
  convert "$1" -fill black +opaque "#$GRID_BLUE" -fill white -opaque "#$GRID_BLUE" \
    -format '%[fx:round(mean*w*h)]' info:
}

start_app
dismiss_notice
window=$(wait_window "KORVEL Oscillograph Release 1.05")
focus "$window"
xdotool key --clearmodifiers F5
sleep 1

# Settings: the Tab key walks the template's order from Auto Norm to Grid.
dialog_by_key alt+s '^Settings$'
xdotool key --clearmodifiers --delay 40 $(printf 'Tab %.0s' $(seq 17)) space Return
wait_gone '^Settings$'
sleep 0.5
shot "$WORK/grid.png"
[ "$(grid_pixels "$WORK/grid.png")" -gt 100 ] || fail "no grid after Settings"

choose_file "Save KORVEL data to file" F4 "rec"
for _ in $(seq 50); do [ -s rec.cf ] && break; sleep 0.1; done  # written after the data file
[ -s rec.ktf ] || fail "nothing saved"
grep -qx "Grid = 1" rec.cf || fail "the settings file lacks the grid"
# A line per sample, the last one at its own time with the time step.
[ "$(wc -l <rec.ktf)" -eq 65534 ] || fail "not a line per sample: $(wc -l <rec.ktf)"
head -1 rec.ktf | grep -q '^0 ' || fail "first line: $(head -1 rec.ktf)"
tail -1 rec.ktf | grep -q '^819.162537 .* step 0.0125000002$' || fail "last line: $(tail -1 rec.ktf)"
xdotool search --name "KORVEL Oscillograph Release 1.05 : rec" >/dev/null || fail "title"

choose_file "Read KORVEL data from file" F3 "rec.ktf"
sleep 1
shot "$WORK/opened1.png"

# Close (Alt+X) and start again: the defaults, no grid, no record.
focus "$window"
xdotool key --clearmodifiers alt+x
for _ in $(seq 50); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$APP_PID" 2>/dev/null && fail "the program did not end"
[ -e "$XDG_CONFIG_HOME/korvel/korvel.ini" ] && fail "the configuration was saved"

start_app
dismiss_notice
window=$(wait_window "KORVEL Oscillograph Release 1.05")
sleep 0.5
shot "$WORK/restart.png"
[ "$(grid_pixels "$WORK/restart.png")" -eq 0 ] || fail "a grid before the file was opened"

choose_file "Read KORVEL data from file" F3 "rec.ktf"
sleep 1
xdotool search --name "KORVEL Oscillograph Release 1.05 : rec" >/dev/null || fail "title after Open"
shot "$WORK/opened2.png"
kill -0 "$APP_PID" || fail "the program ended"

different=$(compare -metric AE "$WORK/opened1.png" "$WORK/opened2.png" null: 2>&1 || true)
echo "grid pixels $(grid_pixels "$WORK/opened2.png"), pixels that differ: $different"
[ "$different" = 0 ] || fail "the record opened again looks different ($different pixels)"
