// SingleRead through LdiMain on the fake line: frames sent, log lines, results
// and the value cell's bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fake/fake_comm.h"
#include "fake_line.h"
#include "protocol/do_read.h"
#include "support/log_capture.h"

namespace tcudv::test {
namespace {

using Texts = std::vector<std::string>;

constexpr uint32_t kTmp = 0, kSet = 2, kInt = 5, kCtr = 16, kOst = 18, kHcr = 25;

class ReadTransaction : public FakeLine {};

TEST_F(ReadTransaction, PortClosedIsRefusedWithoutTouchingTheLine) {
  ws.portHandle = 0;
  Cell cell = FloatCell(1.5f);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  EXPECT_EQ(Read(io), 1);
  EXPECT_EQ(LogTexts(), Texts{"LDIYY> SingleRead(), ret val is 1"});
  EXPECT_TRUE(fake::Calls().empty());
  EXPECT_EQ(cell, FloatCell(1.5f));
}

TEST_F(ReadTransaction, UnreadableParameterEmptiesTheInputAndSendsNothing) {
  Stale(" 7\r\n");
  Cell cell = WordCell(1);
  LdiGateIo io = Gate(5, kCtr, 'W', -1, cell);
  EXPECT_EQ(Read(io), 1);
  EXPECT_EQ(LogTexts(),
            (Texts{"LDIYY> Gate 16 cannot be read.", "LDIYY> SingleRead(), ret val is 1"}));
  EXPECT_TRUE(fake::Writes().empty());
  EXPECT_EQ(PendingInput(), "");
  EXPECT_EQ(cell, WordCell(1));
}

// One frame, one reply, the cell as the gate's type and bit say.
struct GoodRead {
  uint32_t node, param, type;
  int32_t bit;
  const char* frame;
  const char* reply;
  Cell cell;
};

class GoodReads : public ReadTransaction, public testing::WithParamInterface<GoodRead> {};

TEST_P(GoodReads, StoreTheConvertedReply) {
  const GoodRead& c = GetParam();
  Answer(c.frame, c.reply);
  Stale("junk before the read\r\n");
  Cell cell = c.type == 'L' ? FloatCell(-999.0f) : WordCell(0x7777);
  LdiGateIo io = Gate(c.node, c.param, c.type, c.bit, cell);
  EXPECT_EQ(Read(io), 0);
  EXPECT_EQ(fake::Writes(), Texts{c.frame});
  EXPECT_TRUE(LogTexts().empty());
  EXPECT_EQ(cell, c.cell);
}

INSTANTIATE_TEST_SUITE_P(
    Gates, GoodReads,
    testing::Values(GoodRead{1, kSet, 'L', -1, "N01TB*", " 150.0\r\n", FloatCell(150.0f)},
                    GoodRead{5, kTmp, 'L', -1, "N05TA*", " 12.5\r\n", FloatCell(12.5f)},
                    GoodRead{5, 1, 'L', -1, "N05TA*", "-12.5\r\n", FloatCell(-12.5f)},
                    GoodRead{5, 23, 'W', -1, "N05TBB*", " 3\r\n", WordCell(3)},
                    GoodRead{5, 24, 'L', -1, "N05TBB*", " 3.5\r\n", FloatCell(3.5f)},
                    GoodRead{12, kHcr, 'L', -1, "N12THC*", " 0.25\r\n", FloatCell(0.25f)},
                    GoodRead{99, kInt, 'W', -1, "N99TE*", " 12.7\r\n", WordCell(12)},
                    GoodRead{1, kInt, 'W', -1, "N01TE*", "-5\r\n", WordCell(0xFFFB)},
                    GoodRead{1, kInt, 'W', -1, "N01TE*", " 70000\r\n", WordCell(70000 & 0xFFFF)},
                    GoodRead{3, kOst, 'W', 3, "N03TW*", " 1000\r\n", WordCell(1)},
                    GoodRead{3, kOst, 'W', 0, "N03TW*", " 1000\r\n", WordCell(0)},
                    GoodRead{3, kOst, 'W', 1, "N03TW*", " 1010\r\n", WordCell(1)},
                    GoodRead{3, kOst, 'W', 2, "N03TW*", " 1010\r\n", WordCell(0)},
                    GoodRead{3, kOst, 'W', 2, "N03TW*", " 98765\r\n", WordCell(7)}));

TEST_F(ReadTransaction, SilentNodeEndsAfterTheGateZeroTestWithTwo) {
  Cell cell = FloatCell(21.0f);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  EXPECT_EQ(Read(io), 2);
  EXPECT_EQ(fake::Writes(), (Texts{"N01TB*", "N01TA*", "N01TA*", "N01TA*"}));
  EXPECT_EQ(LogTexts(), (Texts{"LDIYY> DoRead() Read reply error retry 1 for gate 0",
                               "LDIYY> DoRead() Read reply error retry 2 for gate 0",
                               "LDIYY> DoRead() Read reply error retry 3 for gate 0",
                               "LDIYY> DoRead() Test request error = PLC-comm. error",
                               "LDIYY> SingleRead(), ret val is 2"}));
  EXPECT_EQ(io.param, kSet);
  EXPECT_EQ(cell, FloatCell(21.0f));
  EXPECT_EQ(std::string(ws.requestBuffer), "N01TB*");  // the gate's frame stands again
}

TEST_F(ReadTransaction, ParameterUnansweredWhileTmpAnswersEndsWithOneAndKeepsTheCell) {
  AnswerAlways("N01TA*", " 85.0\r\n");
  Cell cell = FloatCell(21.0f);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  EXPECT_EQ(Read(io), 1);
  EXPECT_EQ(fake::Writes(), (Texts{"N01TB*", "N01TA*", "N01TB*", "N01TB*"}));
  EXPECT_EQ(LogTexts(), (Texts{"LDIYY> DoRead() Read reply error retry 2 for gate 2",
                               "LDIYY> DoRead() Read reply error retry 3 for gate 2",
                               "LDIYY> SingleRead(), ret val is 1"}));
  EXPECT_EQ(io.param, kSet);
  EXPECT_EQ(cell, FloatCell(21.0f));  // not the temperature of the test
}

TEST_F(ReadTransaction, ReplyAfterTheGateZeroTestIsConvertedOverTheKeptCell) {
  AnswerAlways("N07TA*", " 85\r\n");
  Answer("N07TE*", "", 2);
  Answer("N07TE*", " 40\r\n");
  Cell cell = WordCell(9);
  LdiGateIo io = Gate(7, kInt, 'W', -1, cell);
  EXPECT_EQ(Read(io), 0);
  EXPECT_EQ(fake::Writes(), (Texts{"N07TE*", "N07TA*", "N07TE*", "N07TE*"}));
  EXPECT_EQ(LogTexts(), (Texts{"LDIYY> DoRead() Read reply error retry 2 for gate 5"}));
  EXPECT_EQ(cell, WordCell(40));
}

TEST_F(ReadTransaction, InputLeftByTheGateZeroTestIsEmptiedBeforeTheNextAttempt) {
  // A second line behind the TMP reply would pass for the gate's reply.
  AnswerAlways("N01TA*", " 85\r\n 99\r\n");
  Cell cell = WordCell(9);
  LdiGateIo io = Gate(1, kInt, 'W', -1, cell);
  EXPECT_EQ(Read(io), 1);
  EXPECT_EQ(cell, WordCell(9));
}

TEST_F(ReadTransaction, SilentTmpGateFailsWithTwoAndMakesNoTest) {
  Cell cell = FloatCell(21.0f);
  LdiGateIo io = Gate(4, kTmp, 'L', -1, cell);
  EXPECT_EQ(Read(io), 2);
  EXPECT_EQ(fake::Writes(), (Texts{"N04TA*", "N04TA*", "N04TA*"}));
  EXPECT_EQ(LogTexts(), (Texts{"LDIYY> DoRead() Read reply error retry 1 for gate 0",
                               "LDIYY> DoRead() Read reply error retry 2 for gate 0",
                               "LDIYY> DoRead() Read reply error retry 3 for gate 0",
                               "LDIYY> SingleRead(), ret val is 2"}));
  EXPECT_EQ(cell, FloatCell(21.0f));
}

TEST_F(ReadTransaction, ReplyLongerThanTheReplyBufferIsNoReply) {
  const std::string fits = " " + std::string(27, '0') + "7";  // 29 characters and CR LF
  Answer("N02TA*", fits + "\r\n");
  Cell cell = FloatCell(0.0f);
  LdiGateIo io = Gate(2, kTmp, 'L', -1, cell);
  EXPECT_EQ(Read(io), 0);
  EXPECT_EQ(cell, FloatCell(7.0f));

  ClearLog();
  Answer("N02TA*", fits + "0\r\n");
  EXPECT_EQ(Read(io), 2);
  EXPECT_EQ(LogTexts(), (Texts{"LDIYY> DoRead() Read reply error retry 1 for gate 0",
                               "LDIYY> DoRead() Read reply error retry 2 for gate 0",
                               "LDIYY> DoRead() Read reply error retry 3 for gate 0",
                               "LDIYY> SingleRead(), ret val is 2"}));
  EXPECT_EQ(cell, FloatCell(7.0f));
  EXPECT_EQ(std::string(ws.requestBuffer), "N02TA*");  // right behind the reply buffer
}

TEST_F(ReadTransaction, InvalidRepliesOnEveryAttemptFailWithTwo) {
  AnswerAlways("N01TB*", "12.5\r\n");
  Cell cell = FloatCell(21.0f);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  EXPECT_EQ(Read(io), 2);
  EXPECT_EQ(fake::Writes(), (Texts{"N01TB*", "N01TB*", "N01TB*"}));
  EXPECT_EQ(LogTexts(), (Texts{"LDIYY> DoRead() Read reply invalid retry 1",
                               "LDIYY> DoRead() Read reply invalid retry 2",
                               "LDIYY> DoRead() Read reply invalid retry 3",
                               "LDIYY> SingleRead(), ret val is 2"}));
  EXPECT_EQ(cell, FloatCell(21.0f));
}

TEST_F(ReadTransaction, InvalidReplyThenGoodReplyIsRead) {
  Answer("N01TB*", "+12.5\r\n");
  Answer("N01TB*", " 12.5\r\n");
  Cell cell = FloatCell(0.0f);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  EXPECT_EQ(Read(io), 0);
  EXPECT_EQ(LogTexts(), Texts{"LDIYY> DoRead() Read reply invalid retry 1"});
  EXPECT_EQ(cell, FloatCell(12.5f));
}

TEST_F(ReadTransaction, SendFailureThenSilenceMakesNoGateZeroTest) {
  fake::FailNext(fake::Op::Write);
  Cell cell = FloatCell(21.0f);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  EXPECT_EQ(Read(io), 1);
  EXPECT_EQ(fake::CallsOf(fake::Op::Write).size(), 3u);
  EXPECT_EQ(fake::Writes(), (Texts{"N01TB*", "N01TB*"}));
  EXPECT_EQ(LogTexts(), (Texts{"LDIYY> Send() Unable to send message.",
                               "LDIYY> DoRead() Send request error retry 1 for gate 2",
                               "LDIYY> DoRead() Read reply error retry 2 for gate 2",
                               "LDIYY> DoRead() Read reply error retry 3 for gate 2",
                               "LDIYY> SingleRead(), ret val is 1"}));
}

TEST_F(ReadTransaction, SendFailingEveryTimeFailsWithTwo) {
  fake::FailAlways(fake::Op::Write);
  Cell cell = FloatCell(21.0f);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  EXPECT_EQ(Read(io), 2);
  EXPECT_EQ(fake::CallsOf(fake::Op::Write).size(), 3u);
  EXPECT_EQ(fake::CallsOf(fake::Op::Read).size(), 0u);
  EXPECT_EQ(LogTexts().back(), "LDIYY> SingleRead(), ret val is 2");
  EXPECT_EQ(LogTexts()[1], "LDIYY> DoRead() Send request error retry 1 for gate 2");
  EXPECT_EQ(LogTexts()[5], "LDIYY> DoRead() Send request error retry 3 for gate 2");
}

// Replies that pass the first-character check but carry no value: result 1,
// one frame, the cell as it was.
struct NoValue {
  uint32_t type;
  const char* reply;
};

class RepliesWithoutAValue : public ReadTransaction, public testing::WithParamInterface<NoValue> {};

TEST_P(RepliesWithoutAValue, AreRefusedAndLeaveTheCell) {
  Answer("N01TE*", GetParam().reply);
  Cell cell = GetParam().type == 'L' ? FloatCell(21.0f) : WordCell(21);
  const Cell before = cell;
  LdiGateIo io = Gate(1, kInt, GetParam().type, -1, cell);
  EXPECT_EQ(Read(io), 1);
  EXPECT_EQ(fake::Writes(), Texts{"N01TE*"});
  EXPECT_EQ(LogTexts(), Texts{"LDIYY> SingleRead(), ret val is 1"});
  EXPECT_EQ(cell, before);
}

INSTANTIATE_TEST_SUITE_P(Replies, RepliesWithoutAValue,
                         testing::Values(NoValue{'L', " #####\r\n"}, NoValue{'L', "-#\r\n"},
                                         NoValue{'L', " \r\n"}, NoValue{'L', "-\r\n"},
                                         NoValue{'L', " abc\r\n"}, NoValue{'W', " #12\r\n"},
                                         NoValue{'W', " \r\n"}, NoValue{'W', "- 5\r\n"},
                                         NoValue{'W', " 4294967296\r\n"}));

TEST_F(ReadTransaction, WordReplyOfThirtyTwoBitsIsTakenModuloTheWord) {
  Answer("N01TE*", " 4294967295\r\n");
  Cell cell = WordCell(0);
  LdiGateIo io = Gate(1, kInt, 'W', -1, cell);
  EXPECT_EQ(Read(io), 0);
  EXPECT_EQ(cell, WordCell(0xFFFF));
}

TEST_F(ReadTransaction, GateOfOtherTypeSucceedsAndStoresNothing) {
  Answer("N01TB*", " 5\r\n");
  Cell cell = WordCell(3);
  LdiGateIo io = Gate(1, kSet, 'B', -1, cell);
  EXPECT_EQ(Read(io), 0);
  EXPECT_EQ(cell, WordCell(3));
}

// Records the parser never makes: refused with 1 before the line is touched.
TEST_F(ReadTransaction, RecordsOutOfRangeAreRefusedBeforeAnythingIsSent) {
  struct Bad {
    uint32_t node, param, type;
    int32_t bit;
  } const cases[] = {{0, kSet, 'L', -1}, {100, kSet, 'L', -1},      {0xFFFFFFFF, kSet, 'L', -1},
                     {1, 28, 'L', -1},   {1, 0xFFFFFFFF, 'W', -1},  {1, kOst, 'W', 4},
                     {1, kOst, 'W', -2}, {1, kOst, 'W', 0x7FFFFFFF}};
  for (const Bad& c : cases) {
    fake::ClearCalls();
    ClearLog();
    Stale(" 1\r\n");
    Cell cell = WordCell(5);
    LdiGateIo io = Gate(c.node, c.param, c.type, c.bit, cell);
    EXPECT_EQ(Read(io), 1) << c.node << " " << c.param << " " << c.bit;
    EXPECT_TRUE(fake::Calls().empty()) << c.node << " " << c.param << " " << c.bit;
    EXPECT_EQ(LogTexts(), Texts{"LDIYY> SingleRead(), ret val is 1"});
    EXPECT_EQ(cell, WordCell(5));
  }
}

TEST_F(ReadTransaction, MissingWorkspaceRecordOrCellIsRefused) {
  Cell cell = WordCell(5);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  LdiCall noWorkspace = CallFor(io, LDI_OP_SINGLE_READ);
  noWorkspace.workspace = nullptr;
  LdiCall noRecord = CallFor(io, LDI_OP_SINGLE_READ);
  noRecord.record = nullptr;
  LdiGateIo noCellIo = io;
  noCellIo.value = nullptr;
  LdiCall noCell = CallFor(noCellIo, LDI_OP_SINGLE_READ);
  for (LdiCall* call : {&noWorkspace, &noRecord, &noCell}) {
    ClearLog();
    EXPECT_EQ(LdiMain(call), 1);
    EXPECT_EQ(LogTexts(), Texts{"LDIYY> SingleRead(), ret val is 1"});
  }
  EXPECT_TRUE(fake::Calls().empty());
}

TEST_F(ReadTransaction, ConversionRefusesAnyOperationButSingleRead) {
  Answer("N01TB*", " 12.5\r\n");
  Cell cell = FloatCell(21.0f);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  LdiCall call = CallFor(io, LDI_OP_BLOCK_READ);
  EXPECT_EQ(DoRead(&call, LDI_OP_BLOCK_READ), 1);
  EXPECT_EQ(fake::Writes(), Texts{"N01TB*"});
  EXPECT_EQ(LogTexts(), Texts{"LDIYY> Blocks not supported."});
  EXPECT_EQ(cell, FloatCell(21.0f));
}

}  // namespace
}  // namespace tcudv::test
