#include "sim/simulator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/decimals_config.h"
#include "sim/frame_parser.h"

namespace tcudv::sim {
namespace {

LineConfig StillLine(std::set<int> nodes) {
  LineConfig config;
  config.nodes = std::move(nodes);
  config.driftMilliPerSecond = 0;
  return config;
}

// Feeds the frames at `ms` and gives back what each frame came to.
std::vector<Transaction> Send(Simulator& sim, const std::string& frames, int64_t ms = 0) {
  FrameParser parser;
  std::vector<ReceivedItem> items;
  parser.Feed(frames, items);
  std::vector<Transaction> out;
  for (const ReceivedItem& item : items) out.push_back(sim.Handle(item, ms));
  return out;
}

// The bytes the line sends back for the frames, all replies together.
std::string Replies(Simulator& sim, const std::string& frames, int64_t ms = 0) {
  std::string bytes;
  for (const Transaction& t : Send(sim, frames, ms)) bytes += t.reply;
  return bytes;
}

TEST(SimLine, AnswersReadsAndTakesWrites) {
  struct Case {
    const char* name;
    const char* frames;
    const char* replies;
  };
  const Case cases[] = {
      {"start values differ per node", "N01TA*N01TB*N02TA*N02TB*",
       " 21\r\n 101\r\n 22\r\n 102\r\n"},
      {"TMP and INP, RSP and SP2 are one value", "N01TA*N01TBB*", " 21\r\n 75.0\r\n"},
      {"default decimals", "N01TC*N01TO*N01TJ*N01THC*N01TAA*",
       " 50.0\r\n 0.125\r\n-2.5\r\n 12.5\r\n 25.3\r\n"},
      {"DEV is TMP less SET", "N01TI*", "-80\r\n"},
      {"a new setpoint is read back", "N01VB0150*N01TB*N01TI*", " 150\r\n-129\r\n"},
      {"a negative value", "N01VJ-010.5*N01TJ*", "-10.5\r\n"},
      {"more decimals than the node shows are rounded", "N01VB050.5*N01TB*", " 51\r\n"},
      {"a write to one node leaves the other", "N01VB0150*N02TB*", " 102\r\n"},
      {"alarm 2 stands at the start and a reset clears it", "N01TW*N01RH*N01TW*",
       " 0101\r\n 0001\r\n"},
      {"a low AL1 trips alarm 1, its reset clears only it", "N01VG0010*N01TW*N01RG*N01TW*",
       " 0111\r\n 0101\r\n"},
      {"a setpoint below the process turns output 2 on", "N01VB0010*N01TW*", " 1100\r\n"},
      {"a non-existent node answers nothing", "N09TA*N01TA*", " 21\r\n"},
      {"reads of CTR and SEM are not answered", "N01TS*N01TU*", ""},
      {"read-only values take no V", "N01VA0100*N01VW1111*N01VBB0010*N01TA*N01TW*N01TBB*",
       " 21\r\n 0101\r\n 75.0\r\n"},
      {"a bad value changes nothing", "N01VB1A*N01VB1.2.3*N01VB1000000*N01TB*", " 101\r\n"},
  };
  for (const Case& c : cases) {
    Simulator sim(StillLine({1, 2}));
    EXPECT_EQ(Replies(sim, c.frames), c.replies) << c.name;
  }
}

TEST(SimLine, OutcomesSayWhatWasDone) {
  struct Case {
    const char* frame;
    Outcome outcome;
    const char* detail;
  };
  const Case cases[] = {
      {"N01TB*", Outcome::kReply, "SET"},
      {"N01VB0150*", Outcome::kApplied, "SET=150"},
      {"N01VC050.5*", Outcome::kApplied, "PWR=50.5"},
      {"N01CS2*", Outcome::kApplied, "CTR=2"},
      {"N01CU1*", Outcome::kApplied, "SEM=1"},
      {"N01RG*", Outcome::kApplied, "A1R"},
      {"N01RH*", Outcome::kApplied, "A2R"},
      {"N09TB*", Outcome::kNoNode, ""},
      {"N09VB0150*", Outcome::kNoNode, ""},
      {"N03TB*", Outcome::kSilent, ""},
      {"N02TB*", Outcome::kUnanswered, "SET"},
      {"N02TA*", Outcome::kReply, "TMP"},
      {"N01TS*", Outcome::kIgnored, "not-readable"},
      {"N01VA0100*", Outcome::kIgnored, "not-writable"},
      {"N01VS1*", Outcome::kIgnored, "not-writable"},
      {"N01CB1*", Outcome::kIgnored, "no-control"},
      {"N01CS3*", Outcome::kIgnored, "bad-mode"},
      {"N01CS1.5*", Outcome::kIgnored, "bad-mode"},
      {"N01RB*", Outcome::kIgnored, "no-reset"},
      {"N01VB12a*", Outcome::kIgnored, "bad-value"},
      {"N00TA*", Outcome::kIgnored, "bad-node"},
  };
  LineConfig config = StillLine({1, 2});
  config.silent = {3};
  config.unanswered[2] = {kIdB};
  Simulator sim(config);
  for (const Case& c : cases) {
    const std::vector<Transaction> t = Send(sim, c.frame);
    ASSERT_EQ(t.size(), 1u) << c.frame;
    EXPECT_EQ(t[0].outcome, c.outcome) << c.frame;
    EXPECT_EQ(t[0].detail, c.detail) << c.frame;
    EXPECT_EQ(t[0].reply.empty(), c.outcome != Outcome::kReply) << c.frame;
  }
}

TEST(SimLine, ControlChangesTheModeAndSilentNodesStillTakeWrites) {
  LineConfig config = StillLine({1});
  config.silent = {4};
  Simulator sim(config);
  Send(sim, "N01CS2*N01CU2*N01CS1*N04VB0150*N04CS2*");
  EXPECT_EQ(sim.nodes().at(1).Mode(kIdS), 1);
  EXPECT_EQ(sim.nodes().at(1).Mode(kIdU), 2);
  EXPECT_EQ(sim.nodes().at(4).Value(kIdB), 150000);
  EXPECT_EQ(sim.nodes().at(4).Mode(kIdS), 2);
  EXPECT_EQ(Replies(sim, "N04TB*"), "");
}

TEST(SimLine, RepliesCarryEachNodesDecimals) {
  LineConfig config = StillLine({1, 5});
  ASSERT_EQ(ApplyDecimalsOption("5:SET=1,PWR=0,RAT=1", config.decimals), "");
  ASSERT_EQ(ApplyDecimalsOption("1:RESOLUTION=2", config.decimals), "");
  Simulator sim(config);
  EXPECT_EQ(Replies(sim, "N05TB*N05TC*N05TO*N05TA*"), " 105.0\r\n 50\r\n 0.1\r\n 25\r\n");
  EXPECT_EQ(Replies(sim, "N05VB0150.5*N05TB*"), " 150.5\r\n");
  // RESOLUTION covers TMP, SET, AL1, AL2, DEV and CDB, not PWR.
  EXPECT_EQ(Replies(sim, "N01TA*N01TB*N01TG*N01TH*N01TI*N01TM*N01TC*"),
            " 21.00\r\n 101.00\r\n 201.00\r\n 51.00\r\n-80.00\r\n 5.00\r\n 50.0\r\n");
}

TEST(SimLine, ProcessValueDriftsTowardTheSetpoint) {
  LineConfig config = StillLine({1});
  config.driftMilliPerSecond = 500;
  Simulator sim(config);
  EXPECT_EQ(Replies(sim, "N01TA*", 0), " 21\r\n");
  EXPECT_EQ(Replies(sim, "N01TA*", 10'000), " 26\r\n");
  EXPECT_EQ(Replies(sim, "N01TA*", 10'999), " 26\r\n");  // 26.499 rounds down
  EXPECT_EQ(Replies(sim, "N01TA*", 11'000), " 27\r\n");
  EXPECT_EQ(Replies(sim, "N01TA*N01TI*", 1'000'000), " 101\r\n 0\r\n");
  // Down again after a lower setpoint; the high alarm latches on the way up and stays.
  Send(sim, "N01VG0120*N01VB0150*", 1'000'000);
  EXPECT_EQ(Replies(sim, "N01TA*N01TW*", 1'100'000), " 150\r\n 0110\r\n");
  Send(sim, "N01VB0100*", 1'100'000);
  EXPECT_EQ(Replies(sim, "N01TA*N01TW*", 1'110'000), " 145\r\n 1110\r\n");
  EXPECT_EQ(Replies(sim, "N01RG*N01TW*", 1'110'000), " 1100\r\n");
}

TEST(SimLine, DelaysAndFaultsShapeTheReply) {
  LineConfig config = StillLine({1});
  config.delayMs = 120;
  config.lateDelayMs = 900;
  Simulator plain(config);
  const Transaction t = Send(plain, "N01TB*")[0];
  EXPECT_EQ(t.delayMs, 120);
  EXPECT_EQ(t.fault, Fault::kNone);

  config.faultRates[static_cast<int>(Fault::kDelay)] = 1.0;
  Simulator late(config);
  const Transaction d = Send(late, "N01TB*")[0];
  EXPECT_EQ(d.fault, Fault::kDelay);
  EXPECT_EQ(d.delayMs, 900);
  EXPECT_EQ(d.reply, " 101\r\n");

  // Faults apply to replies only: frames that get none draw nothing.
  config.faultRates = {};
  config.faultRates[static_cast<int>(Fault::kDrop)] = 0.5;
  config.silent = {2};
  Simulator a(config);
  Simulator b(config);
  std::vector<Fault> faultsA;
  std::vector<Fault> faultsB;
  for (int i = 0; i < 40; ++i) {
    faultsA.push_back(Send(a, "N01TB*")[0].fault);
    Send(b, "N02TB*N01VB0101*N09TA*N01TS*");
    faultsB.push_back(Send(b, "N01TB*")[0].fault);
  }
  EXPECT_EQ(faultsA, faultsB);
}

}  // namespace
}  // namespace tcudv::sim
