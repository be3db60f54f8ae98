// Finding a gate's kind: the order of the offers and the reasons kept, on a stand-in LdiMain.
#include "gate_probe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver_log.h"
#include "entry/ldi.h"

namespace tcudv::host {
namespace {

// A stand-in driver whose parser accepts one kind and logs a line per refusal.
struct StandIn {
  static inline int32_t acceptedKind = -1;
  static inline std::vector<int32_t> offered;

  static int32_t LDI_CALL Main(LdiCall* call) {
    if (call->operation != LDI_OP_SINGLE_ADDRESS_PARSER) return LDI_FAILED;
    auto* record = static_cast<LdiGateAddress*>(call->record);
    offered.push_back(record->kind);
    if (record->kind != acceptedKind) {
      DriverLogLine(8, "LDIYY> refused");
      return LDI_REFUSED;
    }
    record->node = 4;
    record->type = LDI_TYPE_WORD;
    record->param = 18;
    record->bit = 2;
    return LDI_OK;
  }
};

TEST(GateProbe, OffersFloatThenWordThenDigitalAndStopsAtTheFirstAccepted) {
  const struct {
    int32_t accepted;
    std::vector<int32_t> offered;
  } cases[] = {
      {LDI_KIND_FLOAT, {LDI_KIND_FLOAT}},
      {LDI_KIND_ANALOG16, {LDI_KIND_FLOAT, LDI_KIND_ANALOG16}},
      {LDI_KIND_DIGITAL, {LDI_KIND_FLOAT, LDI_KIND_ANALOG16, LDI_KIND_DIGITAL}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.accepted);
    StandIn::acceptedKind = c.accepted;
    StandIn::offered.clear();
    DriverSession session(&StandIn::Main);
    ASSERT_TRUE(session.AllocateWorkspace(64));
    ProbeOutcome outcome = ProbeGate(session, "04OST2");
    EXPECT_EQ(StandIn::offered, c.offered);
    ASSERT_TRUE(outcome.accepted);
    EXPECT_EQ(outcome.gate.kind, c.accepted);
    EXPECT_EQ(outcome.gate.address, "04OST2");
    EXPECT_EQ(outcome.gate.node, 4u);
    EXPECT_EQ(outcome.gate.type, static_cast<uint32_t>(LDI_TYPE_WORD));
    EXPECT_EQ(outcome.gate.param, 18u);
    EXPECT_EQ(outcome.gate.bit, 2);
    EXPECT_TRUE(outcome.driverLines.empty());
  }
}

TEST(GateProbe, ARefusedGateKeepsTheDriversReasonsOnce) {
  StandIn::acceptedKind = LDI_KIND_STRING;  // never offered
  StandIn::offered.clear();
  DriverSession session(&StandIn::Main);
  ASSERT_TRUE(session.AllocateWorkspace(64));
  ProbeOutcome outcome = ProbeGate(session, "01XYZ");
  EXPECT_FALSE(outcome.accepted);
  EXPECT_EQ(StandIn::offered.size(), 3u);
  EXPECT_EQ(outcome.driverLines, std::vector<std::string>{"LDIYY> refused"});
  EXPECT_EQ(RefusalText(outcome), "01XYZ: bad gate, the driver refuses it: LDIYY> refused");

  // Lines outside a probe are not kept.
  DriverLogLine(8, "LDIYY> later");
  EXPECT_EQ(outcome.driverLines.size(), 1u);
}

TEST(GateProbe, GateIoRecordCarriesWhatTheParserGave) {
  Gate gate{"05OST3", LDI_KIND_DIGITAL, 5, LDI_TYPE_WORD, 18, 3};
  ValueCell cell;
  LdiGateIo io = GateIoFor(gate, cell);
  EXPECT_EQ(io.label, gate.address.c_str());
  EXPECT_EQ(io.node, 5u);
  EXPECT_EQ(io.type, static_cast<uint32_t>(LDI_TYPE_WORD));
  EXPECT_EQ(io.param, 18u);
  EXPECT_EQ(io.bit, 3);
  EXPECT_EQ(io.aux, 0u);
  EXPECT_EQ(io.value, static_cast<void*>(cell.bytes));
}

}  // namespace
}  // namespace tcudv::host
