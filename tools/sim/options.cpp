#include "sim/options.h"

#include <cctype>

#include "sim/node_list.h"
#include "sim/value_text.h"

namespace tcudv::sim {
namespace {

// Limits that keep a scripted run sane.
constexpr unsigned long long kMaxDelayMs = 60'000;
constexpr int64_t kMaxDriftMilli = 1'000'000;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string ParseUnanswered(const std::string& setting, LineConfig& line) {
  const size_t colon = setting.find(':');
  if (colon == std::string::npos) return "--unanswered needs NODES:NAME[,NAME...], as in 3:SET,PWR";
  std::string error;
  const std::set<int> nodes = ParseNodeList(std::string_view(setting).substr(0, colon), error);
  if (!error.empty()) return "--unanswered: " + error;
  std::set<ValueId> ids;
  std::string_view rest = std::string_view(setting).substr(colon + 1);
  while (true) {
    const size_t comma = rest.find(',');
    const std::string_view name = rest.substr(0, comma);
    const std::optional<MnemonicInfo> mnemonic = FindMnemonic(name);
    if (!mnemonic || !Info(mnemonic->id).answersRead) {
      return "--unanswered: '" + std::string(name) + "' is no readable parameter";
    }
    ids.insert(mnemonic->id);
    if (comma == std::string_view::npos) break;
    rest = rest.substr(comma + 1);
  }
  for (const int node : nodes) line.unanswered[node].insert(ids.begin(), ids.end());
  return {};
}

struct Parser {
  const std::vector<std::string>& args;
  Options& options;
  size_t index = 0;
  bool nodesGiven = false;
  bool ptyGiven = false;
  bool lineGiven = false;

