// The host's part around every command: load the driver, ask it about
// itself, start an instance on the port, and end it again.
#ifndef TCUDV_HOST_HOST_RUN_H
#define TCUDV_HOST_HOST_RUN_H

#include <functional>
#include <memory>
#include <string>

#include "driver_session.h"
#include "entry/ldi.h"
#include "options.h"

namespace tcudv::host {

struct OpenedDriver {
  std::unique_ptr<DriverSession> session;  // null when the driver could not be used
  LdiInfo info{};
  std::string path;
};

// Loads the driver and calls GetLdiInfo; prints what went wrong to stderr.
OpenedDriver OpenDriver(const Options& options);

using PortCommand = std::function<int(DriverSession& session, const LdiInfo& info)>;

// Opens the driver, allocates the workspace, runs ColdStart on the options'
// port, then command, then EndLdi. Returns the exit code of it all.
int RunOnPort(const Options& options, const PortCommand& command);

}  // namespace tcudv::host

#endif
