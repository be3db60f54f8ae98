// The serial port library on the fake comm layer: exact call sequences and results.
#include <gtest/gtest.h>

#include "fake/fake_comm.h"
#include "serial/sio.h"
#include "serial_test_support.h"

namespace tcudv::test {
namespace {

using fake::Op;
using Lines = std::vector<std::string>;

const LdiLineParams kLine{9600, 7, 0, 2};  // 9600 baud, 7 bits, one stop bit, even parity

class SioOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    fake::Device& port = fake::AddDevice("COM1");
    // A port state unlike anything SioOpen sets, to see what is kept.
    port.state = LineState{};
    port.state.baudRate = 1200;
    port.state.byteSize = 8;
    port.state.parity = 0;
    port.state.stopBits = 2;
    port.state.fBinary = true;
    port.state.fParity = false;
    port.state.fDtrControl = DTR_CONTROL_DISABLE;
    port.state.fRtsControl = RTS_CONTROL_DISABLE;
    port.state.fTXContinueOnXoff = true;
    port.state.fOutX = true;
    port.state.fInX = true;
    port.state.fErrorChar = true;
    port.state.fNull = true;
    port.state.fAbortOnError = true;
    port.state.xonLim = 111;
    port.state.xoffLim = 222;
    port.state.xonChar = 'a';
    port.state.xoffChar = 'b';
    port.state.errorChar = 'c';
    port.state.eofChar = 'd';
    port.state.evtChar = 'e';
    port.timeouts = CommTimeouts{1, 2, 3, 4, 5};
    before = port.state;
  }

  // Opens COM1 with the word and the line parameters; the state written.
  LineState OpenWith(uint16_t word, LdiLineParams line = kLine) {
    CommHandle handle = 0;
    EXPECT_EQ(SioOpen("COM1", &line, word, &handle), SIO_OK);
    const auto sets = fake::CallsOf(Op::SetState);
    EXPECT_EQ(sets.size(), 1u);
    return sets.empty() ? LineState{} : sets.front().state;
  }

  LineState before{};
};

TEST_F(SioOpenTest, WordZeroOpensAndReadsTheStateOnly) {
  CommHandle handle = 0;
  EXPECT_EQ(SioOpen("COM1", &kLine, 0, &handle), SIO_OK);
  EXPECT_EQ(fake::Trace(), (Lines{"Open COM1", "GetState"}));
  EXPECT_EQ(handle, fake::DeviceNamed("COM1").handle);
  EXPECT_NE(handle, 0u);
  EXPECT_NE(handle, kInvalidHandle);
  EXPECT_TRUE(fake::DeviceNamed("COM1").open);
  EXPECT_EQ(fake::DeviceNamed("COM1").timeouts.readTotalTimeoutConstant, 3u);
}

TEST_F(SioOpenTest, TheColdStartWordConfiguresEverything) {
  CommHandle handle = 0;
  EXPECT_EQ(SioOpen("COM1", &kLine, 0x0303, &handle), SIO_OK);
  EXPECT_EQ(fake::Trace(), (Lines{"Open COM1", "GetState", "SetTimeouts 0 0 1000 0 0",
                                  "SetState 9600 7 2 0", "SetupQueues 1200 1200"}));
  const LineState s = fake::DeviceNamed("COM1").state;
  EXPECT_EQ(s.fDtrControl, DTR_CONTROL_ENABLE);
  EXPECT_EQ(s.fRtsControl, RTS_CONTROL_ENABLE);
  EXPECT_TRUE(s.fParity);
  const CommTimeouts t = fake::DeviceNamed("COM1").timeouts;
  EXPECT_EQ(t.readIntervalTimeout, 0u);
  EXPECT_EQ(t.readTotalTimeoutMultiplier, 0u);
  EXPECT_EQ(t.readTotalTimeoutConstant, 1000u);
  EXPECT_EQ(t.writeTotalTimeoutMultiplier, 0u);
  EXPECT_EQ(t.writeTotalTimeoutConstant, 0u);
}

