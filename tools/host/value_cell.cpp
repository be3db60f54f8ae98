#include "value_cell.h"

#include <cstring>

namespace tcudv::host {

// The driver runs in this process, so the float is in the machine's own order.
void StoreFloat(ValueCell& cell, float value) {
  std::memcpy(cell.bytes, &value, sizeof value);
}

float LoadFloat(const ValueCell& cell) {
  float value = 0;
  std::memcpy(&value, cell.bytes, sizeof value);
  return value;
}

void StoreWord(ValueCell& cell, uint16_t word) {
  cell.bytes[2] = static_cast<unsigned char>(word & 0xFF);
  cell.bytes[3] = static_cast<unsigned char>(word >> 8);
}

uint16_t LoadWord(const ValueCell& cell) {
  return static_cast<uint16_t>(cell.bytes[2] | (cell.bytes[3] << 8));
}

}  // namespace tcudv::host
