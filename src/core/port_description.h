// The workspace's port description: name, line parameters, port-settings word.
#ifndef TCUDVNT_PORT_DESCRIPTION_H
#define TCUDVNT_PORT_DESCRIPTION_H

#include "core/workspace.h"

namespace tcudv {

// An empty name, 9600 baud, 7 data bits, one stop bit, even parity, 0x0303:
// a port description that opens nothing until a name is given.
void SetDefinedPortDescription(Workspace& workspace);

// A host name with no NUL in its 12 bytes is stored as an empty name, so the
// open that follows fails; nothing is read or written past the 12 bytes.
void StorePortName(char (&stored)[kPortNameSize], const char (&given)[kPortNameSize]);

// Byte for byte up to the NUL, within the 12 bytes of each.
bool SamePortName(const char (&a)[kPortNameSize], const char (&b)[kPortNameSize]);

}  // namespace tcudv

#endif
