// The fake comm layer: the functions of platform/comm.h over scripted devices.
#include "fake/fake_comm.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdio>
#include <deque>
#include <map>

namespace tcudv::fake {
namespace {

constexpr size_t kOpCount = static_cast<size_t>(Op::Sleep) + 1;
constexpr CommHandle kFirstHandle = 0x100;
constexpr CommHandle kHandleStep = 4;

struct World {
  std::deque<Device> devices;  // stable references
  std::map<CommHandle, Device*> openHandles;
  std::vector<Call> calls;
  std::array<unsigned, kOpCount> failNext{};
  std::array<bool, kOpCount> failAlways{};
  uint64_t nowMs = 0;
  CommHandle nextHandle = kFirstHandle;
};

Device& AddNullDevice();

World& W() {
  static World world;
  static bool ready = false;
  if (!ready) {
    ready = true;
    AddNullDevice();
  }
  return world;
}

LineState StartingState() {
  LineState state{};
  state.baudRate = 9600;
  state.byteSize = 8;
  state.parity = 0;
  state.stopBits = 0;
  state.fBinary = true;
  state.fDtrControl = DTR_CONTROL_ENABLE;
  state.fRtsControl = RTS_CONTROL_ENABLE;
  state.fTXContinueOnXoff = true;
  state.xonLim = 2048;
  state.xoffLim = 512;
  state.xonChar = 0x11;
  state.xoffChar = 0x13;
  return state;
}

Device FreshDevice(const std::string& name) {
  Device device;
  device.name = name;
  device.state = StartingState();
  device.timeouts = CommTimeouts{0, 0, 0, 0, 0};
  device.isNull = name == "NUL";
  return device;
}

Device& AddNullDevice() { return AddDevice("NUL"); }

Device* Find(const std::string& name) {
  for (Device& device : W().devices) {
    if (device.name == name) return &device;
  }
  return nullptr;
}

Device* OpenDevice(CommHandle handle) {
  auto it = W().openHandles.find(handle);
  return it == W().openHandles.end() ? nullptr : it->second;
}

// Starts the record of a call; the caller fills in the rest.
Call& Begin(Op op, CommHandle handle) {
  Call call{};
  call.op = op;
  call.handle = handle;
  call.atMs = W().nowMs;
  W().calls.push_back(call);
  return W().calls.back();
}

// Whether a scripted failure takes this call.
bool Injected(Op op) {
  const size_t i = static_cast<size_t>(op);
  if (W().failAlways[i]) return true;
  if (W().failNext[i] > 0) {
    --W().failNext[i];
    return true;
  }
  return false;
}

// Moves the arrivals due by the clock into the input.
void Deliver(Device& device) {
  auto& arrivals = device.arrivals;
  while (!arrivals.empty() && arrivals.front().atMs <= W().nowMs) {
    device.input += arrivals.front().bytes;
    arrivals.erase(arrivals.begin());
  }
}

std::string Shown(const std::string& bytes) {
  std::string text;
  for (unsigned char c : bytes) {
    if (c == '\r') {
      text += "\\r";
    } else if (c == '\n') {
      text += "\\n";
    } else if (c < 32 || c > 126) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      text += hex;
    } else {
      text += static_cast<char>(c);
    }
  }
  return text;
}

// The common start of every call on a handle: the record, the failure, the device.
// Null when the call fails; `fails` says whether the null device fails it.
Device* Enter(Call& call, bool nullFails) {
  if (Injected(call.op)) return nullptr;
  Device* device = OpenDevice(call.handle);
  if (device == nullptr) return nullptr;
  if (device->isNull && nullFails) return nullptr;
  return device;
}

}  // namespace

void Reset() {
  World& world = W();
  world.devices.clear();
  world.openHandles.clear();
  world.calls.clear();
  world.failNext.fill(0);
  world.failAlways.fill(false);
  world.nowMs = 0;
  world.nextHandle = kFirstHandle;
  AddNullDevice();
}

