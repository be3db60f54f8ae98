#include "options.h"

#include <utility>

#include "line_params.h"
#include "numbers.h"

namespace tcudv::host {
namespace {

// Which commands take an option, as bits of a mask.
constexpr unsigned Bit(Command command) {
  return 1u << static_cast<unsigned>(command);
}
constexpr unsigned kAll = Bit(Command::kInfo) | Bit(Command::kRead) | Bit(Command::kWrite) |
                          Bit(Command::kPoll) | Bit(Command::kScan);
constexpr unsigned kOnPort = kAll & ~Bit(Command::kInfo);

struct OptionRule {
  const char* name;
  bool takesValue;
  unsigned commands;
};

constexpr OptionRule kOptionRules[] = {
    {"log", false, kAll},
    {"driver", true, kAll},
    {"timeout", true, kOnPort},
    {"baud", true, kOnPort},
    {"data", true, kOnPort},
    {"parity", true, kOnPort},
    {"stop", true, kOnPort},
    {"instance", true, kOnPort},
    {"interval", true, Bit(Command::kPoll)},
    {"count", true, Bit(Command::kPoll)},
    {"nodes", true, Bit(Command::kScan)},
};

constexpr std::pair<const char*, Command> kCommandNames[] = {
    {"info", Command::kInfo}, {"read", Command::kRead}, {"write", Command::kWrite},
    {"poll", Command::kPoll}, {"scan", Command::kScan},
};

const OptionRule* FindOption(std::string_view name) {
  for (const OptionRule& rule : kOptionRules) {
    if (name == rule.name) return &rule;
  }
  return nullptr;
}

struct GivenOption {
  const OptionRule* rule;
  std::string value;
};

std::string CommandsOf(unsigned mask) {
  std::string names;
  for (const auto& [name, command] : kCommandNames) {
    if ((mask & Bit(command)) == 0) continue;
    if (!names.empty()) names += ", ";
    names += name;
  }
  return names;
}

std::optional<uint32_t> Unsigned(const std::string& text, int64_t min, int64_t max) {
  std::optional<int64_t> value = ParseInteger(text, min, max);
  if (!value) return std::nullopt;
  return static_cast<uint32_t>(*value);
}

// Stores one option's value; returns what is wrong with it, or an empty text.
std::string ApplyOption(const GivenOption& given, Options& options) {
  const std::string name = given.rule->name;
  const std::string& text = given.value;
  auto bad = [&](const std::string& expected) {
    return "--" + name + " '" + text + "': " + expected;
  };
  if (name == "log") {
    options.log = true;
  } else if (name == "driver") {
    if (text.empty()) return bad("give the path of the driver library");
    options.driverPath = text;
  } else if (name == "timeout") {
    auto ms = Unsigned(text, 10, 600000);
    if (!ms) return bad("the reply time-out is 10 to 600000 milliseconds");
    options.timeoutMs = *ms;
  } else if (name == "baud") {
    auto baud = Unsigned(text, 1, 65535);
    if (!baud) return bad("the driver carries the baud rate in 16 bits: 1 to 65535");
    options.baudRate = static_cast<uint16_t>(*baud);
  } else if (name == "data") {
    auto bits = Unsigned(text, 5, 8);
    if (!bits) return bad("data bits are 5 to 8");
    options.dataBits = static_cast<uint16_t>(*bits);
  } else if (name == "parity") {
    auto parity = ParseParity(text);
    if (!parity) return bad("parity is none, odd, even, mark or space");
    options.parity = *parity;
  } else if (name == "stop") {
    auto stop = ParseStopBits(text);
    if (!stop) return bad("stop bits are 1, 1.5 or 2");
    options.stopBits = *stop;
  } else if (name == "instance") {
    auto instance = Unsigned(text, 0, UINT32_MAX);
    if (!instance) return bad("the instance number is 0 to 4294967295");
    options.instance = *instance;
  } else if (name == "interval") {
    auto ms = Unsigned(text, 0, 3600000);
    if (!ms) return bad("the interval is 0 to 3600000 milliseconds");
    options.intervalMs = *ms;
  } else if (name == "count") {
    auto count = Unsigned(text, 0, UINT32_MAX);
    if (!count) return bad("the count is a whole number, 0 for no end");
    options.count = *count;
  } else if (name == "nodes") {
    auto nodes = ParseNodeList(text);
    if (!nodes) return bad("nodes are 1 to 99, as 1-20 or 1-3,7");
    options.nodes = std::move(*nodes);
  }
  return {};
}

// Port and gates (or gate assignments) by command.
std::string ApplyPositionals(const std::vector<std::string>& words, Options& options) {
  const std::string command = CommandName(options.command);
  switch (options.command) {
    case Command::kInfo:
      if (!words.empty()) return "info takes no port or gates";
      return {};
    case Command::kScan:
      if (words.size() != 1) return "scan takes one port";
      options.port = words[0];
      return {};
    case Command::kRead:
    case Command::kPoll:
      if (words.size() < 2) return command + " takes a port and at least one gate";
      options.port = words[0];
      options.gates.assign(words.begin() + 1, words.end());
      return {};
    case Command::kWrite:
      if (words.size() < 2) return "write takes a port and at least one GATE=VALUE";
      options.port = words[0];
      for (size_t i = 1; i < words.size(); ++i) {
        const size_t equals = words[i].find('=');
        if (equals == std::string::npos || equals == 0) {
          return "write takes GATE=VALUE, as 01SET=150, not '" + words[i] + "'";
        }
        options.assignments.push_back({words[i].substr(0, equals), words[i].substr(equals + 1)});
      }
      return {};
    case Command::kNone:
      break;
  }
  return "no command given";
}

}  // namespace

std::optional<Command> CommandNamed(std::string_view word) {
  for (const auto& [name, command] : kCommandNames) {
    if (word == name) return command;
  }
  return std::nullopt;
}

const char* CommandName(Command command) {
  for (const auto& [name, each] : kCommandNames) {
    if (each == command) return name;
  }
  return "tcudv";
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  Options& options = parsed.options;
  std::vector<GivenOption> given;
  std::vector<std::string> words;
  bool optionsEnded = false;

  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      options.help = true;
      continue;
    }
    if (arg.rfind("--", 0) != 0) {
      parsed.error = "unknown option '" + arg + "'";
      return parsed;
    }
    const size_t equals = arg.find('=');
    const std::string name =
        arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    const OptionRule* rule = FindOption(name);
    if (rule == nullptr) {
      parsed.error = "unknown option '--" + name + "'";
      return parsed;
    }
    if (!rule->takesValue) {
      if (equals != std::string::npos) {
        parsed.error = "--" + name + " takes no value";
        return parsed;
      }
      given.push_back({rule, {}});
    } else if (equals != std::string::npos) {
      given.push_back({rule, arg.substr(equals + 1)});
    } else if (i + 1 < args.size()) {
      given.push_back({rule, args[++i]});
    } else {
      parsed.error = "--" + name + " needs a value";
      return parsed;
    }
  }

  // "tcudv help read" is "tcudv read --help".
  if (!words.empty() && words[0] == "help") {
    options.help = true;
    words.erase(words.begin());
  }
  if (!words.empty()) {
    std::optional<Command> command = CommandNamed(words[0]);
    if (!command) {
      parsed.error = "unknown command '" + words[0] + "'";
      return parsed;
    }
    options.command = *command;
    words.erase(words.begin());
  }
  if (options.help) return parsed;
  if (options.command == Command::kNone) {
    parsed.error = "no command given";
    return parsed;
  }

  for (const GivenOption& option : given) {
    if ((option.rule->commands & Bit(options.command)) == 0) {
      parsed.error = "--" + std::string(option.rule->name) + " is an option of " +
                     CommandsOf(option.rule->commands) + ", not of " + CommandName(options.command);
      return parsed;
    }
    parsed.error = ApplyOption(option, options);
    if (!parsed.error.empty()) return parsed;
  }
  parsed.error = ApplyPositionals(words, options);
  return parsed;
}

}  // namespace tcudv::host
