// The start every request frame shares: "N" and the node in two digits.
#ifndef TCUDVNT_FRAME_START_H
#define TCUDVNT_FRAME_START_H

#include <cstddef>
#include <cstdint>

namespace tcudv {

// Where the command letter goes.
inline constexpr size_t kCommandOffset = 3;

// Writes "N" and then the node as "%02u"; the buffer must hold more than
// kCommandOffset bytes. The node is 1 to 99.
void WriteFrameStart(char* buffer, size_t size, uint32_t node);

}  // namespace tcudv

#endif
