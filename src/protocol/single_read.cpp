#include "protocol/single_read.h"

#include "entry/host_log.h"
#include "protocol/do_read.h"

namespace tcudv {

int32_t SingleRead(LdiCall* call) {
  const int32_t result = DoRead(call, LDI_OP_SINGLE_READ);
  if (result != LDI_OK) HostLog(kLogInfo, "LDIYY> SingleRead(), ret val is %d", result);
  return result;
}

}  // namespace tcudv
