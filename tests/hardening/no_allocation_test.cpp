// A driver instance from GetLdiInfo to EndLdi over a real pseudo-terminal and
// the POSIX comm layer, with every allocation on the calling thread counted
// inside each LdiMain call: there must be none, on success and failure paths.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "allocation_counter.h"
#include "config/temp_current_directory.h"
#include "entry/ldi.h"
#include "fixed_log.h"
#include "scripted_controller.h"

namespace tcudv::test {
namespace {

constexpr uint32_t kInstance = 7;
constexpr char kPort[] = "./tty";
constexpr char kMissingPort[] = "./none";

// Node 1 answers most reads; node 2 is dead; node 1 leaves PWR unanswered.
const std::map<std::string, std::string> kAnswers = {
    {"N01TA*", " 20.0\r\n"},                          // TMP
    {"N01TB*", " 12.5\r\n"},                          // SET
    {"N01TD*", "?bad\r\n"},                           // PBD: an invalid first character
    {"N01TE*", " 105\r\n"},                           // INT
    {"N01TF*", " " + std::string(40, '1') + "\r\n"},  // DER: longer than the reply buffer
    {"N01TW*", " 1010\r\n"},                          // OST
};

class Instance {
 public:
  Instance() : workspace(LDI_WORKSPACE_SIZE) {}

  // One LdiMain call, counted; checks its result and that nothing was allocated.
  void Expect(const char* what, uint32_t operation, void* record, int32_t expected,
              void* workspacePointer) {
    LdiCall call{};
    call.workspace = workspacePointer;
    call.operation = operation;
    call.instance = kInstance;
    call.record = record;
    int32_t result = -1;
    AllocationCount count;
    {
      CountingScope scope;
      result = LdiMain(&call);
      count = scope.Count();
    }
    EXPECT_EQ(count.allocations, 0u) << what;
    EXPECT_EQ(count.releases, 0u) << what;
    EXPECT_EQ(result, expected) << what << "; last log line: " << LastFixedLogLine();
  }

  void Expect(const char* what, uint32_t operation, void* record, int32_t expected) {
    Expect(what, operation, record, expected, workspace.data());
  }

  void Expect(const char* what, uint32_t operation, int32_t expected) {
    Expect(what, operation, nullptr, expected, workspace.data());
  }

  void ExpectParse(const char* address, int32_t kind, int32_t expected) {
    LdiGateAddress gate{};
    gate.address = address;
    gate.kind = kind;
    Expect(address, LDI_OP_SINGLE_ADDRESS_PARSER, &gate, expected);
  }

