// Values, gate records, resolutions and port failures through SingleWrite
// (operation 7) on the fake comm layer, bit writes and their word read included.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/workspace.h"
#include "driver_start.h"
#include "entry/ldi.h"
#include "fake/fake_comm.h"
#include "fuzz_gate.h"
#include "fuzz_input.h"
#include "fuzz_log.h"
#include "line_script.h"
#include "params/parameter_table.h"
#include "scratch_directory.h"

namespace tcudv::fuzz {
namespace {

constexpr size_t kMostWriteFrames = 3;
constexpr size_t kMostReadFrames = 6;  // a bit write's word read

// Any frame but a read frame: the command letter behind "N" and the node's digits is not "T".
bool IsWriteFrame(const std::string& frame) {
  size_t command = 1;
  while (command < frame.size() && frame[command] >= '0' && frame[command] <= '9') ++command;
  return command < frame.size() && frame[command] != 'T';
}

// The value a whole-value write takes: the float, or the word read as signed.
float ValueOf(const FuzzGate& gate) {
  if (gate.io.type == LDI_TYPE_WORD) {
    return static_cast<int16_t>(gate.cell[2] | gate.cell[3] << 8);
  }
  float value;
  std::memcpy(&value, gate.cell, sizeof value);
  return value;
}

void SetResolutions(FuzzInput& in, Workspace& workspace) {
  for (unsigned edits = in.Byte() % 8; edits > 0; --edits) {
    const unsigned node = in.Byte() % kNodeRows;
    const unsigned param = in.Byte() % kParameterCount;
    workspace.resolution[node][param] = in.Byte() % 4;
  }
}

// The value text of a V frame: its width, and the value within half a last digit.
void CheckValueText(const FuzzGate& gate, const Workspace& workspace, const std::string& text) {
  const float value = ValueOf(gate);
  const unsigned decimals = workspace.resolution[gate.io.node][gate.io.param];
  const bool negative = std::signbit(value) && value != 0.0f;
  const size_t width = 4 + (negative ? 1 : 0) + (decimals != 0 ? 1 : 0);
  if (text.size() != width) Fail("a value text not of its width");
  char* end = nullptr;
  const double written = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size()) Fail("a value text that is no number");
  const double halfDigit = 0.5 * std::pow(10.0, -static_cast<int>(decimals));
  if (std::fabs(written - static_cast<double>(value)) > halfDigit * (1 + 1e-9)) {
    Fail("a value text that is not the value");
  }
}

void CheckFrames(const FuzzGate& gate, const Workspace& workspace, int32_t result) {
  const std::vector<std::string> writes = OfferedFrames();
  size_t writeFrames = 0;
  size_t readFrames = 0;
  for (const std::string& frame : writes) (IsWriteFrame(frame) ? writeFrames : readFrames)++;
  if (writeFrames > kMostWriteFrames) Fail("more than three write frames");
  if (readFrames > kMostReadFrames) Fail("more than six read frames for a bit write");
  if (readFrames > 0 && gate.io.bit == -1) Fail("a word read for a write without a bit");
  if (!gate.parsed && gate.io.param >= kParameterCount) return;
  if (!IsWritable(gate.io.param) && !writes.empty())
    Fail("a frame for a parameter that is not writable");
  if (result != LDI_OK) return;
  if (writes.empty() || !IsWriteFrame(writes.back()))
    Fail("a write succeeded without a write frame");
  if (!gate.parsed) return;

  // A parsed gate's frame: node, command by the flags, value id, value text, "*".
  const uint8_t flags = kFlags[gate.io.param];
  const char command = (flags & PF_RESET) ? 'R' : (flags & PF_CONTROL) ? 'C' : 'V';
  char head[16];
  std::snprintf(head, sizeof head, "N%02u%c%s", static_cast<unsigned>(gate.io.node), command,
                kValueId[gate.io.param]);
  const std::string& frame = writes.back();
  if (frame.compare(0, std::strlen(head), head) != 0 || frame.back() != '*') {
    Fail("a write frame not for the gate");
  }
  const std::string text = frame.substr(std::strlen(head), frame.size() - std::strlen(head) - 1);
  if (command == 'R' && !text.empty()) Fail("a reset frame with a value");
  if (command == 'C' && text != "1" && text != "2") Fail("a control frame with neither 1 nor 2");
  if (command == 'V' && gate.io.bit == -1) {
    CheckValueText(gate, workspace, text);
  }
}

}  // namespace
}  // namespace tcudv::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tcudv::fuzz::EnterScratchDirectory();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tcudv;
  using namespace tcudv::fuzz;
  FuzzInput in(data, size);
  static Workspace workspace;
  ResetLine();
  StartDriver(workspace, in.Byte());
  SetResolutions(in, workspace);
  FuzzGate gate;
  MakeGate(in, workspace, true, gate);
  ScriptLine(in);

  const LdiGateIo record = gate.io;
  uint8_t cellBefore[4];
  std::memcpy(cellBefore, gate.cell, sizeof cellBefore);
  fake::ClearCalls();
  TakeLogLineCount();

  const int32_t result = Call(workspace, LDI_OP_SINGLE_WRITE, &gate.io);
  if (result < LDI_OK || result > LDI_FAILED) Fail("result outside 0 to 2");
  if (!SameRecord(record, gate.io)) Fail("the gate record was not given back as it came");
  if (std::memcmp(cellBefore, gate.cell, sizeof cellBefore) != 0)
    Fail("a write changed the value cell");
  CheckFrames(gate, workspace, result);
  if (result != LDI_OK) {
    char expected[96];
    std::snprintf(expected, sizeof expected, "LDIYY> SingleWrite() , ret val is %d block '%s'",
                  static_cast<int>(result), gate.io.label);
    if (std::strcmp(LastLogLine(), expected) != 0)
      Fail("a failed write not logged by SingleWrite last");
  }
  return 0;
}
