// A workspace, a temporary current directory and the fake comm layer with two
// ports, COM1 and COM2; operations go through LdiMain.
#ifndef TCUDVNT_TESTS_LIFECYCLE_FIXTURE_H
#define TCUDVNT_TESTS_LIFECYCLE_FIXTURE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "config/temp_current_directory.h"
#include "core/workspace.h"
#include "entry/ldi.h"
#include "fake/fake_comm.h"
#include "support/log_capture.h"

namespace tcudv::test {

using Log = std::vector<std::pair<int, std::string>>;

inline Log CapturedLog() {
  Log log;
  for (const LogLine& line : LogLines()) log.emplace_back(line.level, line.text);
  return log;
}

inline std::string OpenedLine(CommHandle handle) {
  return "LDIYY> OpenCom() exited OK, file handle " + std::to_string(handle);
}

inline const std::pair<int, std::string> kOpenFailed{8, "LDIYY> OpenCom() open COM port failed"};
inline const std::pair<int, std::string> kNoInitFile{
    8, "LDIYY> ColdStart() Warning, no initfile found"};
inline const std::pair<int, std::string> kInstalled{8, "LDIYY> ColdStart() installation OK!"};

// Up to 12 bytes of the name; a 12-character name has no NUL.
inline void PutName(char (&field)[kPortNameSize], const char* name) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, name, std::min(std::strlen(name), sizeof field));
}

inline LdiStartup Startup(const char* name, uint32_t openPort = 1, int32_t replyTimeout = 4,
                          LdiLineParams lineParams = {9600, 7, 0, 2}) {
  LdiStartup startup{};
  PutName(startup.portName, name);
  startup.openPort = openPort;
  startup.replyTimeout = replyTimeout;
  startup.lineParams = lineParams;
  return startup;
}

inline LdiPortParams PortParams(const char* name, uint32_t replyTimeout = 0,
                                LdiLineParams lineParams = {0, 0, 0, 0}) {
  LdiPortParams params{};
  PutName(params.portName, name);
  params.replyTimeout = replyTimeout;
  params.lineParams = lineParams;
  return params;
}

class LifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    fake::AddDevice("COM1");
    fake::AddDevice("COM2");
    // Garbage everywhere, as a host's fresh allocation may hold.
    std::memset(&workspace, 0xEE, sizeof workspace);
    ClearLog();
  }

  int32_t Call(uint32_t operation, void* record = nullptr) {
    LdiCall call{};
    call.workspace = &workspace;
    call.operation = operation;
    call.instance = 3;
    call.record = record;
    return LdiMain(&call);
  }

  // ColdStart, then the log without its version line, whose shape is checked here.
  int32_t RunColdStart(LdiStartup startup) {
    ClearLog();
    const int32_t result = Call(LDI_OP_COLD_START, &startup);
    EXPECT_FALSE(LogLines().empty());
    if (!LogLines().empty()) {
      static const std::regex version(
          "LDIYY> version compiled on [A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4} at time "
          "[0-2][0-9]:[0-5][0-9]:[0-6][0-9]");
      const LogLine& first = LogLines().front();
      EXPECT_TRUE(std::regex_match(first.text, version)) << first.text;
      EXPECT_EQ(first.level, 8);
      EXPECT_EQ(first.format, first.text) << "the version line is one constant text";
      coldStartLog = CapturedLog();
      coldStartLog.erase(coldStartLog.begin());
    }
    ClearLog();
    fake::ClearCalls();
    return result;
  }

  // Cold-started with COM1 open, log and calls cleared.
  CommHandle OpenCom1(int32_t replyTimeout = 4, LdiLineParams lineParams = {9600, 7, 0, 2}) {
    EXPECT_EQ(RunColdStart(Startup("COM1", 1, replyTimeout, lineParams)), LDI_OK);
    EXPECT_NE(workspace.portHandle, 0u);
    return workspace.portHandle;
  }

  static uint32_t ReadConstant(const char* device) {
    return fake::DeviceNamed(device).timeouts.readTotalTimeoutConstant;
  }

  TempCurrentDirectory directory;
  Workspace workspace;
  Log coldStartLog;
};

}  // namespace tcudv::test

#endif