Device& AddDevice(const std::string& name) {
  if (Device* existing = Find(name)) {
    for (auto it = W().openHandles.begin(); it != W().openHandles.end();) {
      it = it->second == existing ? W().openHandles.erase(it) : std::next(it);
    }
    *existing = FreshDevice(name);
    return *existing;
  }
  W().devices.push_back(FreshDevice(name));
  return W().devices.back();
}

Device& DeviceNamed(const std::string& name) {
  Device* device = Find(name);
  assert(device != nullptr && "no fake device of that name");
  return *device;
}

Device& DeviceOf(CommHandle handle) {
  Device* device = OpenDevice(handle);
  if (device == nullptr) {
    for (Device& d : W().devices) {
      if (d.handle == handle && handle != 0) return d;
    }
  }
  assert(device != nullptr && "no fake device with that handle");
  return *device;
}

void FailNext(Op op, unsigned times) { W().failNext[static_cast<size_t>(op)] = times; }

void FailAlways(Op op, bool on) { W().failAlways[static_cast<size_t>(op)] = on; }

void Arrive(const std::string& name, uint64_t atMs, const std::string& bytes) {
  Device& device = DeviceNamed(name);
  auto at = std::upper_bound(device.arrivals.begin(), device.arrivals.end(), atMs,
                             [](uint64_t t, const Arrival& a) { return t < a.atMs; });
  device.arrivals.insert(at, Arrival{atMs, bytes});
  Deliver(device);
}

const std::vector<Call>& Calls() { return W().calls; }

std::vector<Call> CallsOf(Op op) {
  std::vector<Call> of;
  for (const Call& call : W().calls) {
    if (call.op == op) of.push_back(call);
  }
  return of;
}

void ClearCalls() { W().calls.clear(); }

std::vector<std::string> Writes() {
  std::vector<std::string> writes;
  for (const Call& call : W().calls) {
    if (call.op == Op::Write && call.ok) writes.push_back(call.bytes.substr(0, call.moved));
  }
  return writes;
}

const char* OpName(Op op) {
  switch (op) {
    case Op::Open: return "Open";
    case Op::Close: return "Close";
    case Op::GetState: return "GetState";
    case Op::SetState: return "SetState";
    case Op::GetTimeouts: return "GetTimeouts";
    case Op::SetTimeouts: return "SetTimeouts";
    case Op::SetupQueues: return "SetupQueues";
    case Op::ClearError: return "ClearError";
    case Op::SetRts: return "SetRts";
    case Op::ClearRts: return "ClearRts";
    case Op::Read: return "Read";
    case Op::Write: return "Write";
    case Op::SetBreak: return "SetBreak";
    case Op::ClearBreak: return "ClearBreak";
    case Op::Sleep: return "Sleep";
  }
  return "?";
}

std::vector<std::string> Trace() {
  std::vector<std::string> lines;
  for (const Call& call : W().calls) {
    std::string line = OpName(call.op);
    switch (call.op) {
      case Op::Open:
        line += " " + call.bytes;
        break;
      case Op::SetState:
        line += " " + std::to_string(call.state.baudRate) + " " + std::to_string(call.state.byteSize) +
                " " + std::to_string(call.state.parity) + " " + std::to_string(call.state.stopBits);
        break;
      case Op::SetTimeouts:
        line += " " + std::to_string(call.timeouts.readIntervalTimeout) + " " +
                std::to_string(call.timeouts.readTotalTimeoutMultiplier) + " " +
                std::to_string(call.timeouts.readTotalTimeoutConstant) + " " +
                std::to_string(call.timeouts.writeTotalTimeoutMultiplier) + " " +
                std::to_string(call.timeouts.writeTotalTimeoutConstant);
        break;
      case Op::SetupQueues:
        line += " " + std::to_string(call.count) + " " + std::to_string(call.outputSize);
        break;
      case Op::Read:
        line += " " + std::to_string(call.count);
        if (call.ok) line += " -> '" + Shown(call.bytes) + "'";
        break;
      case Op::Write:
        line += " " + Shown(call.bytes);
        if (call.ok && call.moved != call.count) line += " -> " + std::to_string(call.moved);
        break;
      case Op::Sleep:
        line += " " + std::to_string(call.count);
        break;
      default:
        break;
    }
    if (!call.ok) line += " failed";
    lines.push_back(line);
  }
  return lines;
}

