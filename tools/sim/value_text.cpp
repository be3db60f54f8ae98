#include "sim/value_text.h"

namespace tcudv::sim {

std::optional<int64_t> ParseMilli(std::string_view text) {
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  int64_t milli = 0;
  int digits = 0;
  bool point = false;
  int decimals = 0;
  bool roundUp = false;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '.') {
      if (point) return std::nullopt;
      point = true;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    ++digits;
    const int digit = c - '0';
    if (!point) {
      milli = milli * 10 + digit * 1000;
      if (milli > kMaxMilli) return std::nullopt;
    } else if (decimals < 3) {
      static constexpr int kPlace[3] = {100, 10, 1};
      milli += digit * kPlace[decimals++];
    } else if (decimals++ == 3) {
      roundUp = digit >= 5;
    }
  }
  if (digits == 0) return std::nullopt;
  if (roundUp) ++milli;
  if (milli > kMaxMilli) return std::nullopt;
  return negative ? -milli : milli;
}

}  // namespace tcudv::sim
