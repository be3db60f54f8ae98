#include "protocol/frame_start.h"

#include <cstdio>

namespace tcudv {

void WriteFrameStart(char* buffer, size_t size, uint32_t node) {
  std::snprintf(buffer, size, "N");
  std::snprintf(buffer + 1, size - 1, "%02u", static_cast<unsigned>(node));
}

}  // namespace tcudv
