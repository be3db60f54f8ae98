// The POSIX comm layer on a pseudo-terminal: the test holds the master side
// and plays the controller; the code under test opens the slave by name.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/comm.h"
#include "serial/line.h"
#include "serial/sio.h"
#include "support/log_capture.h"

namespace tcudv::test {
namespace {

using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

const LdiLineParams kLine{9600, 7, 0, 2};

int64_t MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// One pseudo-terminal: the master side for the test, the slave's name for the layer.
class Pty {
 public:
  Pty() {
    char path[128] = {};
    int slave = -1;
    if (openpty(&master_, &slave, path, nullptr, nullptr) != 0) return;
    close(slave);  // the layer opens it by name; the default termios is cooked
    path_ = path;
  }
  ~Pty() {
    if (master_ >= 0) close(master_);
  }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  bool ok() const { return master_ >= 0 && path_.rfind("/dev/", 0) == 0; }
  const std::string& path() const { return path_; }
  std::string name() const { return path_.substr(5); }  // "pts/N": a device under /dev
  int master() const { return master_; }

  void Put(const std::string& bytes) const {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) return;
      done += static_cast<size_t>(n);
    }
  }

  // What the layer wrote, as far as it comes within the wait.
  std::string Take(size_t count, int waitMs = 1000) const {
    std::string got;
    const auto start = Clock::now();
    while (got.size() < count && MsSince(start) < waitMs) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      char buffer[4096];
      const ssize_t n = read(master_, buffer, std::min(sizeof buffer, count - got.size()));
      if (n > 0) got.append(buffer, static_cast<size_t>(n));
    }
    return got;
  }

 private:
  int master_ = -1;
  std::string path_;
};

// Waits until the port has `count` bytes waiting.
bool WaitForInput(CommHandle handle, uint32_t count) {
  const auto start = Clock::now();
  QueueCounts counts{};
  while (MsSince(start) < 2000) {
    if (CommClearError(handle, &counts) && counts.cbInQue >= count) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return false;
}

class PtyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.ok()) << "openpty";
    ClearLog();
  }
  void TearDown() override {
    if (handle != 0 && handle != kInvalidHandle) CommClose(handle);
  }
  // Opens the slave with SioOpen as ColdStart does, and the reply time-out in force.
  void OpenConfigured(int32_t replyTimeout = 4) {
    ASSERT_EQ(SioOpen(pty.name().c_str(), &kLine, 0x0303, &handle), SIO_OK);
    ASSERT_EQ(SioSetReadTimeout(handle, replyTimeout), 100);
  }
  Pty pty;
  CommHandle handle = 0;
};

TEST_F(PtyTest, OpensByDeviceNameAndByPath) {
  handle = CommOpen(pty.name().c_str());
  ASSERT_NE(handle, kInvalidHandle);
  EXPECT_NE(handle, 0u);
  EXPECT_TRUE(CommClose(handle));
  handle = CommOpen(pty.path().c_str());
  ASSERT_NE(handle, kInvalidHandle);
}

// The pty keeps the raw mode of the first configured open, so a later open
// asks for nothing it has not got but the framing it cannot hold.
TEST_F(PtyTest, ConfiguredOpenWorksAgainAfterAClose) {
  for (int round = 1; round <= 3; ++round) {
    ASSERT_EQ(SioOpen(pty.name().c_str(), &kLine, 0x0303, &handle), SIO_OK) << "round " << round;
    LineState state{};
    ASSERT_TRUE(CommGetState(handle, &state));
    EXPECT_EQ(state.byteSize, 7);
    EXPECT_EQ(state.parity, 2);
    ASSERT_EQ(SioClose(handle), SIO_OK);
    handle = 0;
  }
}

TEST_F(PtyTest, UnknownNamesDoNotOpen) {
  EXPECT_EQ(CommOpen("ttyNoSuchDevice"), kInvalidHandle);
  EXPECT_EQ(CommOpen("/no/such/path"), kInvalidHandle);
  EXPECT_EQ(CommOpen(""), kInvalidHandle);
  CommHandle h = 0;
  EXPECT_EQ(SioOpen("ttyNoSuchDevice", &kLine, 0x0303, &h), SIO_OPEN_FAILED);
  EXPECT_EQ(h, kInvalidHandle);
}

