#include "options.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tcudv::host {
namespace {

std::string Joined(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) text += (text.empty() ? "" : " ") + arg;
  return text;
}

struct GoodCase {
  std::vector<std::string> args;
  std::function<void(Options&)> expect;  // applied to the default options
};

TEST(Options, SoundCommandLinesGiveTheirOptions) {
  const GoodCase cases[] = {
      {{"info"}, [](Options& o) { o.command = Command::kInfo; }},
      {{"--log", "info", "--driver", "/opt/x.so"},
       [](Options& o) {
         o.command = Command::kInfo;
         o.log = true;
         o.driverPath = "/opt/x.so";
       }},
      {{"read", "NUL", "01SET", "05OST3"},
       [](Options& o) {
         o.command = Command::kRead;
         o.port = "NUL";
         o.gates = {"01SET", "05OST3"};
       }},
      {{"read", "--timeout=45", "/dev/ttyS0", "01TMP", "--baud", "19200", "--data", "8", "--parity",
        "N", "--stop", "1.5", "--instance", "12"},
       [](Options& o) {
         o.command = Command::kRead;
         o.port = "/dev/ttyS0";
         o.gates = {"01TMP"};
         o.timeoutMs = 45;
         o.baudRate = 19200;
         o.dataBits = 8;
         o.parity = 0;
         o.stopBits = 1;
         o.instance = 12;
       }},
      {{"write", "NUL", "01SET=-12.5", "07A1R=", "01INT=5=6"},
       [](Options& o) {
         o.command = Command::kWrite;
         o.port = "NUL";
         o.assignments = {{"01SET", "-12.5"}, {"07A1R", ""}, {"01INT", "5=6"}};
       }},
      {{"poll", "NUL", "01SET", "--interval", "0", "--count", "3", "--parity", "odd"},
       [](Options& o) {
         o.command = Command::kPoll;
         o.port = "NUL";
         o.gates = {"01SET"};
         o.intervalMs = 0;
         o.count = 3;
         o.parity = 1;
       }},
      {{"scan", "ttyUSB0", "--nodes", "3-5,1,4"},
       [](Options& o) {
         o.command = Command::kScan;
         o.port = "ttyUSB0";
         o.nodes = {1, 3, 4, 5};
       }},
      // After "--" a word that looks like an option is a gate.
      {{"read", "NUL", "--", "--log"},
       [](Options& o) {
         o.command = Command::kRead;
         o.port = "NUL";
         o.gates = {"--log"};
       }},
      {{"--help"}, [](Options& o) { o.help = true; }},
      {{"help", "write"},
       [](Options& o) {
         o.help = true;
         o.command = Command::kWrite;
       }},
      // Help needs none of the command's words and ignores options it would refuse.
      {{"poll", "-h", "--nodes", "1"},
       [](Options& o) {
         o.help = true;
         o.command = Command::kPoll;
       }},
  };
  for (const GoodCase& c : cases) {
    SCOPED_TRACE(Joined(c.args));
    ParsedCommandLine parsed = ParseCommandLine(c.args);
    EXPECT_EQ(parsed.error, "");
    Options expected;
    c.expect(expected);
    EXPECT_TRUE(parsed.options == expected);
  }
}

struct BadCase {
  std::vector<std::string> args;
  std::string errorPart;
};

TEST(Options, BadCommandLinesAreRefusedWithTheReason) {
  const BadCase cases[] = {
      {{}, "no command"},
      {{"--log"}, "no command"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"read"}, "a port and at least one gate"},
      {{"read", "NUL"}, "a port and at least one gate"},
      {{"poll", "NUL"}, "a port and at least one gate"},
      {{"scan"}, "one port"},
      {{"scan", "NUL", "01TMP"}, "one port"},
      {{"info", "NUL"}, "no port or gates"},
      {{"write", "NUL"}, "GATE=VALUE"},
      {{"write", "NUL", "01SET"}, "not '01SET'"},
      {{"write", "NUL", "=5"}, "not '=5'"},
      {{"read", "NUL", "01SET", "--bogus"}, "unknown option '--bogus'"},
      {{"read", "NUL", "01SET", "-x"}, "unknown option '-x'"},
      {{"read", "NUL", "01SET", "--timeout"}, "--timeout needs a value"},
      {{"read", "NUL", "01SET", "--log=1"}, "--log takes no value"},
      {{"read", "NUL", "01SET", "--interval", "5"}, "--interval is an option of poll"},
      {{"read", "NUL", "01SET", "--nodes", "1-3"}, "--nodes is an option of scan"},
      {{"info", "--baud", "9600"}, "--baud is an option of read, write, poll, scan"},
      {{"read", "NUL", "01SET", "--timeout", "9"}, "10 to 600000"},
      {{"read", "NUL", "01SET", "--timeout", "600001"}, "10 to 600000"},
      {{"read", "NUL", "01SET", "--timeout", "1e3"}, "10 to 600000"},
      {{"read", "NUL", "01SET", "--baud", "115200"}, "16 bits"},
      {{"read", "NUL", "01SET", "--baud", "0"}, "16 bits"},
      {{"read", "NUL", "01SET", "--data", "9"}, "5 to 8"},
      {{"read", "NUL", "01SET", "--parity", "x"}, "none, odd, even"},
      {{"read", "NUL", "01SET", "--stop", "3"}, "1, 1.5 or 2"},
      {{"read", "NUL", "01SET", "--instance", "-1"}, "instance"},
      {{"read", "NUL", "01SET", "--instance", "4294967296"}, "instance"},
      {{"poll", "NUL", "01SET", "--count", "two"}, "count"},
      {{"scan", "NUL", "--nodes", "0-5"}, "1 to 99"},
      {{"scan", "NUL", "--nodes", "5-3"}, "1 to 99"},
      {{"scan", "NUL", "--nodes", ""}, "1 to 99"},
      {{"read", "NUL", "01SET", "--driver="}, "path"},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(Joined(c.args));
    ParsedCommandLine parsed = ParseCommandLine(c.args);
    EXPECT_NE(parsed.error.find(c.errorPart), std::string::npos) << parsed.error;
  }
}

TEST(Options, CommandNamesGoBothWays) {
  for (Command command :
       {Command::kInfo, Command::kRead, Command::kWrite, Command::kPoll, Command::kScan}) {
    std::optional<Command> named = CommandNamed(CommandName(command));
    ASSERT_TRUE(named.has_value());
    EXPECT_EQ(*named, command);
  }
  EXPECT_FALSE(CommandNamed("help").has_value());
}

}  // namespace
}  // namespace tcudv::host
