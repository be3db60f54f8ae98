#include <cstring>

#include "core/lifecycle_fixture.h"
#include "params/parameter_table.h"

namespace tcudv::test {
namespace {

using fake::DeviceNamed;
using fake::Op;

const LdiLineParams kDefined{9600, 7, 0, 2};

void ExpectLineParams(const LdiLineParams& actual, const LdiLineParams& expected) {
  EXPECT_EQ(actual.baudRate, expected.baudRate);
  EXPECT_EQ(actual.dataBits, expected.dataBits);
  EXPECT_EQ(actual.stopBits, expected.stopBits);
  EXPECT_EQ(actual.parity, expected.parity);
}

// The device's line as the last successful open configured it.
void ExpectLine(const char* device, const LdiLineParams& expected) {
  const LineState& state = DeviceNamed(device).state;
  EXPECT_EQ(state.baudRate, expected.baudRate) << device;
  EXPECT_EQ(state.byteSize, expected.dataBits) << device;
  EXPECT_EQ(state.stopBits, expected.stopBits) << device;
  EXPECT_EQ(state.parity, expected.parity) << device;
}

bool NameIsEmpty(const Workspace& workspace) {
  for (char c : workspace.portName) {
    if (c != '\0') return false;
  }
  return true;
}

using ColdStart = LifecycleTest;

TEST_F(ColdStart, WithoutPortSetsTheWorkingStateAndOpensNothing) {
  EXPECT_EQ(RunColdStart(Startup("COM1", 0, 9)), LDI_OK);
  EXPECT_EQ(coldStartLog, (Log{kNoInitFile, kInstalled}));
  EXPECT_EQ(workspace.portHandle, 0u);
  EXPECT_EQ(workspace.replyTimeout, 9);
  EXPECT_EQ(workspace.frameGap, 100);
  EXPECT_EQ(workspace.resolution[7][14], 3);  // RAT
  EXPECT_EQ(workspace.resolution[7][0], 0);   // TMP
  EXPECT_FALSE(DeviceNamed("COM1").open);
  // Defined port description: a later open fails cleanly instead of using garbage.
  EXPECT_TRUE(NameIsEmpty(workspace));
  ExpectLineParams(workspace.lineParams, kDefined);
  EXPECT_EQ(workspace.portSettings, 0x0303);
}

TEST_F(ColdStart, OpensTheRequestedPortWithItsLineAndTimeout) {
  // DTR and RTS start disabled, so the settings word must be what enables them.
  DeviceNamed("COM1").state.fDtrControl = DTR_CONTROL_DISABLE;
  DeviceNamed("COM1").state.fRtsControl = RTS_CONTROL_DISABLE;
  const LdiLineParams line{19200, 8, 2, 1};
  EXPECT_EQ(RunColdStart(Startup("COM1", 1, 7, line)), LDI_OK);
  const CommHandle handle = DeviceNamed("COM1").handle;
  EXPECT_EQ(coldStartLog, (Log{kNoInitFile, {8, OpenedLine(handle)}, kInstalled}));
  EXPECT_EQ(workspace.portHandle, handle);
  EXPECT_STREQ(workspace.portName, "COM1");
  ExpectLineParams(workspace.lineParams, line);
  EXPECT_EQ(workspace.portSettings, 0x0303);
  ExpectLine("COM1", line);
  EXPECT_EQ(DeviceNamed("COM1").state.fDtrControl, DTR_CONTROL_ENABLE);
  EXPECT_EQ(DeviceNamed("COM1").state.fRtsControl, RTS_CONTROL_ENABLE);
  EXPECT_FALSE(DeviceNamed("COM1").state.fOutxCtsFlow);
  EXPECT_EQ(ReadConstant("COM1"), 70u);
}

TEST_F(ColdStart, FailedOpenIsReportedAndReOpenComTriesTheSamePort) {
  EXPECT_EQ(RunColdStart(Startup("COM9", 1, 6)), LDI_FAILED);
  EXPECT_EQ(coldStartLog,
            (Log{kNoInitFile, kOpenFailed, {32, "LDIYY> ColdStart() error opening COM port"}}));
  EXPECT_EQ(workspace.portHandle, 0u);
  EXPECT_STREQ(workspace.portName, "COM9");

  fake::AddDevice("COM9");
  EXPECT_EQ(Call(LDI_OP_RE_OPEN_COM), LDI_OK);
  const CommHandle handle = DeviceNamed("COM9").handle;
  EXPECT_EQ(CapturedLog(), (Log{{8, OpenedLine(handle)}, {8, "LDIYY> ReOpenCom() exited 0"}}));
  EXPECT_EQ(workspace.portHandle, handle);
  EXPECT_EQ(ReadConstant("COM9"), 60u);
}

TEST_F(ColdStart, SecondColdStartForgetsTheHeldPortAndCannotOpenIt) {
  const CommHandle first = OpenCom1();
  EXPECT_EQ(RunColdStart(Startup("COM1")), LDI_FAILED);
  EXPECT_EQ(coldStartLog,
            (Log{kNoInitFile, kOpenFailed, {32, "LDIYY> ColdStart() error opening COM port"}}));
  EXPECT_EQ(workspace.portHandle, 0u);
  EXPECT_TRUE(DeviceNamed("COM1").open);
  EXPECT_EQ(DeviceNamed("COM1").handle, first);
}

TEST_F(ColdStart, InitFileMessagesComeBetweenVersionAndInstallation) {
  TempCurrentDirectory::Write("TCUDV03.INT", "PWR 5 = 0\nIFG = 250\n");
  EXPECT_EQ(RunColdStart(Startup("COM1", 0)), LDI_OK);
  EXPECT_EQ(coldStartLog, (Log{{8, "LDIYY> ReadInitFile() plc 5 uses 0 as resolution for PWR"},
                               {8, "LDIYY> ReadInitFile() IFG = 250"},
                               kInstalled}));
  EXPECT_EQ(workspace.frameGap, 250);
}

TEST_F(ColdStart, InitFileDecidesTheGateTypeOfPwr) {
  TempCurrentDirectory::Write("TCUDV03.INT", "PWR 5 = 0\nTMP 5 = 0\n");
  ASSERT_EQ(RunColdStart(Startup("COM1", 0)), LDI_OK);
  struct {
    const char* address;
    int32_t kind;
    uint32_t type;
    uint32_t width;
  } cases[] = {
      {"05PWR", LDI_KIND_ANALOG16, LDI_TYPE_WORD, 16},  // resolution 0 from the file
      {"06PWR", LDI_KIND_FLOAT, LDI_TYPE_FLOAT, 32},    // the default 1
      {"05TMP", LDI_KIND_FLOAT, LDI_TYPE_FLOAT, 32},    // a float whatever its resolution
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    LdiGateAddress gate{};
    gate.address = c.address;
    gate.kind = c.kind;
    EXPECT_EQ(Call(LDI_OP_SINGLE_ADDRESS_PARSER, &gate), LDI_OK);
    EXPECT_EQ(gate.type, c.type);
    EXPECT_EQ(gate.width, c.width);
  }
}

TEST_F(ColdStart, PortNameWithoutNulIsStoredEmptyAndOpensNothing) {
  // Were the name cut to 11 characters, it would open this device.
  fake::AddDevice("COM1COM1COM");
  const LdiLineParams line{4800, 8, 0, 0};
  EXPECT_EQ(RunColdStart(Startup("COM1COM1COM1", 1, 4, line)), LDI_FAILED);
  EXPECT_EQ(coldStartLog,
            (Log{kNoInitFile, kOpenFailed, {32, "LDIYY> ColdStart() error opening COM port"}}));
  EXPECT_TRUE(NameIsEmpty(workspace));
  ExpectLineParams(workspace.lineParams, line);
  EXPECT_FALSE(DeviceNamed("COM1COM1COM").open);
}

using WarmStart = LifecycleTest;

TEST_F(WarmStart, WithoutPortOnlyLogs) {
  RunColdStart(Startup("COM1", 0));
  EXPECT_EQ(Call(LDI_OP_WARM_START), LDI_OK);
  EXPECT_EQ(CapturedLog(), (Log{{8, "LDIYY> WarmStart()"}}));
  EXPECT_TRUE(fake::Calls().empty());
}

TEST_F(WarmStart, EmptiesTheInputOfTheOpenPort) {
  const CommHandle handle = OpenCom1();
  DeviceNamed("COM1").input = "stale bytes";
  EXPECT_EQ(Call(LDI_OP_WARM_START), LDI_OK);
  EXPECT_EQ(CapturedLog(), (Log{{8, "LDIYY> WarmStart()"}}));
  EXPECT_TRUE(DeviceNamed("COM1").input.empty());
  ASSERT_FALSE(fake::Calls().empty());
  for (const fake::Call& call : fake::Calls()) EXPECT_EQ(call.handle, handle);
}

TEST_F(WarmStart, FailedPurgeGoesUnnoticed) {
  OpenCom1();
  DeviceNamed("COM1").input = "stale bytes";
  fake::FailAlways(Op::Read);
  EXPECT_EQ(Call(LDI_OP_WARM_START), LDI_OK);
  EXPECT_EQ(CapturedLog(), (Log{{8, "LDIYY> WarmStart()"}}));
}

using CloseCom = LifecycleTest;

TEST_F(CloseCom, ClosesSilentlyAndASecondCloseDoesNothing) {
  const CommHandle handle = OpenCom1();
  EXPECT_EQ(Call(LDI_OP_CLOSE_COM), LDI_OK);
  EXPECT_EQ(workspace.portHandle, 0u);
  EXPECT_FALSE(DeviceNamed("COM1").open);
  EXPECT_EQ(fake::Trace(), (std::vector<std::string>{"Close"}));
  EXPECT_EQ(fake::Calls()[0].handle, handle);
  fake::ClearCalls();
  EXPECT_EQ(Call(LDI_OP_CLOSE_COM), LDI_OK);
  EXPECT_TRUE(fake::Calls().empty());
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(CloseCom, RefusedCloseKeepsTheHandleAndThePort) {
  const CommHandle handle = OpenCom1();
  fake::FailNext(Op::Close);
  EXPECT_EQ(Call(LDI_OP_CLOSE_COM), LDI_FAILED);
  EXPECT_EQ(CapturedLog(), (Log{{8, "LDIYY> CloseCom() exited 2"}}));
  EXPECT_EQ(workspace.portHandle, handle);
  EXPECT_TRUE(DeviceNamed("COM1").open);
  ClearLog();
  EXPECT_EQ(Call(LDI_OP_CLOSE_COM), LDI_OK);
  EXPECT_TRUE(LogLines().empty());
  EXPECT_FALSE(DeviceNamed("COM1").open);
}

using ReOpenCom = LifecycleTest;

TEST_F(ReOpenCom, WhileOpenFailsAndKeepsTheOldPort) {
  const CommHandle handle = OpenCom1();
  EXPECT_EQ(Call(LDI_OP_RE_OPEN_COM), LDI_FAILED);
  EXPECT_EQ(CapturedLog(), (Log{kOpenFailed, {32, "LDIYY> ReOpenCom() exited 2"}}));
  EXPECT_EQ(workspace.portHandle, handle);
  // Still usable: WarmStart empties it through the old handle.
  DeviceNamed("COM1").input = "x";
  fake::ClearCalls();
  EXPECT_EQ(Call(LDI_OP_WARM_START), LDI_OK);
  EXPECT_TRUE(DeviceNamed("COM1").input.empty());
  for (const fake::Call& call : fake::Calls()) EXPECT_TRUE(call.ok) << fake::OpName(call.op);
}

TEST_F(ReOpenCom, AfterCloseOpensWithTheStoredDescription) {
  const LdiLineParams line{2400, 8, 0, 0};
  OpenCom1(12, line);
  ASSERT_EQ(Call(LDI_OP_CLOSE_COM), LDI_OK);
  DeviceNamed("COM1").state.baudRate = 110;
  EXPECT_EQ(Call(LDI_OP_RE_OPEN_COM), LDI_OK);
  const CommHandle handle = DeviceNamed("COM1").handle;
  EXPECT_EQ(CapturedLog(), (Log{{8, OpenedLine(handle)}, {8, "LDIYY> ReOpenCom() exited 0"}}));
  EXPECT_EQ(workspace.portHandle, handle);
  ExpectLine("COM1", line);
  EXPECT_EQ(ReadConstant("COM1"), 120u);
}

TEST_F(ReOpenCom, AfterColdStartWithoutPortFailsCleanly) {
  RunColdStart(Startup("COM1", 0));
  EXPECT_EQ(Call(LDI_OP_RE_OPEN_COM), LDI_FAILED);
  EXPECT_EQ(CapturedLog(), (Log{kOpenFailed, {32, "LDIYY> ReOpenCom() exited 2"}}));
  EXPECT_EQ(workspace.portHandle, 0u);
  EXPECT_FALSE(DeviceNamed("COM1").open);
}

using ChangeLdiParams = LifecycleTest;

TEST_F(ChangeLdiParams, SameNameAfterCloseReopensWithTheStoredSettings) {
  const LdiLineParams line{19200, 8, 0, 0};
  OpenCom1(12, line);
  ASSERT_EQ(Call(LDI_OP_CLOSE_COM), LDI_OK);
  DeviceNamed("COM1").state.baudRate = 110;
  LdiPortParams params = PortParams("COM1", 0xFFFFFFFFu, {0, 5, 1, 3});
  EXPECT_EQ(Call(LDI_OP_CHANGE_LDI_PARAMS, &params), LDI_OK);
  const CommHandle handle = DeviceNamed("COM1").handle;
  EXPECT_EQ(CapturedLog(), (Log{{8, OpenedLine(handle)}}));
  EXPECT_EQ(workspace.portHandle, handle);
  EXPECT_EQ(workspace.replyTimeout, 12);
  ExpectLineParams(workspace.lineParams, line);
  ExpectLine("COM1", line);
  EXPECT_EQ(ReadConstant("COM1"), 120u);
}

TEST_F(ChangeLdiParams, TimeoutAndLineParametersTakeEffectOrAreKept) {
  const LdiLineParams old{9600, 7, 0, 2};
  const LdiLineParams fresh{4800, 8, 2, 1};
  struct {
    uint32_t replyTimeout;
    LdiLineParams lineParams;
    int32_t expectedTimeout;
    LdiLineParams expectedLine;
  } cases[] = {
      {0, {0, 8, 2, 1}, 12, old},
      {0xFFFFFFFFu, fresh, 12, fresh},
      {25, {0, 8, 2, 1}, 25, old},
      {25, fresh, 25, fresh},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("time-out " + std::to_string(c.replyTimeout) + ", baud " +
                 std::to_string(c.lineParams.baudRate));
    SetUp();
    OpenCom1(12, old);
    ASSERT_EQ(Call(LDI_OP_CLOSE_COM), LDI_OK);
    LdiPortParams params = PortParams("COM1", c.replyTimeout, c.lineParams);
    EXPECT_EQ(Call(LDI_OP_CHANGE_LDI_PARAMS, &params), LDI_OK);
    EXPECT_EQ(workspace.replyTimeout, c.expectedTimeout);
    ExpectLineParams(workspace.lineParams, c.expectedLine);
    ExpectLine("COM1", c.expectedLine);
    EXPECT_EQ(workspace.portSettings, 0x0303);
    EXPECT_EQ(ReadConstant("COM1"), static_cast<uint32_t>(c.expectedTimeout) * 10);
  }
}

TEST_F(ChangeLdiParams, SameNameWhileOpenFailsAndKeepsTheOldLine) {
  const LdiLineParams old{9600, 7, 0, 2};
  const LdiLineParams fresh{4800, 8, 0, 0};
  const CommHandle handle = OpenCom1(4, old);
  LdiPortParams params = PortParams("COM1", 0, fresh);
  EXPECT_EQ(Call(LDI_OP_CHANGE_LDI_PARAMS, &params), LDI_FAILED);
  EXPECT_EQ(CapturedLog(),
            (Log{kOpenFailed, {8, "LDIYY> ChangeLdiParams() open new COM port failed"}}));
  EXPECT_TRUE(fake::CallsOf(Op::Close).empty());
  EXPECT_EQ(workspace.portHandle, handle);
  ExpectLine("COM1", old);
  // The new line parameters wait in the workspace for the next open.
  ASSERT_EQ(Call(LDI_OP_CLOSE_COM), LDI_OK);
  ASSERT_EQ(Call(LDI_OP_RE_OPEN_COM), LDI_OK);
  ExpectLine("COM1", fresh);
}

TEST_F(ChangeLdiParams, AnotherNameClosesTheOldPortFirst) {
  const CommHandle old = OpenCom1(4);
  LdiPortParams params = PortParams("COM2", 30);
  EXPECT_EQ(Call(LDI_OP_CHANGE_LDI_PARAMS, &params), LDI_OK);
  const CommHandle handle = DeviceNamed("COM2").handle;
  EXPECT_EQ(CapturedLog(), (Log{{8, OpenedLine(handle)}}));
  EXPECT_EQ(fake::Trace().front(), "Close");
  EXPECT_EQ(fake::Calls().front().handle, old);
  EXPECT_FALSE(DeviceNamed("COM1").open);
  EXPECT_TRUE(DeviceNamed("COM2").open);
  EXPECT_EQ(workspace.portHandle, handle);
  EXPECT_STREQ(workspace.portName, "COM2");
  EXPECT_EQ(ReadConstant("COM2"), 300u);
}

TEST_F(ChangeLdiParams, NamesDifferInCase) {
  fake::AddDevice("com1");
  OpenCom1();
  LdiPortParams params = PortParams("com1");
  EXPECT_EQ(Call(LDI_OP_CHANGE_LDI_PARAMS, &params), LDI_OK);
  EXPECT_FALSE(DeviceNamed("COM1").open);
  EXPECT_TRUE(DeviceNamed("com1").open);
}

TEST_F(ChangeLdiParams, RefusedCloseOfTheOldPortDoesNotStopTheMove) {
  OpenCom1();
  fake::FailNext(Op::Close);
  LdiPortParams params = PortParams("COM2");
  EXPECT_EQ(Call(LDI_OP_CHANGE_LDI_PARAMS, &params), LDI_OK);
  const CommHandle handle = DeviceNamed("COM2").handle;
  EXPECT_EQ(CapturedLog(), (Log{{8, "LDIYY> CloseCom() exited 2"}, {8, OpenedLine(handle)}}));
  EXPECT_EQ(workspace.portHandle, handle);
}

TEST_F(ChangeLdiParams, PortThatDoesNotOpenLeavesTheNewSettingsStored) {
  RunColdStart(Startup("COM1", 0, 4));
  LdiPortParams params = PortParams("COM7", 20, {1200, 8, 0, 0});
  EXPECT_EQ(Call(LDI_OP_CHANGE_LDI_PARAMS, &params), LDI_FAILED);
  EXPECT_EQ(CapturedLog(),
            (Log{kOpenFailed, {8, "LDIYY> ChangeLdiParams() open new COM port failed"}}));
  EXPECT_EQ(workspace.portHandle, 0u);
  EXPECT_STREQ(workspace.portName, "COM7");
  EXPECT_EQ(workspace.replyTimeout, 20);
  ExpectLineParams(workspace.lineParams, {1200, 8, 0, 0});
}

TEST_F(ChangeLdiParams, AfterColdStartWithoutPortOpensWithTheSettingsWord) {
  DeviceNamed("COM2").state.fDtrControl = DTR_CONTROL_DISABLE;
  DeviceNamed("COM2").state.fRtsControl = RTS_CONTROL_DISABLE;
  RunColdStart(Startup("COM1", 0, 4));
  LdiPortParams params = PortParams("COM2");
  EXPECT_EQ(Call(LDI_OP_CHANGE_LDI_PARAMS, &params), LDI_OK);
  ExpectLine("COM2", kDefined);
  EXPECT_EQ(DeviceNamed("COM2").state.fDtrControl, DTR_CONTROL_ENABLE);
  EXPECT_EQ(DeviceNamed("COM2").state.fRtsControl, RTS_CONTROL_ENABLE);
  EXPECT_EQ(ReadConstant("COM2"), 40u);
}

TEST_F(ChangeLdiParams, PortNameWithoutNulIsStoredEmptyAndOpensNothing) {
  fake::AddDevice("COM2COM2COM");
  OpenCom1();
  LdiPortParams params = PortParams("COM2COM2COM2");
  EXPECT_EQ(Call(LDI_OP_CHANGE_LDI_PARAMS, &params), LDI_FAILED);
  EXPECT_EQ(CapturedLog(),
            (Log{kOpenFailed, {8, "LDIYY> ChangeLdiParams() open new COM port failed"}}));
  EXPECT_TRUE(NameIsEmpty(workspace));
  EXPECT_FALSE(DeviceNamed("COM1").open);  // another name: the old port was closed
  EXPECT_FALSE(DeviceNamed("COM2COM2COM").open);
}

TEST_F(LifecycleTest, MissingWorkspaceOrRecordIsRefused) {
  RunColdStart(Startup("COM1", 0));
  LdiStartup startup = Startup("COM1");
  LdiPortParams params = PortParams("COM1");
  struct {
    uint32_t operation;
    bool withWorkspace;
    void* record;
  } cases[] = {
      {LDI_OP_COLD_START, false, &startup},      {LDI_OP_COLD_START, true, nullptr},
      {LDI_OP_WARM_START, false, nullptr},       {LDI_OP_CLOSE_COM, false, nullptr},
      {LDI_OP_RE_OPEN_COM, false, nullptr},      {LDI_OP_CHANGE_LDI_PARAMS, false, &params},
      {LDI_OP_CHANGE_LDI_PARAMS, true, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("operation " + std::to_string(c.operation));
    const Workspace before = workspace;
    LdiCall call{};
    call.workspace = c.withWorkspace ? &workspace : nullptr;
    call.operation = c.operation;
    call.record = c.record;
    EXPECT_EQ(LdiMain(&call), LDI_REFUSED);
    EXPECT_TRUE(LogLines().empty());
    EXPECT_TRUE(fake::Calls().empty());
    EXPECT_EQ(std::memcmp(&before, &workspace, sizeof workspace), 0);
  }
}

}  // namespace
}  // namespace tcudv::test
