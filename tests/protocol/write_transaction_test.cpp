// SingleWrite through LdiMain on the fake line: the frame sent (no reply is
// read), log lines and results.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "fake/fake_comm.h"
#include "fake_line.h"
#include "protocol/do_write.h"
#include "support/log_capture.h"

namespace tcudv::test {
namespace {

using Texts = std::vector<std::string>;

constexpr uint32_t kTmp = 0, kSet = 2, kPwr = 3, kInt = 5, kRat = 14, kCtr = 16, kSem = 17,
                   kOst = 18, kA1r = 26, kA2r = 27;
constexpr const char kNoFit[] = "LDIYY> Value doesn't fitt in width.";

class WriteTransaction : public FakeLine {};

struct WriteCase {
  const char* name;
  uint32_t node, param, type;
  Cell cell;
  int resolution;  // -1: the default
  int32_t result;
  const char* frame;    // null: nothing sent
  const char* message;  // the transaction's own line before SingleWrite's, or null
};

void PrintTo(const WriteCase& c, std::ostream* out) {
  *out << c.name;
}

class Writes : public WriteTransaction, public testing::WithParamInterface<WriteCase> {};

TEST_P(Writes, SendTheFrameOrRefuse) {
  const WriteCase& c = GetParam();
  if (c.resolution >= 0) ws.resolution[c.node][c.param] = static_cast<uint8_t>(c.resolution);
  Stale(" 1\r\n");
  Cell cell = c.cell;
  LdiGateIo io = Gate(c.node, c.param, c.type, -1, cell);
  EXPECT_EQ(Write(io), c.result);
  EXPECT_EQ(fake::Writes(), c.frame ? Texts{c.frame} : Texts{});
  EXPECT_TRUE(fake::CallsOf(fake::Op::Read).size() <= 1u) << "a write reads no reply";
  Texts log;
  if (c.message) log.push_back(c.message);
  if (c.result != 0)
    log.push_back("LDIYY> SingleWrite() , ret val is " + std::to_string(c.result) +
                  " block 'gate'");
  EXPECT_EQ(LogTexts(), log);
  EXPECT_EQ(cell, c.cell);
}

const float kNan = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Frames, Writes,
    testing::Values(
        WriteCase{"ResetA1r", 1, kA1r, 'B', WordCell(0), -1, 0, "N01RG*", nullptr},
        WriteCase{"ResetA2rWithValue", 9, kA2r, 'B', WordCell(7), -1, 0, "N09RH*", nullptr},
        WriteCase{"Control2", 5, kCtr, 'W', WordCell(2), -1, 0, "N05CS2*", nullptr},
        WriteCase{"ControlSem1", 5, kSem, 'W', WordCell(1), -1, 0, "N05CU1*", nullptr},
        WriteCase{"Control3", 5, kCtr, 'W', WordCell(3), -1, 1, nullptr, nullptr},
        WriteCase{"Control0", 5, kCtr, 'W', WordCell(0), -1, 1, nullptr, nullptr},
        WriteCase{"ControlAtResolution1", 5, kCtr, 'W', WordCell(1), 1, 1, nullptr, kNoFit},
        WriteCase{"Set150", 1, kSet, 'L', FloatCell(150.0f), -1, 0, "N01VB0150*", nullptr},
        WriteCase{"Set10000", 1, kSet, 'L', FloatCell(10000.0f), -1, 1, nullptr, kNoFit},
        WriteCase{"Set9999_5", 1, kSet, 'L', FloatCell(9999.5f), -1, 1, nullptr, kNoFit},
        WriteCase{"SetMinus12_35", 1, kSet, 'L', FloatCell(-12.35f), 1, 0, "N01VB-012.4*", nullptr},
        WriteCase{"SetMinus0_04", 1, kSet, 'L', FloatCell(-0.04f), 1, 0, "N01VB0000.0*", nullptr},
        WriteCase{"SetNegativeZero", 1, kSet, 'L', FloatCell(-0.0f), -1, 0, "N01VB0000*", nullptr},
        WriteCase{"SetMinus9999", 1, kSet, 'L', FloatCell(-9999.0f), -1, 0, "N01VB-9999*", nullptr},
        WriteCase{"Set2_675At2", 1, kSet, 'L', FloatCell(2.675f), 2, 0, "N01VB02.67*", nullptr},
        WriteCase{"Pwr50_5", 12, kPwr, 'L', FloatCell(50.5f), -1, 0, "N12VC050.5*", nullptr},
        WriteCase{"Rat1_25", 1, kRat, 'L', FloatCell(1.25f), -1, 0, "N01VO1.250*", nullptr},
        WriteCase{"IntWordMinus5", 1, kInt, 'W', WordCell(0xFFFB), -1, 0, "N01VE-0005*", nullptr},
        WriteCase{"IntWord32767", 1, kInt, 'W', WordCell(0x7FFF), -1, 1, nullptr, kNoFit},
        WriteCase{"SetNan", 1, kSet, 'L', FloatCell(kNan), -1, 1, nullptr, kNoFit},
        WriteCase{"SetMinusNan", 1, kSet, 'L', FloatCell(-kNan), -1, 1, nullptr, kNoFit},
        WriteCase{"SetInfinity", 1, kSet, 'L', FloatCell(kInf), -1, 1, nullptr, kNoFit},
        WriteCase{"SetOfTypeB", 1, kSet, 'B', FloatCell(150.0f), -1, 1, nullptr, nullptr},
        WriteCase{"TmpNotWritable", 1, kTmp, 'L', FloatCell(1.0f), -1, 1, nullptr,
                  "LDIYY> Gate 0 cannot be written."},
        WriteCase{"OstNotWritable", 1, kOst, 'W', WordCell(1), -1, 1, nullptr,
                  "LDIYY> Gate 18 cannot be written."}));

TEST_F(WriteTransaction, OstBitGateIsRefusedBeforeAnyWordIsRead) {
  Cell cell = WordCell(1);
  LdiGateIo io = Gate(1, kOst, 'W', 3, cell);
  EXPECT_EQ(Write(io), 1);
  EXPECT_TRUE(fake::Writes().empty());
  EXPECT_EQ(LogTexts(), (Texts{"LDIYY> Gate 18 cannot be written.",
                               "LDIYY> SingleWrite() , ret val is 1 block 'gate'"}));
}

TEST_F(WriteTransaction, PortClosedIsRefusedWithOnlySingleWritesLine) {
  ws.portHandle = 0;
  Cell cell = FloatCell(150.0f);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  EXPECT_EQ(Write(io), 1);
  EXPECT_TRUE(fake::Calls().empty());
  EXPECT_EQ(LogTexts(), Texts{"LDIYY> SingleWrite() , ret val is 1 block 'gate'"});
}

TEST_F(WriteTransaction, SendFailingOnceIsRetried) {
  fake::FailNext(fake::Op::Write);
  Stale(" 1\r\n");
  Cell cell = FloatCell(150.0f);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  EXPECT_EQ(Write(io), 0);
  EXPECT_EQ(fake::CallsOf(fake::Op::Write).size(), 2u);
  EXPECT_EQ(fake::Writes(), Texts{"N01VB0150*"});
  EXPECT_EQ(LogTexts(), (Texts{"LDIYY> Send() Unable to send message.",
                               "LDIYY> DoWrite() Send request error retry 1"}));
  EXPECT_EQ(PendingInput(), "");
}

TEST_F(WriteTransaction, SendFailingThreeTimesFailsWithTwo) {
  fake::FailAlways(fake::Op::Write);
  Cell cell = FloatCell(150.0f);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  EXPECT_EQ(Write(io), 2);
  EXPECT_EQ(fake::CallsOf(fake::Op::Write).size(), 3u);
  EXPECT_EQ(
      LogTexts(),
      (Texts{"LDIYY> Send() Unable to send message.", "LDIYY> DoWrite() Send request error retry 1",
             "LDIYY> Send() Unable to send message.", "LDIYY> DoWrite() Send request error retry 2",
             "LDIYY> Send() Unable to send message.", "LDIYY> DoWrite() Send request error retry 3",
             "LDIYY> SingleWrite() , ret val is 2 block 'gate'"}));
}

TEST_F(WriteTransaction, EveryAttemptEmptiesTheInputFirst) {
  fake::FailNext(fake::Op::Write, 2);
  Cell cell = FloatCell(150.0f);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  Stale("left over\r\n");
  EXPECT_EQ(Write(io), 0);
  // Between the end of one send (RTS dropped) and the gap of the next, the
  // input is queried and emptied.
  size_t purgedAttempts = 0;
  bool queried = false;
  for (const std::string& line : fake::Trace()) {
    if (line == "ClearRts") queried = false;
    if (line == "ClearError") queried = true;
    if (line == "Sleep 100" && queried) ++purgedAttempts;
  }
  EXPECT_EQ(purgedAttempts, 3u);
  EXPECT_EQ(fake::CallsOf(fake::Op::Write).size(), 3u);
  EXPECT_EQ(PendingInput(), "");
}

TEST_F(WriteTransaction, OnlyTheSingleWriteCodeBuildsAFrame) {
  Cell cell = FloatCell(150.0f);
  LdiGateIo io = Gate(1, kSet, 'L', -1, cell);
  for (uint32_t operation : {10u, 5u, 0u, 0x108u}) {
    ClearLog();
    LdiCall call = CallFor(io, operation);
    EXPECT_EQ(DoWrite(&call, operation), 1) << operation;
    EXPECT_EQ(LogTexts(), Texts{"LDIYY> Block write not possible."});
  }
  EXPECT_TRUE(fake::Writes().empty());
  LdiCall call = CallFor(io, 0x107);  // only the low 8 bits count
  EXPECT_EQ(DoWrite(&call, 0x107), 0);
  EXPECT_EQ(fake::Writes(), Texts{"N01VB0150*"});
}

TEST_F(WriteTransaction, MissingLabelRecordOrCellIsRefusedWithAnEmptyLabel) {
  Cell cell = FloatCell(150.0f);
  LdiGateIo io = Gate(1, kTmp, 'L', -1, cell);
  io.label = nullptr;
  EXPECT_EQ(Write(io), 1);
  EXPECT_EQ(LogTexts(), (Texts{"LDIYY> Gate 0 cannot be written.",
                               "LDIYY> SingleWrite() , ret val is 1 block ''"}));

  LdiGateIo good = Gate(1, kSet, 'L', -1, cell);
  LdiCall noRecord = CallFor(good, LDI_OP_SINGLE_WRITE);
  noRecord.record = nullptr;
  LdiCall noWorkspace = CallFor(good, LDI_OP_SINGLE_WRITE);
  noWorkspace.workspace = nullptr;
  LdiGateIo noCellIo = good;
  noCellIo.value = nullptr;
  LdiCall noCell = CallFor(noCellIo, LDI_OP_SINGLE_WRITE);
  const struct {
    LdiCall* call;
    const char* line;
  } cases[] = {{&noRecord, "LDIYY> SingleWrite() , ret val is 1 block ''"},
               {&noWorkspace, "LDIYY> SingleWrite() , ret val is 1 block 'gate'"},
               {&noCell, "LDIYY> SingleWrite() , ret val is 1 block 'gate'"}};
  for (const auto& c : cases) {
    ClearLog();
    EXPECT_EQ(LdiMain(c.call), 1);
    EXPECT_EQ(LogTexts(), Texts{c.line});
  }
  EXPECT_TRUE(fake::Writes().empty());
}

TEST_F(WriteTransaction, RecordsOutOfRangeAreRefusedBeforeAnythingIsSent) {
  struct Bad {
    uint32_t node, param;
    int32_t bit;
  } const cases[] = {{0, kSet, -1},       {100, kSet, -1}, {1, 28, -1},
                     {1, 0xFFFFFFFF, -1}, {1, kInt, 4},    {1, kInt, -2}};
  for (const Bad& c : cases) {
    fake::ClearCalls();
    ClearLog();
    Cell cell = WordCell(1);
    LdiGateIo io = Gate(c.node, c.param, 'W', c.bit, cell);
    EXPECT_EQ(Write(io), 1) << c.node << " " << c.param << " " << c.bit;
    EXPECT_TRUE(fake::Calls().empty()) << c.node << " " << c.param << " " << c.bit;
    EXPECT_EQ(LogTexts(), Texts{"LDIYY> SingleWrite() , ret val is 1 block 'gate'"});
  }
}

// Bit writes: the word is read first, one digit replaced, the whole word sent.
struct BitWrite {
  const char* word;  // the controller's reply to the read
  int32_t bit;
  uint16_t digit;
  int32_t result;
  const char* frame;  // null: no write frame
};

void PrintTo(const BitWrite& c, std::ostream* out) {
  *out << "word" << c.word << " bit " << c.bit << " digit " << c.digit;
}

class BitWrites : public WriteTransaction, public testing::WithParamInterface<BitWrite> {};

TEST_P(BitWrites, ReadTheWordAndWriteItBack) {
  const BitWrite& c = GetParam();
  Answer("N01TE*", std::string(c.word) + "\r\n");
  Cell cell = WordCell(c.digit);
  LdiGateIo io = Gate(1, kInt, 'W', c.bit, cell);
  io.aux = 77;
  EXPECT_EQ(Write(io), c.result);
  Texts frames{"N01TE*"};
  if (c.frame) frames.push_back(c.frame);
  EXPECT_EQ(fake::Writes(), frames);
  EXPECT_EQ(io.bit, c.bit);
  EXPECT_EQ(io.aux, 77u);
  EXPECT_EQ(cell, WordCell(c.digit));
  if (c.result == 0) {
    EXPECT_TRUE(LogTexts().empty());
  } else {
    EXPECT_EQ(LogTexts().back(), "LDIYY> SingleWrite() , ret val is 1 block 'gate'");
  }
}

INSTANTIATE_TEST_SUITE_P(Digits, BitWrites,
                         testing::Values(BitWrite{" 1010", 2, 1, 0, "N01VE1110*"},
                                         BitWrite{" 105", 0, 0, 0, "N01VE0100*"},
                                         BitWrite{" 0", 3, 1, 0, "N01VE1000*"},
                                         BitWrite{" 9999", 1, 0, 0, "N01VE9909*"},
                                         BitWrite{" 1234", 3, 9, 0, "N01VE9234*"},
                                         BitWrite{" 1234", 1, 3, 0, "N01VE1234*"},
                                         // Words beyond four digits, and negative ones
                                         // taken as unsigned, fail the width check.
                                         BitWrite{" 65535", 0, 1, 1, nullptr},
                                         BitWrite{"-1", 2, 0, 1, nullptr},
                                         BitWrite{" 12345", 0, 0, 1, nullptr}));

TEST_F(WriteTransaction, BitWriteOfAWordTooWideLogsTheWidth) {
  Answer("N01TE*", " 12345\r\n");
  Cell cell = WordCell(1);
  LdiGateIo io = Gate(1, kInt, 'W', 0, cell);
  EXPECT_EQ(Write(io), 1);
  EXPECT_EQ(LogTexts(), (Texts{kNoFit, "LDIYY> SingleWrite() , ret val is 1 block 'gate'"}));
}

TEST_F(WriteTransaction, BitWriteOfADigitAbove9SendsNothing) {
  for (uint16_t digit : {10, 0xFFFF}) {
    fake::ClearCalls();
    ClearLog();
    Cell cell = WordCell(digit);
    LdiGateIo io = Gate(1, kInt, 'W', 1, cell);
    EXPECT_EQ(Write(io), 1);
    EXPECT_TRUE(fake::Writes().empty());
    EXPECT_EQ(LogTexts(), Texts{"LDIYY> SingleWrite() , ret val is 1 block 'gate'"});
    EXPECT_EQ(cell, WordCell(digit));
  }
}

TEST_F(WriteTransaction, BitWriteWhoseReadFailsReturnsTheReadsResult) {
  // The node is silent: the inner read makes its gate-0 test and fails with 2.
  Cell cell = WordCell(1);
  LdiGateIo io = Gate(1, kInt, 'W', 2, cell);
  io.aux = 77;
  EXPECT_EQ(Write(io), 2);
  EXPECT_EQ(fake::Writes(), (Texts{"N01TE*", "N01TA*", "N01TA*", "N01TA*"}));
  EXPECT_EQ(LogTexts(), (Texts{"LDIYY> DoRead() Read reply error retry 1 for gate 0",
                               "LDIYY> DoRead() Read reply error retry 2 for gate 0",
                               "LDIYY> DoRead() Read reply error retry 3 for gate 0",
                               "LDIYY> DoRead() Test request error = PLC-comm. error",
                               "LDIYY> SingleRead(), ret val is 2",
                               "LDIYY> BuildWriteReq() WORD read for bit write, rc 2",
                               "LDIYY> SingleWrite() , ret val is 2 block 'gate'"}));
  EXPECT_EQ(io.bit, 2);
  EXPECT_EQ(io.aux, 77u);
  EXPECT_EQ(cell, WordCell(1));
}

TEST_F(WriteTransaction, BitWriteOfAnUnansweredParameterReturnsOne) {
  AnswerAlways("N01TA*", " 20\r\n");
  Cell cell = WordCell(1);
  LdiGateIo io = Gate(1, kInt, 'W', 0, cell);
  EXPECT_EQ(Write(io), 1);
  EXPECT_EQ(fake::Writes(), (Texts{"N01TE*", "N01TA*", "N01TE*", "N01TE*"}));
  EXPECT_EQ(LogTexts().back(), "LDIYY> SingleWrite() , ret val is 1 block 'gate'");
  EXPECT_EQ(LogTexts()[LogTexts().size() - 2],
            "LDIYY> BuildWriteReq() WORD read for bit write, rc 1");
  EXPECT_EQ(cell, WordCell(1));
}

}  // namespace
}  // namespace tcudv::test