uint64_t NowMs() { return W().nowMs; }

void AdvanceMs(uint64_t milliseconds) { W().nowMs += milliseconds; }

}  // namespace tcudv::fake

// The comm interface, as the code under test sees it.
namespace tcudv {

using fake::Call;
using fake::Device;
using fake::Op;

CommHandle CommOpen(const char* name) {
  auto& world = fake::W();
  Call& call = fake::Begin(Op::Open, 0);
  call.bytes = name;
  call.opened = kInvalidHandle;
  if (fake::Injected(Op::Open)) return kInvalidHandle;
  Device* device = fake::Find(name);
  if (device == nullptr) return kInvalidHandle;
  if (device->open && !device->isNull) return kInvalidHandle;  // held: exclusive
  const CommHandle handle = world.nextHandle;
  world.nextHandle += fake::kHandleStep;
  device->open = true;
  device->handle = handle;
  world.openHandles[handle] = device;
  call.ok = true;
  call.opened = handle;
  return handle;
}

bool CommClose(CommHandle handle) {
  Call& call = fake::Begin(Op::Close, handle);
  Device* device = fake::Enter(call, false);
  if (device == nullptr) return false;
  fake::W().openHandles.erase(handle);
  bool stillOpen = false;
  for (const auto& [h, d] : fake::W().openHandles) stillOpen = stillOpen || d == device;
  device->open = stillOpen;
  device->breakOn = false;
  return call.ok = true;
}

bool CommGetState(CommHandle handle, LineState* state) {
  Call& call = fake::Begin(Op::GetState, handle);
  Device* device = fake::Enter(call, true);
  if (device == nullptr) return false;
  *state = device->state;
  call.state = device->state;
  return call.ok = true;
}

bool CommSetState(CommHandle handle, const LineState& state) {
  Call& call = fake::Begin(Op::SetState, handle);
  call.state = state;
  Device* device = fake::Enter(call, true);
  if (device == nullptr) return false;
  device->state = state;
  return call.ok = true;
}

bool CommGetTimeouts(CommHandle handle, CommTimeouts* timeouts) {
  Call& call = fake::Begin(Op::GetTimeouts, handle);
  Device* device = fake::Enter(call, true);
  if (device == nullptr) return false;
  *timeouts = device->timeouts;
  call.timeouts = device->timeouts;
  return call.ok = true;
}

bool CommSetTimeouts(CommHandle handle, const CommTimeouts& timeouts) {
  Call& call = fake::Begin(Op::SetTimeouts, handle);
  call.timeouts = timeouts;
  Device* device = fake::Enter(call, true);
  if (device == nullptr) return false;
  device->timeouts = timeouts;
  return call.ok = true;
}

bool CommSetupQueues(CommHandle handle, uint32_t inputSize, uint32_t outputSize) {
  Call& call = fake::Begin(Op::SetupQueues, handle);
  call.count = inputSize;
  call.outputSize = outputSize;
  Device* device = fake::Enter(call, true);
  if (device == nullptr) return false;
  device->inputQueue = inputSize;
  device->outputQueue = outputSize;
  return call.ok = true;
}

bool CommClearError(CommHandle handle, QueueCounts* counts) {
  Call& call = fake::Begin(Op::ClearError, handle);
  Device* device = fake::Enter(call, true);
  if (device == nullptr) return false;
  fake::Deliver(*device);
  QueueCounts now{static_cast<uint32_t>(device->input.size()), 0};
  if (device->drainLeft > 0) {
    --device->drainLeft;
    now.cbOutQue = device->outWaiting;
  }
  if (counts != nullptr) *counts = now;
  call.counts = now;
  return call.ok = true;
}

bool CommSetRts(CommHandle handle) {
  Call& call = fake::Begin(Op::SetRts, handle);
  Device* device = fake::Enter(call, true);
  if (device == nullptr) return false;
  device->rts = true;
  return call.ok = true;
}

bool CommClearRts(CommHandle handle) {
  Call& call = fake::Begin(Op::ClearRts, handle);
  Device* device = fake::Enter(call, true);
  if (device == nullptr) return false;
  device->rts = false;
  return call.ok = true;
}

bool CommRead(CommHandle handle, void* buffer, uint32_t count, uint32_t* bytesRead) {
  auto& world = fake::W();
  Call& call = fake::Begin(Op::Read, handle);
  call.count = count;
  if (bytesRead != nullptr) *bytesRead = 0;
  Device* device = fake::Enter(call, false);
  if (device == nullptr) return false;
  if (device->isNull) return call.ok = true;  // the null device reads nothing at once

  fake::Deliver(*device);
  if (device->input.size() < count) {
    const CommTimeouts& t = device->timeouts;
    const bool atOnce = t.readIntervalTimeout == 0xFFFFFFFFu && t.readTotalTimeoutMultiplier == 0 &&
                        t.readTotalTimeoutConstant == 0;
    const bool forever = t.readIntervalTimeout == 0 && t.readTotalTimeoutMultiplier == 0 &&
                         t.readTotalTimeoutConstant == 0;
    if (!atOnce) {
      const uint64_t deadline =
          forever ? UINT64_MAX
                  : world.nowMs + uint64_t{t.readTotalTimeoutMultiplier} * count +
                        t.readTotalTimeoutConstant;
      while (device->input.size() < count && !device->arrivals.empty() &&
             device->arrivals.front().atMs <= deadline) {
        world.nowMs = std::max(world.nowMs, device->arrivals.front().atMs);
        fake::Deliver(*device);
      }
      if (device->input.size() < count && !forever) world.nowMs = deadline;
    }
  }
  const uint32_t moved = std::min<uint32_t>(count, static_cast<uint32_t>(device->input.size()));
  std::copy_n(device->input.data(), moved, static_cast<char*>(buffer));
  call.bytes = device->input.substr(0, moved);
  device->input.erase(0, moved);
  call.moved = moved;
  if (bytesRead != nullptr) *bytesRead = moved;
  return call.ok = true;
}

bool CommWrite(CommHandle handle, const void* data, uint32_t count, uint32_t* bytesWritten) {
  Call& call = fake::Begin(Op::Write, handle);
  call.count = count;
  call.bytes.assign(static_cast<const char*>(data), count);
  if (bytesWritten != nullptr) *bytesWritten = 0;
  Device* device = fake::Enter(call, false);
  if (device == nullptr) return false;
  const uint32_t moved = device->isNull ? count : std::min(count, device->writeLimit);
  call.moved = moved;
  if (bytesWritten != nullptr) *bytesWritten = moved;
  call.ok = true;
  if (!device->isNull) {
    device->outWaiting = moved;
    device->drainLeft = device->drainPolls;
    if (device->responder) device->input += device->responder(call.bytes.substr(0, moved));
  }
  return true;
}

bool CommSetBreak(CommHandle handle) {
  Call& call = fake::Begin(Op::SetBreak, handle);
  Device* device = fake::Enter(call, true);
  if (device == nullptr) return false;
  device->breakOn = true;
  return call.ok = true;
}

bool CommClearBreak(CommHandle handle) {
  Call& call = fake::Begin(Op::ClearBreak, handle);
  Device* device = fake::Enter(call, true);
  if (device == nullptr) return false;
  device->breakOn = false;
  return call.ok = true;
}

void CommSleep(uint32_t milliseconds) {
  Call& call = fake::Begin(Op::Sleep, 0);
  call.count = milliseconds;
  call.ok = true;
  fake::W().nowMs += milliseconds;
}

uint32_t CommTickCount() { return static_cast<uint32_t>(fake::W().nowMs); }

}  // namespace tcudv
