#include "numbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tcudv::host {
namespace {

// from_chars takes no plus sign; a user may well type one.
std::string_view WithoutPlus(std::string_view text) {
  if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
  return text;
}

}  // namespace

std::optional<int64_t> ParseInteger(std::string_view text, int64_t min, int64_t max) {
  text = WithoutPlus(text);
  int64_t value = 0;
  const char* end = text.data() + text.size();
  auto [at, error] = std::from_chars(text.data(), end, value, 10);
  if (text.empty() || error != std::errc() || at != end) return std::nullopt;
  if (value < min || value > max) return std::nullopt;
  return value;
}

std::optional<float> ParseFiniteFloat(std::string_view text) {
  text = WithoutPlus(text);
  float value = 0;
  const char* end = text.data() + text.size();
  auto [at, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
  if (text.empty() || error != std::errc() || at != end || !std::isfinite(value))
    return std::nullopt;
  return value;
}

}  // namespace tcudv::host
