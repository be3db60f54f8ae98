#include "core/port_description.h"

#include <cstring>

namespace tcudv {
namespace {

constexpr LdiLineParams kDefinedLineParams{9600, 7, 0, 2};

}  // namespace

void SetDefinedPortDescription(Workspace& workspace) {
  std::memset(workspace.portName, 0, sizeof workspace.portName);
  workspace.lineParams = kDefinedLineParams;
  workspace.portSettings = kColdStartPortSettings;
}

void StorePortName(char (&stored)[kPortNameSize], const char (&given)[kPortNameSize]) {
  if (std::memchr(given, '\0', kPortNameSize) == nullptr) {
    std::memset(stored, 0, kPortNameSize);
    return;
  }
  std::memcpy(stored, given, kPortNameSize);
}

bool SamePortName(const char (&a)[kPortNameSize], const char (&b)[kPortNameSize]) {
  return std::strncmp(a, b, kPortNameSize) == 0;
}

}  // namespace tcudv
