#!/usr/bin/env bash
# Builds the benchmarks, runs them once and prints the medians and the ratios
# against the reference implementations and floors, all from that one run.
# Arguments go to korvel_bench (default: 9 repetitions). The JSON of the run
# is kept in build/bench/korvel_bench.json.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
if [ $# -eq 0 ]; then set -- --benchmark_repetitions=9; fi
json=build/bench/korvel_bench.json
build/bench/bench/korvel_bench --benchmark_report_aggregates_only=true \
  --benchmark_out="$json" --benchmark_out_format=json "$@" >&2
python3 scripts/bench_table.py "$json"
