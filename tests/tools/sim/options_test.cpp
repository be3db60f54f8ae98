#include "sim/options.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "sim/decimals_config.h"

namespace tcudv::sim {
namespace {

TEST(SimOptions, DefaultsServeNodeOneOnAPseudoTerminal) {
  Options options;
  ASSERT_EQ(ParseOptions({}, options), "");
  EXPECT_EQ(options.line.nodes, std::set<int>{1});
  EXPECT_TRUE(options.device.empty());
  EXPECT_FALSE(options.log);
  EXPECT_EQ(options.line.seed, 1u);
  EXPECT_EQ(options.line.faultRates, FaultRates{});
}

TEST(SimOptions, ReadsEveryOption) {
  Options options;
  const std::vector<std::string> args = {"--nodes",      "1-3,7",
                                         "--silent=5",   "--unanswered",
                                         "3:SET,pwr",    "--unanswered",
                                         "7:OST",        "--decimals",
                                         "2:SET=1",      "--drift",
                                         "0.25",         "--delay",
                                         "30",           "--fault-delay=250",
                                         "--seed",       "18446744073709551615",
                                         "--fault-rate", "hash=0.1,cut=0.2",
                                         "--link",       "/tmp/x",
                                         "--log-file",   "/tmp/log",
                                         "--events",     "/tmp/ev",
                                         "--state-file", "/tmp/st"};
  ASSERT_EQ(ParseOptions(args, options), "");
  EXPECT_EQ(options.line.nodes, (std::set<int>{1, 2, 3, 7}));
  EXPECT_EQ(options.line.silent, std::set<int>{5});
  EXPECT_EQ(options.line.unanswered.at(3), (std::set<ValueId>{kIdB, kIdC}));
  EXPECT_EQ(options.line.unanswered.at(7), std::set<ValueId>{kIdW});
  EXPECT_EQ(options.line.decimals[2][kIdB], 1);
  EXPECT_EQ(options.line.decimals[3][kIdB], 0);
  EXPECT_EQ(options.line.driftMilliPerSecond, 250);
  EXPECT_EQ(options.line.delayMs, 30);
  EXPECT_EQ(options.line.lateDelayMs, 250);
  EXPECT_EQ(options.line.seed, 18446744073709551615ull);
  EXPECT_DOUBLE_EQ(options.line.faultRates[static_cast<int>(Fault::kCut)], 0.2);
  EXPECT_EQ(options.linkPath, "/tmp/x");
  EXPECT_TRUE(options.log);
  EXPECT_EQ(options.logFile, "/tmp/log");
  EXPECT_EQ(options.eventsFile, "/tmp/ev");
  EXPECT_EQ(options.stateFile, "/tmp/st");

  Options device;
  ASSERT_EQ(ParseOptions({"--device", "/dev/ttyUSB0", "--baud", "19200", "--data", "8", "--parity",
                          "none", "--stop", "2"},
                         device),
            "");
  EXPECT_EQ(device.device, "/dev/ttyUSB0");
  EXPECT_EQ(device.serial.baud, 19200u);
  EXPECT_EQ(device.serial.dataBits, 8);
  EXPECT_EQ(device.serial.parity, 'N');
  EXPECT_EQ(device.serial.stopBits, 2);
}

TEST(SimOptions, RefusesBadUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {"--nodes", "0"},
      {"--nodes", "1-100"},
      {"--nodes", "3-1"},
      {"--nodes", "1,,2"},
      {"--nodes"},
      {"--silent", "x"},
      {"--unanswered", "3:SET"},  // node 3 does not exist
      {"--unanswered", "1:CTR"},  // never read anyway
      {"--unanswered", "1"},
      {"--decimals", "1:SET=4"},
      {"--decimals", "1:OST=1"},
      {"--decimals", "SET=1"},
      {"--decimals", "1:XYZ=1"},
      {"--drift", "-1"},
      {"--delay", "60001"},
      {"--delay", "-5"},
      {"--seed", "18446744073709551616"},
      {"--fault-rate", "drop=0.7,cut=0.7"},
      {"--baud", "9600"},  // needs --device
      {"--device", "/dev/ttyS0", "--link", "/tmp/x"},
      {"--device", "/dev/ttyS0", "--baud", "12345"},
      {"--device", "/dev/ttyS0", "--data", "9"},
      {"--device", "/dev/ttyS0", "--parity", "mark"},
      {"--device", "/dev/ttyS0", "--stop", "3"},
      {"--log=yes"},
      {"--verbose"},
      {"stray"},
  };
  for (const auto& args : cases) {
    Options options;
    std::string joined;
    for (const std::string& a : args) joined += a + " ";
    EXPECT_NE(ParseOptions(args, options), "") << joined;
  }
}

TEST(SimDecimals, ReadsTheDriversInitialisationFileLines) {
  struct Case {
    const char* line;
    bool ok;
    int node;  // where to look afterwards
    ValueId id;
    int decimals;
  };
  const Case cases[] = {
      {"SET 5 = 2", true, 5, kIdB, 2},
      {"SET5=2", true, 5, kIdB, 2},
      {"SET 5 = 2 ; note", true, 5, kIdB, 2},
      {"SET 5 = 2\r", true, 5, kIdB, 2},
      {"RSP 5 = 3", true, 5, kIdBB, 3},
      {"TMP 0 = 2", true, 0, kIdA, 2},
      {"RESOLUTION 7 = 1", true, 7, kIdG, 1},
      {"A1R 7 = 3", true, 7, kIdG, 0},  // A1R's own decimals, not AL1's
      {"IFG = 250", true, 5, kIdB, 0},
      {"", true, 5, kIdB, 0},
      {"   ", true, 5, kIdB, 0},
      {"SET 5 = 4", false, 5, kIdB, 0},
      {"SET 100 = 1", false, 5, kIdB, 0},
      {"SET 5 = -1", false, 5, kIdB, 0},
      {"set 5 = 2", false, 5, kIdB, 0},
      {" SET 5 = 2", false, 5, kIdB, 0},
      {"; note", false, 5, kIdB, 0},
      {"IFG 250", false, 5, kIdB, 0},
      {"RESOLUTION 7 = 9", false, 7, kIdG, 0},
  };
  for (const Case& c : cases) {
    DecimalsTable table = DefaultDecimals();
    const std::string error = ApplyDecimalsLine(c.line, table);
    EXPECT_EQ(error.empty(), c.ok) << '"' << c.line << "\": " << error;
    EXPECT_EQ(table[c.node][c.id], c.decimals) << c.line;
  }
}

TEST(SimDecimals, ResolutionCoversItsParametersOnlyAndLaterLinesWin) {
  DecimalsTable table = DefaultDecimals();
  ASSERT_EQ(ApplyDecimalsLine("RESOLUTION 7 = 1", table), "");
  ASSERT_EQ(ApplyDecimalsLine("SET 7 = 0", table), "");
  for (const ValueId id : {kIdA, kIdG, kIdH, kIdI, kIdM}) EXPECT_EQ(table[7][id], 1) << id;
  EXPECT_EQ(table[7][kIdB], 0);
  EXPECT_EQ(table[7][kIdC], 1);  // PWR keeps its default
  EXPECT_EQ(table[7][kIdE], 0);  // INT too
  EXPECT_EQ(table[6][kIdA], 0);  // other nodes untouched
}

TEST(SimDecimals, AFileIsReadInOrderAndABadLineIsNamed) {
  const std::string path = testing::TempDir() + "tcudv_sim_decimals_test.int";
  {
    std::ofstream file(path);
    file << "SET 5 = 2\r\n\r\nRESOLUTION 7 = 1\nIFG = 250\n";
  }
  Options options;
  ASSERT_EQ(ParseOptions({"--decimals-file", path, "--decimals", "7:TMP=3"}, options), "");
  EXPECT_EQ(options.line.decimals[5][kIdB], 2);
  EXPECT_EQ(options.line.decimals[7][kIdB], 1);
  EXPECT_EQ(options.line.decimals[7][kIdA], 3);
  {
    std::ofstream file(path);
    file << "SET 5 = 2\nSET 5 = 9\n";
  }
  Options bad;
  const std::string error = ParseOptions({"--decimals-file", path}, bad);
  EXPECT_NE(error.find("line 2"), std::string::npos) << error;
  std::remove(path.c_str());
  Options missing;
  EXPECT_NE(ParseOptions({"--decimals-file", path}, missing), "");
}

}  // namespace
}  // namespace tcudv::sim
