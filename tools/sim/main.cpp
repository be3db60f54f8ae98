// tcudv-sim: a line of TCU/PCU controllers on a pseudo-terminal or a serial device.
#include <cstdio>
#include <string>
#include <vector>

#include "sim/event_log.h"
#include "sim/link_path.h"
#include "sim/options.h"
#include "sim/port.h"
#include "sim/server.h"
#include "sim/simulator.h"
#include "sim/state_file.h"
#include "sim/traffic_log.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "tcudv-sim: %s\n", message.c_str());
  return 2;
}

std::string NodeSummary(const std::map<int, tcudv::sim::NodeState>& nodes) {
  std::string text;
  for (const auto& [number, node] : nodes)
    text += (text.empty() ? "" : ",") + std::to_string(number);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tcudv::sim;
  const std::vector<std::string> args(argv + 1, argv + argc);
  Options options;
  const std::string error = ParseOptions(args, options);
  if (!error.empty()) {
    std::fprintf(stderr, "tcudv-sim: %s\nTry 'tcudv-sim --help'.\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(HelpText().c_str(), stdout);
    return 0;
  }
  HoldStopSignals();

  TrafficLog log;
  if (options.log && !log.Open(options.logFile)) {
    return Fail("cannot write the log file " + options.logFile);
  }
  EventLog events;
  if (!options.eventsFile.empty() && !events.Open(options.eventsFile)) {
    return Fail("cannot write the events file " + options.eventsFile);
  }
  Port port;
  std::string portError;
  const bool opened = options.device.empty()
                          ? port.OpenPseudoTerminal(portError)
                          : port.OpenDevice(options.device, options.serial, portError);
  if (!opened) return Fail(portError);
  if (!options.linkPath.empty() && !PlaceLink(options.linkPath, port.path(), portError)) {
    return Fail(portError);
  }
  Simulator simulator(options.line);
  if (!options.stateFile.empty() &&
      !WriteStateFile(options.stateFile, StateText(simulator.nodes()))) {
    if (!options.linkPath.empty()) RemoveLink(options.linkPath, port.path());
    return Fail("cannot write the state file " + options.stateFile);
  }

  std::printf("%s\n", port.path().c_str());
  std::fflush(stdout);
  log.Write("serving nodes " + NodeSummary(simulator.nodes()) + " on " + port.path() + ", seed " +
            std::to_string(options.line.seed));

  ServeContext context{port, simulator, events, log, options.stateFile};
  const int result = Serve(context);
  if (!options.linkPath.empty()) RemoveLink(options.linkPath, port.path());
  return result;
}
