#include "port_name.h"

namespace tcudv::host {

std::string PortNameProblem(std::string_view name) {
  if (name.empty()) return "the port name is empty";
  if (name.size() > kMaxPortNameLength) {
    const std::string given(name);
    constexpr std::string_view kDev = "/dev/";
    // The driver takes a name that is not a path as one under /dev.
    if (name.substr(0, kDev.size()) == kDev && name.size() - kDev.size() <= kMaxPortNameLength) {
      return "the port name '" + given + "' has " + std::to_string(name.size()) +
             " characters, but the driver takes at most " + std::to_string(kMaxPortNameLength) +
             "; give it as '" + std::string(name.substr(kDev.size())) +
             "', which the driver looks for under /dev";
    }
    return "the port name '" + given + "' has " + std::to_string(name.size()) +
           " characters, but the driver takes at most " + std::to_string(kMaxPortNameLength) +
           "; make a short symlink to the device and give that instead, for example\n"
           "  ln -s " +
           given +
           " /tmp/tcu0 && tcudv ... /tmp/tcu0\n"
           "(the simulator places one for its pseudo-terminal with --link /tmp/tcu0)";
  }
  return {};
}

}  // namespace tcudv::host
