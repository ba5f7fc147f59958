#!/usr/bin/env bash
# Pictures of a saved capture: the size asked for, the same bytes every time,
# the grid when asked, and the sub-window that the fields name.
source "$(dirname "$0")/lib.sh"

run_ok capture --out rec.kbf
run_ok plot rec.kbf --out a.png --size 800x500
[ ! -s err ] || fail "plot said something: $(cat err)"
[ "$(identify -format %wx%h a.png)" = 800x500 ] || fail "size $(identify -format %wx%h a.png)"
run_ok plot rec.kbf --out b.png --size 800x500
cmp a.png b.png || fail "two pictures of one record differ"

colour_count() { convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:round(mean*w*h)]' info:; }
# Frames in blue and magenta, the marker in yellow; no grid colour without --grid.
[ "$(colour_count a.png '#0000ff')" -gt 1000 ] || fail "no overview frame"
[ "$(colour_count a.png '#ff00ff')" -gt 1500 ] || fail "no sub-window frame"
[ "$(colour_count a.png '#ffff64')" -gt 100 ] || fail "no marker"
[ "$(colour_count a.png '#96c8ff')" -eq 0 ] || fail "grid without --grid"
run_ok plot rec.kbf --out grid.png --size 800x500 --grid
[ "$(colour_count grid.png '#96c8ff')" -gt 1000 ] || fail "no grid with --grid"

# A narrower sub-window draws another lower plot under the same overview.
run_ok plot rec.kbf --out zoom.png --size 800x500 --from 100 --width 25
cmp -s a.png zoom.png && fail "--from/--width changed nothing"
marker() { convert "$1" -fill black +opaque '#ffff64' -fill white -opaque '#ffff64' -format %@ info:; }
[ "$(marker a.png)" != "$(marker zoom.png)" ] || fail "the marker did not move"

# The spectrum window's picture: red lines on white, a black frame, the size asked for.
run_ok plot rec.kbf --spectrum --out spec.png --size 640x400
[ "$(identify -format %wx%h spec.png)" = 640x400 ] || fail "spectrum size"
[ "$(colour_count spec.png '#ff0000')" -gt 300 ] || fail "no spectrum lines"
[ "$(colour_count spec.png '#ff00ff')" -eq 0 ] || fail "the oscillogram's frame in the spectrum"
run_ok plot rec.kbf --spectrum --out narrow.png --size 640x400 --min-khz 50 --width-khz 200
cmp -s spec.png narrow.png && fail "--min-khz/--width-khz changed nothing"
echo ok
