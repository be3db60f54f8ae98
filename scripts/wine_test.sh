#!/usr/bin/env bash
# The driver's Windows code path for real: the 64-bit TCUDVNT.dll under wine64,
# driven through LdiMain by tcudv.exe, against the simulator on a
# pseudo-terminal that the wine prefix's COM3 points at.
#
# Usage: scripts/wine_test.sh [MINGW_X86_64_BUILD] [NATIVE_BUILD]
#   defaults build/mingw-x86_64 and build/native, both built already: the first
#   holds tcudv.exe with TCUDVNT.dll and MARVEX.DLL beside it, the second tcudv-sim.
#
# What wine cannot do on a pseudo-terminal, and what the run expects instead:
# - RTS: EscapeCommFunction with SETRTS and CLRRTS fails there, so every frame
#   logs "Send() EscapeCommFunction() failed" twice, and still goes out.
# - Exclusive opens: wine does not refuse a second open of COM3. The run never
#   holds the port twice at once and cannot show that a second open is refused.
# - Line settings: a pseudo-terminal carries 8 data bits without parity only.
#   Linux keeps CS8 whatever is asked, and wine's SetCommState then fails for
#   7E1 once the terminal has been set up before, so every run asks for 8N1.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
win64=$(realpath -m "${1:-$root/build/mingw-x86_64}")
native=$(realpath -m "${2:-$root/build/native}")
wine=${WINE64:-/usr/lib/wine/wine64}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}
tcudv=$win64/tools/host/tcudv.exe
sim=$native/tools/sim/tcudv-sim
example=$root/tests/windows/TCUDV00.INT
step_timeout=60

die() {
  echo "wine_test: $*" >&2
  exit 1
}

for file in "$tcudv" "$win64/tools/host/TCUDVNT.dll" "$win64/tools/host/MARVEX.DLL" "$sim"; do
  [ -f "$file" ] || die "$file is missing: build the mingw-x86_64 and native presets first"
done
cmp -s "$win64/src/TCUDVNT.dll" "$win64/tools/host/TCUDVNT.dll" ||
  die "the TCUDVNT.dll beside tcudv.exe is not the one built: build $win64 again"
[ -x "$wine" ] && [ -x "$wineserver" ] || die "no wine64 at $wine (scripts/setup.sh installs it)"

# No display, no Mono or Gecko installer prompts, no wine chatter.
export WINEPREFIX=$win64/wine/prefix WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES="mscoree,mshtml="
unset WAYLAND_DISPLAY
work=$win64/wine/run
rm -rf "$work"
mkdir -p "$work" "$(dirname "$WINEPREFIX")"

sim_pid=
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$sim_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -f "$WINEPREFIX/dosdevices/com3"
  timeout -k 5 30 "$wineserver" -k 2>/dev/null || true
}
trap cleanup EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine_test: making the wine prefix $WINEPREFIX"
  timeout -k 10 300 "$wine" wineboot -i >"$work/wineboot.log" 2>&1 ||
    die "wineboot failed, see $work/wineboot.log"
fi
# One server for the whole run, its output kept out of the test's.
timeout -k 5 30 "$wineserver" -k 2>/dev/null || true
timeout -k 5 30 "$wineserver" -p >"$work/wineserver.log" 2>&1 || die "wineserver did not start"

# The line: nodes 1 to 3 answer, node 5 is silent, node 3 never answers SET;
# the values hold still, and the decimals are those of the example file. Every
# reply comes 40 ms after its frame, when the driver is already waiting for it:
# a read that did not wait would miss it.
cp "$example" "$work/"
state=$work/state.txt
events=$work/events.tsv
: >"$events"
"$sim" --nodes 1-3 --silent 5 --unanswered 3:SET --drift 0 --delay 40 --decimals-file "$example" \
  --state-file "$state" --events "$events" >"$work/sim.out" 2>"$work/sim.log" &
sim_pid=$!
for _ in $(seq 100); do
  [ -s "$work/sim.out" ] && break
  kill -0 "$sim_pid" 2>/dev/null || die "the simulator ended: $(cat "$work/sim.log")"
  sleep 0.1
done
pty=$(head -n1 "$work/sim.out")
[ -c "$pty" ] || die "the simulator printed no pseudo-terminal: '$pty'"
ln -sfn "$pty" "$WINEPREFIX/dosdevices/com3"
rm -f "$WINEPREFIX/dosdevices/com9"
echo "wine_test: simulator on $pty, COM3 of $WINEPREFIX points there"

checks=0
failures=0
failed_runs=()
current_run=