TEST_F(PtyTest, ASecondOpenOfTheSameDeviceFails) {
  handle = CommOpen(pty.name().c_str());
  ASSERT_NE(handle, kInvalidHandle);
  EXPECT_EQ(CommOpen(pty.name().c_str()), kInvalidHandle);
  EXPECT_EQ(CommOpen(pty.path().c_str()), kInvalidHandle);
  CommHandle second = 0;
  EXPECT_EQ(SioOpen(pty.name().c_str(), &kLine, 0x0303, &second), SIO_OPEN_FAILED);
  EXPECT_EQ(second, kInvalidHandle);
  // Once closed, it opens again.
  EXPECT_TRUE(CommClose(handle));
  handle = CommOpen(pty.name().c_str());
  EXPECT_NE(handle, kInvalidHandle);
}

TEST_F(PtyTest, ASecondOpenFromAnotherProcessFails) {
  handle = CommOpen(pty.name().c_str());
  ASSERT_NE(handle, kInvalidHandle);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(CommOpen(pty.name().c_str()) == kInvalidHandle ? 0 : 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(PtyTest, TheTtyIsRawCrAndLfPassUntranslated) {
  handle = CommOpen(pty.name().c_str());
  ASSERT_NE(handle, kInvalidHandle);
  ASSERT_TRUE(SioSetReadTimeout(handle, 50) >= 0);
  pty.Put(std::string("\r\n\x03\x1a\x7f \r", 7));
  char bytes[7] = {};
  uint32_t got = 0;
  ASSERT_EQ(SioRead(handle, bytes, 7, &got), SIO_OK);
  EXPECT_EQ(std::string(bytes, 7), std::string("\r\n\x03\x1a\x7f \r", 7));
  // Nothing was echoed back, and our own CR LF reaches the line as written.
  uint32_t written = 0;
  ASSERT_EQ(SioWrite(handle, "A\r\nB\n", 5, &written), SIO_OK);
  EXPECT_EQ(pty.Take(5), "A\r\nB\n");
  EXPECT_EQ(pty.Take(1, 50), "");
}

TEST_F(PtyTest, AFortyMsReadTimeoutReturnsAfterFortyMs) {
  OpenConfigured(4);
  char byte = 0;
  uint32_t got = 99;
  for (int i = 0; i < 3; ++i) {
    const auto start = Clock::now();
    EXPECT_EQ(SioRead(handle, &byte, 1, &got), SIO_IO_FAILED);
    const int64_t took = MsSince(start);
    EXPECT_GE(took, 40);
    EXPECT_LT(took, 100);
    EXPECT_EQ(got, 0u);
  }
}

TEST_F(PtyTest, AReadReturnsAsSoonAsItsBytesHaveCome) {
  OpenConfigured(100);  // 1 s
  std::thread controller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    pty.Put("xy");
  });
  char bytes[2] = {};
  const auto start = Clock::now();
  EXPECT_EQ(SioRead(handle, bytes, 2, nullptr), SIO_OK);
  EXPECT_LT(MsSince(start), 500);
  controller.join();
  EXPECT_EQ(std::string(bytes, 2), "xy");
}

TEST_F(PtyTest, ATimedOutReadSucceedsWithTheBytesThatCame) {
  OpenConfigured(5);
  pty.Put("ab");
  ASSERT_TRUE(WaitForInput(handle, 2));
  char bytes[8] = {};
  uint32_t got = 0;
  const auto start = Clock::now();
  EXPECT_TRUE(CommRead(handle, bytes, 8, &got));
  EXPECT_GE(MsSince(start), 50);
  EXPECT_EQ(got, 2u);
}

TEST_F(PtyTest, IntervalMaxWithNoTotalReturnsAtOnce) {
  handle = CommOpen(pty.name().c_str());
  ASSERT_TRUE(CommSetTimeouts(handle, CommTimeouts{0xFFFFFFFFu, 0, 0, 0, 0}));
  char byte = 0;
  uint32_t got = 99;
  const auto start = Clock::now();
  EXPECT_TRUE(CommRead(handle, &byte, 1, &got));
  EXPECT_LT(MsSince(start), 20);
  EXPECT_EQ(got, 0u);
}

