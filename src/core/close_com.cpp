#include "core/lifecycle.h"
#include "core/workspace.h"
#include "entry/host_log.h"
#include "serial/sio.h"

namespace tcudv {

int32_t CloseCom(LdiCall* call) {
  Workspace* workspace = WorkspaceOf(call);
  if (workspace == nullptr) return LDI_REFUSED;
  if (workspace->portHandle == 0) return LDI_OK;
  if (SioClose(workspace->portHandle) == SIO_OK) {
    workspace->portHandle = 0;
    return LDI_OK;
  }
  HostLog(kLogInfo, "LDIYY> CloseCom() exited 2");
  return LDI_FAILED;
}

}  // namespace tcudv
