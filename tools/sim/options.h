// The command line of tcudv-sim.
#ifndef TCUDV_SIM_OPTIONS_H
#define TCUDV_SIM_OPTIONS_H

#include <string>
#include <vector>

#include "sim/serial_settings.h"
#include "sim/simulator.h"

namespace tcudv::sim {

struct Options {
  LineConfig line;
  std::string linkPath;  // pseudo-terminal: a symlink to its slave
  std::string device;    // a real serial device instead of a pseudo-terminal
  SerialSettings serial;
  bool log = false;
  std::string logFile;  // empty: stderr
  std::string eventsFile;
  std::string stateFile;
  bool help = false;
};

// Reads the arguments after the program name. Returns an error text, empty on success.
std::string ParseOptions(const std::vector<std::string>& args, Options& options);

std::string HelpText();

}  // namespace tcudv::sim

#endif
