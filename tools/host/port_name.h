// The port name a start-up record can carry: 11 characters at most.
#ifndef TCUDV_HOST_PORT_NAME_H
#define TCUDV_HOST_PORT_NAME_H

#include <cstddef>
#include <string>
#include <string_view>

namespace tcudv::host {

inline constexpr size_t kMaxPortNameLength = 11;

// Empty when the name fits the record; otherwise what is wrong and what to do.
std::string PortNameProblem(std::string_view name);

}  // namespace tcudv::host

#endif