# run NAME ARGS...: tcudv.exe ARGS in the work folder (where the driver looks for
# TCUDV00.INT); sets out, log, status and the frames the simulator got meanwhile.
run() {
  current_run=$1
  shift
  out=$work/$current_run.out
  log=$work/$current_run.log
  local first=$(($(wc -l <"$events") + 1))
  status=0
  (cd "$work" && timeout -k 5 "$step_timeout" "$wine" "$tcudv" "$@") >"$out" 2>"$log" || status=$?
  sed -i 's/\r$//' "$out" "$log"
  # A write's last frame may still be on its way to the simulator.
  local count=-1
  for _ in $(seq 20); do
    [ "$(wc -l <"$events")" != "$count" ] || break
    count=$(wc -l <"$events")
    sleep 0.1
  done
  tail -n +"$first" "$events" >"$work/$current_run.frames"
  frames=$(wc -l <"$work/$current_run.frames")
  local killed=
  [ "$status" -ne 124 ] || killed=" (killed after ${step_timeout} s)"
  echo "wine_test: tcudv.exe $* -> exit $status$killed, $frames frames"
}

check() {
  local what=$1
  shift
  checks=$((checks + 1))
  if "$@"; then
    echo "  ok    $current_run: $what"
  else
    echo "  FAIL  $current_run: $what"
    failures=$((failures + 1))
    [[ " ${failed_runs[*]} " == *" $current_run "* ]] || failed_runs+=("$current_run")
  fi
}

has_line() { grep -qxF -- "$2" "$1"; }
has_match() { grep -qE -- "$2" "$1"; }
lacks_match() { ! grep -qE -- "$2" "$1"; }
count_is() { [ "$(grep -cxF -- "$2" "$1" || true)" -eq "$3" ]; }
equal() { [ "$1" = "$2" ]; }
between() { [ "$1" -ge "$2" ] && [ "$1" -le "$3" ]; }
same_number() {
  awk -v a="$1" -v b="$2" 'BEGIN { exit !(a != "" && b != "" && a - b < 0.0005 && b - a < 0.0005) }'
}

# The simulator's value of NAME on NODE, as its state file has it now.
state_value() {
  awk -v node="node=$1" -v name="$2" '$1 == node {
    for (i = 2; i <= NF; i++) { split($i, pair, "="); if (pair[1] == name) print pair[2] } }' "$state"
}
# The value tcudv printed for GATE.
shown_value() { sed -n "s/^$1 = //p" "$out"; }
# The frames of the current run, space-separated.
frame_list() { cut -f3 "$work/$current_run.frames" | tr -d '"' | paste -sd' '; }
# The gaps in milliseconds between the current run's frames as the simulator got them.
frame_gaps() { cut -f2 "$work/$current_run.frames" | awk 'NR > 1 { print $1 - last } { last = $1 }'; }

rts_lines_per_frame() {
  count_is "$log" "[level 8] LDIYY> Send() EscapeCommFunction() failed" $((2 * frames))
}
ended() { equal "$(tail -n1 "$log")" "[level 8] LDIYY> EndLdi() exited, 0"; }
# Checks every run on COM3 shares: the port opened, RTS as wine does it, the queue
# query working, the instance ended.
check_port_run() {
  check "ColdStart opened COM3" has_match "$log" '^\[level 8\] LDIYY> OpenCom\(\) exited OK, file handle [0-9]+$'
  check "ColdStart succeeded" has_line "$log" "[level 8] LDIYY> ColdStart() installation OK!"
  check "two failed RTS calls per frame" rts_lines_per_frame
  check "the output queue query works" lacks_match "$log" 'ClearCommError\(\) failed'
  check "EndLdi ends the run" ended
}

# Runs on a port: the log and 8N1, and a reply time-out well beyond the replies' 40 ms.
port=(--log --data 8 --parity none)
wait=(--timeout 200)

run info info --log
check "exit 0" equal "$status" 0
check "TCUDVNT.dll beside tcudv.exe is the driver" has_match "$out" '^driver: +[A-Z]:\\.*\\TCUDVNT\.dll$'
check "GetLdiInfo logs through MARVEX.DLL" has_line "$log" "[level 8] LDIYY> GetLdiInfo() exited"
check "workspace size" has_line "$out" "workspace size:  2896 bytes"
check "reply time-out" has_line "$out" "reply time-out:  4 (40 ms)"
check "line defaults" has_line "$out" "line:            9600 baud, 7 data bits, even parity, 1 stop bit"

run no_port read COM9 01SET "${port[@]}" "${wait[@]}"
check "exit 2" equal "$status" 2
check "OpenCom logs the failed open" has_line "$log" "[level 8] LDIYY> OpenCom() open COM port failed"
check "ColdStart alarms" has_line "$log" "[level 32] LDIYY> ColdStart() error opening COM port"
check "nothing on the line" equal "$frames" 0

