// A driver instance started on the fuzzers' fake port.
#ifndef TCUDVNT_FUZZ_DRIVER_START_H
#define TCUDVNT_FUZZ_DRIVER_START_H

#include <cstdint>

#include "core/workspace.h"

namespace tcudv::fuzz {

// ColdStart with the port open and the given reply time-out; aborts when the
// open fails. The fake line must have been reset before.
void StartDriver(Workspace& workspace, int32_t replyTimeout);

// Operation `operation` with `record` on the workspace; LdiMain's result.
int32_t Call(Workspace& workspace, uint32_t operation, void* record);

}  // namespace tcudv::fuzz

#endif
