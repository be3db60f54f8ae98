// The fake comm layer itself: what the other tests rely on.
#include <gtest/gtest.h>

#include "fake/fake_comm.h"

namespace tcudv::test {
namespace {

using fake::Op;
using Lines = std::vector<std::string>;

class FakeCommTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
};

TEST_F(FakeCommTest, DevicesOpenByNameExclusivelyWithDistinctHandles) {
  fake::AddDevice("COM1");
  fake::AddDevice("COM2");
  const CommHandle a = CommOpen("COM1");
  const CommHandle b = CommOpen("COM2");
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, kInvalidHandle);
  EXPECT_NE(b, a);
  EXPECT_EQ(CommOpen("COM1"), kInvalidHandle);
  EXPECT_EQ(CommOpen("COM3"), kInvalidHandle);
  EXPECT_EQ(fake::DeviceOf(a).name, "COM1");
  EXPECT_TRUE(CommClose(a));
  EXPECT_FALSE(CommClose(a));
  const CommHandle again = CommOpen("COM1");
  EXPECT_NE(again, kInvalidHandle);
  EXPECT_NE(again, a);
  EXPECT_EQ(fake::Trace(), (Lines{"Open COM1", "Open COM2", "Open COM1 failed", "Open COM3 failed", "Close",
                                  "Close failed", "Open COM1"}));
  EXPECT_EQ(fake::Calls()[0].opened, a);
}

TEST_F(FakeCommTest, NulOpensTwiceAndFailsThePortCalls) {
  const CommHandle a = CommOpen("NUL");
  const CommHandle b = CommOpen("NUL");
  ASSERT_NE(a, kInvalidHandle);
  ASSERT_NE(b, kInvalidHandle);
  EXPECT_NE(a, b);
  LineState state{};
  CommTimeouts timeouts{};
  QueueCounts counts{};
  EXPECT_FALSE(CommGetState(a, &state));
  EXPECT_FALSE(CommSetState(a, state));
  EXPECT_FALSE(CommGetTimeouts(a, &timeouts));
  EXPECT_FALSE(CommSetTimeouts(a, timeouts));
  EXPECT_FALSE(CommSetupQueues(a, 1200, 1200));
  EXPECT_FALSE(CommClearError(a, &counts));
  EXPECT_FALSE(CommSetRts(a));
  EXPECT_FALSE(CommClearRts(a));
  uint32_t moved = 99;
  EXPECT_TRUE(CommWrite(a, "abc", 3, &moved));
  EXPECT_EQ(moved, 3u);
  char byte = 0;
  EXPECT_TRUE(CommRead(a, &byte, 1, &moved));
  EXPECT_EQ(moved, 0u);
  EXPECT_EQ(fake::NowMs(), 0u);
  EXPECT_TRUE(CommClose(a));
  EXPECT_TRUE(fake::DeviceNamed("NUL").open);  // b is still open
  EXPECT_TRUE(CommClose(b));
  EXPECT_FALSE(fake::DeviceNamed("NUL").open);
}

TEST_F(FakeCommTest, TheResponderAnswersEachWrite) {
  fake::Device& port = fake::AddDevice("COM1");
  port.responder = [](const std::string& written) { return "got " + written + "\r\n"; };
  port.writeLimit = 2;
  const CommHandle h = CommOpen("COM1");
  uint32_t moved = 0;
  EXPECT_TRUE(CommWrite(h, "abc", 3, &moved));
  EXPECT_EQ(moved, 2u);
  EXPECT_EQ(port.input, "got ab\r\n");
  EXPECT_EQ(fake::Writes(), (Lines{"ab"}));
}

TEST_F(FakeCommTest, ReadsTakeWhatIsThereOrWaitTheirTimeout) {
  fake::Device& port = fake::AddDevice("COM1");
  port.timeouts = CommTimeouts{0, 0, 250, 0, 0};
  port.input = "ab";
  const CommHandle h = CommOpen("COM1");
  char bytes[8] = {};
  uint32_t moved = 0;
  EXPECT_TRUE(CommRead(h, bytes, 1, &moved));
  EXPECT_EQ(fake::NowMs(), 0u);
  EXPECT_TRUE(CommRead(h, bytes, 4, &moved));
  EXPECT_EQ(moved, 1u);
  EXPECT_EQ(fake::NowMs(), 250u);
  port.timeouts = CommTimeouts{0, 10, 250, 0, 0};
  EXPECT_TRUE(CommRead(h, bytes, 4, &moved));
  EXPECT_EQ(fake::NowMs(), 540u);
  port.timeouts = CommTimeouts{0xFFFFFFFFu, 0, 0, 0, 0};
  EXPECT_TRUE(CommRead(h, bytes, 4, &moved));
  EXPECT_EQ(fake::NowMs(), 540u);
  EXPECT_EQ(fake::Trace(), (Lines{"Open COM1", "Read 1 -> 'a'", "Read 4 -> 'b'", "Read 4 -> ''", "Read 4 -> ''"}));
}

