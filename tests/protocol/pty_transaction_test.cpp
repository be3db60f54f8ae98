// Reads and writes through LdiMain on a real pseudo-terminal: the driver opens
// the slave with ColdStart, a scripted controller answers on the master side.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/workspace.h"
#include "entry/ldi.h"
#include "support/log_capture.h"

namespace tcudv::test {
namespace {

using Clock = std::chrono::steady_clock;
using Texts = std::vector<std::string>;

// Controllers on the master side: each frame up to "*" is recorded and, when
// the script has an answer for it, answered.
class Controller {
 public:
  Controller() {
    int slave = -1;
    char path[128] = {};
    if (openpty(&master_, &slave, path, nullptr, nullptr) != 0) return;
    close(slave);  // the driver opens it by name
    name_ = std::string(path).substr(std::strlen("/dev/"));
    thread_ = std::thread([this] { Run(); });
  }
  ~Controller() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (master_ >= 0) close(master_);
  }
  Controller(const Controller&) = delete;
  Controller& operator=(const Controller&) = delete;

  // "pts/N", as a start-up record names the port.
  const std::string& name() const { return name_; }

  void Answer(const std::string& frame, const std::string& reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_[frame] = reply;
  }

  // The frames received so far, once at least `count` have come (or 2 s passed).
  Texts Frames(size_t count = 0) {
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    for (;;) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (frames_.size() >= count || Clock::now() > deadline) return frames_;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  void ClearFrames() {
    std::lock_guard<std::mutex> lock(mutex_);
    frames_.clear();
  }

 private:
  void Run() {
    std::string pending;
    while (!stop_) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 10) <= 0 || (p.revents & POLLIN) == 0) continue;
      char buffer[256];
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) continue;
      pending.append(buffer, static_cast<size_t>(n));
      for (size_t end; (end = pending.find('*')) != std::string::npos;) {
        const std::string frame = pending.substr(0, end + 1);
        pending.erase(0, end + 1);
        std::string reply;
        {
          std::lock_guard<std::mutex> lock(mutex_);
          frames_.push_back(frame);
          auto it = answers_.find(frame);
          if (it != answers_.end()) reply = it->second;
        }
        if (!reply.empty() && write(master_, reply.data(), reply.size()) < 0) return;
      }
    }
  }

  int master_ = -1;
  std::string name_;
  std::mutex mutex_;
  std::map<std::string, std::string> answers_;
  Texts frames_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class PtyTransactions : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(controller_.name().empty()) << "no pseudo-terminal";
    ASSERT_LT(controller_.name().size(), sizeof(LdiStartup{}.portName));
    LdiStartup startup{};
    std::memcpy(startup.portName, controller_.name().c_str(), controller_.name().size() + 1);
    startup.openPort = 1;
    startup.replyTimeout = 4;  // 40 ms per byte
    startup.lineParams = LdiLineParams{9600, 7, 0, 2};
    ASSERT_EQ(Call(LDI_OP_COLD_START, &startup), 0);
    ASSERT_NE(ws_.portHandle, 0u);
    ClearLog();
  }
  void TearDown() override { Call(LDI_OP_CLOSE_COM, nullptr); }

  int32_t Call(uint32_t operation, void* record) {
    LdiCall call{};
    call.workspace = &ws_;
    call.operation = operation;
    call.instance = 4711;  // no initialisation file of that number
    call.record = record;
    return LdiMain(&call);
  }

  // A gate as the host makes it: parsed first, the results kept.
  LdiGateIo Gate(const char* address, int32_t kind, void* cell) {
    LdiGateAddress parsed{};
    parsed.address = address;
    parsed.kind = kind;
    EXPECT_EQ(Call(LDI_OP_SINGLE_ADDRESS_PARSER, &parsed), 0) << address;
    LdiGateIo io{};
    io.label = address;
    io.node = parsed.node;
    io.type = parsed.type;
    io.param = parsed.param;
    io.bit = parsed.bit;
    io.value = cell;
    return io;
  }

  int32_t Read(LdiGateIo& io) { return Call(LDI_OP_SINGLE_READ, &io); }
  int32_t Write(LdiGateIo& io) { return Call(LDI_OP_SINGLE_WRITE, &io); }

  Controller controller_;
  Workspace ws_{};
};

// The log without Send's RTS lines: a pseudo-terminal has no modem lines, so
// every frame logs that RTS could not be switched.
Texts TransactionLog() {
  Texts texts;
  for (const std::string& text : LogTexts()) {
    if (text != "LDIYY> Send() EscapeCommFunction() failed") texts.push_back(text);
  }
  return texts;
}

float FloatOf(const uint8_t (&cell)[4]) {
  float value = 0;
  std::memcpy(&value, cell, sizeof value);
  return value;
}

uint16_t WordOf(const uint8_t (&cell)[4]) {
  return static_cast<uint16_t>(cell[2] | cell[3] << 8);
}