# Each gate type: float (SET with the example's one decimal, TMP), word (INT, and
# PWR of node 2, a word only because the example file gives it no decimals), and
# a digit of the output status word.
reads=(
  "01SET 1 SET L"
  "01TMP 1 TMP L"
  "02PWR 2 PWR W"
  "01INT 1 INT W"
  "01OST2 1 OST2 W"
)
gates=()
for row in "${reads[@]}"; do gates+=("${row%% *}"); done
run reads read COM3 "${gates[@]}" "${port[@]}" "${wait[@]}"
check "exit 0" equal "$status" 0
check_port_run
check "the example file is read" lacks_match "$log" 'illegal line|no initfile'
check "the example's PWR line" has_line "$log" "[level 8] LDIYY> ReadInitFile() plc 2 uses 0 as resolution for PWR"
check "the example's IFG line" has_line "$log" "[level 8] LDIYY> ReadInitFile() IFG = 100"
check "one frame per gate" equal "$frames" "${#reads[@]}"
for row in "${reads[@]}"; do
  read -r gate node name type <<<"$row"
  if [ "$name" = OST2 ]; then
    expected=$(state_value "$node" OST | cut -c2)  # digits from place 3 down to 0
  else
    expected=$(state_value "$node" "$name")
  fi
  shown=$(shown_value "$gate")
  check "$gate reads the simulator's $expected (shown '$shown')" same_number "$shown" "$expected"
  if [ "$type" = L ]; then
    check "$gate is a float gate" has_match "$out" "^$gate = -?[0-9]+\.[0-9]+$"
  else
    check "$gate is a word gate" has_match "$out" "^$gate = -?[0-9]+$"
  fi
done

# A write read back: a float with one decimal, a word, and a reset, which has no value.
run write write COM3 01SET=150.5 02PWR=40 01A1R=1 "${port[@]}" "${wait[@]}"
check "exit 0" equal "$status" 0
check_port_run
for assignment in "01SET = 150.5" "02PWR = 40" "01A1R = 1"; do
  check "$assignment written" has_line "$out" "$assignment: ok"
done
check "the simulator holds SET 150.5" same_number "$(state_value 1 SET)" 150.5
check "the simulator holds PWR 40" same_number "$(state_value 2 PWR)" 40
check "the reset went out as a reset" has_match "$work/write.frames" $'"N01RG\\*"\tapplied'

run read_back read COM3 01SET 02PWR "${port[@]}" "${wait[@]}"
check "exit 0" equal "$status" 0
check_port_run
check "01SET reads 150.5" same_number "$(shown_value 01SET)" 150.5
check "02PWR reads 40" same_number "$(shown_value 02PWR)" 40

# A silent node: no reply within the time-out, three attempts of the gate-0 test,
# result 2. With 300 ms each wait shows between the frames: the time-out plus the
# 100 ms gap, far from the 1000 ms the port has before the reply time-out is set.
run silent read COM3 05SET "${port[@]}" --timeout 300
check "exit 2" equal "$status" 2
check_port_run
check "shown as a line failure" has_line "$out" "05SET: line failure (result 2)"
check "the read, then the gate-0 test three times" equal "$(frame_list)" "N05TB* N05TA* N05TA* N05TA*"
for attempt in 1 2 3; do
  check "gate-0 retry $attempt logged" has_line "$log" \
    "[level 8] LDIYY> DoRead() Read reply error retry $attempt for gate 0"
done
check "the test request fails" has_line "$log" "[level 8] LDIYY> DoRead() Test request error = PLC-comm. error"
check "SingleRead gives 2" has_line "$log" "[level 8] LDIYY> SingleRead(), ret val is 2"
for gap in $(frame_gaps); do
  check "a wait of $gap ms between frames" between "$gap" 380 1000
done

# A parameter the node never answers while its TMP answers: result 1.
run unanswered read COM3 03SET "${port[@]}" "${wait[@]}"
check "exit 1" equal "$status" 1
check_port_run
check "shown as refused" has_line "$out" "03SET: refused (result 1)"
check "the read, the gate-0 test, two more reads" equal "$(frame_list)" "N03TB* N03TA* N03TB* N03TB*"
check "SingleRead gives 1" has_line "$log" "[level 8] LDIYY> SingleRead(), ret val is 1"

echo "wine_test: $checks checks, $failures failed"
for name in "${failed_runs[@]}"; do
  for part in out log frames; do
    echo "--- $name.$part"
    cat "$work/$name.$part" 2>/dev/null || true
  done
done
[ "$failures" -eq 0 ]
