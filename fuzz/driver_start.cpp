#include "driver_start.h"

#include <cstring>

#include "entry/ldi.h"
#include "fuzz_log.h"
#include "line_script.h"

namespace tcudv::fuzz {

int32_t Call(Workspace& workspace, uint32_t operation, void* record) {
  LdiCall call{};
  call.workspace = &workspace;
  call.operation = operation;
  call.record = record;
  return LdiMain(&call);
}

void StartDriver(Workspace& workspace, int32_t replyTimeout) {
  LdiStartup startup{};
  std::memcpy(startup.portName, kPortName, sizeof kPortName);
  startup.openPort = 1;
  startup.replyTimeout = replyTimeout;
  startup.lineParams = LdiLineParams{9600, 7, 0, 2};
  if (Call(workspace, LDI_OP_COLD_START, &startup) != LDI_OK)
    Fail("ColdStart did not open the fake port");
}

}  // namespace tcudv::fuzz
