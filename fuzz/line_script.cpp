#include "line_script.h"

#include "fake/fake_comm.h"

namespace tcudv::fuzz {
namespace {

using fake::Op;

constexpr Op kFailable[] = {Op::Read,     Op::Write,       Op::ClearError, Op::SetRts,
                            Op::ClearRts, Op::GetTimeouts, Op::SetTimeouts};

FuzzInput* script = nullptr;

// One answer: bits 0-1 the shape (0 nothing, 1 at once, 2 a part at once and
// the rest later, 3 all later), bit 2 a CR LF behind, bits 3-4 a blank and/or
// "-" in front, bits 5-7 a failure of the next port calls.
std::string Answer(const std::string& /*frame*/) {
  FuzzInput& in = *script;
  const uint8_t plan = in.Byte();
  std::string reply;
  if (plan & 0x08) reply += ' ';
  if (plan & 0x10) reply += '-';
  reply += in.Bytes(in.Byte() % 48);
  if (plan & 0x04) reply += "\r\n";

  switch (plan >> 5) {
    case 1:
      fake::FailNext(Op::Read, 1);
      break;
    case 2:
      fake::FailNext(Op::Read, 2);
      break;
    case 3:
      fake::FailNext(Op::ClearError, 1);
      break;
    case 4:
      fake::FailNext(Op::Write, 1);
      break;
    case 5:
      fake::FailNext(Op::ClearRts, 1);
      break;
    default:
      break;
  }

  const unsigned shape = plan & 0x03;
  if (shape == 0) return std::string();
  if (shape == 1) return reply;
  const uint64_t later = fake::NowMs() + in.Byte();
  const size_t split = shape == 2 ? in.Byte() % (reply.size() + 1) : 0;
  fake::Arrive(kPortName, later, reply.substr(split));
  return reply.substr(0, split);
}

}  // namespace

void ResetLine() {
  fake::Reset();
  fake::AddDevice(kPortName);
}

void ScriptLine(FuzzInput& in) {
  script = &in;
  fake::Device& device = fake::DeviceNamed(kPortName);
  const uint8_t limit = in.Byte();
  if (limit >= 0xF0) device.writeLimit = limit & 0x0F;
  device.drainPolls = in.Byte() % 8;
  device.input = in.Bytes(in.Byte() % 32);
  const uint8_t failing = in.Byte();
  for (size_t i = 0; i < sizeof kFailable / sizeof kFailable[0]; ++i) {
    if (failing & (1u << i)) fake::FailNext(kFailable[i], 1 + in.Byte() % 3);
  }
  device.responder = Answer;
}

}  // namespace tcudv::fuzz

namespace tcudv::fuzz {

std::vector<std::string> OfferedFrames() {
  std::vector<std::string> frames;
  for (const fake::Call& call : fake::CallsOf(fake::Op::Write)) frames.push_back(call.bytes);
  return frames;
}

}  // namespace tcudv::fuzz
