// Decimal value texts as frames and options carry them, read into thousandths.
#ifndef TCUDV_SIM_VALUE_TEXT_H
#define TCUDV_SIM_VALUE_TEXT_H

#include <cstdint>
#include <optional>
#include <string_view>

namespace tcudv::sim {

// The largest magnitude a value may have, in thousandths: six integer digits.
inline constexpr int64_t kMaxMilli = 999'999'999;

// "[+-]digits[.digits]" (at least one digit, either side of the point) in thousandths, rounded
// half away from zero past the third decimal; nothing for any other text or a larger magnitude.
std::optional<int64_t> ParseMilli(std::string_view text);

}  // namespace tcudv::sim

#endif
