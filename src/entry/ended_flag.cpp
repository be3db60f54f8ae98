#include "entry/ended_flag.h"

namespace tcudv {
namespace {

uint32_t endedFlag = 0;

}  // namespace

bool DriverEnded() { return endedFlag != 0; }

void SetEndedFlag(uint32_t value) { endedFlag = value; }

}  // namespace tcudv
