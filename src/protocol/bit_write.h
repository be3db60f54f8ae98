// The value of a bit write: the gate's word read, one decimal digit replaced.
#ifndef TCUDVNT_BIT_WRITE_H
#define TCUDVNT_BIT_WRITE_H

#include <cstdint>

#include "entry/ldi.h"

namespace tcudv {

// For a word gate whose bit is a digit position 0 to 3 and whose value cell's
// word is the digit to write, 0 to 9: reads the parameter's whole word, puts the
// digit in place of the one `bit` places from the right, and gives the word in
// *value. The record and the cell's word are as they were afterwards. Returns 0,
// 1 for a digit above 9 (nothing is sent), or the failed read's result.
int32_t BitWriteValue(LdiCall* call, LdiGateIo& io, float* value);

}  // namespace tcudv

#endif
