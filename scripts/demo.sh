#!/usr/bin/env bash
# The demo: the simulator plays a line of four controllers (node 5 silent) on a
# pseudo-terminal, and the host tool drives it through the real driver.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native --target tcudv tcudv-sim tcudvnt_shared

sim=build/native/tools/sim/tcudv-sim
tcudv=build/native/tools/host/tcudv
work=$(mktemp -d)
cleanup() {
  [ -n "${sim_pid:-}" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$sim" --nodes 1-3,5 --silent 5 --drift 0 --log-file "$work/sim.log" >"$work/port" &
sim_pid=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || { echo "demo: the simulator did not start" >&2; exit 1; }
slave=$(head -n1 "$work/port")
port=${slave#/dev/}

show() {
  printf '\n$ tcudv %s\n' "$*"
  "$tcudv" "$@"
}
# A command whose failure is the point of the step: its exit code is shown, not fatal.
show_failing() {
  printf '\n$ tcudv %s\n' "$*"
  local status=0
  "$tcudv" "$@" || status=$?
  echo "(exit $status)"
  [ "$status" -ne 0 ]
}

echo "demo: simulator on $slave: nodes 1, 2, 3 answer, node 5 is silent"
show info
echo
echo "-- reads of every gate type: floats, words, bits of the output status"
show read "$port" 01TMP 02SET 03PWR 01RAT 01INT 02BIA 01OST0 01OST2
echo
echo "-- a new setpoint, written and read back"
show write "$port" 01SET=150
show read "$port" 01SET
echo
echo "-- alarm 2 stands (OST digit 2); the reset A2R clears it"
show read "$port" 02OST2
show write "$port" 02A2R=1
show read "$port" 02OST2
echo
echo "-- a gate the driver refuses"
show_failing read "$port" 01XYZ
echo
echo "-- the silent node: three tries of the gate-0 test, then a line failure"
echo "   (a pseudo-terminal has no RTS line: Send logs each failed RTS call and goes on)"
show_failing read "$port" 05SET --log
echo
echo "demo: done; the simulator saw $(grep -c ' rx ' "$work/sim.log") frames"
