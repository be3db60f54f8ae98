#include "core/open_com.h"

#include <cstring>

#include "entry/host_log.h"
#include "serial/sio.h"

namespace tcudv {

CommHandle OpenCom(const Workspace& workspace) {
  CommHandle handle = 0;
  // A name without its NUL (a workspace never given one) opens nothing.
  const bool named = std::memchr(workspace.portName, '\0', kPortNameSize) != nullptr;
  if (named && SioOpen(workspace.portName, &workspace.lineParams, workspace.portSettings,
                       &handle) == SIO_OK) {
    HostLog(kLogInfo, "LDIYY> OpenCom() exited OK, file handle %u", static_cast<unsigned>(handle));
    return handle;
  }
  HostLog(kLogInfo, "LDIYY> OpenCom() open COM port failed");
  return 0;
}

}  // namespace tcudv
