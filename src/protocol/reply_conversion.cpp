#include "protocol/reply_conversion.h"

#include <cstdlib>

#include "entry/host_log.h"
#include "protocol/value_cell.h"
#include "protocol/value_text.h"

namespace tcudv {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The reply as "%u" reads it: blanks, an optional sign, decimal digits; a
// negative number gives its 32-bit two's complement. False when there is no
// digit, or the number has more than 32 bits, which no word can come from.
bool ReadWord(const char* text, uint32_t* word) {
  while (IsBlank(*text)) ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  if (*text < '0' || *text > '9') return false;
  uint64_t magnitude = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    magnitude = magnitude * 10 + static_cast<uint64_t>(*text - '0');
    if (magnitude > UINT32_MAX) return false;
  }
  const auto value = static_cast<uint32_t>(magnitude);
  *word = negative ? 0u - value : value;
  return true;
}

}  // namespace

uint8_t ConvertReply(LdiGateIo& io, const char* reply, uint32_t operation) {
  if (operation != LDI_OP_SINGLE_READ) {
    HostLog(kLogInfo, "LDIYY> Blocks not supported.");
    return LDI_REFUSED;
  }
  if (io.type == LDI_TYPE_FLOAT) {
    if (reply[0] != '\0' && reply[1] == '#') return LDI_REFUSED;
    char* end = nullptr;
    const float value = std::strtof(reply, &end);
    if (end == reply) return LDI_REFUSED;
    StoreCellFloat(io.value, value);
    return LDI_OK;
  }
  if (io.type == LDI_TYPE_WORD) {
    uint32_t word = 0;
    if (!ReadWord(reply, &word)) return LDI_REFUSED;
    if (io.bit >= 0) {
      const auto position = static_cast<uint32_t>(io.bit);
      word = word % Pow10(position + 1) / Pow10(position);
    }
    StoreCellWord(io.value, static_cast<uint16_t>(word));
  }
  return LDI_OK;
}

}  // namespace tcudv
