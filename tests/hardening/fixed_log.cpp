#include "fixed_log.h"

#include <cstdarg>
#include <cstdio>

namespace tcudv::test {
namespace {

constexpr size_t kKept = 24;
constexpr size_t kLineSize = 256;

thread_local char lines[kKept][kLineSize];
thread_local size_t written = 0;  // lines ever logged on this thread
thread_local size_t sinceTaken = 0;

}  // namespace

size_t TakeFixedLogCount() {
  const size_t count = sinceTaken;
  sinceTaken = 0;
  return count;
}

const char* LastFixedLogLine() {
  return written == 0 ? "" : lines[(written - 1) % kKept];
}

std::string RecentFixedLogLines() {
  std::string text;
  for (size_t i = written > kKept ? written - kKept : 0; i < written; ++i) {
    text += lines[i % kKept];
    text += '\n';
  }
  return text;
}

}  // namespace tcudv::test

extern "C" int marvex_err(int /*level*/, const char* format, ...) {
  using namespace tcudv::test;
  va_list args;
  va_start(args, format);
  std::vsnprintf(lines[written % kKept], kLineSize, format, args);
  va_end(args);
  ++written;
  ++sinceTaken;
  return 0;
}
