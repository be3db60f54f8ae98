#include <cstdarg>
#include <cstdio>

#include "entry/host_log.h"

// A POSIX host defines marvex_err; the C library's err(3) would exit.
extern "C" int marvex_err(int level, const char* format, ...) __attribute__((weak));

namespace tcudv {
namespace {

int StderrLog(int /*level*/, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
  return 0;
}

}  // namespace

HostLogFunction HostLogTarget() { return marvex_err != nullptr ? marvex_err : StderrLog; }

}  // namespace tcudv
