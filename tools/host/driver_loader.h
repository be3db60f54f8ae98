// The platform's half of being a host: loading the driver library, finding
// LdiMain, and taking the driver's log lines. Everything else is portable.
#ifndef TCUDV_HOST_DRIVER_LOADER_H
#define TCUDV_HOST_DRIVER_LOADER_H

#include <string>

#include "entry/ldi.h"

namespace tcudv::host {

using LdiMainFunction = int32_t(LDI_CALL*)(LdiCall* call);

struct LoadedDriver {
  LdiMainFunction ldiMain = nullptr;  // null when loading failed
  std::string error;                  // why, when it failed
};

// The library next to the tool's own executable.
std::string DefaultDriverPath();

// Loads the library at path, finds LdiMain and routes the driver's log lines
// to DriverLogLine. The library stays loaded until the process ends.
LoadedDriver LoadDriver(const std::string& path);

}  // namespace tcudv::host

#endif