TEST_F(SioOpenTest, AWordThatSelectsNothingStillAppliesLineTimeoutsAndErrorChar) {
  const LineState s = OpenWith(0x0004);
  EXPECT_EQ(s.baudRate, 9600u);
  EXPECT_EQ(s.byteSize, 7);
  EXPECT_EQ(s.parity, 2);
  EXPECT_EQ(s.stopBits, 0);
  EXPECT_TRUE(s.fParity);
  EXPECT_EQ(s.errorChar, static_cast<char>(0xFC));
  EXPECT_FALSE(s.fErrorChar);
  EXPECT_EQ(s.fDtrControl, before.fDtrControl);
  EXPECT_EQ(s.fRtsControl, before.fRtsControl);
  EXPECT_EQ(s.fOutxCtsFlow, before.fOutxCtsFlow);
  EXPECT_EQ(s.fOutxDsrFlow, before.fOutxDsrFlow);
  EXPECT_EQ(s.fDsrSensitivity, before.fDsrSensitivity);
  EXPECT_EQ(fake::CallsOf(Op::SetTimeouts).size(), 1u);
  EXPECT_EQ(fake::CallsOf(Op::SetupQueues).size(), 1u);
}

TEST_F(SioOpenTest, EveryFieldTheStepsDoNotSetKeepsItsValue) {
  const LineState s = OpenWith(0x0303);
  EXPECT_EQ(s.fBinary, before.fBinary);
  EXPECT_EQ(s.fTXContinueOnXoff, before.fTXContinueOnXoff);
  EXPECT_EQ(s.fOutX, before.fOutX);
  EXPECT_EQ(s.fInX, before.fInX);
  EXPECT_EQ(s.fNull, before.fNull);
  EXPECT_EQ(s.fAbortOnError, before.fAbortOnError);
  EXPECT_EQ(s.xonLim, before.xonLim);
  EXPECT_EQ(s.xoffLim, before.xoffLim);
  EXPECT_EQ(s.xonChar, before.xonChar);
  EXPECT_EQ(s.xoffChar, before.xoffChar);
  EXPECT_EQ(s.eofChar, before.eofChar);
  EXPECT_EQ(s.evtChar, before.evtChar);
  EXPECT_EQ(s.fOutxCtsFlow, before.fOutxCtsFlow);
  EXPECT_EQ(s.fOutxDsrFlow, before.fOutxDsrFlow);
  EXPECT_EQ(s.fDsrSensitivity, before.fDsrSensitivity);
}

TEST_F(SioOpenTest, DtrGroup) {
  EXPECT_EQ(OpenWith(0x0001 | 0x8000).fDtrControl, DTR_CONTROL_ENABLE);
}
TEST_F(SioOpenTest, DtrGroupOffsetBit) { EXPECT_EQ(OpenWith(0x0100).fDtrControl, DTR_CONTROL_ENABLE); }
TEST_F(SioOpenTest, DtrGroupHandshake) { EXPECT_EQ(OpenWith(0x8000).fDtrControl, DTR_CONTROL_HANDSHAKE); }

TEST_F(SioOpenTest, RtsGroupHandshakeWinsOverToggle) {
  EXPECT_EQ(OpenWith(0x1000 | 0x2000).fRtsControl, RTS_CONTROL_HANDSHAKE);
}
TEST_F(SioOpenTest, RtsGroupEnableWinsOverAll) {
  EXPECT_EQ(OpenWith(0x0200 | 0x1000 | 0x2000).fRtsControl, RTS_CONTROL_ENABLE);
}
TEST_F(SioOpenTest, RtsGroupToggle) { EXPECT_EQ(OpenWith(0x2000).fRtsControl, RTS_CONTROL_TOGGLE); }

TEST_F(SioOpenTest, HandshakeGroupOnlyCtsWhenAllThree) {
  const LineState s = OpenWith(0x0010 | 0x0020 | 0x4000);
  EXPECT_TRUE(s.fOutxCtsFlow);
  EXPECT_FALSE(s.fOutxDsrFlow);
  EXPECT_FALSE(s.fDsrSensitivity);
}
TEST_F(SioOpenTest, HandshakeGroupDsrFlowBeforeSensitivity) {
  const LineState s = OpenWith(0x0020 | 0x4000);
  EXPECT_FALSE(s.fOutxCtsFlow);
  EXPECT_TRUE(s.fOutxDsrFlow);
  EXPECT_FALSE(s.fDsrSensitivity);
}
TEST_F(SioOpenTest, HandshakeGroupSensitivity) {
  const LineState s = OpenWith(0x4000);
  EXPECT_FALSE(s.fOutxCtsFlow);
  EXPECT_FALSE(s.fOutxDsrFlow);
  EXPECT_TRUE(s.fDsrSensitivity);
}

