// Helpers shared by the serial tests on the fake comm layer.
#ifndef TCUDVNT_TESTS_SERIAL_SUPPORT_H
#define TCUDVNT_TESTS_SERIAL_SUPPORT_H

#include <string>
#include <vector>

#include "fake/fake_comm.h"

namespace tcudv::test {

// The operations called, in order.
inline std::vector<fake::Op> Ops() {
  std::vector<fake::Op> ops;
  for (const fake::Call& call : fake::Calls()) ops.push_back(call.op);
  return ops;
}

// A device opened as SioOpen leaves it with 0x0303: read constant 1000 ms.
inline fake::Device& ConfiguredDevice(const std::string& name) {
  fake::Device& device = fake::AddDevice(name);
  device.timeouts = CommTimeouts{0, 0, 1000, 0, 0};
  return device;
}

// Opens a device by name through the fake, as the caller of the library would.
inline CommHandle OpenOnFake(const std::string& name) {
  const CommHandle handle = CommOpen(name.c_str());
  fake::ClearCalls();
  return handle;
}

}  // namespace tcudv::test

#endif
