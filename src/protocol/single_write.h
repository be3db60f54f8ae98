// Operation 7: write one gate.
#ifndef TCUDVNT_SINGLE_WRITE_H
#define TCUDVNT_SINGLE_WRITE_H

#include <cstdint>

#include "entry/ldi.h"

namespace tcudv {

int32_t SingleWrite(LdiCall* call);

}  // namespace tcudv

#endif
