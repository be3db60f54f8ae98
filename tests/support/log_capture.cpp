#include "support/log_capture.h"

#include <cstdarg>
#include <cstdio>

namespace tcudv::test {
namespace {

std::vector<LogLine>& Lines() {
  static std::vector<LogLine> lines;
  return lines;
}

}  // namespace

void ClearLog() { Lines().clear(); }

const std::vector<LogLine>& LogLines() { return Lines(); }

std::vector<std::string> LogTexts() {
  std::vector<std::string> texts;
  for (const LogLine& line : Lines()) texts.push_back(line.text);
  return texts;
}

}  // namespace tcudv::test

extern "C" __attribute__((visibility("default"))) int marvex_err(int level, const char* format,
                                                                  ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  tcudv::test::Lines().push_back({level, format, text});
  return 0;
}
