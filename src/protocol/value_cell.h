// The host's 4-byte value cell: a float in bytes 0 to 3, or a word in bytes 2 and 3,
// both little-endian.
#ifndef TCUDVNT_VALUE_CELL_H
#define TCUDVNT_VALUE_CELL_H

#include <cstdint>
#include <cstring>

namespace tcudv {

inline constexpr size_t kValueCellSize = 4;

inline float CellFloat(const void* cell) {
  const auto* bytes = static_cast<const uint8_t*>(cell);
  const uint32_t bits =
      bytes[0] | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline void StoreCellFloat(void* cell, float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  auto* bytes = static_cast<uint8_t*>(cell);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}

inline uint16_t CellWord(const void* cell) {
  const auto* bytes = static_cast<const uint8_t*>(cell);
  return static_cast<uint16_t>(bytes[2] | bytes[3] << 8);
}

// Bytes 0 and 1 stay as they are.
inline void StoreCellWord(void* cell, uint16_t word) {
  auto* bytes = static_cast<uint8_t*>(cell);
  bytes[2] = static_cast<uint8_t>(word);
  bytes[3] = static_cast<uint8_t>(word >> 8);
}

}  // namespace tcudv

#endif
