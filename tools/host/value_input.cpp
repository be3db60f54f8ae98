#include "value_input.h"

#include "entry/ldi.h"
#include "numbers.h"

namespace tcudv::host {

std::string EncodeWriteValue(uint32_t type, std::string_view text, ValueCell& cell) {
  cell = ValueCell{};
  switch (type) {
    case LDI_TYPE_FLOAT: {
      std::optional<float> value = ParseFiniteFloat(text);
      if (!value) return "a float gate takes a number, as 150 or -12.5";
      StoreFloat(cell, *value);
      return {};
    }
    case LDI_TYPE_WORD: {
      std::optional<int64_t> value = ParseInteger(text, -32768, 65535);
      if (!value) return "a word gate takes a whole number from -32768 to 65535";
      StoreWord(cell, static_cast<uint16_t>(*value & 0xFFFF));
      return {};
    }
    case LDI_TYPE_BIT:
      return {};
    default:
      return "the driver gave this gate a data type the tool does not know";
  }
}

}  // namespace tcudv::host
