// The built tcudv, run as a user runs it: what it shows without opening a port.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_tool.h"

namespace tcudv::host::test {
namespace {

std::string Repeat(const std::string& text, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += text;
  return out;
}

TEST(ToolInfo, ShowsTheDriversTextsDefaultsAndWorkspaceSize) {
  ToolRun run = RunTool({"info"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "name:            Red Lion Controls, TCU and PCU\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "description:     Temperature Control Unit and Process Control Unit\n"))
      << run.out;
  EXPECT_TRUE(Has(run.out, "workspace size:  2896 bytes\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "reply time-out:  4 (40 ms)\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "line:            9600 baud, 7 data bits, even parity, 1 stop bit\n"))
      << run.out;
  EXPECT_TRUE(Has(run.out, "banner:\n\u2554" + Repeat("\u2550", 65) + "\u2557\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "\u2551  TCUDV :  RED Lion-PLC LDI-driver (32 bit)")) << run.out;
  EXPECT_FALSE(Has(run.out, "\x08"));
  EXPECT_EQ(run.err, "");
}

TEST(ToolLog, DriverLinesReachStderrWithTheirLevelOnlyWithLog) {
  ToolRun logged = RunTool({"--log", "info"});
  EXPECT_EQ(logged.exitCode, 0);
  EXPECT_TRUE(Has(logged.err, "[level 8] LDIYY> GetLdiInfo() exited\n")) << logged.err;

  ToolRun quiet = RunTool({"info"});
  EXPECT_FALSE(Has(quiet.err, "LDIYY>")) << quiet.err;
}

TEST(ToolHelp, EveryCommandHasItsOwnHelp) {
  const struct {
    std::vector<std::string> args;
    const char* start;
  } cases[] = {
      {{"--help"}, "tcudv: the TCUDVNT driver's host"},
      {{"help"}, "tcudv: the TCUDVNT driver's host"},
      {{"info", "--help"}, "usage: tcudv info"},
      {{"read", "--help"}, "usage: tcudv read PORT GATE..."},
      {{"write", "-h"}, "usage: tcudv write PORT GATE=VALUE..."},
      {{"poll", "--help"}, "usage: tcudv poll PORT GATE..."},
      {{"help", "scan"}, "usage: tcudv scan PORT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Joined(c.args));
    ToolRun run = RunTool(c.args);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind(c.start, 0), 0u) << run.out;
    EXPECT_TRUE(Has(run.out, "exit codes")) << run.out;
    // Every placeholder is filled in with this platform's names.
    EXPECT_FALSE(Has(run.out, "@")) << run.out;
    EXPECT_TRUE(Has(run.out, "libtcudvnt.so")) << run.out;
    EXPECT_EQ(run.err, "");
  }
}

TEST(ToolUsage, BadCommandLinesExitWithOneAndAHint) {
  const std::vector<std::string> cases[] = {
      {},
      {"frobnicate"},
      {"read", "NUL"},
      {"write", "NUL", "01SET"},
      {"read", "NUL", "01SET", "--interval", "5"},
      {"read", "NUL", "01SET", "--baud", "115200"},
      {"scan", "NUL", "--nodes", "0-3"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(Joined(args));
    ToolRun run = RunTool(args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Has(run.err, "try 'tcudv")) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST(ToolPort, ALongNameIsRefusedBeforeTheDriverSeesIt) {
  ToolRun run = RunTool({"read", "/dev/serial/by-id/usb-FTDI-if00", "01SET", "--log"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Has(run.err, "has 31 characters, but the driver takes at most 11")) << run.err;
  EXPECT_TRUE(Has(run.err, "ln -s /dev/serial/by-id/usb-FTDI-if00 /tmp/tcu0")) << run.err;
  EXPECT_FALSE(Has(run.err, "ColdStart")) << run.err;
}

TEST(ToolDriver, ADriverThatCannotBeLoadedIsReported) {
  ToolRun run = RunTool({"info", "--driver", "/nonexist/libtcudvnt.so"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Has(run.err, "cannot load the driver /nonexist/libtcudvnt.so")) << run.err;
}

}  // namespace
}  // namespace tcudv::host::test
