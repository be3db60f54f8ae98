// The read frame: "N", the node, "T", the parameter's value id, "*".
#ifndef TCUDVNT_READ_FRAME_H
#define TCUDVNT_READ_FRAME_H

#include <cstddef>
#include <cstdint>

#include "entry/ldi.h"

namespace tcudv {

// Builds the read frame of the record's node and parameter (both in range) as
// a NUL-terminated text in the buffer, and returns its length in characters.
uint8_t BuildReadFrame(const LdiGateIo& io, char* buffer, size_t size);

}  // namespace tcudv

#endif
