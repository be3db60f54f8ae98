#!/usr/bin/env bash
# The hardening steps of the test command: the whole test suite built with ASan
# and UBSan, every fuzz target for a bounded time, and the seeded soak against
# the simulator. Any failure, sanitizer report or leak fails the script.
#   FUZZ_SECONDS  time per fuzz target (default 30)
#   SOAK_SEED     the soak's seed (default: a new one, printed)
#   SOAK_TRANSACTIONS  (default 20000)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-30}
soak_transactions=${SOAK_TRANSACTIONS:-20000}
step() { printf '\n== %s\n' "$*"; }

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

step "sanitize: configure, build, test (ASan and UBSan)"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs"

step "fuzz: configure, build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_targets -j "$jobs"

# Each target starts from its committed seeds; what it finds goes to a working
# corpus in the build tree, a crash or leak to build/fuzz/artifacts.
mkdir -p build/fuzz/artifacts
for target in fuzz_address_parser fuzz_format_value fuzz_init_file fuzz_single_read fuzz_single_write; do
  step "fuzz: $target for ${fuzz_seconds} s"
  mkdir -p "build/fuzz/corpus/$target"
  if ! "build/fuzz/fuzz/$target" -max_total_time="$fuzz_seconds" -detect_leaks=1 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$root/build/fuzz/artifacts/$target-" \
      "$root/build/fuzz/corpus/$target" "$root/fuzz/corpus/$target" >"build/fuzz/$target.log" 2>&1; then
    tail -n 60 "build/fuzz/$target.log"
    echo "fuzz: $target FAILED; the input is in build/fuzz/artifacts/, the log in build/fuzz/$target.log" >&2
    exit 1
  fi
  grep -E '^(#[0-9]+\s+DONE|stat::number_of_executed_units)' "build/fuzz/$target.log" || true
done

step "soak: ${soak_transactions} transactions under ASan against the simulator"
soak_args=(--sim build/sanitize/tools/sim/tcudv-sim --transactions "$soak_transactions")
if [ -n "${SOAK_SEED:-}" ]; then soak_args+=(--seed "$SOAK_SEED"); fi
build/sanitize/tests/hardening/soak "${soak_args[@]}"
