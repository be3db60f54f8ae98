// The start-up record ColdStart gets: the options' port, time-out and line,
// the driver's defaults for what the options leave out.
#ifndef TCUDV_HOST_STARTUP_RECORD_H
#define TCUDV_HOST_STARTUP_RECORD_H

#include <cstdint>

#include "entry/ldi.h"
#include "options.h"

namespace tcudv::host {

// A reply time-out in milliseconds as the driver counts it, in 10 ms units, rounded up.
int32_t TimeoutUnits(uint32_t ms);

// The port name must already fit the record (PortNameProblem).
LdiStartup MakeStartup(const Options& options, const LdiInfo& info);

}  // namespace tcudv::host

#endif
