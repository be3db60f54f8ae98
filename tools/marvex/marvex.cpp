#include "marvex.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {

// A line longer than this is cut, never written past the buffer.
constexpr size_t kLineSize = 1024;

std::atomic<MarvexSink> sink{nullptr};

}  // namespace

extern "C" {

int __cdecl err(int level, const char* format, ...) {
  if (format == nullptr) return 0;
  char text[kLineSize];
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  text[sizeof text - 1] = '\0';
  if (length < 0) return 0;
  const MarvexSink current = sink.load();
  if (current != nullptr) {
    current(level, text);
  } else {
    std::fprintf(stderr, "[level %d] %s\n", level, text);
    std::fflush(stderr);
  }
  return length;
}

MarvexSink __cdecl MarvexSetSink(MarvexSink newSink) {
  return sink.exchange(newSink);
}

}  // extern "C"