  std::string Run();
  std::string Take(const std::string& name, std::string& inlineValue, bool hasInline,
                   std::string& value);
  std::string Apply(const std::string& name, const std::string& value);
};

std::string Parser::Take(const std::string& name, std::string& inlineValue, bool hasInline,
                         std::string& value) {
  if (hasInline) {
    value = inlineValue;
    return {};
  }
  if (index + 1 >= args.size()) return name + " needs a value";
  value = args[++index];
  return {};
}

std::string Parser::Apply(const std::string& name, const std::string& value) {
  LineConfig& line = options.line;
  unsigned long long number = 0;
  std::string error;
  if (name == "--nodes") {
    line.nodes = ParseNodeList(value, error);
    nodesGiven = true;
    return error.empty() ? "" : "--nodes: " + error;
  }
  if (name == "--silent") {
    line.silent = ParseNodeList(value, error);
    return error.empty() ? "" : "--silent: " + error;
  }
  if (name == "--unanswered") return ParseUnanswered(value, line);
  if (name == "--decimals") return ApplyDecimalsOption(value, line.decimals);
  if (name == "--decimals-file") return ApplyDecimalsFile(value, line.decimals);
  if (name == "--drift") {
    const std::optional<int64_t> milli = ParseMilli(value);
    if (!milli || *milli < 0 || *milli > kMaxDriftMilli) {
      return "--drift: units per second, from 0 to 1000";
    }
    line.driftMilliPerSecond = *milli;
    return {};
  }
  if (name == "--delay" || name == "--fault-delay") {
    if (!ParseBoundedNumber(value, kMaxDelayMs, number)) {
      return name + ": milliseconds, from 0 to 60000";
    }
    (name == "--delay" ? line.delayMs : line.lateDelayMs) = static_cast<int>(number);
    return {};
  }
  if (name == "--seed") {
    if (!ParseBoundedNumber(value, ~0ull, number)) return "--seed: an unsigned 64-bit number";
    line.seed = number;
    return {};
  }
  if (name == "--fault-rate") return ParseFaultRates(value, line.faultRates);
  if (name == "--link") {
    if (value.empty()) return "--link needs a path";
    options.linkPath = value;
    return {};
  }
  if (name == "--device") {
    if (value.empty()) return "--device needs a path";
    options.device = value;
    return {};
  }
  lineGiven = true;
  if (name == "--baud") {
    if (!ParseBoundedNumber(value, 4'000'000, number) ||
        !SpeedConstant(static_cast<unsigned>(number))) {
      return "--baud: '" + value + "' is no baud rate of this platform";
    }
    options.serial.baud = static_cast<unsigned>(number);
    return {};
  }
  if (name == "--data") {
    if (!ParseBoundedNumber(value, 8, number) || number < 5) return "--data: 5, 6, 7 or 8";
    options.serial.dataBits = static_cast<int>(number);
    return {};
  }
  if (name == "--stop") {
    if (value != "1" && value != "2") return "--stop: 1 or 2";
    options.serial.stopBits = value == "1" ? 1 : 2;
    return {};
  }
  const std::string parity = Lower(value);
  if (parity == "none" || parity == "n") {
    options.serial.parity = 'N';
  } else if (parity == "even" || parity == "e") {
    options.serial.parity = 'E';
  } else if (parity == "odd" || parity == "o") {
    options.serial.parity = 'O';
  } else {
    return "--parity: none, even or odd";
  }
  return {};
}

std::string Parser::Run() {
  static const char* const kWithValue[] = {
      "--nodes", "--silent",   "--unanswered",  "--decimals",  "--decimals-file",
      "--drift", "--delay",    "--fault-delay", "--seed",      "--fault-rate",
      "--link",  "--device",   "--baud",        "--data",      "--parity",
      "--stop",  "--log-file", "--events",      "--state-file"};
  for (index = 0; index < args.size(); ++index) {
    const std::string& arg = args[index];
    const size_t equals = arg.find('=');
    std::string name = arg.substr(0, equals);
    std::string inlineValue = equals == std::string::npos ? "" : arg.substr(equals + 1);
    const bool hasInline = equals != std::string::npos;
    if (name == "--help" || name == "-h") {
      options.help = true;
      return {};
    }
    bool takesValue = false;
    for (const char* known : kWithValue) takesValue = takesValue || name == known;
    if (!takesValue) {
      if (hasInline) return name + " takes no value";
      if (name == "--pty") {
        ptyGiven = true;
      } else if (name == "--log") {
        options.log = true;
      } else {
        return "unknown option '" + arg + "'";
      }
      continue;
    }
    std::string value;
    std::string error = Take(name, inlineValue, hasInline, value);
    if (error.empty()) {
      if (name == "--log-file") {
        if (value.empty()) return "--log-file needs a path";
        options.log = true;
        options.logFile = value;
      } else if (name == "--events") {
        options.eventsFile = value;
      } else if (name == "--state-file") {
        options.stateFile = value;
      } else {
        error = Apply(name, value);
      }
    }
    if (!error.empty()) return error;
  }
  if (!nodesGiven) options.line.nodes = {1};
  if (!options.device.empty() && (ptyGiven || !options.linkPath.empty())) {
    return "--device serves a real port; --pty and --link are for a pseudo-terminal";
  }
  if (options.device.empty() && lineGiven) {
    return "--baud, --data, --parity and --stop need --device";
  }
  for (const auto& [node, ids] : options.line.unanswered) {
    if (!options.line.nodes.contains(node) && !options.line.silent.contains(node)) {
      return "--unanswered: node " + std::to_string(node) + " is not one of the nodes";
    }
  }
  return {};
}

}  // namespace

std::string ParseOptions(const std::vector<std::string>& args, Options& options) {
  Parser parser{args, options};
  return parser.Run();
}

std::string HelpText() {
  return R"(Usage: tcudv-sim [OPTION...]
Emulates a line of Red Lion TCU/PCU controllers for the TCUDVNT driver: answers read frames,
takes change-value, control and reset frames, and injects faults on demand.

Where it serves (a pseudo-terminal unless --device is given):
  --pty                    a new pseudo-terminal; its slave's path is printed on one line
  --link PATH              also a symlink PATH to that slave, removed at exit
  --device PATH            a real serial device instead (its path is printed on one line)
  --baud N --data N --parity none|even|odd --stop 1|2
                           its line settings (default 9600, 7, even, 1)

The controllers:
  --nodes LIST             nodes that exist, as 1-3,7 (default 1)
  --decimals NODES:NAME=D[,NAME=D...]
                           decimal places of a parameter (NAME a mnemonic, or RESOLUTION for
                           TMP INP SET AL1 AL2 DEV CDB), D 0 to 3; repeatable, as 5:SET=1
  --decimals-file PATH     the same from a file in the driver's initialisation-file form:
                           "SET 5 = 1", "RESOLUTION 7 = 2" (IFG lines are accepted, unused)
  --drift RATE             units per second the process value moves toward the setpoint
                           (default 0.5; 0 holds it still)

Faults (seeded, so a run can be repeated):
  --seed N                 seed of the random faults (default 1)
  --silent LIST            nodes that exist but never answer
  --unanswered NODES:NAME[,NAME...]
                           parameters those nodes do not answer, as 3:SET,PWR; repeatable
  --delay MS               every reply this many milliseconds after its frame (default 0)
  --fault-rate KIND=RATE[,KIND=RATE...]
                           chance per reply, 0 to 1, all together at most 1, of:
                           hash (a "#" second character), garbage (a bad first character),
                           drop (no reply), cut (part of it, then silence), long (more than
                           40 bytes before CR LF), delay (sent after --fault-delay)
  --fault-delay MS         how late a reply with the delay fault comes (default 500)

Records:
  --log                    every frame received and reply sent, time-stamped, on stderr
  --log-file PATH          the same, appended to PATH
  --events PATH            one tab-separated line per frame, written before its reply:
                           seq, ms, frame, outcome, detail, fault, delay ms, reply bytes
  --state-file PATH        every node's values, rewritten after the frames of each read,
                           before their replies go out

  --help                   this text

Exit status: 0 after SIGINT or SIGTERM, 2 for bad usage or a device error.
)";
}

}  // namespace tcudv::sim
