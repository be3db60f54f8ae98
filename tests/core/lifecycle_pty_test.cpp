#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "config/temp_current_directory.h"
#include "core/workspace.h"
#include "entry/ldi.h"
#include "support/log_capture.h"

namespace tcudv::test {
namespace {

struct Pty {
  int master = -1;
  int slave = -1;
  std::string name;
  ~Pty() {
    if (slave >= 0) close(slave);
    if (master >= 0) close(master);
  }
};

// One instance of the driver: its workspace and its calls through LdiMain.
struct Instance {
  Workspace workspace{};
  uint32_t number;

  int32_t Call(uint32_t operation, void* record = nullptr) {
    LdiCall call{};
    call.workspace = &workspace;
    call.operation = operation;
    call.instance = number;
    call.record = record;
    return LdiMain(&call);
  }
  int32_t ColdStart(const std::string& port, LdiLineParams line = {9600, 7, 0, 2}) {
    LdiStartup startup{};
    std::memcpy(startup.portName, port.c_str(), port.size() + 1);
    startup.openPort = 1;
    startup.replyTimeout = 4;
    startup.lineParams = line;
    return Call(LDI_OP_COLD_START, &startup);
  }
  int32_t MoveTo(const std::string& port, LdiLineParams line) {
    LdiPortParams params{};
    std::memcpy(params.portName, port.c_str(), port.size() + 1);
    params.lineParams = line;
    return Call(LDI_OP_CHANGE_LDI_PARAMS, &params);
  }
};

bool LogHas(const std::string& text) {
  for (const std::string& line : LogTexts()) {
    if (line == text) return true;
  }
  return false;
}

class LifecyclePty : public ::testing::Test {
 protected:
  void SetUp() override {
    for (Pty* pty : {&first, &second}) {
      ASSERT_EQ(openpty(&pty->master, &pty->slave, nullptr, nullptr, nullptr), 0);
      char name[64];
      ASSERT_EQ(ttyname_r(pty->slave, name, sizeof name), 0);
      pty->name = name;
      if (pty->name.size() >= kPortNameSize) GTEST_SKIP() << pty->name << " does not fit the name";
    }
    ClearLog();
  }
  void TearDown() override {
    a.Call(LDI_OP_CLOSE_COM);
    b.Call(LDI_OP_CLOSE_COM);
  }

  // The line as the driver configured it, seen from the test's own descriptor.
  // A pseudo-terminal keeps the speed but forces 8 data bits without parity.
  static void ExpectLine(const Pty& pty, speed_t speed) {
    termios t{};
    ASSERT_EQ(tcgetattr(pty.slave, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), speed) << pty.name;
    EXPECT_EQ(t.c_lflag & ICANON, 0u) << pty.name;
  }

  TempCurrentDirectory directory;
  Pty first;
  Pty second;
  Instance a{{}, 1};
  Instance b{{}, 2};
};

TEST_F(LifecyclePty, ColdStartHoldsThePortUntilCloseCom) {
  ASSERT_EQ(a.ColdStart(first.name), LDI_OK);
  ASSERT_NE(a.workspace.portHandle, 0u);
  EXPECT_TRUE(
      LogHas("LDIYY> OpenCom() exited OK, file handle " + std::to_string(a.workspace.portHandle)));
  ExpectLine(first, B9600);

  ClearLog();
  EXPECT_EQ(b.ColdStart(first.name), LDI_FAILED);
  EXPECT_TRUE(LogHas("LDIYY> OpenCom() open COM port failed"));
  EXPECT_TRUE(LogHas("LDIYY> ColdStart() error opening COM port"));
  EXPECT_EQ(b.workspace.portHandle, 0u);

  EXPECT_EQ(a.Call(LDI_OP_CLOSE_COM), LDI_OK);
  EXPECT_EQ(a.workspace.portHandle, 0u);
  EXPECT_EQ(b.Call(LDI_OP_RE_OPEN_COM), LDI_OK);
  EXPECT_NE(b.workspace.portHandle, 0u);
}

TEST_F(LifecyclePty, ChangeLdiParamsMovesAnInstanceToAnotherPort) {
  ASSERT_EQ(a.ColdStart(first.name), LDI_OK);
  ClearLog();
  EXPECT_EQ(a.MoveTo(second.name, {19200, 8, 0, 0}), LDI_OK);
  EXPECT_EQ(LogTexts(), (std::vector<std::string>{"LDIYY> OpenCom() exited OK, file handle " +
                                                  std::to_string(a.workspace.portHandle)}));
  ExpectLine(second, B19200);
  // The instance's handle now reads the second port: WarmStart empties its input.
  ASSERT_EQ(write(second.master, "stale\r\n", 7), 7);
  pollfd waiting{second.slave, POLLIN, 0};
  ASSERT_EQ(poll(&waiting, 1, 2000), 1);
  EXPECT_EQ(a.Call(LDI_OP_WARM_START), LDI_OK);
  int left = -1;
  ASSERT_EQ(ioctl(second.slave, FIONREAD, &left), 0);
  EXPECT_EQ(left, 0);

  // The first port was freed, the second is held.
  EXPECT_EQ(b.ColdStart(first.name), LDI_OK);
  EXPECT_EQ(b.MoveTo(second.name, {0, 0, 0, 0}), LDI_FAILED);
  EXPECT_EQ(b.workspace.portHandle, 0u);
  EXPECT_NE(a.workspace.portHandle, 0u);
}

}  // namespace
}  // namespace tcudv::test
