#include "protocol/read_frame.h"

#include <cstdio>
#include <cstring>

#include "params/parameter_table.h"
#include "protocol/frame_start.h"

namespace tcudv {

uint8_t BuildReadFrame(const LdiGateIo& io, char* buffer, size_t size) {
  WriteFrameStart(buffer, size, io.node);
  std::snprintf(buffer + kCommandOffset, size - kCommandOffset, "T%s*", kValueId[io.param]);
  return static_cast<uint8_t>(std::strlen(buffer));
}

}  // namespace tcudv
