// The operations LdiMain dispatches to, indexed by the operation code.
#ifndef TCUDVNT_OPERATION_TABLE_H
#define TCUDVNT_OPERATION_TABLE_H

#include <cstdint>

#include "entry/ldi.h"

namespace tcudv {

using Operation = int32_t (*)(LdiCall* call);

inline constexpr uint32_t kOperationCount = 17;

// Empty entries are null.
extern const Operation kOperationTable[kOperationCount];

}  // namespace tcudv

#endif
