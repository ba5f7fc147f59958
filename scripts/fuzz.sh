#!/usr/bin/env bash
# Builds the fuzz targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for SECONDS seconds, one after the other.
#   scripts/fuzz.sh SECONDS [TARGET...]   targets: TextDataFile BinaryDataFile
#                                         DetectDataFile CompanionFile ConfigFile
# Each target starts from its seeds in fuzz/corpus/<target> (kept as they are)
# and the inputs it found before, in build/fuzz/corpus/<target>. A finding
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

# Seed folder and the longest input worth trying, per target: a data file
# holds up to 65534 samples, the settings files are short.
seeds_of() {
  case $1 in
    TextDataFile) echo text ;; BinaryDataFile) echo binary ;; DetectDataFile) echo detect ;;
    CompanionFile) echo companion ;; ConfigFile) echo config ;;
    *) echo "unknown target $1" >&2; exit 2 ;;
  esac
}
max_len_of() {
  case $1 in
    TextDataFile | DetectDataFile) echo 1200000 ;; BinaryDataFile) echo 262200 ;;
    CompanionFile) echo 8192 ;; ConfigFile) echo 2048 ;;
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
      -max_len="$(max_len_of "$target")" -timeout=30 -rss_limit_mb=2048 \
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
