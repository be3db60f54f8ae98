// One driver instance as a host holds it: the workspace it allocated and the
// calls it makes through LdiMain.
#ifndef TCUDV_HOST_DRIVER_SESSION_H
#define TCUDV_HOST_DRIVER_SESSION_H

#include <cstdint>
#include <vector>

#include "driver_loader.h"
#include "entry/ldi.h"

namespace tcudv::host {

// Workspace sizes beyond this are taken as a broken driver, not allocated.
inline constexpr uint32_t kMaxWorkspaceSize = 1u << 20;

class DriverSession {
 public:
  explicit DriverSession(LdiMainFunction ldiMain) : ldiMain_(ldiMain) {}

  // GetLdiInfo: needs no workspace.
  int32_t GetInfo(LdiInfo& info);
  // A zeroed workspace of the size GetLdiInfo reported; false when the size is not sane.
  bool AllocateWorkspace(uint32_t size);

  int32_t ColdStart(const LdiStartup& startup, uint32_t instance);
  int32_t ParseAddress(LdiGateAddress& address);
  int32_t Read(LdiGateIo& io);
  int32_t Write(LdiGateIo& io);
  int32_t End();

 private:
  int32_t Call(uint32_t operation, void* record);

  LdiMainFunction ldiMain_;
  std::vector<unsigned char> workspace_;
  uint32_t instance_ = 0;
};

}  // namespace tcudv::host

#endif
