// Operation 3: a gate's address text to node, parameter, data type, bit and width.
#ifndef TCUDVNT_ADDRESS_PARSER_H
#define TCUDVNT_ADDRESS_PARSER_H

#include <cstdint>

#include "core/workspace.h"
#include "entry/ldi.h"

namespace tcudv {

// The address grammar: fills node, type, param, bit and width of the record.
// The type of a parameter without PF_RESOLUTION follows the workspace's
// resolution table. Returns LDI_OK or LDI_REFUSED, with one log line on refusal.
int32_t Parse(LdiGateAddress* gate, const Workspace* workspace);

// Parses the call's gate address record and checks that the host's gate kind
// fits the data type. LDI_OK or LDI_REFUSED, never LDI_FAILED.
int32_t SingleAddressParser(LdiCall* call);

}  // namespace tcudv

#endif
