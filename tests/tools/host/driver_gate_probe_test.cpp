// Finding a gate's kind on the driver itself: the kinds real addresses end with.
#include <gtest/gtest.h>

#include "entry/ldi.h"
#include "gate_probe.h"
#include "support/log_capture.h"

namespace tcudv::host {
namespace {

// The real driver, started without a port.
class DriverGateProbe : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ClearLog();  // the driver's lines go to the test's capture, not to stderr
    ASSERT_TRUE(session_.AllocateWorkspace(LDI_WORKSPACE_SIZE));
    LdiStartup startup{};
    ASSERT_EQ(session_.ColdStart(startup, 0), LDI_OK);
  }
  DriverSession session_{&LdiMain};
};

TEST_F(DriverGateProbe, EachAddressFindsTheKindItsTypeNeeds) {
  const struct {
    const char* address;
    int32_t kind;
    char type;
    uint32_t node;
    uint32_t param;
    int32_t bit;
  } cases[] = {
      {"01SET", LDI_KIND_FLOAT, 'L', 1, 2, -1},    {"12set", LDI_KIND_FLOAT, 'L', 12, 2, -1},
      {"99TMP", LDI_KIND_FLOAT, 'L', 99, 0, -1},   {"05PWR", LDI_KIND_FLOAT, 'L', 5, 3, -1},
      {"01INT", LDI_KIND_ANALOG16, 'W', 1, 5, -1}, {"03CTR", LDI_KIND_ANALOG16, 'W', 3, 16, -1},
      {"05OST3", LDI_KIND_DIGITAL, 'W', 5, 18, 3}, {"05OST0", LDI_KIND_DIGITAL, 'W', 5, 18, 0},
      {"07A1R", LDI_KIND_DIGITAL, 'B', 7, 26, -1}, {"07A2R", LDI_KIND_DIGITAL, 'B', 7, 27, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    ProbeOutcome outcome = ProbeGate(session_, c.address);
    ASSERT_TRUE(outcome.accepted);
    EXPECT_EQ(outcome.gate.kind, c.kind);
    EXPECT_EQ(outcome.gate.type, static_cast<uint32_t>(c.type));
    EXPECT_EQ(outcome.gate.node, c.node);
    EXPECT_EQ(outcome.gate.param, c.param);
    EXPECT_EQ(outcome.gate.bit, c.bit);
  }
}

TEST_F(DriverGateProbe, AddressesNoKindFitsAreRefused) {
  for (const char* address :
       {"01XYZ", "00TMP", "AATMP", "", "01TMPXY", "01OST", "01OST4", "01TMP1"}) {
    SCOPED_TRACE(address);
    EXPECT_FALSE(ProbeGate(session_, address).accepted);
  }
}

}  // namespace
}  // namespace tcudv::host
