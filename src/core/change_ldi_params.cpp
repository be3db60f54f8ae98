#include "core/lifecycle.h"
#include "core/open_com.h"
#include "core/port_description.h"
#include "core/workspace.h"
#include "entry/host_log.h"
#include "serial/sio.h"

namespace tcudv {
namespace {

constexpr uint32_t kKeepTimeout = 0xFFFFFFFFu;  // as 0: keep the current one

}  // namespace

int32_t ChangeLdiParams(LdiCall* call) {
  Workspace* workspace = WorkspaceOf(call);
  const auto* params = static_cast<const LdiPortParams*>(call->record);
  if (workspace == nullptr || params == nullptr) return LDI_REFUSED;

  if (params->replyTimeout != 0 && params->replyTimeout != kKeepTimeout) {
    workspace->replyTimeout = static_cast<int32_t>(params->replyTimeout);
  }
  char name[kPortNameSize];
  StorePortName(name, params->portName);
  // Another port: close the old one first; a refused close does not stop the move.
  if (!SamePortName(name, workspace->portName) && workspace->portHandle != 0) CloseCom(call);
  StorePortName(workspace->portName, name);
  if (params->lineParams.baudRate != 0) workspace->lineParams = params->lineParams;

  const CommHandle handle = OpenCom(*workspace);
  if (handle == 0) {
    HostLog(kLogInfo, "LDIYY> ChangeLdiParams() open new COM port failed");
    return LDI_FAILED;
  }
  workspace->portHandle = handle;
  SioSetReadTimeout(handle, workspace->replyTimeout);
  return LDI_OK;
}

}  // namespace tcudv
