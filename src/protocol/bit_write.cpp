#include "protocol/bit_write.h"

#include "entry/host_log.h"
#include "protocol/single_read.h"
#include "protocol/value_cell.h"
#include "protocol/value_text.h"

namespace tcudv {
namespace {

constexpr uint16_t kLargestDigit = 9;
constexpr int32_t kWholeWord = -1;

}  // namespace

int32_t BitWriteValue(LdiCall* call, LdiGateIo& io, float* value) {
  const uint16_t digit = CellWord(io.value);
  if (digit > kLargestDigit) return LDI_REFUSED;
  const int32_t bit = io.bit;
  const uint32_t aux = io.aux;

  io.bit = kWholeWord;
  io.aux = 0;
  const int32_t read = SingleRead(call);
  const uint32_t word = CellWord(io.value);
  io.bit = bit;
  io.aux = aux;
  StoreCellWord(io.value, digit);
  if (read != LDI_OK) {
    HostLog(kLogInfo, "LDIYY> BuildWriteReq() WORD read for bit write, rc %d", read);
    return read;
  }

  // The same digit the read side takes from a word: word mod 10^(b+1) div 10^b.
  const uint32_t place = Pow10(static_cast<uint32_t>(bit));
  const uint32_t old = word % Pow10(static_cast<uint32_t>(bit) + 1) / place;
  *value = static_cast<float>(word - old * place + digit * place);
  return LDI_OK;
}

}  // namespace tcudv
