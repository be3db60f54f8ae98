#include "params/address_parser.h"

#include <cstdio>
#include <cstring>

#include "entry/host_log.h"
#include "params/parameter_table.h"

namespace tcudv {
namespace {

// Every accepted address is 5 characters, or 6 for OST; from 7 on it is refused.
constexpr size_t kMaxAddressLength = 6;
constexpr size_t kMnemonicOffset = 2;
constexpr size_t kMnemonicLength = 3;
constexpr size_t kBitDigitOffset = 5;
constexpr uint32_t kFirstNode = 1;
constexpr uint32_t kLastNode = kNodeRows - 1;
constexpr uint32_t kNoParameter = kParameterCount;

// Stops counting past the limit, so an unterminated host text is not run through.
size_t BoundedLength(const char* text, size_t limit) {
  size_t length = 0;
  while (length <= limit && text[length] != '\0') ++length;
  return length;
}

// Only a to z: the host's texts are ASCII, and the C locale must not matter.
void UpperCase(char* text) {
  for (; *text != '\0'; ++text) {
    if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
  }
}

// The copy is zero-filled past its end, so the three positions can always be read.
uint32_t FindParameter(const char* copy) {
  for (uint32_t param = 0; param < kParameterCount; ++param) {
    if (std::memcmp(copy + kMnemonicOffset, kMnemonic[param], kMnemonicLength) == 0) return param;
  }
  return kNoParameter;
}

void SetType(LdiGateAddress* gate, uint32_t type, uint32_t width) {
  gate->type = type;
  gate->width = width;
}

bool FitsDigital(int32_t kind) {
  return kind == LDI_KIND_DIGITAL;
}

bool FitsAnalog16(int32_t kind) {
  return kind == LDI_KIND_ANALOG16 || kind == LDI_KIND_ANALOG16_ALT;
}

bool FitsFloat(int32_t kind) {
  return kind == LDI_KIND_FLOAT;
}

}  // namespace

int32_t Parse(LdiGateAddress* gate, const Workspace* workspace) {
  if (BoundedLength(gate->address, kMaxAddressLength) > kMaxAddressLength) {
    HostLog(kLogInfo, "LDIYY> Parse() Address string wrong length '%s'", gate->address);
    return LDI_REFUSED;
  }
  char copy[kMaxAddressLength + 1] = {};
  std::snprintf(copy, sizeof copy, "%s", gate->address);
  UpperCase(copy);

  // "%u" turns a minus sign into a huge value: only real node numbers pass.
  unsigned node = 0;
  if (std::sscanf(copy, "%02u", &node) != 1 || node < kFirstNode || node > kLastNode) {
    HostLog(kLogInfo, "LDIYY> Parse() Illegal PLC addr in '%s'", copy);
    return LDI_REFUSED;
  }
  gate->node = node;

  const uint32_t param = FindParameter(copy);
  if (param != kNoParameter) {
    gate->bit = -1;
    SetType(gate, LDI_TYPE_FLOAT, 32);
    if ((kFlags[param] & PF_RESOLUTION) == 0 && workspace->resolution[node][param] == 0) {
      SetType(gate, LDI_TYPE_WORD, 16);
    }
  }

  if (param == kParamOst) {
    SetType(gate, LDI_TYPE_WORD, 16);
    gate->param = param;
    const int bit = copy[kBitDigitOffset] - '0';
    if (bit < 0 || bit > 3) {
      HostLog(kLogInfo, "LDIYY> Parse() Illegal BitNumber in '%s'", copy);
      return LDI_REFUSED;
    }
    gate->bit = bit;
    return LDI_OK;
  }

  if (param == kNoParameter || std::strlen(copy) > kMnemonicOffset + kMnemonicLength) {
    HostLog(kLogInfo, "LDIYY> Parse() Illegal GATE addr in '%s'", copy);
    return LDI_REFUSED;
  }

  if (param == kParamCtr || param == kParamSem) SetType(gate, LDI_TYPE_WORD, 16);
  if (param == kParamA1r || param == kParamA2r) SetType(gate, LDI_TYPE_BIT, 1);
  gate->param = param;
  return LDI_OK;
}

int32_t SingleAddressParser(LdiCall* call) {
  LdiGateAddress* gate = static_cast<LdiGateAddress*>(call->record);
  if (gate == nullptr || gate->address == nullptr) {
    HostLog(kLogInfo, "LDIYY> SingleParse() no gate address given");
    return LDI_REFUSED;
  }
  const Workspace* workspace = WorkspaceOf(call);
  if (workspace == nullptr) {
    HostLog(kLogInfo, "LDIYY> SingleParse() no workspace for gate '%s'", gate->address);
    return LDI_REFUSED;
  }
  if (Parse(gate, workspace) != LDI_OK) return LDI_REFUSED;

  const char* address = gate->address;
  const int32_t kind = gate->kind;
  const bool isBitOfWord = gate->bit != -1;
  if (kind == LDI_KIND_STRING) {
    HostLog(kLogInfo, "LDIYY> SingleParse() no STRING gates allowed gate '%s'", address);
    return LDI_REFUSED;
  }
  if ((gate->type == LDI_TYPE_BIT || isBitOfWord) && !FitsDigital(kind)) {
    HostLog(kLogInfo, "LDIYY> SingleParse() gate '%s' should be DIGITAL", address);
    return LDI_REFUSED;
  }
  if (isBitOfWord && (kFlags[gate->param] & PF_READ) == 0) {
    HostLog(kLogInfo, "LDIYY> SingleParse() gate '%s' cannot be handled this way.", address);
    return LDI_REFUSED;
  }
  if (gate->type == LDI_TYPE_WORD && !isBitOfWord && !FitsAnalog16(kind)) {
    HostLog(kLogInfo, "LDIYY> SingleParse() gate '%s' should be analog 16-bit", address);
    return LDI_REFUSED;
  }
  if (gate->type == LDI_TYPE_FLOAT && !FitsFloat(kind)) {
    HostLog(kLogInfo, "LDIYY> SingleParse() gate '%s' should be analog float", address);
    return LDI_REFUSED;
  }
  return LDI_OK;
}

}  // namespace tcudv
