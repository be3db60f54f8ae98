// The tests' host log: marvex_err defined here records every line.
#ifndef TCUDVNT_TESTS_LOG_CAPTURE_H
#define TCUDVNT_TESTS_LOG_CAPTURE_H

#include <string>
#include <vector>

namespace tcudv::test {

struct LogLine {
  int level;
  std::string format;  // the constant text the driver passed
  std::string text;    // the line as printf makes it
  bool operator==(const LogLine&) const = default;
};

void ClearLog();
const std::vector<LogLine>& LogLines();
// The texts alone, for comparing whole sequences.
std::vector<std::string> LogTexts();

}  // namespace tcudv::test

#endif
