// Gate address texts and host gate kinds through SingleAddressParser (operation 3).
#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/workspace.h"
#include "entry/ldi.h"
#include "fuzz_input.h"
#include "fuzz_log.h"
#include "params/parameter_table.h"

namespace tcudv::fuzz {
namespace {

Workspace workspace;

void FillResolutions(uint8_t choice) {
  for (unsigned node = 0; node < kNodeRows; ++node) {
    for (unsigned param = 0; param < kParameterCount; ++param) {
      const uint8_t byDefault = static_cast<uint8_t>(kDefaultResolution[param]);
      const uint8_t mixed = static_cast<uint8_t>((node + param) % 4);
      workspace.resolution[node][param] = choice == 0 ? byDefault : choice == 1 ? 0 : mixed;
    }
  }
}

// The type the address's parameter and node must get.
uint32_t ExpectedType(uint32_t node, uint32_t param) {
  if (param == kParamOst || param == kParamCtr || param == kParamSem) return LDI_TYPE_WORD;
  if (param == kParamA1r || param == kParamA2r) return LDI_TYPE_BIT;
  if (kFlags[param] & PF_RESOLUTION) return LDI_TYPE_FLOAT;
  return workspace.resolution[node][param] == 0 ? LDI_TYPE_WORD : LDI_TYPE_FLOAT;
}

bool KindFits(int32_t kind, uint32_t type, int32_t bit) {
  if (type == LDI_TYPE_BIT || bit != -1) return kind == LDI_KIND_DIGITAL;
  if (type == LDI_TYPE_WORD) return kind == LDI_KIND_ANALOG16 || kind == LDI_KIND_ANALOG16_ALT;
  return kind == LDI_KIND_FLOAT;
}

void CheckAccepted(const LdiGateAddress& gate, const char* text) {
  const size_t length = std::strlen(text);
  if (gate.node < 1 || gate.node > 99) Fail("accepted node outside 1 to 99");
  if (gate.param >= kParameterCount) Fail("accepted parameter index out of range");
  if (length != (gate.param == kParamOst ? 6u : 5u)) Fail("accepted address of the wrong length");
  for (size_t i = 0; i < 3; ++i) {
    if (std::toupper(static_cast<unsigned char>(text[2 + i])) != kMnemonic[gate.param][i]) {
      Fail("accepted mnemonic is not the parameter's");
    }
  }
  if (gate.type != ExpectedType(gate.node, gate.param)) Fail("accepted with the wrong type");
  const uint32_t width = gate.type == LDI_TYPE_FLOAT ? 32 : gate.type == LDI_TYPE_WORD ? 16 : 1;
  if (gate.width != width) Fail("width does not match the type");
  const int32_t bit = gate.param == kParamOst ? text[5] - '0' : -1;
  if (gate.bit != bit) Fail("bit number is not the address's");
  if (!KindFits(gate.kind, gate.type, gate.bit)) Fail("accepted for a kind that does not fit");
}

}  // namespace
}  // namespace tcudv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tcudv;
  using namespace tcudv::fuzz;
  FuzzInput in(data, size);
  const uint8_t kindByte = in.Byte();
  const int32_t kind = kindByte < 200 ? kindByte % 10 - 1 : static_cast<int32_t>(in.U32());
  FillResolutions(in.Byte() % 3);
  const std::string rest = in.Rest();

  // The host's text in a buffer of its exact size, so that reading past it shows.
  const size_t length = std::strlen(rest.c_str());
  std::unique_ptr<char[]> text(new char[length + 1]);
  std::memcpy(text.get(), rest.c_str(), length + 1);

  LdiGateAddress gate{};
  gate.address = text.get();
  gate.kind = kind;
  LdiCall call{};
  call.workspace = &workspace;
  call.operation = LDI_OP_SINGLE_ADDRESS_PARSER;
  call.record = &gate;
  TakeLogLineCount();
  const int32_t result = LdiMain(&call);
  const size_t lines = TakeLogLineCount();

  if (std::strlen(text.get()) != length || std::memcmp(text.get(), rest.c_str(), length) != 0) {
    Fail("the host's address text was changed");
  }
  if (gate.address != text.get() || gate.kind != kind) Fail("an input field was changed");
  if (result == LDI_OK) {
    if (lines != 0) Fail("an accepted address logged");
    CheckAccepted(gate, text.get());
  } else if (result == LDI_REFUSED) {
    if (lines != 1) Fail("a refusal did not log exactly one line");
  } else {
    Fail("result neither 0 nor 1");
  }
  return 0;
}
