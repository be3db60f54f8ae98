#include "fuzz_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tcudv::fuzz {
namespace {

char lastLine[512];
size_t lineCount = 0;

}  // namespace

size_t TakeLogLineCount() {
  const size_t count = lineCount;
  lineCount = 0;
  return count;
}

const char* LastLogLine() {
  return lastLine;
}

void Fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace tcudv::fuzz

extern "C" int marvex_err(int level, const char* format, ...) {
  using namespace tcudv::fuzz;
  if (level != 8 && level != 32) Fail("log level is neither 8 nor 32");
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(lastLine, sizeof lastLine, format, args);
  va_end(args);
  if (length < 0) Fail("log line cannot be formatted");
  if (std::strncmp(lastLine, "LDIYY> ", 7) != 0) Fail("log line does not begin with LDIYY>");
  if (length > 0 && static_cast<size_t>(length) < sizeof lastLine && lastLine[length - 1] == '\n') {
    Fail("log line ends with a line feed");
  }
  ++lineCount;
  return 0;
}
