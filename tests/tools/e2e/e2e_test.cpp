// The host tool, through LdiMain and the real driver, against the simulator on a
// pseudo-terminal: what a person wiring a host to a line of controllers sees.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../host/run_tool.h"
#include "support/sim_process.h"

namespace tcudv::test {
namespace {

using host::test::Has;
using host::test::Joined;
using host::test::RunTool;
using host::test::ToolRun;

// Every node's values, from the simulator's state file: node -> mnemonic -> text.
using SimState = std::map<int, std::map<std::string, std::string>>;

SimState ReadState(const std::string& path) {
  SimState state;
  for (const std::string& line : FileLines(path)) {
    std::istringstream words(line);
    int node = 0;
    for (std::string word; words >> word;) {
      const size_t equals = word.find('=');
      if (equals == std::string::npos) continue;
      const std::string key = word.substr(0, equals);
      const std::string value = word.substr(equals + 1);
      if (key == "node") {
        node = std::stoi(value);
      } else {
        state[node][key] = value;
      }
    }
  }
  return state;
}

// A line of controllers: the simulator with a state file, TMP held still.
class Line {
 public:
  explicit Line(std::vector<std::string> args)
      : directory_(MakeTempDirectory("e2e")), statePath_(directory_ + "/state") {
    args.insert(args.end(), {"--drift", "0", "--state-file", statePath_});
    sim_ = std::make_unique<SimProcess>(TCUDV_SIM_PATH, args);
  }

  bool Started() const { return sim_->Started(); }

  ToolRun Tool(const std::string& command, std::vector<std::string> args) const {
    args.insert(args.begin(), {command, sim_->PortName()});
    return RunTool(args, directory_);
  }

  SimState State() const { return ReadState(statePath_); }

