#include "fake_line.h"

#include <cstring>

#include "fake/fake_comm.h"
#include "params/parameter_table.h"
#include "serial/sio.h"
#include "support/log_capture.h"

namespace tcudv::test {
namespace {

constexpr char kPort[] = "COM1";
constexpr int32_t kReplyTimeout = 4;  // 40 ms
constexpr uint8_t kMarker0 = 0xA5;
constexpr uint8_t kMarker1 = 0x5A;

}  // namespace

Cell FloatCell(float value) {
  Cell cell{};
  std::memcpy(cell.data(), &value, sizeof value);
  return cell;
}

Cell WordCell(uint16_t word) {
  return Cell{kMarker0, kMarker1, static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8)};
}

float CellAsFloat(const Cell& cell) {
  float value = 0;
  std::memcpy(&value, cell.data(), sizeof value);
  return value;
}

uint16_t CellAsWord(const Cell& cell) {
  return static_cast<uint16_t>(cell[2] | cell[3] << 8);
}

void FakeLine::SetUp() {
  fake::Reset();
  fake::Device& device = fake::AddDevice(kPort);
  device.responder = [this](const std::string& written) -> std::string {
    auto counted = counted_.find(written);
    if (counted != counted_.end() && !counted->second.empty()) {
      std::string reply = counted->second.front();
      counted->second.pop_front();
      return reply;
    }
    auto always = always_.find(written);
    return always != always_.end() ? always->second : std::string();
  };
  ws.portHandle = CommOpen(kPort);
  ASSERT_NE(ws.portHandle, kInvalidHandle);
  SioSetReadTimeout(ws.portHandle, kReplyTimeout);
  ws.replyTimeout = kReplyTimeout;
  ws.frameGap = kDefaultFrameGap;
  for (auto& node : ws.resolution) {
    for (uint32_t p = 0; p < kParameterCount; ++p) {
      node[p] = static_cast<uint8_t>(kDefaultResolution[p]);
    }
  }
  fake::ClearCalls();
  ClearLog();
}

void FakeLine::Answer(const std::string& frame, const std::string& reply, unsigned times) {
  for (unsigned i = 0; i < times; ++i) counted_[frame].push_back(reply);
}

void FakeLine::AnswerAlways(const std::string& frame, const std::string& reply) {
  always_[frame] = reply;
}

void FakeLine::Stale(const std::string& bytes) {
  fake::DeviceOf(ws.portHandle).input += bytes;
}

std::string FakeLine::PendingInput() const {
  return fake::DeviceOf(ws.portHandle).input;
}

LdiGateIo FakeLine::Gate(uint32_t node, uint32_t param, uint32_t type, int32_t bit, Cell& cell) {
  LdiGateIo io{};
  io.label = "gate";
  io.node = node;
  io.type = type;
  io.param = param;
  io.bit = bit;
  io.value = cell.data();
  return io;
}

LdiCall FakeLine::CallFor(LdiGateIo& io, uint32_t operation) {
  LdiCall call{};
  call.workspace = &ws;
  call.operation = operation;
  call.record = &io;
  return call;
}

int32_t FakeLine::Read(LdiGateIo& io) {
  LdiCall call = CallFor(io, LDI_OP_SINGLE_READ);
  return LdiMain(&call);
}

int32_t FakeLine::Write(LdiGateIo& io) {
  LdiCall call = CallFor(io, LDI_OP_SINGLE_WRITE);
  return LdiMain(&call);
}

}  // namespace tcudv::test
