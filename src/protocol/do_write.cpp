#include "protocol/do_write.h"

#include <cstring>

#include "core/workspace.h"
#include "entry/host_log.h"
#include "params/parameter_table.h"
#include "protocol/build_write_req.h"
#include "protocol/gate_record.h"
#include "serial/line.h"
#include "serial/sio.h"

namespace tcudv {
namespace {

constexpr int kAttempts = 3;

}  // namespace

int32_t DoWrite(LdiCall* call, uint32_t operation) {
  LdiGateIo* const io = GateIoOf(call);
  if (io == nullptr) return LDI_REFUSED;
  Workspace& ws = *WorkspaceOf(call);
  if (ws.portHandle == 0) return LDI_REFUSED;
  if (!GateRecordInRange(*io)) return LDI_REFUSED;
  if (!IsWritable(io->param)) {
    HostLog(kLogInfo, "LDIYY> Gate %u cannot be written.", static_cast<unsigned>(io->param));
    return LDI_REFUSED;
  }
  const int32_t built =
      BuildWriteReq(*io, ws.requestBuffer, sizeof ws.requestBuffer, operation, call);
  if (built != LDI_OK) return built;

  const auto length = static_cast<uint16_t>(strnlen(ws.requestBuffer, sizeof ws.requestBuffer));
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    SioPurgeInput(ws.portHandle);
    if (Send(ws.requestBuffer, length, ws.portHandle, ws.frameGap) == 0) return LDI_OK;
    HostLog(kLogInfo, "LDIYY> DoWrite() Send request error retry %d", attempt);
  }
  return LDI_FAILED;
}

}  // namespace tcudv
