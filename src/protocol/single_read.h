// Operation 5: read one gate.
#ifndef TCUDVNT_SINGLE_READ_H
#define TCUDVNT_SINGLE_READ_H

#include <cstdint>

#include "entry/ldi.h"

namespace tcudv {

int32_t SingleRead(LdiCall* call);

}  // namespace tcudv

#endif
