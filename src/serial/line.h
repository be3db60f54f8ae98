// One frame onto the line, one reply line off it.
#ifndef TCUDVNT_LINE_H
#define TCUDVNT_LINE_H

#include <cstddef>
#include <cstdint>

#include "platform/comm.h"

namespace tcudv {

// 0 when every byte was written, else 2. RTS is raised around the frame.
int32_t Send(const char* frame, uint16_t length, CommHandle handle, uint16_t frameGap);

// 0 for a complete line ended by CR LF, stored with a NUL behind the LF;
// 1 for a time-out, a read error, or a line that does not fit bufferSize.
int32_t ReadReply(char* buffer, size_t bufferSize, CommHandle handle);

}  // namespace tcudv

#endif
