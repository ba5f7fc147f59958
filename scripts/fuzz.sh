#!/usr/bin/env bash
# Builds the fuzz targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for SECONDS seconds, one after the other.
#   scripts/fuzz.sh SECONDS [TARGET...]   targets: TextDataFile BinaryDataFile
#                                         DetectDataFile CompanionFile ConfigFile
# Each target starts from its seeds in fuzz/corpus/<target> (kept as they are)
# and the inputs it found before, in build/fuzz/corpus/<target>, with the
# words of its format from fuzz/<target>.dict (detect: text.dict and
# binary.dict together). The longest seeds already sit on the readers'
# limits, so every input may be as long as the limit from the start
# (-len_control=0) instead of growing towards it run after run. A finding
# stops that target's run and is kept in build/fuzz/findings/<target>/; the
# script then fails. Logs: build/fuzz/logs/<target>.log.
# With KEEP_GOING=1 a target runs its whole time in one child process after
# another (-fork=1), keeping every finding instead of stopping at the first.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(TextDataFile BinaryDataFile DetectDataFile CompanionFile ConfigFile)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# Seed folder, dictionary and longest input per target.
seeds_of() {
  case $1 in
    TextDataFile) echo text ;; BinaryDataFile) echo binary ;; DetectDataFile) echo detect ;;
    CompanionFile) echo companion ;; ConfigFile) echo config ;;
    *) echo "unknown target $1" >&2; exit 2 ;;
  esac
}
# The detection target reads either kind of data file: its dictionary is the
# two data-file dictionaries together.
mkdir -p build/fuzz/dicts
cat fuzz/text.dict fuzz/binary.dict >build/fuzz/dicts/detect.dict
dict_of() {
  case $1 in
    DetectDataFile) echo build/fuzz/dicts/detect.dict ;;
    *) echo "fuzz/$(seeds_of "$1").dict" ;;
  esac
}
# The inputs must be able to reach the readers' limits, and no further than
# needed, since a longer input only costs time:
# - text: the reader examines MaxData = 65534 lines through a 256 KiB buffer.
#   600000 bytes hold the seed full.ktf (578703 bytes: 65534 lines "t v" at
#   1 us, with values of two characters), which has the buffer refilled
#   twice, and some more. Lines of 9-digit numbers as Save writes them would
#   need 1.4 MB for the same, at twice the time per input for no new path.
# - binary: the header and MaxData floats are 262148 bytes; 270000 leaves
#   room for some 2000 samples past the ones read.
# - detect: either of the two.
# - companion: every key on a line of the 259 characters kept is 33 * 260 =
#   8580 bytes; 16384 leaves room for longer lines and repeated keys.
# - korvel.ini: 2048 bytes are 256 records of 8, far more than its 33.
max_len_of() {
  case $1 in
    TextDataFile | DetectDataFile) echo 600000 ;; BinaryDataFile) echo 270000 ;;
    CompanionFile) echo 16384 ;; ConfigFile) echo 2048 ;;
  esac
}

keep_going=()
[ "${KEEP_GOING:-0}" = 1 ] && keep_going=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)

failed=0
for target in "${targets[@]}"; do
  seeds=fuzz/corpus/$(seeds_of "$target")
  work=build/fuzz/corpus/$target
  findings=build/fuzz/findings/$target
  log=build/fuzz/logs/$target.log
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  echo "== $target: $seconds s"
  if build/fuzz/fuzz/fuzz_"$target" "$work" "$seeds" -max_total_time="$seconds" \
      -max_len="$(max_len_of "$target")" -len_control=0 -dict="$(dict_of "$target")" \
      -timeout=30 -rss_limit_mb=2048 \
      -print_final_stats=1 "${keep_going[@]}" -artifact_prefix="$findings/" >"$log" 2>&1; then
    grep -E '^#[0-9]+ +DONE|^Done|stat::number_of_executed_units|stat::average_exec_per_sec' "$log" || true
    [ ${#keep_going[@]} -eq 0 ] || grep -E '^#[0-9]+: cov' "$log" | tail -1
    if [ -n "$(ls -A "$findings")" ]; then
      failed=1
      echo "$target kept findings in $findings/"
    fi
  else
    failed=1
    echo "$target found a fault; see $log and $findings/"
    grep -E 'ERROR|broken:|SUMMARY' "$log" | head -5 || true
  fi
done
exit $failed
