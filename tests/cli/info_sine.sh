#!/usr/bin/env bash
# A sine written by hand is measured: its frequency within one bin, its RMS
# within 0.1 %, and the plain levels exactly, in both file forms.
source "$(dirname "$0")/lib.sh"

# 6000 samples 0.5 us apart of 40 + 300 sin(2 pi 4 kHz t), t in us: twelve whole
# periods, so the RMS is that of the sine, and 16.38 bins. The last
# line holds only the time one step past the last sample: the reader takes the
# step as (last time - first time) / samples.
awk 'BEGIN {
  pi = atan2(0, -1)
  for (k = 0; k < 6000; k++) { t = k * 0.5; printf "%.9g %.9g\n", t, 40 + 300 * sin(2 * pi * 0.004 * t) }
  printf "%.9g\n", 6000 * 0.5
}' >sine.ktf

run_ok info sine.ktf; cp out text
[ "$(field Samples text)" = 6000 ] || fail "samples"
[ "$(field 'Sample period' text)" = "0.5 us" ] || fail "period $(field 'Sample period' text)"

# 6000 samples pad to 8192 points: bins of 1000 / (0.5 * 8192) kHz.
bin=$(awk 'BEGIN { printf "%.9g", 1000 / (0.5 * 8192) }')
line=$(field 'Strongest line' text | cut -d' ' -f1)
near "$line" 4 "$bin" || fail "line $line kHz is more than a bin ($bin kHz) from 4 kHz"
period=$(field Period text | cut -d' ' -f1)
near "$period" "$(awk -v f="$line" 'BEGIN { print 1000 / f }')" 0.01 || fail "period $period"

rms=$(field RMS text | cut -d' ' -f1)
acrms=$(field 'AC RMS' text | cut -d' ' -f1)
near "$acrms" "$(awk 'BEGIN { print 300 / sqrt(2) }')" "$(awk 'BEGIN { print 0.001 * 300 / sqrt(2) }')" ||
  fail "AC RMS $acrms"
near "$rms" "$(awk 'BEGIN { print sqrt(40 * 40 + 300 * 300 / 2) }')" "$(awk 'BEGIN { print 0.001 * sqrt(1600 + 45000) }')" ||
  fail "RMS $rms"
near "$(field Mean text | cut -d' ' -f1)" 40 0.5 || fail "mean"

# The extremes are those of the samples as written.
min=$(awk '{ if (NF == 2 && (n++ == 0 || $2 < m)) m = $2 } END { printf "%g", m }' sine.ktf)
max=$(awk '{ if (NF == 2 && (n++ == 0 || $2 > m)) m = $2 } END { printf "%g", m }' sine.ktf)
[ "$(field Minimum text)" = "$min mV" ] || fail "minimum $(field Minimum text), not $min"
[ "$(field Maximum text)" = "$max mV" ] || fail "maximum $(field Maximum text), not $max"

# The binary form of the same record gives the same figures.
run_ok convert sine.ktf sine.kbf
run_ok info sine.kbf
diff <(grep -vE '^(File|Format):' text) <(grep -vE '^(File|Format):' out) || fail "binary figures differ"
grep -q '^Format: *binary, floats (KFRF)' out || fail "format line"

# A constant record has no line.
printf '0 5\n1 5\n2 5\n3 5\n4 5\n5\n' >flat.ktf
run_ok info flat.ktf
[ "$(field 'Strongest line' out)" = none ] && [ "$(field 'AC RMS' out)" = "0 mV" ] || fail "flat record"
echo ok
