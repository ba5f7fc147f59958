#!/usr/bin/env bash
# Wrong command lines and files that are no data files end with a message and
# a non-zero status: 2 for the command line, 1 for a file.
source "$(dirname "$0")/lib.sh"

printf '0 1\n1 2\n2 3\n3 4\n4\n' >good.ktf

run_fails 2 "unknown command 'frobnicate'" frobnicate
run_fails 2 "Usage: korvel-cli COMMAND"
run_fails 2 "unknown argument '--bogus'" capture --bogus
run_fails 2 "--records needs a value" capture --records
run_fails 2 "--records takes a whole number from 1 to 100000, not 'abc'" capture --records abc
run_fails 2 "--records .*0 is out of range" capture --records 0
run_fails 2 "--records .*100001 is out of range" capture --records 100001
run_fails 2 "--records takes a whole number .* not '1e3'" capture --records=1e3
run_fails 2 "--average .*99999999999999999999 is out of range" capture --average 99999999999999999999
run_fails 2 "--invert takes no value" capture --invert=1
run_fails 2 "must end in .ktf \(text\) or .kbf \(binary\)" capture --out rec.txt
run_fails 2 "which file" info
run_fails 2 "one too many" info good.ktf good.ktf
run_fails 2 "unknown option '-x'" info -x good.ktf
run_fails 2 "give the file to read" convert good.ktf
run_fails 2 "must end in .ktf" convert good.ktf out.dat
run_fails 2 "where to\? Give the picture's name with --out" plot good.ktf
run_fails 2 "--size takes a size WIDTHxHEIGHT" plot good.ktf --out p.png --size 640
run_fails 2 "--size \(width\) .*0 is out of range" plot good.ktf --out p.png --size 0x400
run_fails 2 "--size \(height\) .*9000 is out of range" plot good.ktf --out p.png --size 640x9000
run_fails 2 "--from takes a number, not 'nan'" plot good.ktf --out p.png --from nan
run_fails 2 "--min-khz and --width-khz choose the frequencies of --spectrum" plot good.ktf --out p.png --min-khz 5
run_fails 2 "--width-khz takes a number, not 'inf'" spectrum good.ktf --width-khz inf
run_fails 2 "--width takes a number, not '5us'" spectrum good.ktf --width 5us
run_fails 2 "must end in .ksf" spectrum good.ktf --out good.ktf
run_fails 2 "--average takes a whole number" spectrum good.ktf --average -3
[ -s good.ktf ] || fail "a refused command touched its file"

# Files that cannot be read.
run_fails 1 "cannot read missing.ktf: No such file or directory" info missing.ktf
mkdir folder.ktf
run_fails 1 "cannot read folder.ktf: it is a folder" info folder.ktf
: >empty.ktf
run_fails 1 "empty.ktf is not a data file KORVEL can show" info empty.ktf
head -c 3000 /dev/urandom | tr -d '0-9' >garbage.ktf
run_fails 1 "not a data file KORVEL can show" info garbage.ktf
printf 'KFRF\0\0\200\77\0\0\0\0' >header-only.kbf
run_fails 1 "header-only.kbf is not a data file" convert header-only.kbf out.ktf
[ ! -e out.ktf ] || fail "a refused conversion wrote its output"
printf 'KDRF\0\0\200\77' >short.kbf
run_fails 1 "not a data file" info short.kbf
printf '0 1\n1 nan\n2 3\n3\n' >nan.ktf
run_fails 1 "not a data file" spectrum nan.ktf
printf '5 1\n5 2\n5 3\n' >still.ktf
run_fails 1 "not a data file" plot still.ktf --out still.png
[ ! -e still.png ] || fail "a refused plot wrote a picture"
deep=$(printf 'd%.0s' $(seq 100))
mkdir -p "$deep/$deep/$deep" && cp good.ktf "$deep/$deep/$deep/rec.ktf"
run_fails 1 "the path is longer than 255 bytes" info "$deep/$deep/$deep/rec.ktf"

# Outputs that cannot be written.
run_fails 1 "cannot write /nonexistent/rec.ktf" capture --out /nonexistent/rec.ktf
run_fails 1 "cannot write /nonexistent/s.ksf" spectrum good.ktf --out /nonexistent/s.ksf
run_fails 1 "cannot write /nonexistent/p.png" plot good.ktf --out /nonexistent/p.png

# The settings: unknown keys, bad values and the record length are refused,
# and a refused command saves nothing.
run_fails 2 "no setting is called 'Colour'" config Colour=3
run_fails 2 "Av_Over takes a whole number, not '3x'" config Av_Over=3x
run_fails 2 "BaseAddr takes a hexadecimal number, not 'zz'" config BaseAddr=zz
run_fails 2 "BaseAddr = -300 is beyond" config BaseAddr=-300
run_fails 2 "Osc_Freq takes a number, not 'inf'" config Osc_Freq=inf
run_fails 2 "Labels_X = 4294967296 is beyond" config Labels_X=4294967296
run_fails 2 "Num_Data, the record length, is not set here" config Num_Data=100
run_fails 2 "no setting is called ''" config =5
run_fails 2 "Grid = what\? Give a value" config Grid=
run_fails 2 "Av_Over takes a whole number, not 'x'" config Grid=1 Av_Over=2 Av_Over=x
run_fails 2 "--path takes no keys" config --path Grid
[ ! -e "$XDG_CONFIG_HOME/korvel/korvel.ini" ] || fail "a refused config saved the settings"
echo ok
