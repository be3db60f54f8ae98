// A controller's reply line into the gate's value cell.
#ifndef TCUDVNT_REPLY_CONVERSION_H
#define TCUDVNT_REPLY_CONVERSION_H

#include <cstdint>

#include "entry/ldi.h"

namespace tcudv {

// Converts the reply (a NUL-terminated line whose first character has been
// checked) by the record's type and bit, which are in range, and stores it in
// the value cell: a float gate's float in bytes 0 to 3, a word gate's low 16
// bits or one decimal digit in bytes 2 and 3. Returns 0, or 1 with the cell
// untouched when the reply holds no value or the operation is not 5.
uint8_t ConvertReply(LdiGateIo& io, const char* reply, uint32_t operation);

}  // namespace tcudv

#endif
