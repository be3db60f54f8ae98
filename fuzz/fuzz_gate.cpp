#include "fuzz_gate.h"

#include <cstdio>

#include "driver_start.h"
#include "fuzz_log.h"
#include "params/parameter_table.h"

namespace tcudv::fuzz {
namespace {

constexpr char kLabel[] = "fuzz gate";
constexpr uint32_t kTypes[] = {LDI_TYPE_FLOAT, LDI_TYPE_WORD, LDI_TYPE_BIT};
constexpr int32_t kKinds[] = {LDI_KIND_FLOAT, LDI_KIND_ANALOG16, LDI_KIND_DIGITAL};

// The record the parser gives for the node and parameter, with the first kind that fits.
void ParsedGate(FuzzInput& in, Workspace& workspace, bool bitWrites, FuzzGate& gate) {
  const unsigned node = 1 + in.Byte() % 99;
  const unsigned param = in.Byte() % kParameterCount;
  const uint8_t bitByte = in.Byte();
  char address[8];
  if (param == kParamOst) {
    std::snprintf(address, sizeof address, "%02u%s%u", node, kMnemonic[param], bitByte % 4u);
  } else {
    std::snprintf(address, sizeof address, "%02u%s", node, kMnemonic[param]);
  }
  for (int32_t kind : kKinds) {
    LdiGateAddress parsed{};
    parsed.address = address;
    parsed.kind = kind;
    if (Call(workspace, LDI_OP_SINGLE_ADDRESS_PARSER, &parsed) != LDI_OK) continue;
    gate.io.node = parsed.node;
    gate.io.type = parsed.type;
    gate.io.param = parsed.param;
    gate.io.bit = parsed.bit;
    gate.parsed = true;
    break;
  }
  if (!gate.parsed) Fail("the parser accepts no kind for a table address");
  if (bitWrites && (bitByte & 0x80) && gate.io.type == LDI_TYPE_WORD && gate.io.bit == -1) {
    gate.io.bit = (bitByte >> 4) % 4;
  }
}

void RawGate(FuzzInput& in, FuzzGate& gate) {
  gate.io.node = in.U32();
  const uint8_t type = in.Byte();
  gate.io.type = type < 0xF0 ? kTypes[type % 3] : in.U32();
  gate.io.param = in.U32();
  gate.io.bit = static_cast<int32_t>(in.U32());
}

}  // namespace

void MakeGate(FuzzInput& in, Workspace& workspace, bool bitWrites, FuzzGate& gate) {
  gate = FuzzGate{};
  gate.io.label = kLabel;
  gate.io.value = gate.cell;
  if (in.Byte() < 0xE0) {
    ParsedGate(in, workspace, bitWrites, gate);
  } else {
    RawGate(in, gate);
  }
  gate.io.aux = in.U32();
  gate.io.unused4 = in.U32();
  const uint32_t cell = in.U32();
  for (int i = 0; i < 4; ++i) gate.cell[i] = static_cast<uint8_t>(cell >> (8 * i));
}

bool SameRecord(const LdiGateIo& a, const LdiGateIo& b) {
  return a.label == b.label && a.unused4 == b.unused4 && a.node == b.node && a.type == b.type &&
         a.param == b.param && a.bit == b.bit && a.unused24 == b.unused24 && a.aux == b.aux &&
         a.unused32 == b.unused32 && a.unused36 == b.unused36 && a.value == b.value;
}

std::string ReadFrame(uint32_t node, uint32_t param) {
  char frame[40];
  std::snprintf(frame, sizeof frame, "N%02uT%s*", static_cast<unsigned>(node), kValueId[param]);
  return frame;
}

}  // namespace tcudv::fuzz