TEST_F(PtyTest, ElevenHundredWaitingBytesArePurged) {
  OpenConfigured(4);
  pty.Put(std::string(1100, 'x'));
  ASSERT_TRUE(WaitForInput(handle, 1100));
  EXPECT_EQ(SioPurgeInput(handle), SIO_OK);
  QueueCounts counts{};
  ASSERT_TRUE(CommClearError(handle, &counts));
  EXPECT_EQ(counts.cbInQue, 0u);
  CommTimeouts t{};
  ASSERT_TRUE(CommGetTimeouts(handle, &t));
  EXPECT_EQ(t.readTotalTimeoutConstant, 40u);  // restored
}

TEST_F(PtyTest, QueueCountsSeeWaitingInput) {
  OpenConfigured();
  pty.Put("12345");
  ASSERT_TRUE(WaitForInput(handle, 5));
  QueueCounts counts{};
  ASSERT_TRUE(CommClearError(handle, &counts));
  EXPECT_EQ(counts.cbInQue, 5u);
}

TEST_F(PtyTest, RtsCallsFailOnAPtyAndSendLogsThemAndSucceeds) {
  OpenConfigured();
  EXPECT_FALSE(CommSetRts(handle));
  EXPECT_FALSE(CommClearRts(handle));
  ClearLog();
  EXPECT_EQ(Send("N01TA*\r", 7, handle, 10), 0);
  EXPECT_EQ(LogTexts(), (Lines{"LDIYY> Send() EscapeCommFunction() failed",
                               "LDIYY> Send() EscapeCommFunction() failed"}));
  EXPECT_EQ(pty.Take(7), "N01TA*\r");
}