TEST_F(FakeCommTest, ArrivalsComeWhenTheClockReachesThem) {
  fake::Device& port = fake::AddDevice("COM1");
  port.timeouts = CommTimeouts{0, 0, 1000, 0, 0};
  const CommHandle h = CommOpen("COM1");
  fake::Arrive("COM1", 300, "x");
  fake::Arrive("COM1", 100, "\r");
  QueueCounts counts{};
  EXPECT_TRUE(CommClearError(h, &counts));
  EXPECT_EQ(counts.cbInQue, 0u);
  CommSleep(150);
  EXPECT_TRUE(CommClearError(h, &counts));
  EXPECT_EQ(counts.cbInQue, 1u);
  char bytes[4] = {};
  uint32_t moved = 0;
  EXPECT_TRUE(CommRead(h, bytes, 2, &moved));
  EXPECT_EQ(moved, 2u);
  EXPECT_EQ(std::string(bytes, 2), "\rx");
  EXPECT_EQ(fake::NowMs(), 300u);
  EXPECT_EQ(fake::Trace().back(), "Read 2 -> '\\rx'");
}

TEST_F(FakeCommTest, DrainPollsReportTheWriteWaiting) {
  fake::Device& port = fake::AddDevice("COM1");
  port.drainPolls = 2;
  const CommHandle h = CommOpen("COM1");
  uint32_t moved = 0;
  CommWrite(h, "abcd", 4, &moved);
  QueueCounts counts{};
  for (uint32_t expected : {4u, 4u, 0u, 0u}) {
    EXPECT_TRUE(CommClearError(h, &counts));
    EXPECT_EQ(counts.cbOutQue, expected);
  }
}

TEST_F(FakeCommTest, FailNextAndFailAlways) {
  fake::AddDevice("COM1");
  const CommHandle h = CommOpen("COM1");
  fake::FailNext(Op::SetRts, 2);
  EXPECT_FALSE(CommSetRts(h));
  EXPECT_FALSE(CommSetRts(h));
  EXPECT_TRUE(CommSetRts(h));
  EXPECT_TRUE(fake::DeviceOf(h).rts);
  fake::FailAlways(Op::ClearRts);
  EXPECT_FALSE(CommClearRts(h));
  EXPECT_FALSE(CommClearRts(h));
  EXPECT_TRUE(fake::DeviceOf(h).rts);
  fake::FailAlways(Op::ClearRts, false);
  EXPECT_TRUE(CommClearRts(h));
  fake::FailNext(Op::Open);
  fake::AddDevice("COM2");
  EXPECT_EQ(CommOpen("COM2"), kInvalidHandle);
  uint32_t moved = 99;
  fake::FailNext(Op::Write);
  EXPECT_FALSE(CommWrite(h, "ab", 2, &moved));
  EXPECT_EQ(moved, 0u);
  EXPECT_TRUE(fake::Writes().empty());
}

TEST_F(FakeCommTest, EveryCallHasItsTime) {
  fake::AddDevice("COM1");
  const CommHandle h = CommOpen("COM1");
  CommSleep(7);
  CommSetRts(h);
  CommSleep(3);
  CommClearRts(h);
  const auto& calls = fake::Calls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[2].atMs, 7u);
  EXPECT_EQ(calls[4].atMs, 10u);
  EXPECT_EQ(CommTickCount(), 10u);
  fake::AdvanceMs(5);
  EXPECT_EQ(fake::NowMs(), 15u);
  EXPECT_EQ(fake::Calls().size(), 5u);  // the tick and AdvanceMs are no calls
}

TEST_F(FakeCommTest, TraceOfStateAndTimeouts) {
  fake::AddDevice("COM1");
  const CommHandle h = CommOpen("COM1");
  fake::ClearCalls();
  LineState s{};
  CommGetState(h, &s);
  s.baudRate = 4800;
  s.byteSize = 7;
  s.parity = 1;
  s.stopBits = 2;
  CommSetState(h, s);
  CommSetTimeouts(h, CommTimeouts{1, 2, 3, 4, 5});
  CommSetupQueues(h, 10, 20);
  CommWrite(h, "\x01\xFF", 2, nullptr);
  CommSetBreak(h);
  CommClearBreak(h);
  EXPECT_EQ(fake::Trace(), (Lines{"GetState", "SetState 4800 7 1 2", "SetTimeouts 1 2 3 4 5", "SetupQueues 10 20",
                                  "Write \\x01\\xFF", "SetBreak", "ClearBreak"}));
  EXPECT_EQ(fake::DeviceOf(h).state.baudRate, 4800u);
  EXPECT_EQ(fake::DeviceOf(h).outputQueue, 20u);
}

TEST_F(FakeCommTest, ResetForgetsEverything) {
  fake::AddDevice("COM1");
  CommOpen("COM1");
  CommSleep(5);
  fake::FailAlways(Op::Open);
  fake::Reset();
  EXPECT_TRUE(fake::Calls().empty());
  EXPECT_EQ(fake::NowMs(), 0u);
  EXPECT_EQ(CommOpen("COM1"), kInvalidHandle);
  EXPECT_NE(CommOpen("NUL"), kInvalidHandle);
}

}  // namespace
}  // namespace tcudv::test
