// How a gate's value is shown: "150.0" for a float, "-5" or "1" for a word.
#ifndef TCUDV_HOST_VALUE_DISPLAY_H
#define TCUDV_HOST_VALUE_DISPLAY_H

#include <cstdint>
#include <string>

#include "value_cell.h"

namespace tcudv::host {

// The shortest decimal text that reads back as the same float, with at least one decimal.
std::string FormatFloat(float value);

// The value a read left in the cell, by the gate's data type letter. A word is
// shown signed, as the driver takes it when writing it back.
std::string DisplayValue(uint32_t type, const ValueCell& cell);

}  // namespace tcudv::host

#endif
