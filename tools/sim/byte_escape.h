// Bytes as a quoted C-style text, so logs show exactly what went over the line.
#ifndef TCUDV_SIM_BYTE_ESCAPE_H
#define TCUDV_SIM_BYTE_ESCAPE_H

#include <string>
#include <string_view>

namespace tcudv::sim {

// "\" and the quote escaped, CR, LF and tab as \r \n \t, other bytes outside 0x20 to 0x7E as
// \xHH; the result in double quotes.
std::string QuoteBytes(std::string_view bytes);

}  // namespace tcudv::sim

#endif
