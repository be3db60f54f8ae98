#include "core/lifecycle.h"
#include "core/workspace.h"
#include "entry/host_log.h"
#include "serial/sio.h"

namespace tcudv {

int32_t WarmStart(LdiCall* call) {
  Workspace* workspace = WorkspaceOf(call);
  if (workspace == nullptr) return LDI_REFUSED;
  if (workspace->portHandle != 0) SioPurgeInput(workspace->portHandle);
  HostLog(kLogInfo, "LDIYY> WarmStart()");
  return LDI_OK;
}

}  // namespace tcudv
