#include "sim/byte_escape.h"

namespace tcudv::sim {

std::string QuoteBytes(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text = "\"";
  for (const char c : bytes) {
    const unsigned char b = static_cast<unsigned char>(c);
    switch (c) {
      case '\\':
        text += "\\\\";
        break;
      case '"':
        text += "\\\"";
        break;
      case '\r':
        text += "\\r";
        break;
      case '\n':
        text += "\\n";
        break;
      case '\t':
        text += "\\t";
        break;
      default:
        if (b >= 0x20 && b <= 0x7E) {
          text += c;
        } else {
          text += "\\x";
          text += kHex[b >> 4];
          text += kHex[b & 0xF];
        }
    }
  }
  text += '"';
  return text;
}

}  // namespace tcudv::sim
