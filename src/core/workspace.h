// The per-instance record the host allocates: everything that lasts between calls.
#ifndef TCUDVNT_WORKSPACE_H
#define TCUDVNT_WORKSPACE_H

#include <cstddef>
#include <cstdint>

#include "entry/ldi.h"

namespace tcudv {

inline constexpr unsigned kNodeRows = 100;     // nodes 0 to 99
inline constexpr unsigned kParameterCount = 28;
inline constexpr size_t kPortNameSize = 12;
inline constexpr size_t kReplyBufferSize = 32;
inline constexpr size_t kRequestBufferSize = 32;
inline constexpr uint16_t kDefaultFrameGap = 100;
inline constexpr uint16_t kColdStartPortSettings = 0x0303;

struct Workspace {
  int32_t replyTimeout;                               // units of 10 ms
  uint32_t portHandle;                                // 0: no port open
  char portName[kPortNameSize];                       // NUL-terminated
  LdiLineParams lineParams;
  uint16_t portSettings;
  char replyBuffer[kReplyBufferSize];
  char requestBuffer[kRequestBufferSize];
  uint8_t resolution[kNodeRows][kParameterCount];     // decimal places, 0 to 3
  uint16_t frameGap;                                  // ms before every frame
};

static_assert(sizeof(Workspace) == LDI_WORKSPACE_SIZE);
static_assert(offsetof(Workspace, replyTimeout) == 0);
static_assert(offsetof(Workspace, portHandle) == 4);
static_assert(offsetof(Workspace, portName) == 8);
static_assert(offsetof(Workspace, lineParams) == 20);
static_assert(offsetof(Workspace, portSettings) == 28);
static_assert(offsetof(Workspace, replyBuffer) == 30);
static_assert(offsetof(Workspace, requestBuffer) == 62);
static_assert(offsetof(Workspace, resolution) == 94);
static_assert(offsetof(Workspace, frameGap) == 2894);

inline Workspace* WorkspaceOf(const LdiCall* call) { return static_cast<Workspace*>(call->workspace); }

}  // namespace tcudv

#endif
