#!/usr/bin/env bash
# The program starts in a real X server and shows its titled main window.
source "$(dirname "$0")/lib.sh"
start_x
start_app
window=$(wait_window "KORVEL Oscillograph Release 1.05")
sleep 0.5
shot "$WORK/start.png"
[ -s "$WORK/start.png" ] || fail "no screenshot"
kill -0 "$APP_PID" || fail "the program ended"
echo "window $window is up"
