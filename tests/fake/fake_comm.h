// The tests' comm layer: scripted devices on a virtual clock, every call
// recorded with its arguments, any call made to fail.
#ifndef TCUDVNT_TESTS_FAKE_COMM_H
#define TCUDVNT_TESTS_FAKE_COMM_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/comm.h"

namespace tcudv::fake {

enum class Op {
  Open,
  Close,
  GetState,
  SetState,
  GetTimeouts,
  SetTimeouts,
  SetupQueues,
  ClearError,
  SetRts,
  ClearRts,
  Read,
  Write,
  SetBreak,
  ClearBreak,
  Sleep
};

// One call of the comm layer, as the code under test made it.
struct Call {
  Op op;
  CommHandle handle;   // 0 for Open and Sleep
  std::string bytes;   // Open: the name; Write: the bytes offered; Read: the bytes delivered
  uint32_t count;      // Read, Write: bytes asked; Sleep: milliseconds; SetupQueues: input size
  uint32_t moved;      // Read, Write: bytes moved
  bool ok;             // what the call returned
  uint64_t atMs;       // the virtual clock when the call began
  LineState state;     // SetState: the state written
  CommTimeouts timeouts;  // SetTimeouts: the time-outs written
  uint32_t outputSize = 0;  // SetupQueues: output size
  QueueCounts counts{};     // ClearError: the counts reported
  CommHandle opened = 0;    // Open: the handle returned
};

// What a device answers to each write: the bytes that then arrive in its input.
using Responder = std::function<std::string(const std::string& written)>;

// Bytes that arrive in a device's input when the virtual clock reaches atMs.
struct Arrival {
  uint64_t atMs;
  std::string bytes;
};

struct Device {
  std::string name;
  LineState state;        // as GetState reports it; SetState replaces it
  CommTimeouts timeouts;  // as GetTimeouts reports it; SetTimeouts replaces it
  std::string input;      // bytes waiting to be read
  Responder responder;    // may be empty: the device answers nothing
  uint32_t writeLimit = UINT32_MAX;  // the most bytes one write takes
  uint32_t drainPolls = 0;  // ClearError calls after a write that still report output waiting
  bool rts = false;
  bool open = false;
  CommHandle handle = 0;
  // Added: more of the device, as the fake keeps it.
  std::vector<Arrival> arrivals;  // later input, in time order (see Arrive)
  uint32_t inputQueue = 0;   // SetupQueues' sizes
  uint32_t outputQueue = 0;
  bool breakOn = false;
  uint32_t outWaiting = 0;   // what ClearError reports as cbOutQue while drainPolls last
  uint32_t drainLeft = 0;    // ClearError calls still to report output waiting
  bool isNull = false;       // "NUL": opens any number of times, fails every port call
};

// Forgets every device, failure, call and the clock; "NUL" always exists
// and opens (it answers no state, time-out or RTS calls, as the null device).
void Reset();
// A device that opens by this name, with a plausible starting state.
Device& AddDevice(const std::string& name);
// The device of that name or of that handle; it must exist.
Device& DeviceNamed(const std::string& name);
Device& DeviceOf(CommHandle handle);

// The next `times` calls of op fail (return false, move nothing).
void FailNext(Op op, unsigned times = 1);
// Every call of op fails until switched off again.
void FailAlways(Op op, bool on = true);

// Bytes that arrive in the device's input once the clock reaches atMs; a read
// waiting then takes them, and the clock stops at their time.
void Arrive(const std::string& name, uint64_t atMs, const std::string& bytes);

// Everything the code under test called, in order.
const std::vector<Call>& Calls();
std::vector<Call> CallsOf(Op op);
void ClearCalls();
// The bytes of every successful write, in order.
std::vector<std::string> Writes();
// The calls in a compact readable form, one line each: "Open COM1", "Sleep 15",
// "Write N01TA*", "Read 1 -> ' '", "SetRts", "ClearError", ...
std::vector<std::string> Trace();
const char* OpName(Op op);

// The virtual clock in milliseconds: Sleep advances it by its argument, a read
// that cannot be satisfied by the read constant of the port's time-outs.
uint64_t NowMs();
// Moves the clock on without a call (time passing in the test's world).
void AdvanceMs(uint64_t milliseconds);

// Details of the fake's behaviour:
// - Handles are distinct and non-zero, never kInvalidHandle; a second open of
//   a held device fails (except "NUL"), an unknown name fails.
// - A call on an unknown or closed handle fails.
// - A read that the input (and any arrival within its time-out) cannot
//   satisfy moves the clock on by readTotalTimeoutMultiplier * count +
//   readTotalTimeoutConstant and succeeds with what is there. With all read
//   time-outs 0 (reads without time-out) it waits for the next arrival; with
//   none it returns what is there at once (the test would otherwise hang).
//   readIntervalTimeout 0xFFFFFFFF with the others 0 returns at once.
// - A successful write takes min(count, writeLimit) bytes, hands them to the
//   responder, whose answer joins the input, and arms drainPolls: the next
//   drainPolls ClearError calls report the bytes taken as cbOutQue.
// - CommTickCount() is the clock's low 32 bits; it is not recorded as a call.
// - Trace() lines: "Open NAME", "Close", "GetState", "SetState 9600 7 2 0"
//   (baud, bits, parity, stop bits), "GetTimeouts", "SetTimeouts 0 0 1000 0 0",
//   "SetupQueues 1200 1200", "ClearError", "SetRts", "ClearRts",
//   "Read N -> 'bytes'", "Write bytes" (with " -> N" when fewer were taken),
//   "SetBreak", "ClearBreak", "Sleep N"; a failed call ends with " failed".
//   Bytes outside 32..126 are shown as \r, \n or \xNN.

}  // namespace tcudv::fake

#endif
