#!/usr/bin/env bash
# The spectrum of a file's shown stretch, as the spectrum window computes it.
source "$(dirname "$0")/lib.sh"

# 1, 0, -1, 0 repeated, one sample per microsecond (the companion file sets a
# 1 MHz clock, so the time step is 1 us however the step is chosen on opening).
awk 'BEGIN { split("1 0 -1 0", v, " "); for (k = 0; k < 64; k++) printf "%d %d\n", k, v[k % 4 + 1]; print 64 }' >wave.ktf
printf 'BaseFreq = 1\nFreqDiv0 = 1\nKorv_Freq = 0\nAv_Over = 1\n' >wave.cf

# The whole record from 0 us for 7 us: samples 0..7, N = 8, bin width 125 kHz;
# the powers are 0, 0, 0.25 and the bins end with the 99 % bin, bin 2.
run_ok spectrum wave.ktf --from 0 --width 7
cp out whole
grep -q '^# Samples 0 to 7 of the record (8 samples), sample period 1 us$' whole || { cat whole; fail "header"; }
[ "$(grep -vc '^#' whole)" -eq 3 ] || fail "$(grep -vc '^#' whole) bins, not 3"
bins() { grep -v '^#' "$1" | sed -n "$2p"; }
[ "$(bins whole 1 | cut -f1)" = 0 ] && [ "$(bins whole 2 | cut -f1)" = 125 ] && [ "$(bins whole 3 | cut -f1)" = 250 ] ||
  fail "frequencies"
near "$(bins whole 1 | cut -f2)" 0 1e-9 && near "$(bins whole 2 | cut -f2)" 0 1e-9 &&
  near "$(bins whole 3 | cut -f2)" 0.25 1e-7 || fail "powers"

# Without a range: the stretch a file opens on, its first quarter (samples 0..16).
run_ok spectrum wave.ktf
grep -q '^# Samples 0 to 16 of the record (17 samples)' out || { head -3 out; fail "first quarter"; }

# --out writes the same text to a file.
run_ok spectrum wave.ktf --from 0 --width 7 --out wave.ksf
[ ! -s out ] && cmp wave.ksf whole || fail "--out differs from the standard output"

# Average over 2 makes the samples 1, .5, -.5, -.5, .5, .5, -.5, -.5 (the first
# one averages itself alone): the 250 kHz power becomes (2.5^2 + 2^2) / 64.
run_ok spectrum wave.ktf --from 0 --width 7 --average 2
near "$(grep -v '^#' out | awk -F'\t' '$1 == 250 { print $2 }')" 0.16015625 1e-6 || { cat out; fail "averaged"; }

# The spectrum window's Min and Width fields narrow the written bins to those
# shown: from 125 kHz over 125 kHz, bins 1 and 2.
run_ok spectrum wave.ktf --from 0 --width 7 --min-khz 125 --width-khz 125
[ "$(grep -v '^#' out | cut -f1 | tr '\n' ' ')" = "125 250 " ] || { cat out; fail "shown bins"; }
# A range the window refuses (beyond the highest bin) leaves the whole spectrum shown.
run_ok spectrum wave.ktf --from 0 --width 7 --min-khz 500
cmp out whole || fail "a one-bin range changed the written bins"
echo ok
