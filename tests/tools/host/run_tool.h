// Runs the built tcudv binary and collects what it printed and its exit code.
#ifndef TCUDV_TESTS_RUN_TOOL_H
#define TCUDV_TESTS_RUN_TOOL_H

#include <string>
#include <vector>

namespace tcudv::host::test {

struct ToolRun {
  int exitCode = -1;  // -1 when the tool did not exit normally
  std::string out;
  std::string err;
};

// directory: the working directory of the run; empty for the test's own.
ToolRun RunTool(const std::vector<std::string>& args, const std::string& directory = "");

inline bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The arguments as one line, for naming a case.
inline std::string Joined(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) text += (text.empty() ? "" : " ") + arg;
  return text;
}

}  // namespace tcudv::host::test

#endif