TEST_F(SioOpenTest, TheWordNeverClearsAHandshakeFlag) {
  fake::DeviceNamed("COM1").state.fOutxDsrFlow = true;
  fake::DeviceNamed("COM1").state.fDsrSensitivity = true;
  const LineState s = OpenWith(0x0010);
  EXPECT_TRUE(s.fOutxCtsFlow);
  EXPECT_TRUE(s.fOutxDsrFlow);
  EXPECT_TRUE(s.fDsrSensitivity);
}

TEST_F(SioOpenTest, ParityZeroLeavesFParityOn) {
  fake::DeviceNamed("COM1").state.fParity = true;
  fake::DeviceNamed("COM1").state.parity = 2;
  const LineState s = OpenWith(0x0303, LdiLineParams{19200, 8, 2, 0});
  EXPECT_EQ(s.parity, 0);
  EXPECT_TRUE(s.fParity);
  EXPECT_EQ(s.stopBits, 2);
  EXPECT_EQ(s.baudRate, 19200u);
}

TEST_F(SioOpenTest, ParityZeroLeavesFParityOff) {
  const LineState s = OpenWith(0x0303, LdiLineParams{9600, 8, 0, 0});
  EXPECT_FALSE(s.fParity);
}

TEST_F(SioOpenTest, OnlyTheLowByteOfTheCodeFieldsIsUsed) {
  const LineState s = OpenWith(0x0303, LdiLineParams{65535, 0x0107, 0x0201, 0x0304});
  EXPECT_EQ(s.baudRate, 65535u);
  EXPECT_EQ(s.byteSize, 7);
  EXPECT_EQ(s.stopBits, 1);
  EXPECT_EQ(s.parity, 4);
  EXPECT_TRUE(s.fParity);
}

TEST_F(SioOpenTest, NulOpensAndConfiguresNothing) {
  CommHandle handle = 0;
  EXPECT_EQ(SioOpen("NUL", &kLine, 0x0303, &handle), SIO_OK);
  EXPECT_EQ(fake::Trace(), (Lines{"Open NUL"}));
  EXPECT_NE(handle, 0u);
  EXPECT_NE(handle, kInvalidHandle);
  EXPECT_TRUE(fake::DeviceOf(handle).open);
}

TEST_F(SioOpenTest, LowerCaseNulIsConfiguredLikeAnyPort) {
  fake::AddDevice("nul");
  CommHandle handle = 0;
  EXPECT_EQ(SioOpen("nul", &kLine, 0x0303, &handle), SIO_OK);
  EXPECT_EQ(Ops(), (std::vector<Op>{Op::Open, Op::GetState, Op::SetTimeouts, Op::SetState, Op::SetupQueues}));
}

TEST_F(SioOpenTest, AFailedOpenLeavesInvalidHandleValue) {
  CommHandle handle = 0;
  EXPECT_EQ(SioOpen("COM9", &kLine, 0x0303, &handle), SIO_OPEN_FAILED);
  EXPECT_EQ(handle, kInvalidHandle);
  EXPECT_EQ(fake::Trace(), (Lines{"Open COM9 failed"}));
}

TEST_F(SioOpenTest, AHeldPortDoesNotOpenTwice) {
  CommHandle first = 0;
  CommHandle second = 0;
  EXPECT_EQ(SioOpen("COM1", &kLine, 0x0303, &first), SIO_OK);
  EXPECT_EQ(SioOpen("COM1", &kLine, 0x0303, &second), SIO_OPEN_FAILED);
  EXPECT_EQ(second, kInvalidHandle);
}

TEST_F(SioOpenTest, FailedGetStateClosesAndGives4) {
  fake::FailNext(Op::GetState);
  CommHandle handle = 0;
  EXPECT_EQ(SioOpen("COM1", &kLine, 0x0303, &handle), SIO_GET_STATE_FAILED);
  EXPECT_EQ(fake::Trace(), (Lines{"Open COM1", "GetState failed", "Close"}));
  EXPECT_FALSE(fake::DeviceNamed("COM1").open);
}

