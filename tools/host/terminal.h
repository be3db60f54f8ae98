// The terminal: whether a stream is one, and the few ANSI sequences the
// poll table and the scan's progress bar use.
#ifndef TCUDV_HOST_TERMINAL_H
#define TCUDV_HOST_TERMINAL_H

#include <cstdio>
#include <string>

namespace tcudv::host {

// True when stream is a terminal that takes ANSI cursor movement.
bool IsTerminal(std::FILE* stream);

inline constexpr const char* kClearLine = "\x1b[2K";
inline constexpr const char* kClearToEnd = "\x1b[K";
inline constexpr const char* kHideCursor = "\x1b[?25l";
inline constexpr const char* kShowCursor = "\x1b[?25h";

inline std::string CursorUp(size_t lines) {
  return "\x1b[" + std::to_string(lines) + "A";
}

}  // namespace tcudv::host

#endif
