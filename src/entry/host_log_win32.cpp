#include "entry/host_log.h"

// Imported by name from MARVEX.DLL through the import library built from marvex.def.
extern "C" int err(int level, const char* format, ...);

namespace tcudv {

HostLogFunction HostLogTarget() { return err; }

}  // namespace tcudv
