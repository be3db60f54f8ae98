// The one routine through which every port is opened.
#ifndef TCUDVNT_OPEN_COM_H
#define TCUDVNT_OPEN_COM_H

#include "core/workspace.h"
#include "platform/comm.h"

namespace tcudv {

// Opens the port the workspace's port description names. The new handle, or 0
// when the open failed; the caller stores it and sets the reply time-out.
CommHandle OpenCom(const Workspace& workspace);

}  // namespace tcudv

#endif
