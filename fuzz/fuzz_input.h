// The fuzz input taken apart field by field; past its end every field reads 0.
#ifndef TCUDVNT_FUZZ_INPUT_H
#define TCUDVNT_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace tcudv::fuzz {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data(data), size(size) {}

  uint8_t Byte() { return position < size ? data[position++] : 0; }

  uint16_t U16() {
    uint16_t value = Byte();
    return static_cast<uint16_t>(value | Byte() << 8);
  }

  uint32_t U32() {
    uint32_t value = U16();
    return value | static_cast<uint32_t>(U16()) << 16;
  }

  // Up to `count` bytes, fewer at the end of the input.
  std::string Bytes(size_t count) {
    const size_t taken = count < Left() ? count : Left();
    std::string bytes(reinterpret_cast<const char*>(data + position), taken);
    position += taken;
    return bytes;
  }

  std::string Rest() { return Bytes(Left()); }

  size_t Left() const { return size - position; }

 private:
  const uint8_t* data;
  size_t size;
  size_t position = 0;
};

}  // namespace tcudv::fuzz

#endif
