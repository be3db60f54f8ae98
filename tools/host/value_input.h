// A write's value text, checked against the gate's data type and put into a value cell.
#ifndef TCUDV_HOST_VALUE_INPUT_H
#define TCUDV_HOST_VALUE_INPUT_H

#include <cstdint>
#include <string>
#include <string_view>

#include "value_cell.h"

namespace tcudv::host {

// Fills cell for a gate of the given data type letter: a float gate takes a
// finite number, a word gate an integer -32768 to 65535, a bit gate any text
// (its write sends a command without a value). Returns an empty text when the
// value is taken, else what is wrong with it.
std::string EncodeWriteValue(uint32_t type, std::string_view text, ValueCell& cell);

}  // namespace tcudv::host

#endif
