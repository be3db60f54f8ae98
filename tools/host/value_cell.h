// The 4-byte value cell of a gate: a float in bytes 0 to 3, or a 16-bit
// little-endian word in bytes 2 and 3 with bytes 0 and 1 left alone.
#ifndef TCUDV_HOST_VALUE_CELL_H
#define TCUDV_HOST_VALUE_CELL_H

#include <cstdint>

namespace tcudv::host {

struct ValueCell {
  alignas(4) unsigned char bytes[4] = {0, 0, 0, 0};
};

void StoreFloat(ValueCell& cell, float value);
float LoadFloat(const ValueCell& cell);
void StoreWord(ValueCell& cell, uint16_t word);
uint16_t LoadWord(const ValueCell& cell);

}  // namespace tcudv::host

#endif
