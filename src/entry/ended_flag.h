// The one module-wide variable: set by EndLdi, it makes every later call a no-op.
#ifndef TCUDVNT_ENDED_FLAG_H
#define TCUDVNT_ENDED_FLAG_H

#include <cstdint>

namespace tcudv {

bool DriverEnded();
void SetEndedFlag(uint32_t value);

}  // namespace tcudv

#endif
