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
};

// What a device answers to each write: the bytes that then arrive in its input.
using Responder = std::function<std::string(const std::string& written)>;

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

}  // namespace tcudv::fake

#endif