 private:
  std::string directory_;
  std::string statePath_;
  std::unique_ptr<SimProcess> sim_;
};

TEST(EndToEnd, ReadsEveryGateTypeOnSeveralNodes) {
  Line line({"--nodes", "1-3,7", "--decimals", "2:SET=1"});
  ASSERT_TRUE(line.Started());
  const ToolRun run = line.Tool("read", {"01TMP", "02TMP", "03INP", "01SET", "02SET", "07PWR",
                                         "03RAT", "01INT", "02BIA", "07OST0", "07OST1", "07OST2"});
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  // Node n starts with TMP 20 + n and SET 100 + n; a cold node has output 1 on and alarm 2 latched.
  for (const char* expected : {"01TMP = 21.0", "02TMP = 22.0", "03INP = 23.0", "01SET = 101.0",
                               "02SET = 102.0", "07PWR = 50.0", "03RAT = 0.125", "01INT = 120",
                               "02BIA = 10", "07OST0 = 1", "07OST1 = 0", "07OST2 = 1"}) {
    EXPECT_TRUE(Has(run.out, expected)) << expected << " in\n" << run.out;
  }
}

TEST(EndToEnd, WrittenValuesAreReadBack) {
  Line line({"--nodes", "1,2"});
  ASSERT_TRUE(line.Started());
  const ToolRun write = line.Tool("write", {"01SET=150", "02PWR=42.5", "01INT=-25", "02OFP=-1.5"});
  ASSERT_EQ(write.exitCode, 0) << write.out << write.err;
  const SimState state = line.State();
  EXPECT_EQ(state.at(1).at("SET"), "150");
  EXPECT_EQ(state.at(2).at("PWR"), "42.5");
  EXPECT_EQ(state.at(1).at("INT"), "-25");

  const ToolRun read = line.Tool("read", {"01SET", "02PWR", "01INT", "02OFP"});
  EXPECT_EQ(read.exitCode, 0) << read.out << read.err;
  for (const char* expected : {"01SET = 150.0", "02PWR = 42.5", "01INT = -25", "02OFP = -1.5"}) {
    EXPECT_TRUE(Has(read.out, expected)) << expected << " in\n" << read.out;
  }
}

TEST(EndToEnd, ControlAndResetCommandsChangeTheControllersState) {
  Line line({"--nodes", "4"});
  ASSERT_TRUE(line.Started());
  EXPECT_EQ(line.State().at(4).at("CTR"), "1");
  EXPECT_EQ(line.State().at(4).at("A2R"), "1");

  EXPECT_EQ(line.Tool("write", {"04CTR=2", "04SEM=2"}).exitCode, 0);
  EXPECT_EQ(line.State().at(4).at("CTR"), "2");
  EXPECT_EQ(line.State().at(4).at("SEM"), "2");

  // The reset of alarm 2 clears its digit in the output status.
  EXPECT_TRUE(Has(line.Tool("read", {"04OST2"}).out, "04OST2 = 1"));
  EXPECT_EQ(line.Tool("write", {"04A2R=1"}).exitCode, 0);
  EXPECT_EQ(line.State().at(4).at("A2R"), "0");
  EXPECT_TRUE(Has(line.Tool("read", {"04OST2"}).out, "04OST2 = 0"));

  // A control value other than 1 or 2 is refused and changes nothing.
  const ToolRun refused = line.Tool("write", {"04CTR=3"});
  EXPECT_EQ(refused.exitCode, 1) << refused.out << refused.err;
  EXPECT_EQ(line.State().at(4).at("CTR"), "2");
}

struct FaultCase {
  const char* name;
  std::vector<std::string> simArgs;
  const char* gate;
  int exitCode;
};

// What each fault of the line must come to by the driver's rules: a dead line or
// node is a line failure (2); a parameter the node will not give while it answers
// TMP, or a "#" reply, is a refusal (1).
TEST(EndToEnd, EachFaultGivesTheResultTheDriversRulesPredict) {
  const std::vector<FaultCase> cases = {
      {"silent node", {"--nodes", "1,2", "--silent", "2"}, "02SET", 2},
      {"unanswered parameter", {"--nodes", "1", "--unanswered", "1:SET"}, "01SET", 1},
      {"unanswered word parameter", {"--nodes", "1", "--unanswered", "1:INT"}, "01INT", 1},
      {"hash reply, float gate", {"--nodes", "1", "--fault-rate", "hash=1"}, "01SET", 1},
      {"hash reply, word gate", {"--nodes", "1", "--fault-rate", "hash=1"}, "01INT", 1},
      {"garbage first character", {"--nodes", "1", "--fault-rate", "garbage=1"}, "01SET", 2},
      {"dropped replies", {"--nodes", "1", "--fault-rate", "drop=1"}, "01SET", 2},
      {"cut-off replies", {"--nodes", "1", "--fault-rate", "cut=1"}, "01SET", 2},
      {"over-long lines", {"--nodes", "1", "--fault-rate", "long=1"}, "01SET", 2},
      {"late replies",
       {"--nodes", "1", "--fault-rate", "delay=1", "--fault-delay", "3000"},
       "01SET",
       2},
      {"reply delay within the time-out", {"--nodes", "1", "--delay", "10"}, "01SET", 0},
  };
  for (const FaultCase& c : cases) {
    Line line(c.simArgs);
    ASSERT_TRUE(line.Started()) << c.name;
    const ToolRun run = line.Tool("read", {c.gate});
    EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << Joined(c.simArgs) << "\n"
                                        << run.out << run.err;
  }
}

TEST(EndToEnd, SilentNodeShowsItsGateZeroTestInTheLog) {
  Line line({"--nodes", "1,5", "--silent", "5"});
  ASSERT_TRUE(line.Started());
  const ToolRun run = line.Tool("read", {"05SET", "--log"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(Has(run.out, "05SET: line failure (result 2)")) << run.out;
  for (int attempt = 1; attempt <= 3; ++attempt) {
    const std::string retry =
        "LDIYY> DoRead() Read reply error retry " + std::to_string(attempt) + " for gate 0";
    EXPECT_TRUE(Has(run.err, retry)) << retry << " in\n" << run.err;
  }
  EXPECT_TRUE(Has(run.err, "LDIYY> DoRead() Test request error = PLC-comm. error")) << run.err;
}

TEST(EndToEnd, ScanFindsExactlyTheNodesThatExist) {
  Line line({"--nodes", "2,3,6", "--silent", "6"});
  ASSERT_TRUE(line.Started());
  const ToolRun run = line.Tool("scan", {"--nodes", "1-7"});
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_TRUE(Has(run.out, "2 of 7 nodes answer: 02 03")) << run.out;
}

TEST(EndToEnd, ExitCodesTellSuccessRefusalAndLineFailure) {
  Line line({"--nodes", "1,9", "--silent", "9"});
  ASSERT_TRUE(line.Started());
  const struct {
    std::vector<std::string> gates;
    int exitCode;
  } cases[] = {
      {{"01SET", "01TMP"}, 0},
      {{"01SET", "01XYZ"}, 1},
      {{"01CTR"}, 1},
      {{"01SET", "09SET", "01XYZ"}, 2},
  };
  for (const auto& c : cases) {
    const ToolRun run = line.Tool("read", c.gates);
    EXPECT_EQ(run.exitCode, c.exitCode) << Joined(c.gates) << "\n" << run.out << run.err;
  }
}

}  // namespace
}  // namespace tcudv::test
