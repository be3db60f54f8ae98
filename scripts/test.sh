#!/usr/bin/env bash
# The one test command: installs what is missing, builds every target, runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
step() { printf '\n== %s\n' "$*"; }

step setup
bash scripts/setup.sh

for preset in native mingw-i686 mingw-x86_64; do
  step "$preset: configure, build, test"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

step "wine: the 64-bit DLL against the simulator"
bash scripts/wine_test.sh build/mingw-x86_64 build/native

step "hardening: sanitizers, fuzzers, soak"
bash scripts/hardening.sh
