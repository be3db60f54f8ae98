#include "driver_session.h"

namespace tcudv::host {

int32_t DriverSession::GetInfo(LdiInfo& info) {
  info = LdiInfo{};
  LdiCall call{};
  call.operation = LDI_OP_GET_LDI_INFO;
  call.record = &info;
  return ldiMain_(&call);
}

bool DriverSession::AllocateWorkspace(uint32_t size) {
  if (size == 0 || size > kMaxWorkspaceSize) return false;
  workspace_.assign(size, 0);
  return true;
}

int32_t DriverSession::ColdStart(const LdiStartup& startup, uint32_t instance) {
  instance_ = instance;
  LdiStartup record = startup;
  return Call(LDI_OP_COLD_START, &record);
}

int32_t DriverSession::ParseAddress(LdiGateAddress& address) {
  return Call(LDI_OP_SINGLE_ADDRESS_PARSER, &address);
}

int32_t DriverSession::Read(LdiGateIo& io) {
  return Call(LDI_OP_SINGLE_READ, &io);
}

int32_t DriverSession::Write(LdiGateIo& io) {
  return Call(LDI_OP_SINGLE_WRITE, &io);
}

int32_t DriverSession::End() {
  return Call(LDI_OP_END_LDI, nullptr);
}

int32_t DriverSession::Call(uint32_t operation, void* record) {
  LdiCall call{};
  call.workspace = workspace_.empty() ? nullptr : workspace_.data();
  call.operation = operation;
  call.instance = instance_;
  call.record = record;
  return ldiMain_(&call);
}

}  // namespace tcudv::host
