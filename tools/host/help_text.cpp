#include "help_text.h"

#include <string_view>

#include "platform_texts.h"

namespace tcudv::host {
namespace {

constexpr const char kOverview[] =
    R"(tcudv: the TCUDVNT driver's host, for trying a line of TCU and PCU controllers.

usage: tcudv COMMAND [OPTIONS] ...

commands:
  info                        the driver's names, banner, defaults and workspace size
  read PORT GATE...           read gates once: 01SET = 150.0
  write PORT GATE=VALUE...    write gates: 01SET=150, 01A1R=1
  poll PORT GATE...           read gates again and again, as a table
  scan PORT                   which nodes 1 to 99 answer

A gate is a two-digit node and a parameter, as 01TMP, 05SET or 05OST3 (one
digit of the output status). @PORTS@

options of every command:
  --log            the driver's log lines on stderr, with their level (8 or 32)
  --driver PATH    the driver library (default: @DRIVER@ next to tcudv)
  --help, -h       this text, or a command's own: tcudv read --help

exit codes:
  0  every operation succeeded
  1  a refusal: a result 1 from the driver, a bad gate or value, bad usage
  2  a line failure: a result 2 from the driver (wins over a refusal)
)";

constexpr const char kPortOptions[] = R"(
options:
  --timeout MS     reply time-out in milliseconds, 10 to 600000, rounded up to
                   10 ms (default: the driver's, 40 ms)
  --baud N         baud rate, 1 to 65535 (default 9600)
  --data N         data bits, 5 to 8 (default 7)
  --parity P       none, odd, even, mark or space (default even)
  --stop N         stop bits, 1, 1.5 or 2 (default 1)
  --instance N     driver instance number; the driver then reads TCUDVnn.INT
                   (nn the number) from the current directory (default 0)
  --log            the driver's log lines on stderr, with their level
  --driver PATH    the driver library (default: @DRIVER@ next to tcudv)
)";

constexpr const char kExitCodes[] = R"(
exit codes: 0 all succeeded, 1 a refusal (result 1, bad gate, bad usage),
2 a line failure (result 2; wins over a refusal).
)";

void Replace(std::string& text, std::string_view token, std::string_view by) {
  for (size_t at = text.find(token); at != std::string::npos;
       at = text.find(token, at + by.size())) {
    text.replace(at, token.size(), by);
  }
}

// The help texts name this platform's driver library and ports.
std::string ForThisPlatform(std::string text) {
  Replace(text, "@DRIVER@", DriverFileName());
  Replace(text, "@PORTS@", PortNameHelp());
  return text;
}

std::string Compose(const char* head, bool portOptions, const char* tail) {
  std::string text = head;
  if (portOptions) text += kPortOptions;
  text += tail;
  return ForThisPlatform(text);
}

}  // namespace

const char* HelpText(Command command) {
  static const std::string info =
      Compose(R"(usage: tcudv info [--driver PATH] [--log]

Loads the driver and shows what GetLdiInfo tells a host: the name texts, the
banner, the workspace size, and the default reply time-out and line.

options:
  --log            the driver's log lines on stderr, with their level
  --driver PATH    the driver library (default: @DRIVER@ next to tcudv)
)",
              false, "\nexit codes: 0 shown, 1 the driver could not be loaded.\n");

  static const std::string read = Compose(R"(usage: tcudv read PORT GATE... [options]

Starts the driver on PORT and reads each gate once. Prints the value,
  01SET = 150.0
  05OST3 = 1
or the driver's result in words: refused (result 1), line failure (result 2).
Float gates show the value the controller sent, word gates a whole number.
)",
                                          true, kExitCodes);

  static const std::string write = Compose(R"(usage: tcudv write PORT GATE=VALUE... [options]

Starts the driver on PORT and writes each gate:
  float gates take a number               01SET=150   01SET=-12.5
  word gates a whole number -32768..65535  01INT=25
  reset gates any value                   01A1R=1
Every gate and value is checked first; if one is wrong nothing is written.
Prints each gate's result in words: ok, refused (result 1), line failure (result 2).
)",
                                           true, kExitCodes);

  static const std::string poll =
      Compose(R"(usage: tcudv poll PORT GATE... [--interval MS] [--count N] [options]

Reads the gates round after round and shows a table, redrawn in place on a
terminal (one plain line per gate and round otherwise): per gate the value,
the status, the time the last transaction took in ms, and the failures.
  --interval MS    from the start of one round to the next, 0 to 3600000
                   (default 1000)
  --count N        rounds to make, 0 for no end (default 0; Ctrl-C ends)
)",
              true, kExitCodes);

  static const std::string scan = Compose(R"(usage: tcudv scan PORT [--nodes LIST] [options]

Reads NNTMP of each node and lists the nodes that answer, with a progress bar
on stderr when it is a terminal. A silent node costs about half a second at the
defaults. A node that answers with a refusal still counts as answering.
  --nodes LIST     the nodes to try, as 1-20 or 1-3,7 (default 1-99)
)",
                                          true, R"(
exit codes: 0 at least one node answers, 1 bad usage, 2 no node answers.
)");

  switch (command) {
    case Command::kInfo:
      return info.c_str();
    case Command::kRead:
      return read.c_str();
    case Command::kWrite:
      return write.c_str();
    case Command::kPoll:
      return poll.c_str();
    case Command::kScan:
      return scan.c_str();
    case Command::kNone:
      break;
  }
  static const std::string overview = ForThisPlatform(kOverview);
  return overview.c_str();
}

}  // namespace tcudv::host
