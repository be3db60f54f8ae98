#ifndef TCUDVNT_BLOCK_OPERATIONS_H
#define TCUDVNT_BLOCK_OPERATIONS_H

#include <cstdint>

#include "entry/ldi.h"

namespace tcudv {

// The driver serves single gates only: the block operations are refused.
int32_t BlockAddressParser(LdiCall* call);
int32_t BlockRead(LdiCall* call);
int32_t BlockWrite(LdiCall* call);

}  // namespace tcudv

#endif
