// Send and ReadReply on the fake comm layer: calls, messages and timing; reply lines.
#include <gtest/gtest.h>

#include <cstring>

#include "fake/fake_comm.h"
#include "serial/line.h"
#include "serial_test_support.h"
#include "support/log_capture.h"

namespace tcudv::test {
namespace {

using fake::Op;
using Lines = std::vector<std::string>;

const char kRtsFailed[] = "LDIYY> Send() EscapeCommFunction() failed";
const char kStatusFailed[] = "LDIYY> Send() ClearCommError() failed";
const char kNotSent[] = "LDIYY> Send() Unable to send message.";

class LineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    ClearLog();
    ConfiguredDevice("COM1");
    handle = OpenOnFake("COM1");
  }
  fake::Device& Port() { return fake::DeviceNamed("COM1"); }
  CommHandle handle = 0;
};

// ---- Send ----

TEST_F(LineTest, SendWaitsTheGapRaisesRtsWritesDrainsAndDrops) {
  EXPECT_EQ(Send("N01TA*", 6, handle, 100), 0);
  EXPECT_EQ(fake::Trace(), (Lines{"Sleep 100", "SetRts", "Write N01TA*", "ClearError", "Sleep 1",
                                  "Sleep 15", "ClearRts"}));
  EXPECT_TRUE(LogLines().empty());
  EXPECT_FALSE(Port().rts);
  EXPECT_EQ(fake::NowMs(), 116u);  // the gap, one poll and the 15 ms
}

TEST_F(LineTest, SendWithGapZeroRaisesRtsAtOnce) {
  EXPECT_EQ(Send("N01TA*", 6, handle, 0), 0);
  ASSERT_FALSE(fake::Calls().empty());
  EXPECT_EQ(fake::Calls().front().op, Op::SetRts);
  EXPECT_EQ(fake::Calls().front().atMs, 0u);
}

TEST_F(LineTest, SendPollsUntilTheOutputQueueIsEmptyAndHoldsRts16MsAfter) {
  Port().drainPolls = 3;
  EXPECT_EQ(Send("N01TA*", 6, handle, 0), 0);
  EXPECT_EQ(fake::Trace(), (Lines{"SetRts", "Write N01TA*", "ClearError", "Sleep 1", "ClearError", "Sleep 1",
                                  "ClearError", "Sleep 1", "ClearError", "Sleep 1", "Sleep 15", "ClearRts"}));
  const auto queries = fake::CallsOf(Op::ClearError);
  EXPECT_EQ(queries[0].counts.cbOutQue, 6u);
  EXPECT_EQ(queries[3].counts.cbOutQue, 0u);
  const auto drops = fake::CallsOf(Op::ClearRts);
  EXPECT_EQ(drops.front().atMs - queries.back().atMs, 16u);
}

TEST_F(LineTest, SendWithBothRtsCallsFailingLogsTwiceAndSucceeds) {
  fake::FailAlways(Op::SetRts);
  fake::FailAlways(Op::ClearRts);
  EXPECT_EQ(Send("N01TA*", 6, handle, 100), 0);
  EXPECT_EQ(LogLines(), (std::vector<LogLine>{{8, kRtsFailed, kRtsFailed}, {8, kRtsFailed, kRtsFailed}}));
  EXPECT_EQ(fake::Writes(), (Lines{"N01TA*"}));
}

TEST_F(LineTest, SendWhoseStatusQueryFailsStopsWaitingAndStillDropsRts) {
  Port().drainPolls = 5;
  fake::FailNext(Op::ClearError);
  EXPECT_EQ(Send("N01TA*", 6, handle, 0), 0);
  EXPECT_EQ(fake::Trace(), (Lines{"SetRts", "Write N01TA*", "ClearError failed", "Sleep 15", "ClearRts"}));
  EXPECT_EQ(LogTexts(), (Lines{kStatusFailed}));
}

TEST_F(LineTest, SendOfAShortWriteLogsAndGives2WithRtsDropped) {
  Port().writeLimit = 4;
  EXPECT_EQ(Send("N01TA*", 6, handle, 0), 2);
  EXPECT_EQ(fake::Trace(), (Lines{"SetRts", "Write N01TA* -> 4", "ClearError", "Sleep 1", "Sleep 15", "ClearRts"}));
  EXPECT_EQ(LogLines(), (std::vector<LogLine>{{8, kNotSent, kNotSent}}));
  EXPECT_FALSE(Port().rts);
}

