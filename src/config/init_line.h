// One line of the initialisation file: its grammar, its effect and its message.
#ifndef TCUDVNT_INIT_LINE_H
#define TCUDVNT_INIT_LINE_H

#include <cstdint>

#include "core/workspace.h"

namespace tcudv {

// Tries the per-parameter, RESOLUTION and IFG forms in that order and applies
// the first that fits; any other line but an empty one is logged as illegal.
void ApplyInitLine(Workspace& workspace, const char* line, uint16_t lineNumber,
                   const char* fileName);

}  // namespace tcudv

#endif
