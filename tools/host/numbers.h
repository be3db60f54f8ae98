// Strict number parsing for command-line texts: the whole text or nothing.
#ifndef TCUDV_HOST_NUMBERS_H
#define TCUDV_HOST_NUMBERS_H

#include <cstdint>
#include <optional>
#include <string_view>

namespace tcudv::host {

// Decimal digits only, optionally signed; nullopt when anything else is in the text
// or the number leaves [min, max].
std::optional<int64_t> ParseInteger(std::string_view text, int64_t min, int64_t max);

// A finite decimal number such as 150, -12.35, +0.5 or 1e2.
std::optional<float> ParseFiniteFloat(std::string_view text);

}  // namespace tcudv::host

#endif
