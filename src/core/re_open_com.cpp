#include "core/lifecycle.h"
#include "core/open_com.h"
#include "core/workspace.h"
#include "entry/host_log.h"
#include "serial/sio.h"

namespace tcudv {

int32_t ReOpenCom(LdiCall* call) {
  Workspace* workspace = WorkspaceOf(call);
  if (workspace == nullptr) return LDI_REFUSED;
  // A port that is still open is not closed first.
  const CommHandle handle = OpenCom(*workspace);
  if (handle == 0) {
    HostLog(kLogAlarm, "LDIYY> ReOpenCom() exited 2");
    return LDI_FAILED;
  }
  workspace->portHandle = handle;
  SioSetReadTimeout(handle, workspace->replyTimeout);
  HostLog(kLogInfo, "LDIYY> ReOpenCom() exited 0");
  return LDI_OK;
}

}  // namespace tcudv