TEST_F(SioOpenTest, FailedGetStateWithWordZeroStillGives4) {
  fake::FailNext(Op::GetState);
  CommHandle handle = 0;
  EXPECT_EQ(SioOpen("COM1", &kLine, 0, &handle), SIO_GET_STATE_FAILED);
  EXPECT_FALSE(fake::DeviceNamed("COM1").open);
}

TEST_F(SioOpenTest, FailedSetTimeoutsClosesAndGives1) {
  fake::FailNext(Op::SetTimeouts);
  CommHandle handle = 0;
  EXPECT_EQ(SioOpen("COM1", &kLine, 0x0303, &handle), SIO_OPEN_FAILED);
  EXPECT_EQ(fake::Trace(), (Lines{"Open COM1", "GetState", "SetTimeouts 0 0 1000 0 0 failed", "Close"}));
  EXPECT_FALSE(fake::DeviceNamed("COM1").open);
}

TEST_F(SioOpenTest, FailedSetStateClosesAndGives5) {
  fake::FailNext(Op::SetState);
  CommHandle handle = 0;
  EXPECT_EQ(SioOpen("COM1", &kLine, 0x0303, &handle), SIO_SET_STATE_FAILED);
  EXPECT_EQ(fake::Trace(), (Lines{"Open COM1", "GetState", "SetTimeouts 0 0 1000 0 0",
                                  "SetState 9600 7 2 0 failed", "Close"}));
  EXPECT_FALSE(fake::DeviceNamed("COM1").open);
}

TEST_F(SioOpenTest, FailedSetupQueuesIsIgnored) {
  fake::FailNext(Op::SetupQueues);
  CommHandle handle = 0;
  EXPECT_EQ(SioOpen("COM1", &kLine, 0x0303, &handle), SIO_OK);
  EXPECT_TRUE(fake::DeviceNamed("COM1").open);
}

class SioPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    ConfiguredDevice("COM1");
    handle = OpenOnFake("COM1");
  }
  fake::Device& Port() { return fake::DeviceNamed("COM1"); }
  CommHandle handle = 0;
};

TEST_F(SioPortTest, SetReadTimeoutWithTheValueInForceWritesNothing) {
  EXPECT_EQ(SioSetReadTimeout(handle, 100), 100);
  EXPECT_EQ(fake::Trace(), (Lines{"GetTimeouts"}));
}

TEST_F(SioPortTest, SetReadTimeoutSevenAfterOpen) {
  EXPECT_EQ(SioSetReadTimeout(handle, 7), 100);
  EXPECT_EQ(fake::Trace(), (Lines{"GetTimeouts", "SetTimeouts 0 0 70 0 0"}));
  EXPECT_EQ(Port().timeouts.readTotalTimeoutConstant, 70u);
}

TEST_F(SioPortTest, SetReadTimeoutTruncatesThePreviousAndKeepsTheOtherFields) {
  Port().timeouts = CommTimeouts{5, 6, 15, 8, 9};
  EXPECT_EQ(SioSetReadTimeout(handle, 3), 1);
  const CommTimeouts t = Port().timeouts;
  EXPECT_EQ(t.readIntervalTimeout, 5u);
  EXPECT_EQ(t.readTotalTimeoutMultiplier, 6u);
  EXPECT_EQ(t.readTotalTimeoutConstant, 30u);
  EXPECT_EQ(t.writeTotalTimeoutMultiplier, 8u);
  EXPECT_EQ(t.writeTotalTimeoutConstant, 9u);
}

TEST_F(SioPortTest, SetReadTimeoutZero) {
  EXPECT_EQ(SioSetReadTimeout(handle, 0), 100);
  EXPECT_EQ(Port().timeouts.readTotalTimeoutConstant, 0u);
}

TEST_F(SioPortTest, SetReadTimeoutFailuresGiveZero) {
  fake::FailNext(Op::GetTimeouts);
  EXPECT_EQ(SioSetReadTimeout(handle, 7), 0);
  fake::FailNext(Op::SetTimeouts);
  EXPECT_EQ(SioSetReadTimeout(handle, 7), 0);
  EXPECT_EQ(Port().timeouts.readTotalTimeoutConstant, 1000u);
}

