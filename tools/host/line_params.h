// The serial line parameters as a user types and reads them.
#ifndef TCUDV_HOST_LINE_PARAMS_H
#define TCUDV_HOST_LINE_PARAMS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "entry/ldi.h"

namespace tcudv::host {

// none, odd, even, mark, space (or their first letters, any case) as parity codes 0 to 4.
std::optional<uint16_t> ParseParity(std::string_view text);
// 1, 1.5 and 2 as the stop-bits codes 0, 1 and 2.
std::optional<uint16_t> ParseStopBits(std::string_view text);

std::string ParityName(uint16_t code);
std::string StopBitsName(uint16_t code);

// "9600 baud, 7 data bits, even parity, 1 stop bit".
std::string DescribeLine(const LdiLineParams& line);

}  // namespace tcudv::host

#endif