TEST_F(PtyTest, AReplyLineWrittenByTheControllerIsReadWhole) {
  OpenConfigured(20);  // 200 ms a byte
  std::atomic<bool> answered{false};
  std::thread controller([&] {
    const std::string frame = pty.Take(7, 2000);
    if (frame != "N01TA*\r") return;
    const std::string reply = " 123.4\r\n";
    for (char c : reply) {  // a slow controller: a byte every 5 ms
      pty.Put(std::string(1, c));
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    answered = true;
  });
  ASSERT_EQ(SioPurgeInput(handle), SIO_OK);
  EXPECT_EQ(Send("N01TA*\r", 7, handle, 0), 0);
  char reply[32];
  EXPECT_EQ(ReadReply(reply, sizeof reply, handle), 0);
  controller.join();
  EXPECT_TRUE(answered);
  EXPECT_STREQ(reply, " 123.4\r\n");
}

TEST_F(PtyTest, AnOverlongReplyEndsWithOneAndLeavesTheRest) {
  OpenConfigured();
  pty.Put(std::string(35, 'z') + "\r\n");
  ASSERT_TRUE(WaitForInput(handle, 37));
  char buffer[40];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(ReadReply(buffer, 32, handle), 1);
  EXPECT_EQ(std::string(buffer + 32, 8), std::string(8, '#'));
  QueueCounts counts{};
  ASSERT_TRUE(CommClearError(handle, &counts));
  EXPECT_EQ(counts.cbInQue, 6u);
}

TEST_F(PtyTest, LineStateGoesToTermiosAndComesBack) {
  OpenConfigured();
  LineState s{};
  ASSERT_TRUE(CommGetState(handle, &s));
  EXPECT_EQ(s.baudRate, 9600u);
  EXPECT_EQ(s.byteSize, 7);
  EXPECT_EQ(s.parity, 2);
  EXPECT_EQ(s.stopBits, 0);
  EXPECT_EQ(s.errorChar, static_cast<char>(0xFC));
  EXPECT_FALSE(s.fErrorChar);
  EXPECT_EQ(s.fDtrControl, DTR_CONTROL_ENABLE);
  EXPECT_EQ(s.fRtsControl, RTS_CONTROL_ENABLE);

  // The speed is in termios; a pty forces CS8 without parity, so the layer
  // reports the framing it was given (above) rather than the pty's.
  termios t{};
  const int fd = static_cast<int>(handle - 1);
  ASSERT_EQ(tcgetattr(fd, &t), 0);
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
  EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
  EXPECT_FALSE(t.c_iflag & (ICRNL | INLCR | IGNCR | IXON));
  EXPECT_FALSE(t.c_oflag & OPOST);
}

TEST_F(PtyTest, EveryParityStopBitsAndSize) {
  handle = CommOpen(pty.name().c_str());
  LineState s{};
  ASSERT_TRUE(CommGetState(handle, &s));
  struct Case {
    uint8_t parity, stopBits, byteSize;
  };
  for (const Case c : {Case{0, 0, 8}, Case{1, 2, 5}, Case{2, 0, 6}, Case{3, 2, 7}, Case{4, 0, 8}, Case{1, 1, 8}}) {
    s.parity = c.parity;
    s.stopBits = c.stopBits;
    s.byteSize = c.byteSize;
    ASSERT_TRUE(CommSetState(handle, s)) << int(c.parity);
    LineState back{};
    ASSERT_TRUE(CommGetState(handle, &back));
    EXPECT_EQ(back.parity, c.parity);
    EXPECT_EQ(back.stopBits, c.stopBits);
    EXPECT_EQ(back.byteSize, c.byteSize);
  }
  s.byteSize = 9;
  EXPECT_FALSE(CommSetState(handle, s));
  s.byteSize = 8;
  s.parity = 5;
  EXPECT_FALSE(CommSetState(handle, s));
}

TEST_F(PtyTest, StandardAndOtherRates) {
  handle = CommOpen(pty.name().c_str());
  LineState s{};
  ASSERT_TRUE(CommGetState(handle, &s));
  for (uint32_t rate : {300u, 19200u, 38400u, 57600u, 115200u, 12345u, 65535u}) {
    s.baudRate = rate;
    ASSERT_TRUE(CommSetState(handle, s)) << rate;
    LineState back{};
    ASSERT_TRUE(CommGetState(handle, &back));
    EXPECT_EQ(back.baudRate, rate);
  }
  s.baudRate = 0;
  EXPECT_FALSE(CommSetState(handle, s));
}

TEST_F(PtyTest, KeptFieldsComeBack) {
  handle = CommOpen(pty.name().c_str());
  LineState s{};
  ASSERT_TRUE(CommGetState(handle, &s));
  s.fOutxDsrFlow = true;
  s.fDsrSensitivity = true;
  s.fAbortOnError = true;
  s.xonLim = 77;
  s.xoffLim = 88;
  s.eofChar = 'E';
  s.evtChar = 'V';
  s.fOutxCtsFlow = true;
  ASSERT_TRUE(CommSetState(handle, s));
  LineState back{};
  ASSERT_TRUE(CommGetState(handle, &back));
  EXPECT_TRUE(back.fOutxDsrFlow);
  EXPECT_TRUE(back.fDsrSensitivity);
  EXPECT_TRUE(back.fAbortOnError);
  EXPECT_EQ(back.xonLim, 77);
  EXPECT_EQ(back.xoffLim, 88);
  EXPECT_EQ(back.eofChar, 'E');
  EXPECT_EQ(back.evtChar, 'V');
  EXPECT_TRUE(back.fOutxCtsFlow);
  termios t{};
  ASSERT_EQ(tcgetattr(static_cast<int>(handle - 1), &t), 0);
  EXPECT_TRUE(t.c_cflag & CRTSCTS);
}

TEST(CommPosixNul, TheNullDeviceOpensAnyNumberOfTimesAndHasNoPortState) {
  const CommHandle a = CommOpen("NUL");
  const CommHandle b = CommOpen("NUL");
  ASSERT_NE(a, kInvalidHandle);
  ASSERT_NE(b, kInvalidHandle);
  LineState s{};
  CommTimeouts t{};
  QueueCounts q{};
  EXPECT_FALSE(CommGetState(a, &s));
  EXPECT_FALSE(CommGetTimeouts(a, &t));
  EXPECT_FALSE(CommSetTimeouts(a, t));
  EXPECT_FALSE(CommClearError(a, &q));
  EXPECT_FALSE(CommSetRts(a));
  EXPECT_FALSE(CommClearRts(a));
  uint32_t moved = 0;
  EXPECT_TRUE(CommWrite(a, "abc", 3, &moved));
  EXPECT_EQ(moved, 3u);
  char byte = 0;
  EXPECT_TRUE(CommRead(a, &byte, 1, &moved));
  EXPECT_EQ(moved, 0u);
  EXPECT_TRUE(CommClose(a));
  EXPECT_TRUE(CommClose(b));
  EXPECT_FALSE(CommClose(b));
}

TEST(CommPosixNul, SioOpenAndSendOnNul) {
  CommHandle h = 0;
  ASSERT_EQ(SioOpen("NUL", &kLine, 0x0303, &h), SIO_OK);
  ClearLog();
  EXPECT_EQ(Send("N01TA*\r", 7, h, 0), 0);
  EXPECT_EQ(LogTexts(), (Lines{"LDIYY> Send() EscapeCommFunction() failed", "LDIYY> Send() ClearCommError() failed",
                               "LDIYY> Send() EscapeCommFunction() failed"}));
  char reply[32];
  EXPECT_EQ(ReadReply(reply, sizeof reply, h), 1);
  EXPECT_EQ(SioClose(h), SIO_OK);
}

TEST(CommPosixHandles, DescriptorZeroIsNotHandleZero) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(0);
    const CommHandle h = CommOpen("NUL");  // takes descriptor 0
    _exit(h == 1u ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(CommPosixHandles, ClosedAndForeignHandlesFail) {
  EXPECT_FALSE(CommClose(0));
  EXPECT_FALSE(CommClose(kInvalidHandle));
  const int fd = open("/dev/null", O_RDWR);
  LineState s{};
  EXPECT_FALSE(CommGetState(static_cast<CommHandle>(fd) + 1, &s));  // not opened by the layer
  close(fd);
}

TEST(CommPosixThreads, PortsOpenedOnManyThreadsAtOnceGetTheirOwnRecords) {
  constexpr int kThreads = 8;
  std::vector<std::unique_ptr<Pty>> ptys;
  for (int i = 0; i < kThreads; ++i) ptys.push_back(std::make_unique<Pty>());
  std::vector<CommHandle> handles(kThreads, 0);
  std::vector<uint32_t> constants(kThreads, 0);
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      ready++;
      while (ready < kThreads) {
      }
      for (int round = 0; round < 50; ++round) {
        const CommHandle h = CommOpen(ptys[i]->name().c_str());
        if (h == kInvalidHandle) return;
        CommSetTimeouts(h, CommTimeouts{0, 0, static_cast<uint32_t>(1000 + i), 0, 0});
        CommTimeouts t{};
        CommGetTimeouts(h, &t);
        constants[i] = t.readTotalTimeoutConstant;
        handles[i] = h;
        if (round + 1 < 50) CommClose(h);
      }
    });
  }
  for (auto& t : threads) t.join();
  std::set<CommHandle> distinct;
  for (int i = 0; i < kThreads; ++i) {
    EXPECT_NE(handles[i], 0u);
    EXPECT_NE(handles[i], kInvalidHandle);
    EXPECT_EQ(constants[i], static_cast<uint32_t>(1000 + i));
    distinct.insert(handles[i]);
    CommClose(handles[i]);
  }
  EXPECT_EQ(distinct.size(), static_cast<size_t>(kThreads));
}

TEST(CommPosixTime, SleepAndTick) {
  const uint32_t before = CommTickCount();
  const auto start = Clock::now();
  CommSleep(30);
  const int64_t took = MsSince(start);
  EXPECT_GE(took, 30);
  EXPECT_LT(took, 80);
  const uint32_t ticks = CommTickCount() - before;
  EXPECT_GE(ticks, 29u);
  EXPECT_LT(ticks, 80u);
}

}  // namespace
}  // namespace tcudv::test
