// The driver's only log: the host's err function. Formats are always the
// driver's own constant texts; outside text only travels as a %s value.
#ifndef TCUDVNT_HOST_LOG_H
#define TCUDVNT_HOST_LOG_H

#include <cstdint>

namespace tcudv {

inline constexpr int32_t kLogInfo = 8;
inline constexpr int32_t kLogAlarm = 32;

using HostLogFunction = int (*)(int level, const char* format, ...);

// The host's err (MARVEX.DLL on Windows, marvex_err elsewhere) or, where a
// POSIX host defines none, a fallback that writes the line to stderr.
HostLogFunction HostLogTarget();

// Every argument must be a 32-bit value or a text pointer, as err expects.
template <typename... Args>
inline void HostLog(int32_t level, const char* format, Args... args) {
  static_assert(((sizeof(Args) == 4 || sizeof(Args) == sizeof(void*)) && ...),
                "err takes 32-bit values and texts");
  HostLogTarget()(level, format, args...);
}

}  // namespace tcudv

#endif