TEST_F(SioPortTest, SetReadTimeoutOnTheNullDeviceGivesZero) {
  const CommHandle nul = OpenOnFake("NUL");
  EXPECT_EQ(SioSetReadTimeout(nul, 7), 0);
}

TEST_F(SioPortTest, PurgeOfAnEmptyInputReadsNothing) {
  EXPECT_EQ(SioPurgeInput(handle), SIO_OK);
  EXPECT_EQ(fake::Trace(), (Lines{"ClearError"}));
}

TEST_F(SioPortTest, PurgeOf1100Bytes) {
  Port().timeouts.readTotalTimeoutConstant = 70;
  Port().input = std::string(1100, 'x');
  EXPECT_EQ(SioPurgeInput(handle), SIO_OK);
  EXPECT_EQ(Ops(), (std::vector<Op>{Op::ClearError, Op::GetTimeouts, Op::SetTimeouts, Op::Read, Op::Read,
                                    Op::Read, Op::GetTimeouts, Op::SetTimeouts}));
  const auto reads = fake::CallsOf(Op::Read);
  ASSERT_EQ(reads.size(), 3u);
  EXPECT_EQ(reads[0].count, 512u);
  EXPECT_EQ(reads[0].moved, 512u);
  EXPECT_EQ(reads[1].moved, 512u);
  EXPECT_EQ(reads[2].count, 512u);
  EXPECT_EQ(reads[2].moved, 76u);
  const auto sets = fake::CallsOf(Op::SetTimeouts);
  EXPECT_EQ(sets[0].timeouts.readTotalTimeoutConstant, 50u);
  EXPECT_EQ(sets[1].timeouts.readTotalTimeoutConstant, 70u);
  EXPECT_EQ(Port().timeouts.readTotalTimeoutConstant, 70u);
  EXPECT_TRUE(Port().input.empty());
  EXPECT_EQ(fake::NowMs(), 50u);  // the short read waited out its 50 ms
}

TEST_F(SioPortTest, PurgeOfExactly1024BytesWaitsOutAThirdRead) {
  Port().input = std::string(1024, 'x');
  EXPECT_EQ(SioPurgeInput(handle), SIO_OK);
  const auto reads = fake::CallsOf(Op::Read);
  ASSERT_EQ(reads.size(), 3u);
  EXPECT_EQ(reads[2].moved, 0u);
  EXPECT_EQ(reads[2].atMs, 0u);
  EXPECT_EQ(fake::NowMs(), 50u);
  EXPECT_EQ(Port().timeouts.readTotalTimeoutConstant, 1000u);
}

TEST_F(SioPortTest, PurgeWhenTheStatusFailsStillDrains) {
  fake::FailNext(Op::ClearError);
  Port().input = "abc";
  EXPECT_EQ(SioPurgeInput(handle), SIO_OK);
  EXPECT_EQ(Ops(), (std::vector<Op>{Op::ClearError, Op::GetTimeouts, Op::SetTimeouts, Op::Read,
                                    Op::GetTimeouts, Op::SetTimeouts}));
  EXPECT_TRUE(Port().input.empty());
}

TEST_F(SioPortTest, PurgeWhoseLastReadFailsGives1AndRestores) {
  Port().input = std::string(600, 'x');
  fake::FailNext(Op::Read);
  EXPECT_EQ(SioPurgeInput(handle), SIO_OPEN_FAILED);
  EXPECT_EQ(Port().timeouts.readTotalTimeoutConstant, 1000u);
  EXPECT_EQ(Port().input.size(), 600u);
}

TEST_F(SioPortTest, PurgeAfterATimeoutBelowTenMsRestoresNothing) {
  Port().timeouts.readTotalTimeoutConstant = 5;
  Port().input = "x";
  EXPECT_EQ(SioPurgeInput(handle), SIO_OK);
  EXPECT_EQ(fake::CallsOf(Op::SetTimeouts).size(), 1u);
  EXPECT_EQ(Port().timeouts.readTotalTimeoutConstant, 50u);
}

