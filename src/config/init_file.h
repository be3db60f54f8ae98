// The instance's optional initialisation file: resolutions and the inter-frame gap.
#ifndef TCUDVNT_INIT_FILE_H
#define TCUDVNT_INIT_FILE_H

#include "entry/ldi.h"

namespace tcudv {

// Fills the resolution table with the defaults, then applies the file named
// after call->instance, if one opens. Uses workspace and instance only.
void ReadInitFile(const LdiCall* call);

}  // namespace tcudv

#endif
