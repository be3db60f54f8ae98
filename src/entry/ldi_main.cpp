#include "entry/ended_flag.h"
#include "entry/ldi.h"
#include "entry/operation_table.h"

#if defined(_WIN32)
#define LDI_EXPORT
#else
#define LDI_EXPORT __attribute__((visibility("default")))
#endif

extern "C" LDI_EXPORT int32_t LDI_CALL LdiMain(LdiCall* call) {
  using namespace tcudv;
  // Once ended, nothing is looked at, not even the operation code.
  if (DriverEnded()) return LDI_OK;
  if (call == nullptr) return LDI_REFUSED;
  if (call->operation >= kOperationCount) return LDI_FAILED;
  const Operation operation = kOperationTable[call->operation];
  if (operation == nullptr) return LDI_FAILED;
  return operation(call);
}
