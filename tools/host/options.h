// The tool's command line: a command, its port and gates, and the options.
#ifndef TCUDV_HOST_OPTIONS_H
#define TCUDV_HOST_OPTIONS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "node_list.h"

namespace tcudv::host {

enum class Command { kNone, kInfo, kRead, kWrite, kPoll, kScan };

struct GateAssignment {
  std::string gate;
  std::string value;
  bool operator==(const GateAssignment&) const = default;
};

inline constexpr uint32_t kDefaultIntervalMs = 1000;

struct Options {
  Command command = Command::kNone;
  bool help = false;       // show the help of command (or the overview) and do nothing else
  bool log = false;        // the driver's log lines to stderr
  std::string driverPath;  // empty: the library next to the tool
  std::optional<uint32_t> timeoutMs;
  std::optional<uint16_t> baudRate;
  std::optional<uint16_t> dataBits;
  std::optional<uint16_t> parity;
  std::optional<uint16_t> stopBits;
  uint32_t instance = 0;
  std::string port;
  std::vector<std::string> gates;            // read, poll
  std::vector<GateAssignment> assignments;   // write
  uint32_t intervalMs = kDefaultIntervalMs;  // poll
  uint32_t count = 0;                        // poll; 0: until interrupted
  std::vector<unsigned> nodes = AllNodes();  // scan
  bool operator==(const Options&) const = default;
};

struct ParsedCommandLine {
  Options options;
  std::string error;  // empty when the command line is sound
};

// args are the words after the program's name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::optional<Command> CommandNamed(std::string_view word);
const char* CommandName(Command command);

}  // namespace tcudv::host

#endif
