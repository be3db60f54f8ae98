// The serving loop: reads frames from the port, answers them on time, ends on a signal.
#ifndef TCUDV_SIM_SERVER_H
#define TCUDV_SIM_SERVER_H

#include <string>

#include "sim/event_log.h"
#include "sim/port.h"
#include "sim/simulator.h"
#include "sim/traffic_log.h"

namespace tcudv::sim {

struct ServeContext {
  Port& port;
  Simulator& simulator;
  EventLog& events;
  TrafficLog& log;
  std::string stateFile;  // empty: none
};

// Blocks SIGINT, SIGTERM and SIGHUP so that they are taken only while the loop waits. Call
// before anything is set up that the ending must undo.
void HoldStopSignals();

// Serves until one of those signals comes (result 0) or the port fails (result 2).
int Serve(ServeContext& context);

}  // namespace tcudv::sim

#endif