TEST_F(SioPortTest, WriteOfTenOfWhichEightAreTaken) {
  Port().writeLimit = 8;
  uint32_t written = 99;
  EXPECT_EQ(SioWrite(handle, "0123456789", 10, &written), SIO_SHORT_WRITE);
  EXPECT_EQ(written, 8u);
  EXPECT_EQ(fake::Trace(), (Lines{"Write 0123456789 -> 8"}));
}

TEST_F(SioPortTest, WriteOfEverything) {
  uint32_t written = 99;
  EXPECT_EQ(SioWrite(handle, "0123456789", 10, &written), SIO_OK);
  EXPECT_EQ(written, 10u);
  EXPECT_EQ(SioWrite(handle, "01", 2, nullptr), SIO_OK);
  EXPECT_EQ(fake::Writes(), (Lines{"0123456789", "01"}));
}

TEST_F(SioPortTest, AFailedWriteGives7AndLeavesTheCount) {
  fake::FailNext(Op::Write);
  uint32_t written = 99;
  EXPECT_EQ(SioWrite(handle, "0123456789", 10, &written), SIO_IO_FAILED);
  EXPECT_EQ(written, 99u);
}

TEST_F(SioPortTest, ReadWithNothingArriving) {
  char byte = 'q';
  uint32_t got = 99;
  EXPECT_EQ(SioRead(handle, &byte, 1, &got), SIO_IO_FAILED);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(byte, 'q');
  EXPECT_EQ(fake::NowMs(), 1000u);
  EXPECT_EQ(fake::Trace(), (Lines{"Read 1 -> ''"}));
}

TEST_F(SioPortTest, ReadAsksForTheMissingBytesAndTheBoundIsPerCall) {
  Port().input = "a";
  fake::Arrive("COM1", 1500, "bc");
  char bytes[4] = {};
  uint32_t got = 0;
  EXPECT_EQ(SioRead(handle, bytes, 3, &got), SIO_OK);
  EXPECT_EQ(got, 3u);
  EXPECT_STREQ(bytes, "abc");
  EXPECT_EQ(fake::Trace(), (Lines{"Read 3 -> 'a'", "Read 2 -> 'bc'"}));
  EXPECT_EQ(fake::NowMs(), 1500u);
}

TEST_F(SioPortTest, ReadThatStopsHalfWayKeepsTheCount) {
  Port().input = "ab";
  char bytes[4] = {};
  uint32_t got = 0;
  EXPECT_EQ(SioRead(handle, bytes, 3, &got), SIO_IO_FAILED);
  EXPECT_EQ(got, 2u);
}

TEST_F(SioPortTest, ReadOfZeroBytesGives7) {
  char byte = 0;
  EXPECT_EQ(SioRead(handle, &byte, 0, nullptr), SIO_IO_FAILED);
  EXPECT_EQ(fake::CallsOf(Op::Read).size(), 1u);
}

TEST_F(SioPortTest, AFailedReadGives7) {
  Port().input = "abc";
  fake::FailNext(Op::Read);
  char bytes[4] = {};
  EXPECT_EQ(SioRead(handle, bytes, 3, nullptr), SIO_IO_FAILED);
}

TEST_F(SioPortTest, Close) {
  EXPECT_EQ(SioClose(handle), SIO_OK);
  EXPECT_FALSE(Port().open);
  EXPECT_EQ(SioClose(handle), SIO_IO_FAILED);
}

TEST_F(SioPortTest, SendBreakIgnoresItsCalls) {
  EXPECT_EQ(SioSendBreak(250, handle), SIO_OK);
  EXPECT_EQ(fake::Trace(), (Lines{"SetBreak", "Sleep 250", "ClearBreak"}));
  fake::ClearCalls();
  fake::FailAlways(Op::SetBreak);
  fake::FailAlways(Op::ClearBreak);
  EXPECT_EQ(SioSendBreak(5, handle), SIO_OK);
  EXPECT_EQ(fake::Trace(), (Lines{"SetBreak failed", "Sleep 5", "ClearBreak failed"}));
}

TEST_F(SioPortTest, Sleep) {
  EXPECT_EQ(SioSleep(42), SIO_OK);
  EXPECT_EQ(fake::Trace(), (Lines{"Sleep 42"}));
  EXPECT_EQ(fake::NowMs(), 42u);
}

}  // namespace
}  // namespace tcudv::test
