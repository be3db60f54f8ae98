// The built tcudv on a port: on the null device "NUL" the driver opens a port
// but no controller answers; a port that does not exist cannot be opened.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "run_tool.h"

namespace tcudv::host::test {
namespace {

TEST(ToolPort, APortThatDoesNotExistIsALineFailure) {
  ToolRun run = RunTool({"read", "/nonexist/x", "01SET"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(Has(run.err, "cannot open the port '/nonexist/x': ColdStart line failure (result 2)"))
      << run.err;
  EXPECT_EQ(run.out, "");

  // The driver logs the failed open at level 32.
  ToolRun logged = RunTool({"read", "/nonexist/x", "01SET", "--log"});
  EXPECT_TRUE(Has(logged.err, "[level 32] LDIYY> ColdStart() error opening COM port\n"))
      << logged.err;
}

struct LineCase {
  std::vector<std::string> args;
  int exitCode;
  std::string out;  // the whole of stdout
};

void ExpectRuns(const std::vector<LineCase>& cases) {
  for (const LineCase& c : cases) {
    SCOPED_TRACE(Joined(c.args));
    ToolRun run = RunTool(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

TEST(ToolRead, OnTheNullDeviceNoReplyComesAndBadGatesAreNamed) {
  ExpectRuns({
      {{"read", "NUL", "01SET"}, 2, "01SET: line failure (result 2)\n"},
      {{"read", "NUL", "05OST3"}, 2, "05OST3: line failure (result 2)\n"},
      {{"read", "NUL", "07A1R"}, 1, "07A1R: refused (result 1)\n"},
      {{"read", "NUL", "01XYZ"},
       1,
       "01XYZ: bad gate, the driver refuses it: LDIYY> Parse() Illegal GATE addr in '01XYZ'\n"},
      // A line failure wins over a refusal; each gate keeps its place.
      {{"read", "NUL", "01xyz", "07A1R", "01TMP"},
       2,
       "01xyz: bad gate, the driver refuses it: LDIYY> Parse() Illegal GATE addr in '01XYZ'\n"
       "07A1R: refused (result 1)\n"
       "01TMP: line failure (result 2)\n"},
  });
}

TEST(ToolWrite, ValuesReachTheDriverInTheirGatesPartOfTheCell) {
  // A control gate takes only 1 or 2 in its word and a value gate only what
  // fits four digits, so these results show where the tool put each value.
  ExpectRuns({
      {{"write", "NUL", "01SET=150"}, 0, "01SET = 150: ok\n"},
      {{"write", "NUL", "01SET=10000"}, 1, "01SET = 10000: refused (result 1)\n"},
      {{"write", "NUL", "03CTR=2"}, 0, "03CTR = 2: ok\n"},
      {{"write", "NUL", "03CTR=3"}, 1, "03CTR = 3: refused (result 1)\n"},
      {{"write", "NUL", "01INT=-5"}, 0, "01INT = -5: ok\n"},
      {{"write", "NUL", "07A1R=anything"}, 0, "07A1R = anything: ok\n"},
      {{"write", "NUL", "01TMP=5", "01SET=150"},
       1,
       "01TMP = 5: refused (result 1)\n01SET = 150: ok\n"},
  });
}

TEST(ToolWrite, AnyBadGateOrValueMeansNothingIsWritten) {
  ExpectRuns({
      {{"write", "NUL", "01SET=abc"},
       1,
       "01SET=abc: a float gate takes a number, as 150 or -12.5\nnothing written\n"},
      {{"write", "NUL", "01SET=150", "01INT=1.5"},
       1,
       "01INT=1.5: a word gate takes a whole number from -32768 to 65535\nnothing written\n"},
      {{"write", "NUL", "01SET=150", "01XYZ=1"},
       1,
       "01XYZ: bad gate, the driver refuses it: LDIYY> Parse() Illegal GATE addr in '01XYZ'\n"
       "nothing written\n"},
  });
}

TEST(ToolInstance, TheInstancesInitialisationFileDecidesTheGateType) {
  char pattern[] = "/tmp/tcudv_host_XXXXXX";
  const char* directory = mkdtemp(pattern);
  ASSERT_NE(directory, nullptr);
  const std::string file = std::string(directory) + "/TCUDV05.INT";
  std::ofstream(file) << "INT 1 = 1\n";

  // With one decimal place INT becomes a float gate; without the file it is a word gate.
  ToolRun withFile = RunTool({"write", "NUL", "01INT=1.5", "--instance", "5"}, directory);
  EXPECT_EQ(withFile.exitCode, 0) << withFile.err;
  EXPECT_EQ(withFile.out, "01INT = 1.5: ok\n");
  ToolRun other = RunTool({"write", "NUL", "01INT=1.5", "--instance", "6"}, directory);
  EXPECT_EQ(other.exitCode, 1);
  EXPECT_TRUE(Has(other.out, "a word gate takes a whole number")) << other.out;

  unlink(file.c_str());
  rmdir(directory);
}

TEST(ToolPoll, PlainLinesPerRoundWhenNotOnATerminal) {
  ToolRun run = RunTool({"poll", "NUL", "01SET", "05OST1", "--count", "2", "--interval", "0"});
  EXPECT_EQ(run.exitCode, 2);
  const std::regex expected(
      "round 1: 01SET = -, line failure \\(result 2\\), \\d+ ms, failures 1 of 1\n"
      "round 1: 05OST1 = -, line failure \\(result 2\\), \\d+ ms, failures 1 of 1\n"
      "round 2: 01SET = -, line failure \\(result 2\\), \\d+ ms, failures 2 of 2\n"
      "round 2: 05OST1 = -, line failure \\(result 2\\), \\d+ ms, failures 2 of 2\n");
  EXPECT_TRUE(std::regex_match(run.out, expected)) << run.out;
  EXPECT_FALSE(Has(run.out, "\x1b")) << run.out;

  ToolRun bad = RunTool({"poll", "NUL", "01SET", "01XYZ", "--count", "1"});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_FALSE(Has(bad.out, "round")) << bad.out;
}

TEST(ToolScan, NoNodeAnswersOnTheNullDevice) {
  ToolRun run = RunTool({"scan", "NUL", "--nodes", "1-2"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "0 of 2 nodes answer\n");
  EXPECT_EQ(run.err, "");  // no progress bar when stderr is not a terminal
}

}  // namespace
}  // namespace tcudv::host::test