  std::vector<uint8_t> workspace;  // the host's allocation, made before counting
};

struct Gate {
  LdiGateIo io{};
  uint8_t cell[4] = {};
  Gate(uint32_t node, char type, uint32_t param, int32_t bit = -1) {
    io.label = "gate";
    io.node = node;
    io.type = static_cast<uint32_t>(type);
    io.param = param;
    io.bit = bit;
    io.value = cell;
  }
  float Float() const {
    float value;
    std::memcpy(&value, cell, sizeof value);
    return value;
  }
  uint16_t Word() const { return static_cast<uint16_t>(cell[2] | cell[3] << 8); }
  void SetFloat(float value) { std::memcpy(cell, &value, sizeof value); }
  void SetWord(uint16_t word) {
    cell[2] = static_cast<uint8_t>(word);
    cell[3] = static_cast<uint8_t>(word >> 8);
  }
};

LdiStartup Startup() {
  LdiStartup startup{};
  std::memcpy(startup.portName, kPort, sizeof kPort);
  startup.openPort = 1;
  startup.replyTimeout = 10;  // 100 ms: room for a busy machine; the dead node costs 4 of them
  startup.lineParams = LdiLineParams{9600, 7, 0, 2};
  return startup;
}

LdiPortParams PortParams(const char* name, uint32_t replyTimeout, LdiLineParams line) {
  LdiPortParams params{};
  std::strncpy(params.portName, name, sizeof params.portName - 1);
  params.replyTimeout = replyTimeout;
  params.lineParams = line;
  return params;
}

TEST(NoAllocation, EveryOperationOfAnInstanceFromStartToEnd) {
  ASSERT_TRUE(CountingWorks()) << "the allocation counter does not see allocations";
  TempCurrentDirectory directory;
  TempCurrentDirectory::Write("TCUDV07.INT", "IFG = 0\nRESOLUTION 1 = 1\nPWR 1 = 0\nbogus\n");
  ScriptedController controller(kAnswers);
  ASSERT_TRUE(controller.ok());
  std::filesystem::create_symlink(controller.SlavePath(), kPort);

  Instance driver;
  LdiInfo info{};
  driver.Expect("GetLdiInfo", LDI_OP_GET_LDI_INFO, &info, LDI_OK, nullptr);
  EXPECT_EQ(info.workspaceSize, LDI_WORKSPACE_SIZE);

  LdiStartup startup = Startup();
  driver.Expect("ColdStart", LDI_OP_COLD_START, &startup, LDI_OK);

  const struct {
    const char* address;
    int32_t kind;
    int32_t result;
  } addresses[] = {
      {"01SET", LDI_KIND_FLOAT, LDI_OK},        {"01OST2", LDI_KIND_DIGITAL, LDI_OK},
      {"01PWR", LDI_KIND_ANALOG16, LDI_OK},     {"00TMP", LDI_KIND_FLOAT, LDI_REFUSED},
      {"01TMPXY", LDI_KIND_FLOAT, LDI_REFUSED}, {"07A1R", LDI_KIND_ANALOG16, LDI_REFUSED},
      {"01SET", LDI_KIND_STRING, LDI_REFUSED}};
  for (const auto& a : addresses) driver.ExpectParse(a.address, a.kind, a.result);

  Gate set(1, 'L', 2);
  driver.Expect("read SET", LDI_OP_SINGLE_READ, &set.io, LDI_OK);
  EXPECT_EQ(set.Float(), 12.5f);
  Gate ost(1, 'W', 18, 1);
  driver.Expect("read an OST bit", LDI_OP_SINGLE_READ, &ost.io, LDI_OK);
  EXPECT_EQ(ost.Word(), 1);
  Gate pwr(1, 'W', 3);
  driver.Expect("read unanswered PWR", LDI_OP_SINGLE_READ, &pwr.io, LDI_REFUSED);
  Gate dead(2, 'L', 2);
  driver.Expect("read from a dead node", LDI_OP_SINGLE_READ, &dead.io, LDI_FAILED);
  Gate garbage(1, 'L', 4);
  driver.Expect("read an invalid reply", LDI_OP_SINGLE_READ, &garbage.io, LDI_FAILED);
  Gate ctr(1, 'W', 16);
  driver.Expect("read CTR", LDI_OP_SINGLE_READ, &ctr.io, LDI_REFUSED);
  Gate longLine(1, 'W', 6);
  driver.Expect("read a long line", LDI_OP_SINGLE_READ, &longLine.io, LDI_FAILED);

  Gate setpoint(1, 'L', 2);
  setpoint.SetFloat(150.5f);
  driver.Expect("write SET", LDI_OP_SINGLE_WRITE, &setpoint.io, LDI_OK);
  setpoint.SetFloat(10000.0f);
  driver.Expect("write a value too wide", LDI_OP_SINGLE_WRITE, &setpoint.io, LDI_REFUSED);
  Gate tmp(1, 'L', 0);
  driver.Expect("write TMP", LDI_OP_SINGLE_WRITE, &tmp.io, LDI_REFUSED);
  ctr.SetWord(2);
  driver.Expect("write CTR 2", LDI_OP_SINGLE_WRITE, &ctr.io, LDI_OK);
  ctr.SetWord(3);
  driver.Expect("write CTR 3", LDI_OP_SINGLE_WRITE, &ctr.io, LDI_REFUSED);
  Gate reset(1, 'B', 26);
  driver.Expect("write A1R", LDI_OP_SINGLE_WRITE, &reset.io, LDI_OK);
  Gate digit(1, 'W', 5, 0);
  digit.SetWord(0);
  driver.Expect("bit write", LDI_OP_SINGLE_WRITE, &digit.io, LDI_OK);
  Gate deadDigit(2, 'W', 5, 0);
  driver.Expect("bit write to a dead node", LDI_OP_SINGLE_WRITE, &deadDigit.io, LDI_FAILED);

  controller.SendUnasked("stale\r\n");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  driver.Expect("WarmStart with input waiting", LDI_OP_WARM_START, LDI_OK);
  driver.Expect("CloseCom", LDI_OP_CLOSE_COM, LDI_OK);
  driver.Expect("CloseCom when closed", LDI_OP_CLOSE_COM, LDI_OK);
  driver.Expect("read with the port closed", LDI_OP_SINGLE_READ, &set.io, LDI_REFUSED);
  driver.Expect("ReOpenCom", LDI_OP_RE_OPEN_COM, LDI_OK);
  driver.Expect("ReOpenCom when open", LDI_OP_RE_OPEN_COM, LDI_FAILED);
  LdiPortParams missing = PortParams(kMissingPort, 0, LdiLineParams{0, 0, 0, 0});
  driver.Expect("ChangeLdiParams to a missing port", LDI_OP_CHANGE_LDI_PARAMS, &missing,
                LDI_FAILED);
  LdiPortParams back = PortParams(kPort, 12, LdiLineParams{19200, 8, 0, 0});
  driver.Expect("ChangeLdiParams back", LDI_OP_CHANGE_LDI_PARAMS, &back, LDI_OK);
  set.SetFloat(0);
  driver.Expect("read after the change", LDI_OP_SINGLE_READ, &set.io, LDI_OK);
  EXPECT_EQ(set.Float(), 12.5f);

  driver.Expect("EndLdi", LDI_OP_END_LDI, LDI_OK);
  driver.Expect("a read once ended", LDI_OP_SINGLE_READ, &set.io, LDI_OK);

  // The writes went out as frames, so the counted calls did their work.
  const std::vector<std::string> frames = controller.Frames();
  for (const char* frame : {"N01VB150.5*", "N01CS2*", "N01RG*", "N01VE0100*"}) {
    EXPECT_NE(std::find(frames.begin(), frames.end(), frame), frames.end()) << frame;
  }
}

}  // namespace
}  // namespace tcudv::test
