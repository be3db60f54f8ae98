#include "core/lifecycle.h"
#include "core/workspace.h"
#include "entry/ended_flag.h"
#include "entry/host_log.h"

namespace tcudv {

int32_t EndLdi(LdiCall* call) {
  if (WorkspaceOf(call) == nullptr) return LDI_REFUSED;
  SetEndedFlag(1);
  const int32_t result = CloseCom(call);
  HostLog(kLogInfo, "LDIYY> EndLdi() exited, %d", result);
  return result;
}

}  // namespace tcudv
