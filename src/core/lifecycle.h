// The operations that start, stop and move a driver instance and its port.
// Each refuses a call without a workspace, or without the record it needs, with 1.
#ifndef TCUDVNT_LIFECYCLE_H
#define TCUDVNT_LIFECYCLE_H

#include <cstdint>

#include "entry/ldi.h"

namespace tcudv {

int32_t ColdStart(LdiCall* call);        // 1: record LdiStartup
int32_t WarmStart(LdiCall* call);        // 2
int32_t EndLdi(LdiCall* call);           // 11
int32_t CloseCom(LdiCall* call);         // 12
int32_t ReOpenCom(LdiCall* call);        // 13
int32_t ChangeLdiParams(LdiCall* call);  // 15: record LdiPortParams

}  // namespace tcudv

#endif
