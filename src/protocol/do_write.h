// One write transaction: the checks, the frame, up to three send attempts.
#ifndef TCUDVNT_DO_WRITE_H
#define TCUDVNT_DO_WRITE_H

#include <cstdint>

#include "entry/ldi.h"

namespace tcudv {

// Writes the call's gate. 0 sent; 1 refused; 2 every send failed; or the
// result of a bit write's failed read.
int32_t DoWrite(LdiCall* call, uint32_t operation);

}  // namespace tcudv

#endif