TEST_F(LineTest, SendOfAFailedWriteLogsAndGives2) {
  fake::FailNext(Op::Write);
  EXPECT_EQ(Send("N01TA*", 6, handle, 0), 2);
  EXPECT_EQ(LogTexts(), (Lines{kNotSent}));
  EXPECT_EQ(fake::CallsOf(Op::ClearRts).size(), 1u);
}

TEST_F(LineTest, SendOnTheNullDeviceLogsThreeLinesAndSucceeds) {
  const CommHandle nul = OpenOnFake("NUL");
  EXPECT_EQ(Send("N01TA*", 6, nul, 100), 0);
  EXPECT_EQ(LogTexts(), (Lines{kRtsFailed, kStatusFailed, kRtsFailed}));
  EXPECT_EQ(fake::Trace(), (Lines{"Sleep 100", "SetRts failed", "Write N01TA*", "ClearError failed", "Sleep 15",
                                  "ClearRts failed"}));
}

TEST_F(LineTest, SendGivesUpOnAnOutputQueueThatNeverEmpties) {
  Port().drainPolls = 1000000;  // a peer holding the line back
  EXPECT_EQ(Send("N01TA*", 6, handle, 0), 2);
  const Lines log = LogTexts();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].rfind("LDIYY> Send() ", 0), 0u) << log[0];
  EXPECT_NE(log[0], kNotSent);
  EXPECT_EQ(LogLines()[0].level, 8);
  // The bound: 5 s and 10 ms a byte, then RTS drops at once.
  EXPECT_EQ(fake::NowMs(), 5060u);
  EXPECT_EQ(fake::Calls().back().op, Op::ClearRts);
  EXPECT_FALSE(Port().rts);
}

TEST_F(LineTest, SendTheDrainBoundAllowsASlowLine) {
  Port().drainPolls = 4000;  // four seconds of output: within the bound
  EXPECT_EQ(Send("N01TA*", 6, handle, 0), 0);
  EXPECT_TRUE(LogLines().empty());
}

// ---- ReadReply ----

// Puts the line in the port's input and reads it into a buffer of `size` bytes
// inside a larger one filled with '#', so that writes past `size` show.
struct Reply {
  int32_t result;
  std::string stored;  // the first `size` bytes of the buffer
  bool untouchedBeyond;
};

class ReadReplyTest : public LineTest {
 protected:
  Reply ReadWith(const std::string& line, size_t size) {
    Port().input = line;
    char buffer[128];
    std::memset(buffer, '#', sizeof buffer);
    Reply reply{};
    reply.result = ReadReply(buffer, size, handle);
    reply.stored.assign(buffer, size);
    reply.untouchedBeyond = std::string(buffer + size, sizeof buffer - size) == std::string(sizeof buffer - size, '#');
    return reply;
  }
};

TEST_F(ReadReplyTest, CrLfAlone) {
  const Reply r = ReadWith("\r\n", 32);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.stored.substr(0, 4), std::string("\r\n\0#", 4));
  EXPECT_EQ(fake::CallsOf(Op::Read).size(), 2u);
  for (const auto& read : fake::CallsOf(Op::Read)) EXPECT_EQ(read.count, 1u);
}

TEST_F(ReadReplyTest, ASpaceAndThreeDigits) {
  const Reply r = ReadWith(" 123\r\n", 32);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.stored.substr(0, 8), std::string(" 123\r\n\0#", 8));
}

TEST_F(ReadReplyTest, AnInnerCrStaysText) {
  const Reply r = ReadWith("1\r2\r\n", 32);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.stored.substr(0, 6), std::string("1\r2\r\n\0", 6));
}

TEST_F(ReadReplyTest, ALeadingLfIsText) {
  const Reply r = ReadWith("\n\r\n", 32);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.stored.substr(0, 4), std::string("\n\r\n\0", 4));
}

TEST_F(ReadReplyTest, OnlyCrLfEndsTheLine) {
  const Reply r = ReadWith("a\n\rb\r\n", 32);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.stored.substr(0, 7), std::string("a\n\rb\r\n\0", 7));
}

TEST_F(ReadReplyTest, TwentyNineTextBytesFitTheReplyBuffer) {
  const std::string text(29, 'x');
  const Reply r = ReadWith(text + "\r\n", 32);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.stored, text + std::string("\r\n\0", 3));
  EXPECT_TRUE(r.untouchedBeyond);
}

