#!/usr/bin/env bash
# The saved settings shown and changed key by key, as korvel.ini holds them.
source "$(dirname "$0")/lib.sh"

ini="$XDG_CONFIG_HOME/korvel/korvel.ini"
run_ok config --path
[ "$(cat out)" = "$ini" ] || fail "path $(cat out)"

# No file: the 33 defaults, in the file's order, in the companion file's forms.
run_ok config
[ "$(wc -l <out)" -eq 33 ] || fail "$(wc -l <out) lines"
[ "$(head -1 out)" = "BaseAddr = 300" ] || fail "first line $(head -1 out)"
[ "$(tail -1 out)" = "T_Acc = 3" ] || fail "last line $(tail -1 out)"
grep -qx 'Conversion = 7.8125' out && grep -qx 'Num_Data = 65534' out && grep -qx 'FreqDiv3 = 8' out ||
  fail "defaults"
[ ! -e "$ini" ] || fail "listing saved the settings"

# Shortened keys, hexadecimal base address; the file is written at once.
run_ok config Av_Over=7 T_A=5 BaseAddr=310 Osc_Freq=2.5 Grid
printf 'Av_Over = 7\nT_Acc = 5\nBaseAddr = 310\nOsc_Freq = 2.5\nGrid = 0\n' | cmp - out ||
  { cat out; fail "changes not shown as set"; }
[ "$(stat -c %s "$ini")" -eq 264 ] || fail "korvel.ini is not 33 records of 8 bytes"
# Record 1 holds 0x310, record 4 holds 7, as little-endian 32-bit integers.
[ "$(od -An -tx1 -N8 "$ini" | tr -d ' \n')" = 0100000010030000 ] || fail "record 1"
[ "$(od -An -tx1 -j24 -N8 "$ini" | tr -d ' \n')" = 0400000007000000 ] || fail "record 4"
run_ok config Av T_Acc Bas
printf 'Av_Over = 7\nT_Acc = 5\nBaseAddr = 310\n' | cmp - out || fail "values not kept"

# Out of range: brought back and told; the rest is saved.
run_ok config Korv_Freq=7 LFontSize=99 Labels_Y=3
grep -q "Korv_Freq = 7 is out of range; 0 is kept" err || fail "no word on Korv_Freq"
grep -q "LFontSize = 99 is out of range; 10 is kept" err || fail "no word on LFontSize"
printf 'Korv_Freq = 0\nLFontSize = 10\nLabels_Y = 3\n' | cmp - out || fail "kept values"

# A capture takes the saved settings: its companion file shows them.
run_ok config Korv_Freq=2
run_ok capture --out rec.kbf
grep -qx 'Av_Over = 7' rec.cf && grep -qx 'Korv_Freq = 2' rec.cf || fail "capture ignored korvel.ini"
run_ok info rec.kbf
[ "$(field 'Sample period' out)" = "0.05 us" ] || fail "frequency index 2 is not 20 MHz"

# Setting Conversion is allowed but the note says it does not last.
run_ok config Conversion=3
grep -q "Conversion is made again from Amplitude" err || fail "no note on Conversion"
echo ok
