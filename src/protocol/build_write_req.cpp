#include "protocol/build_write_req.h"

#include <cstdio>
#include <cstring>

#include "core/workspace.h"
#include "entry/host_log.h"
#include "params/parameter_table.h"
#include "protocol/bit_write.h"
#include "protocol/frame_start.h"
#include "protocol/value_cell.h"
#include "protocol/value_text.h"

namespace tcudv {
namespace {

constexpr uint32_t kNegativeZeroBits = 0x80000000u;
constexpr uint32_t kValueWidth = 4;
constexpr uint32_t kControlWidth = 1;
constexpr size_t kValueTextSize = 8;

bool IsBelowZero(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits > kNegativeZeroBits;
}

}  // namespace

int32_t BuildWriteReq(LdiGateIo& io, char* request, size_t requestSize, uint32_t operation,
                      LdiCall* call) {
  if ((operation & 0xFF) != LDI_OP_SINGLE_WRITE) {
    HostLog(kLogInfo, "LDIYY> Block write not possible.");
    return LDI_REFUSED;
  }
  WriteFrameStart(request, requestSize, io.node);
  char* const command = request + kCommandOffset;
  const size_t commandSize = requestSize - kCommandOffset;
  const uint8_t flags = kFlags[io.param];
  const char* const valueId = kValueId[io.param];

  float value = 0;
  bool hasValue = true;
  if (io.type == LDI_TYPE_FLOAT) {
    value = CellFloat(io.value);
  } else if (io.type == LDI_TYPE_WORD && io.bit == -1) {
    value = static_cast<int16_t>(CellWord(io.value));
  } else if (io.type == LDI_TYPE_WORD) {
    const int32_t result = BitWriteValue(call, io, &value);
    if (result != LDI_OK) return result;
  } else {
    hasValue = false;
  }

  if ((flags & PF_RESET) != 0) {
    std::snprintf(command, commandSize, "R%s*", valueId);
    return LDI_OK;
  }
  if (!hasValue) return LDI_REFUSED;

  const bool control = (flags & PF_CONTROL) != 0;
  uint32_t width = kValueWidth;
  if (control) {
    const uint16_t word = CellWord(io.value);
    if (word != 1 && word != 2) return LDI_REFUSED;
    width = kControlWidth;
  }
  if (IsBelowZero(value)) ++width;
  const unsigned decimals = WorkspaceOf(call)->resolution[io.node][io.param];
  if (decimals != 0) ++width;

  char text[kValueTextSize];
  std::snprintf(text, sizeof text, "0%u.%u", static_cast<unsigned>(width), decimals);
  if (FormatValue(text, value) != 0) {
    HostLog(kLogInfo, "LDIYY> Value doesn't fitt in width.");
    return LDI_REFUSED;
  }
  if (control) {
    std::snprintf(command, commandSize, "C%s%s*", valueId, text);
  } else {
    std::snprintf(command, commandSize, "V%s%s*", valueId, text);
  }
  return LDI_OK;
}

}  // namespace tcudv
