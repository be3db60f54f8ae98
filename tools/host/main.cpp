#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "help_text.h"
#include "options.h"
#include "result_words.h"

using namespace tcudv::host;

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const ParsedCommandLine parsed = ParseCommandLine(args);
  const Options& options = parsed.options;
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "tcudv: %s\n", parsed.error.c_str());
    if (options.command == Command::kNone) {
      std::fprintf(stderr, "try 'tcudv --help'\n");
    } else {
      std::fprintf(stderr, "try 'tcudv %s --help'\n", CommandName(options.command));
    }
    return kExitRefused;
  }
  if (options.help) {
    std::fputs(HelpText(options.command), stdout);
    return kExitOk;
  }
  switch (options.command) {
    case Command::kInfo:
      return RunInfo(options);
    case Command::kRead:
      return RunRead(options);
    case Command::kWrite:
      return RunWrite(options);
    case Command::kPoll:
      return RunPoll(options);
    case Command::kScan:
      return RunScan(options);
    case Command::kNone:
      break;
  }
  return kExitRefused;
}
