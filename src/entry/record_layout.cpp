// Compile-time proof that the host records have their documented offsets.
#include <cstddef>

#include "entry/ldi.h"

namespace {

constexpr bool kNarrow = sizeof(void*) == 4;

constexpr size_t At(size_t narrow, size_t wide) { return kNarrow ? narrow : wide; }

}  // namespace

static_assert(sizeof(LdiLineParams) == 8);
static_assert(offsetof(LdiLineParams, dataBits) == 2 && offsetof(LdiLineParams, stopBits) == 4 &&
              offsetof(LdiLineParams, parity) == 6);

static_assert(offsetof(LdiCall, workspace) == 0);
static_assert(offsetof(LdiCall, operation) == At(4, 8));
static_assert(offsetof(LdiCall, instance) == At(8, 12));
static_assert(offsetof(LdiCall, unused12) == At(12, 16));
static_assert(offsetof(LdiCall, record) == At(16, 24));
static_assert(sizeof(LdiCall) == At(20, 32));

static_assert(offsetof(LdiInfo, infoTag) == 0);
static_assert(offsetof(LdiInfo, name) == At(4, 8));
static_assert(offsetof(LdiInfo, banner) == At(8, 16));
static_assert(offsetof(LdiInfo, workspaceSize) == At(12, 24));
static_assert(offsetof(LdiInfo, defaultReplyTimeout) == At(16, 28));
static_assert(offsetof(LdiInfo, defaultLineParams) == At(20, 32));
static_assert(offsetof(LdiInfo, unused28) == At(28, 40));
static_assert(sizeof(LdiInfo) == At(32, 48));

static_assert(offsetof(LdiStartup, portName) == 0);
static_assert(offsetof(LdiStartup, openPort) == 12);
static_assert(offsetof(LdiStartup, replyTimeout) == 16);
static_assert(offsetof(LdiStartup, lineParams) == 20);
static_assert(sizeof(LdiStartup) == 28);

static_assert(offsetof(LdiPortParams, portName) == 0);
static_assert(offsetof(LdiPortParams, replyTimeout) == 12);
static_assert(offsetof(LdiPortParams, lineParams) == 16);
static_assert(sizeof(LdiPortParams) == 24);

static_assert(offsetof(LdiGateAddress, address) == 0);
static_assert(offsetof(LdiGateAddress, unused4) == At(4, 8));
static_assert(offsetof(LdiGateAddress, kind) == At(8, 12));
static_assert(offsetof(LdiGateAddress, unused12) == At(12, 16));
static_assert(offsetof(LdiGateAddress, node) == At(16, 20));
static_assert(offsetof(LdiGateAddress, type) == At(20, 24));
static_assert(offsetof(LdiGateAddress, param) == At(24, 28));
static_assert(offsetof(LdiGateAddress, bit) == At(28, 32));
static_assert(offsetof(LdiGateAddress, width) == At(32, 36));
static_assert(sizeof(LdiGateAddress) == At(36, 40));

static_assert(offsetof(LdiGateIo, label) == 0);
static_assert(offsetof(LdiGateIo, unused4) == At(4, 8));
static_assert(offsetof(LdiGateIo, node) == At(8, 12));
static_assert(offsetof(LdiGateIo, type) == At(12, 16));
static_assert(offsetof(LdiGateIo, param) == At(16, 20));
static_assert(offsetof(LdiGateIo, bit) == At(20, 24));
static_assert(offsetof(LdiGateIo, unused24) == At(24, 28));
static_assert(offsetof(LdiGateIo, aux) == At(28, 32));
static_assert(offsetof(LdiGateIo, unused32) == At(32, 36));
static_assert(offsetof(LdiGateIo, unused36) == At(36, 40));
static_assert(offsetof(LdiGateIo, value) == At(40, 48));
static_assert(sizeof(LdiGateIo) == At(44, 56));
