#include <cstring>

#include "core/lifecycle_fixture.h"
#include "entry/ended_flag.h"

namespace tcudv::test {
namespace {

using fake::DeviceNamed;

// Each test ends the driver; the flag is cleared again so the next one starts running.
class EndLdi : public LifecycleTest {
 protected:
  void TearDown() override { SetEndedFlag(0); }
};

TEST_F(EndLdi, ClosesThePortAndReportsTheResult) {
  struct {
    bool open;
    bool closeRefused;
    int32_t result;
    Log log;
  } cases[] = {
      {false, false, LDI_OK, {{8, "LDIYY> EndLdi() exited, 0"}}},
      {true, false, LDI_OK, {{8, "LDIYY> EndLdi() exited, 0"}}},
      {true,
       true,
       LDI_FAILED,
       {{8, "LDIYY> CloseCom() exited 2"}, {8, "LDIYY> EndLdi() exited, 2"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.open ? "open" : "closed") +
                 (c.closeRefused ? ", close refused" : ""));
    SetEndedFlag(0);
    SetUp();
    if (c.open) {
      OpenCom1();
    } else {
      RunColdStart(Startup("COM1", 0));
    }
    if (c.closeRefused) fake::FailNext(fake::Op::Close);
    EXPECT_EQ(Call(LDI_OP_END_LDI), c.result);
    EXPECT_EQ(CapturedLog(), c.log);
    EXPECT_EQ(DeviceNamed("COM1").open, c.closeRefused);
    EXPECT_TRUE(DriverEnded());
  }
}

TEST_F(EndLdi, AfterItEveryCallOfEveryInstanceDoesNothing) {
  OpenCom1();
  ASSERT_EQ(Call(LDI_OP_END_LDI), LDI_OK);
  ClearLog();
  fake::ClearCalls();

  Workspace other;
  std::memset(&other, 0x5A, sizeof other);
  const Workspace otherBefore = other;
  const Workspace ownBefore = workspace;
  LdiInfo info;
  std::memset(&info, 0xA5, sizeof info);
  const LdiInfo infoBefore = info;
  LdiStartup startup = Startup("COM2");
  LdiPortParams params = PortParams("COM2");
  LdiGateAddress gate{};
  gate.address = "01TMP";
  gate.kind = LDI_KIND_FLOAT;
  const LdiGateAddress gateBefore = gate;
  float value = 1.5f;
  LdiGateIo io{};
  io.node = 1;
  io.type = LDI_TYPE_FLOAT;
  io.value = &value;

  struct {
    uint32_t operation;
    void* record;
  } cases[] = {{0, nullptr},
               {LDI_OP_COLD_START, &startup},
               {LDI_OP_WARM_START, nullptr},
               {LDI_OP_SINGLE_ADDRESS_PARSER, &gate},
               {LDI_OP_BLOCK_ADDRESS_PARSER, nullptr},
               {LDI_OP_SINGLE_READ, &io},
               {LDI_OP_SINGLE_WRITE, &io},
               {LDI_OP_END_LDI, nullptr},
               {LDI_OP_CLOSE_COM, nullptr},
               {LDI_OP_RE_OPEN_COM, nullptr},
               {LDI_OP_GET_LDI_INFO, &info},
               {LDI_OP_CHANGE_LDI_PARAMS, &params},
               {16, nullptr},
               {200, nullptr},
               {0xFFFFFFFFu, nullptr}};
  void* const spaces[] = {&workspace, &other, nullptr};
  for (void* space : spaces) {
    for (const auto& c : cases) {
      SCOPED_TRACE("operation " + std::to_string(c.operation));
      LdiCall call{};
      call.workspace = space;
      call.operation = c.operation;
      call.instance = 2;
      call.record = c.record;
      EXPECT_EQ(LdiMain(&call), LDI_OK);
    }
  }
  EXPECT_TRUE(LogLines().empty());
  EXPECT_TRUE(fake::Calls().empty());
  EXPECT_EQ(std::memcmp(&info, &infoBefore, sizeof info), 0);
  EXPECT_EQ(std::memcmp(&other, &otherBefore, sizeof other), 0);
  EXPECT_EQ(std::memcmp(&workspace, &ownBefore, sizeof workspace), 0);
  EXPECT_EQ(std::memcmp(&gate, &gateBefore, sizeof gate), 0);
  EXPECT_EQ(value, 1.5f);
  EXPECT_FALSE(DeviceNamed("COM2").open);
}

TEST_F(EndLdi, WithoutWorkspaceIsRefusedAndTheDriverRuns) {
  LdiCall call{};
  call.operation = LDI_OP_END_LDI;
  EXPECT_EQ(LdiMain(&call), LDI_REFUSED);
  EXPECT_TRUE(LogLines().empty());
  EXPECT_FALSE(DriverEnded());
  EXPECT_EQ(Call(LDI_OP_WARM_START), LDI_OK);
  EXPECT_EQ(CapturedLog(), (Log{{8, "LDIYY> WarmStart()"}}));
}

}  // namespace
}  // namespace tcudv::test
