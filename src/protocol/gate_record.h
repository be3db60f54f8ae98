// The host's gate I/O record as both transactions take it.
#ifndef TCUDVNT_GATE_RECORD_H
#define TCUDVNT_GATE_RECORD_H

#include "core/workspace.h"
#include "entry/ldi.h"

namespace tcudv {

// The call's gate I/O record when the call, its workspace, the record and its
// value cell are all there; null otherwise.
LdiGateIo* GateIoOf(const LdiCall* call);

// Whether the record can be used to build a frame and index the tables:
// node 1 to 99, parameter index 0 to 27, and for a word gate a digit position
// of -1 (the whole word) or 0 to 3.
bool GateRecordInRange(const LdiGateIo& io);

}  // namespace tcudv

#endif
