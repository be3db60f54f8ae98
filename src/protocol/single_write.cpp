#include "protocol/single_write.h"

#include "entry/host_log.h"
#include "protocol/do_write.h"

namespace tcudv {

int32_t SingleWrite(LdiCall* call) {
  const int32_t result = DoWrite(call, LDI_OP_SINGLE_WRITE);
  if (result != LDI_OK) {
    const auto* io = call != nullptr ? static_cast<const LdiGateIo*>(call->record) : nullptr;
    const char* label = io != nullptr && io->label != nullptr ? io->label : "";
    HostLog(kLogInfo, "LDIYY> SingleWrite() , ret val is %d block '%s'", result, label);
  }
  return result;
}

}  // namespace tcudv