TEST_F(ReadReplyTest, ThirtyTextBytesDoNotFitAndTheRestStaysUnread) {
  const std::string text(30, 'x');
  const Reply r = ReadWith(text + "\r\n", 32);
  EXPECT_EQ(r.result, 1);
  EXPECT_TRUE(r.untouchedBeyond);
  EXPECT_EQ(r.stored.substr(0, 31), text + "\r");
  EXPECT_EQ(r.stored[31], '#');  // no NUL on 1
  EXPECT_EQ(fake::CallsOf(Op::Read).size(), 31u);
  EXPECT_EQ(Port().input, "\n");
}

TEST_F(ReadReplyTest, ALongLineInTheReplyBuffer) {
  const Reply r = ReadWith(std::string(60, 'y') + "\r\n", 32);
  EXPECT_EQ(r.result, 1);
  EXPECT_TRUE(r.untouchedBeyond);
  EXPECT_EQ(r.stored, std::string(31, 'y') + "#");
  EXPECT_EQ(Port().input, std::string(29, 'y') + "\r\n");
}

TEST_F(ReadReplyTest, FortyTextBytesInA43ByteBuffer) {
  const std::string text(40, 'z');
  const Reply r = ReadWith(text + "\r\n", 43);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.stored, text + std::string("\r\n\0", 3));
  EXPECT_TRUE(r.untouchedBeyond);
}

TEST_F(ReadReplyTest, FortyOneTextBytesEndOnTheFortySecondByte) {
  const std::string text(41, 'z');
  const Reply r = ReadWith(text + "\r\n", 43);
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(fake::CallsOf(Op::Read).size(), 42u);
  EXPECT_EQ(Port().input, "\n");
}

TEST_F(ReadReplyTest, ALargerBufferStillStopsAtFortyTwoBytes) {
  const Reply r = ReadWith(std::string(41, 'z') + "\r\n", 100);
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(fake::CallsOf(Op::Read).size(), 42u);
  EXPECT_EQ(r.stored[42], '#');
}

TEST_F(ReadReplyTest, SilenceStoresNothing) {
  const Reply r = ReadWith("", 32);
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.stored, std::string(32, '#'));
  EXPECT_EQ(fake::NowMs(), 1000u);
}

TEST_F(ReadReplyTest, SilenceAfterSomeBytesKeepsThemWithoutNul) {
  const Reply r = ReadWith(" 12", 32);
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.stored.substr(0, 4), " 12#");
  EXPECT_EQ(fake::NowMs(), 1000u);  // one further time-out
  EXPECT_EQ(fake::CallsOf(Op::Read).size(), 4u);
}

TEST_F(ReadReplyTest, TheTimeoutBoundsEachByteNotTheLine) {
  Port().timeouts.readTotalTimeoutConstant = 400;
  const std::string line = " 123\r\n";
  for (size_t i = 0; i < line.size(); ++i) fake::Arrive("COM1", 300 * (i + 1), line.substr(i, 1));
  char buffer[32];
  EXPECT_EQ(ReadReply(buffer, sizeof buffer, handle), 0);
  EXPECT_STREQ(buffer, " 123\r\n");
  EXPECT_EQ(fake::NowMs(), 1800u);
}

TEST_F(ReadReplyTest, AFailedReadGives1) {
  Port().input = " 123\r\n";
  fake::FailNext(Op::Read);
  char buffer[32];
  EXPECT_EQ(ReadReply(buffer, sizeof buffer, handle), 1);
}

TEST_F(ReadReplyTest, BuffersTooSmallForALine) {
  EXPECT_EQ(ReadWith("\r\n", 0).result, 1);
  EXPECT_EQ(ReadWith("\r\n", 1).result, 1);
  fake::Reset();
  ConfiguredDevice("COM1");
  handle = OpenOnFake("COM1");
  const Reply two = ReadWith("\r\n", 2);
  EXPECT_EQ(two.result, 1);
  EXPECT_TRUE(two.untouchedBeyond);
  const Reply three = ReadWith("\r\n", 3);
  EXPECT_EQ(three.result, 0);
  EXPECT_EQ(three.stored, std::string("\r\n\0", 3));
}

TEST_F(ReadReplyTest, LogsNothing) {
  ReadWith(std::string(50, 'x'), 32);
  ReadWith("", 32);
  EXPECT_TRUE(LogLines().empty());
}

}  // namespace
}  // namespace tcudv::test
