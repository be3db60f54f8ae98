// Reply bytes, their timing and port failures through SingleRead (operation 5)
// on the fake comm layer, for parsed and for arbitrary gate records.
#include <cstdint>
#include <cstdio>
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

// Three attempts, and a gate-0 test of three more.
constexpr size_t kMostFrames = 6;

bool SameLastingState(const Workspace& a, const Workspace& b) {
  return a.replyTimeout == b.replyTimeout && a.portHandle == b.portHandle &&
         std::memcmp(a.portName, b.portName, sizeof a.portName) == 0 &&
         std::memcmp(&a.lineParams, &b.lineParams, sizeof a.lineParams) == 0 &&
         a.portSettings == b.portSettings &&
         std::memcmp(a.resolution, b.resolution, sizeof a.resolution) == 0 &&
         a.frameGap == b.frameGap;
}

void CheckFrames(const FuzzGate& gate, int32_t result) {
  const std::vector<std::string> writes = OfferedFrames();
  if (writes.size() > kMostFrames) Fail("more than six frames for one read");
  if (!gate.parsed && gate.io.param >= kParameterCount) return;
  if (!(kFlags[gate.io.param] & PF_READ) && !writes.empty())
    Fail("a frame for an unreadable parameter");
  const std::string own = ReadFrame(gate.io.node, gate.io.param);
  const std::string test = ReadFrame(gate.io.node, kParamTmp);
  for (const std::string& written : writes) {
    if (written != own && written != test) {
      Fail("a frame that is neither the gate's nor the gate-0 test's");
    }
  }
  if (result == LDI_OK && writes.empty()) Fail("a read succeeded without a frame");
}

void CheckCell(const FuzzGate& gate, const uint8_t (&before)[4]) {
  const uint8_t* cell = gate.cell;
  if (gate.io.type == LDI_TYPE_WORD) {
    if (cell[0] != before[0] || cell[1] != before[1]) Fail("a word read changed bytes 0 and 1");
    const unsigned word = cell[2] | cell[3] << 8;
    const bool changed = cell[2] != before[2] || cell[3] != before[3];
    if (gate.io.bit != -1 && changed && word > 9) Fail("a bit gate got more than one digit");
  } else if (gate.io.type != LDI_TYPE_FLOAT && std::memcmp(cell, before, 4) != 0) {
    Fail("a gate of neither type got a value");
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
  FuzzGate gate;
  MakeGate(in, workspace, false, gate);
  ScriptLine(in);

  const LdiGateIo record = gate.io;
  uint8_t cellBefore[4];
  std::memcpy(cellBefore, gate.cell, sizeof cellBefore);
  const Workspace before = workspace;
  fake::ClearCalls();
  TakeLogLineCount();

  const int32_t result = Call(workspace, LDI_OP_SINGLE_READ, &gate.io);
  if (result < LDI_OK || result > LDI_FAILED) Fail("result outside 0 to 2");
  if (!SameRecord(record, gate.io)) Fail("the gate record was not given back as it came");
  if (!SameLastingState(before, workspace)) Fail("a read changed the workspace's lasting state");
  CheckCell(gate, cellBefore);
  CheckFrames(gate, result);
  if (result != LDI_OK) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "LDIYY> SingleRead(), ret val is %d",
                  static_cast<int>(result));
    if (std::strcmp(LastLogLine(), expected) != 0)
      Fail("a failed read not logged by SingleRead last");
  }
  return 0;
}
