#!/usr/bin/env bash
# A capture written as text, converted to binary and back, keeps every sample,
# every time and every figure; the standard output form equals the text file.
source "$(dirname "$0")/lib.sh"

run_ok capture --out rec.ktf
[ -s rec.ktf ] && [ -s rec.cf ] || fail "capture wrote no data file or companion file"
[ ! -e "$XDG_CONFIG_HOME/korvel/korvel.ini" ] || fail "capture saved the settings"

run_ok info rec.ktf; cp out info1
[ "$(field Samples info1)" = 65534 ] || fail "samples: $(field Samples info1)"
[ "$(field 'Sample period' info1)" = "0.0125 us" ] || fail "period: $(field 'Sample period' info1)"
[ "$(field 'First time' info1)" = "0 us" ] || fail "first time"
# The simulated square wave repeats every 1000 samples (12.5 us, 80 kHz): its
# strongest line lies near 80 kHz, found between the bins of the 65536-point
# transform (1.2207 kHz apart).
[ "$(field 'Strongest line' info1)" = "79.9915 kHz (bin width 1.2207 kHz)" ] ||
  fail "line: $(field 'Strongest line' info1)"
[ "$(field Period info1)" = "12.5013 us" ] || fail "period of the line"

run_ok convert rec.ktf rec2.kbf
[ "$(head -c 4 rec2.kbf)" = KFRF ] || fail "binary file has no KFRF magic"
[ "$(stat -c %s rec2.kbf)" -eq $((12 + 4 * 65534)) ] || fail "binary file size"
run_ok info rec2.kbf; cp out info2
run_ok convert rec2.kbf rec3.ktf
run_ok info rec3.ktf; cp out info3

for i in info2 info3; do
  diff <(grep -vE '^(File|Format):' info1) <(grep -vE '^(File|Format):' $i) ||
    fail "$i differs from the first figures"
done
# Text, binary, text: the same lines, digit for digit.
cmp rec.ktf rec3.ktf || fail "text -> binary -> text changed the file"
cmp rec.cf rec2.cf || fail "companion files differ"

# Without --out the same samples go to the standard output, one line each.
run_ok capture
[ "$(wc -l <out)" -eq 65534 ] || fail "standard output has $(wc -l <out) lines"
# The file's last line also notes the time step.
cmp <(cut -d' ' -f2 out) <(head -n 65534 rec.ktf | cut -d' ' -f2) || fail "standard output values"
cmp <(head -n 65533 out) <(head -n 65533 rec.ktf) || fail "standard output differs from the text file"

# Inverting negates every sample of the same (first) capture of a run.
run_ok capture --invert --out inv.kbf
run_ok info inv.kbf
[ "$(field Minimum out)" = "-$(field Maximum info1)" ] || fail "inverted minimum"
[ "$(field Maximum out | sed 's/^/-/; s/^--//')" = "$(field Minimum info1)" ] || fail "inverted maximum"

# Four records summed and divided: the mean of four noisy records.
run_ok capture --records 4 --average 1 --out four.ktf
grep -qx 'Acc_Over = 4' four.cf && grep -qx 'Av_Over = 1' four.cf || fail "companion lacks the overrides"
run_ok info four.ktf
near "$(field Mean out | cut -d' ' -f1)" "$(field Mean info1 | cut -d' ' -f1)" 2 ||
  fail "mean of four records far from one record's"
echo ok
