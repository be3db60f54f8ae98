#include "protocol/do_read.h"

#include <cstring>

#include "core/workspace.h"
#include "entry/host_log.h"
#include "params/parameter_table.h"
#include "protocol/gate_record.h"
#include "protocol/read_frame.h"
#include "protocol/reply_conversion.h"
#include "protocol/value_cell.h"
#include "serial/line.h"
#include "serial/sio.h"

namespace tcudv {
namespace {

constexpr int kAttempts = 3;

// Reads parameter 0 of the gate's node to tell a dead node from a parameter it
// does not answer. The gate's value cell and param come out as they went in.
uint8_t GateZeroTest(LdiCall* call, LdiGateIo& io, uint32_t operation) {
  uint8_t kept[kValueCellSize];
  std::memcpy(kept, io.value, sizeof kept);
  const uint32_t param = io.param;
  io.param = kParamTmp;
  const uint8_t result = DoRead(call, operation);
  io.param = param;
  std::memcpy(io.value, kept, sizeof kept);
  return result;
}

}  // namespace

uint8_t DoRead(LdiCall* call, uint32_t operation) {
  LdiGateIo* const io = GateIoOf(call);
  if (io == nullptr) return LDI_REFUSED;
  Workspace& ws = *WorkspaceOf(call);
  if (ws.portHandle == 0) return LDI_REFUSED;
  if (!GateRecordInRange(*io)) return LDI_REFUSED;

  SioPurgeInput(ws.portHandle);
  if ((kFlags[io->param] & PF_READ) == 0) {
    HostLog(kLogInfo, "LDIYY> Gate %u cannot be read.", static_cast<unsigned>(io->param));
    return LDI_REFUSED;
  }
  uint8_t length = BuildReadFrame(*io, ws.requestBuffer, sizeof ws.requestBuffer);
  const int gate = static_cast<int>(io->param);

  uint8_t result = LDI_OK;
  for (int left = kAttempts; left > 0;) {
    --left;
    const int attempt = kAttempts - left;
    result = LDI_OK;
    if (Send(ws.requestBuffer, length, ws.portHandle, ws.frameGap) != 0) {
      result = LDI_FAILED;
      HostLog(kLogInfo, "LDIYY> DoRead() Send request error retry %d for gate %d", attempt, gate);
      continue;
    }
    if (ReadReply(ws.replyBuffer, sizeof ws.replyBuffer, ws.portHandle) != 0) {
      if (io->param == kParamTmp) {
        result = LDI_FAILED;
        HostLog(kLogInfo, "LDIYY> DoRead() Read reply error retry %d for gate 0", attempt);
      } else if (attempt == 1) {
        const uint8_t test = GateZeroTest(call, *io, operation);
        SioPurgeInput(ws.portHandle);
        length = BuildReadFrame(*io, ws.requestBuffer, sizeof ws.requestBuffer);
        if (test == LDI_FAILED) {
          HostLog(kLogInfo, "LDIYY> DoRead() Test request error = PLC-comm. error");
          return LDI_FAILED;
        }
        result = LDI_REFUSED;
      } else {
        result = LDI_REFUSED;
        HostLog(kLogInfo, "LDIYY> DoRead() Read reply error retry %d for gate %d", attempt, gate);
      }
      continue;
    }
    if (ws.replyBuffer[0] != ' ' && ws.replyBuffer[0] != '-') {
      result = LDI_FAILED;
      HostLog(kLogInfo, "LDIYY> DoRead() Read reply invalid retry %d", attempt);
      continue;
    }
    break;
  }
  if (result != LDI_OK) return result;
  return ConvertReply(*io, ws.replyBuffer, operation);
}

}  // namespace tcudv
