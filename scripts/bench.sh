#!/usr/bin/env bash
# The benchmarks: builds them optimised and prints their table, with the machine
# it ran on. A measurement, not a test: it fails only when it cannot run.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset bench >/dev/null
cmake --build --preset bench --target tcudvnt_bench -j "$(nproc)"

printf 'machine: %s cores, %s\n' "$(nproc)" \
  "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
build/bench/bench/tcudvnt_bench --benchmark_counters_tabular=true "$@"
