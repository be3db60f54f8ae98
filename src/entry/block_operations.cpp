#include "entry/block_operations.h"

#include "entry/host_log.h"

namespace tcudv {
namespace {

int32_t RefuseBlocks() {
  HostLog(kLogInfo, "LDIYY> No blocks supported.");
  return LDI_REFUSED;
}

}  // namespace

int32_t BlockAddressParser(LdiCall*) { return RefuseBlocks(); }
int32_t BlockRead(LdiCall*) { return RefuseBlocks(); }
int32_t BlockWrite(LdiCall*) { return RefuseBlocks(); }

}  // namespace tcudv
