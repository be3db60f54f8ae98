// The reply lines a controller sends to a read frame.
#ifndef TCUDV_SIM_REPLY_FORMATTER_H
#define TCUDV_SIM_REPLY_FORMATTER_H

#include <array>
#include <cstdint>
#include <string>

namespace tcudv::sim {

// The value in thousandths rounded half away from zero to `decimals` (0 to 3) places: "12.5",
// "-5", "0.125". A value that rounds to zero has no sign.
std::string FormatFixed(int64_t milli, int decimals);

// A blank or "-", the value with its decimals, CR LF: " 12.5\r\n", "-5\r\n".
std::string FormatReply(int64_t milli, int decimals);

// Output status: a blank, four digits 0 or 1 from the thousands down to the units, CR LF.
// digits[0] is the units digit.
std::string FormatOutputStatus(const std::array<bool, 4>& digits);

}  // namespace tcudv::sim

#endif
