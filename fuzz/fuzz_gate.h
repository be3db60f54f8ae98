// A gate I/O record as the fuzz input makes it: mostly one that the address
// parser gives the host, sometimes any bytes a host might pass.
#ifndef TCUDVNT_FUZZ_GATE_H
#define TCUDVNT_FUZZ_GATE_H

#include <cstdint>
#include <string>

#include "core/workspace.h"
#include "entry/ldi.h"
#include "fuzz_input.h"

namespace tcudv::fuzz {

struct FuzzGate {
  LdiGateIo io{};
  uint8_t cell[4] = {};
  bool parsed = false;  // io holds what SingleAddressParser gave
};

// `bitWrites`: a parsed word gate may also get a bit number, as a host's gate
// for one digit of a writable word has it.
void MakeGate(FuzzInput& in, Workspace& workspace, bool bitWrites, FuzzGate& gate);

// Whether two records agree in every field the driver must give back unchanged.
bool SameRecord(const LdiGateIo& a, const LdiGateIo& b);

// The read frame of a node's parameter: "N", the node as %02u, "T", the value id, "*".
std::string ReadFrame(uint32_t node, uint32_t param);

}  // namespace tcudv::fuzz

#endif
