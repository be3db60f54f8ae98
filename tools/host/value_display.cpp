#include "value_display.h"

#include <charconv>
#include <cmath>

#include "entry/ldi.h"

namespace tcudv::host {

std::string FormatFloat(float value) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  char text[64];
  auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  if (error != std::errc()) return "?";
  std::string shown(text, end);
  if (shown.find('.') == std::string::npos) shown += ".0";
  return shown;
}

std::string DisplayValue(uint32_t type, const ValueCell& cell) {
  switch (type) {
    case LDI_TYPE_FLOAT:
      return FormatFloat(LoadFloat(cell));
    case LDI_TYPE_WORD:
      return std::to_string(static_cast<int16_t>(LoadWord(cell)));
    default:
      return "-";
  }
}

}  // namespace tcudv::host
