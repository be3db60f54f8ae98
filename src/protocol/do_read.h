// One read transaction: up to three attempts, the gate-0 test, the conversion.
#ifndef TCUDVNT_DO_READ_H
#define TCUDVNT_DO_READ_H

#include <cstdint>

#include "entry/ldi.h"

namespace tcudv {

// Reads the call's gate into its value cell. 0 read; 1 refused, or a parameter
// that stays unanswered while parameter 0 answers; 2 the line or the node failed.
uint8_t DoRead(LdiCall* call, uint32_t operation);

}  // namespace tcudv

#endif
