#include "protocol/gate_record.h"

namespace tcudv {
namespace {

constexpr uint32_t kFirstNode = 1;
constexpr uint32_t kLastNode = 99;
constexpr int32_t kWholeWord = -1;
constexpr int32_t kLastDigit = 3;

}  // namespace

LdiGateIo* GateIoOf(const LdiCall* call) {
  if (call == nullptr || call->workspace == nullptr) return nullptr;
  auto* io = static_cast<LdiGateIo*>(call->record);
  if (io == nullptr || io->value == nullptr) return nullptr;
  return io;
}

bool GateRecordInRange(const LdiGateIo& io) {
  if (io.node < kFirstNode || io.node > kLastNode) return false;
  if (io.param >= kParameterCount) return false;
  if (io.type == LDI_TYPE_WORD && (io.bit < kWholeWord || io.bit > kLastDigit)) return false;
  return true;
}

}  // namespace tcudv
