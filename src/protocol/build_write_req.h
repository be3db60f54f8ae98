// The write frame: reset, control or change value, by the parameter's flags.
#ifndef TCUDVNT_BUILD_WRITE_REQ_H
#define TCUDVNT_BUILD_WRITE_REQ_H

#include <cstddef>
#include <cstdint>

#include "entry/ldi.h"

namespace tcudv {

// Builds the frame for the record (in range, writable parameter) in the request
// buffer. Returns 0 when the frame stands there; 1 for an operation other than
// 7, a control value other than 1 or 2, a gate with no value to write, or a value
// that does not fit its width; a bit write's failed read gives that read's result.
int32_t BuildWriteReq(LdiGateIo& io, char* request, size_t requestSize, uint32_t operation,
                      LdiCall* call);

}  // namespace tcudv

#endif