TEST_F(PtyTransactions, ReadsEachGateTypeOfSeveralNodes) {
  controller_.Answer("N01TB*", " 150.0\r\n");
  controller_.Answer("N12TC*", " 50.5\r\n");
  controller_.Answer("N02TE*", "-5\r\n");
  controller_.Answer("N03TW*", " 1101\r\n");

  uint8_t set[4] = {}, pwr[4] = {}, integral[4] = {0xA5, 0x5A, 0, 0}, ost[4] = {};
  LdiGateIo setGate = Gate("01SET", LDI_KIND_FLOAT, set);
  LdiGateIo pwrGate = Gate("12PWR", LDI_KIND_FLOAT, pwr);
  LdiGateIo intGate = Gate("02INT", LDI_KIND_ANALOG16, integral);
  LdiGateIo ostGate = Gate("03OST2", LDI_KIND_DIGITAL, ost);
  ASSERT_EQ(intGate.type, static_cast<uint32_t>('W'));
  ASSERT_EQ(ostGate.bit, 2);

  EXPECT_EQ(Read(setGate), 0);
  EXPECT_EQ(Read(pwrGate), 0);
  EXPECT_EQ(Read(intGate), 0);
  EXPECT_EQ(Read(ostGate), 0);
  EXPECT_EQ(controller_.Frames(), (Texts{"N01TB*", "N12TC*", "N02TE*", "N03TW*"}));
  EXPECT_EQ(FloatOf(set), 150.0f);
  EXPECT_EQ(FloatOf(pwr), 50.5f);
  EXPECT_EQ(WordOf(integral), 0xFFFB);
  EXPECT_EQ(integral[0], 0xA5);
  EXPECT_EQ(integral[1], 0x5A);
  EXPECT_EQ(WordOf(ost), 1);
  EXPECT_TRUE(TransactionLog().empty());
}

TEST_F(PtyTransactions, WritesEachCommandAndIgnoresWhatTheControllerSendsBack) {
  // Whatever a controller answers to a write waits in the input until the
  // next transaction empties it.
  for (const char* frame : {"N01VB0150*", "N05CS2*", "N07RG*", "N12VC050.5*"}) {
    controller_.Answer(frame, "-ack\r\n");
  }
  uint8_t set[4], ctr[4] = {0, 0, 2, 0}, reset[4] = {}, pwr[4];
  const float setValue = 150.0f, pwrValue = 50.5f;
  std::memcpy(set, &setValue, 4);
  std::memcpy(pwr, &pwrValue, 4);
  LdiGateIo setGate = Gate("01SET", LDI_KIND_FLOAT, set);
  LdiGateIo ctrGate = Gate("05CTR", LDI_KIND_ANALOG16, ctr);
  LdiGateIo resetGate = Gate("07A1R", LDI_KIND_DIGITAL, reset);
  LdiGateIo pwrGate = Gate("12PWR", LDI_KIND_FLOAT, pwr);

  EXPECT_EQ(Write(setGate), 0);
  EXPECT_EQ(Write(ctrGate), 0);
  EXPECT_EQ(Write(resetGate), 0);
  EXPECT_EQ(Write(pwrGate), 0);
  EXPECT_EQ(controller_.Frames(4), (Texts{"N01VB0150*", "N05CS2*", "N07RG*", "N12VC050.5*"}));

  controller_.Answer("N01TB*", " 150.0\r\n");
  uint8_t readBack[4] = {};
  LdiGateIo readGate = Gate("01SET", LDI_KIND_FLOAT, readBack);
  EXPECT_EQ(Read(readGate), 0);
  EXPECT_EQ(FloatOf(readBack), 150.0f);
  EXPECT_TRUE(TransactionLog().empty());
}

TEST_F(PtyTransactions, BitWriteReadsTheWordAndWritesItBack) {
  controller_.Answer("N02TE*", " 1010\r\n");
  uint8_t cell[4] = {0, 0, 7, 0};  // digit 7 into the units
  LdiGateIo io = Gate("02INT", LDI_KIND_ANALOG16, cell);
  io.bit = 0;  // a digit gate of a writable word, which the parser does not make
  EXPECT_EQ(Write(io), 0);
  EXPECT_EQ(controller_.Frames(2), (Texts{"N02TE*", "N02VE1017*"}));
  EXPECT_EQ(WordOf(cell), 7);
}

TEST_F(PtyTransactions, SilentNodeEndsWithTwoAfterTheNodeTest) {
  uint8_t cell[4] = {};
  LdiGateIo io = Gate("09SET", LDI_KIND_FLOAT, cell);
  EXPECT_EQ(Read(io), 2);
  EXPECT_EQ(controller_.Frames(), (Texts{"N09TB*", "N09TA*", "N09TA*", "N09TA*"}));
  EXPECT_EQ(TransactionLog(), (Texts{"LDIYY> DoRead() Read reply error retry 1 for gate 0",
                                     "LDIYY> DoRead() Read reply error retry 2 for gate 0",
                                     "LDIYY> DoRead() Read reply error retry 3 for gate 0",
                                     "LDIYY> DoRead() Test request error = PLC-comm. error",
                                     "LDIYY> SingleRead(), ret val is 2"}));
}

TEST_F(PtyTransactions, OneReadWithTheDefaultGapTakesAtLeast116Ms) {
  controller_.Answer("N01TA*", " 21.5\r\n");
  uint8_t cell[4] = {};
  LdiGateIo io = Gate("01TMP", LDI_KIND_FLOAT, cell);
  ASSERT_EQ(ws_.frameGap, 100);
  const auto start = Clock::now();
  EXPECT_EQ(Read(io), 0);
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_GE(elapsed, 116);  // the gap, a drain poll of 1 ms and 15 ms with RTS up
  EXPECT_EQ(FloatOf(cell), 21.5f);
}

}  // namespace
}  // namespace tcudv::test
