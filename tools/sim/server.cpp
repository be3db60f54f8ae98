#include "sim/server.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <map>
#include <vector>

#include "sim/byte_escape.h"
#include "sim/state_file.h"

namespace tcudv::sim {
namespace {

volatile std::sig_atomic_t stopSignal = 0;

void OnStopSignal(int signal) {
  stopSignal = signal;
}

using Clock = std::chrono::steady_clock;

struct PendingReply {
  std::string bytes;
  Fault fault;
};

std::string ReceivedText(const ReceivedItem& item, const Transaction& t) {
  std::string text = "rx " + QuoteBytes(item.raw) + " " + OutcomeName(t.outcome);
  if (!t.detail.empty()) text += " " + t.detail;
  if (t.fault != Fault::kNone) text += std::string(" fault=") + FaultName(t.fault);
  if (t.outcome == Outcome::kReply && t.delayMs > 0) {
    text += " in " + std::to_string(t.delayMs) + " ms";
  }
  return text;
}

// One serving run: input taken as it comes, replies sent when they are due.
class Loop {
 public:
  explicit Loop(ServeContext& context) : context_(context), start_(Clock::now()) {}

  int Run();

 private:
  int64_t SinceStart(Clock::time_point t) const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(t - start_).count();
  }
  // Until the next reply is due, or no limit when none is waiting.
  timespec* Timeout(timespec& wait) const;
  bool TakeInput();
  bool SendDueReplies();
  void WriteState();
  int Fail(const std::string& what) const;

  ServeContext& context_;
  const Clock::time_point start_;
  FrameParser parser_;
  std::multimap<Clock::time_point, PendingReply> pending_;
  std::vector<ReceivedItem> items_;
  bool stateFailed_ = false;
  std::string failure_;  // why the input failed
};

timespec* Loop::Timeout(timespec& wait) const {
  if (pending_.empty()) return nullptr;
  const auto left =
      std::chrono::duration_cast<std::chrono::nanoseconds>(pending_.begin()->first - Clock::now());
  const long long ns = left.count() > 0 ? left.count() : 0;
  wait.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
  wait.tv_nsec = static_cast<long>(ns % 1'000'000'000);
  return &wait;
}

int Loop::Fail(const std::string& what) const {
  std::fprintf(stderr, "tcudv-sim: %s: %s\n", context_.port.path().c_str(), what.c_str());
  return 2;
}

bool Loop::TakeInput() {
  char buffer[256];
  const ssize_t n = read(context_.port.fd(), buffer, sizeof buffer);
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
  if (n <= 0) {
    failure_ = n == 0 ? "hang-up" : std::strerror(errno);
    return false;
  }
  const Clock::time_point now = Clock::now();
  items_.clear();
  parser_.Feed(std::string_view(buffer, static_cast<size_t>(n)), items_);
  parser_.FlushNoise(items_);
  for (const ReceivedItem& item : items_) {
    if (item.kind == Received::kNoise) {
      context_.log.Write("noise " + QuoteBytes(item.raw));
      continue;
    }
    const Transaction t = context_.simulator.Handle(item, SinceStart(now));
    context_.events.Record(SinceStart(now), item, t);
    context_.log.Write(ReceivedText(item, t));
    if (!t.reply.empty()) {
      pending_.emplace(now + std::chrono::milliseconds(t.delayMs), PendingReply{t.reply, t.fault});
    }
  }
  WriteState();
  return true;
}

void Loop::WriteState() {
  if (context_.stateFile.empty()) return;
  const bool written = WriteStateFile(context_.stateFile, StateText(context_.simulator.nodes()));
  // Said once, so a full disk does not flood stderr; serving goes on.
  if (!written && !stateFailed_) {
    std::fprintf(stderr, "tcudv-sim: cannot write the state file %s\n", context_.stateFile.c_str());
  }
  stateFailed_ = !written;
}

bool Loop::SendDueReplies() {
  while (!pending_.empty() && pending_.begin()->first <= Clock::now()) {
    const PendingReply reply = pending_.begin()->second;
    pending_.erase(pending_.begin());
    const long written = context_.port.Write(reply.bytes);
    if (written < 0) return false;
    std::string text = "tx " + QuoteBytes(reply.bytes);
    if (reply.fault != Fault::kNone) text += std::string(" fault=") + FaultName(reply.fault);
    if (static_cast<size_t>(written) < reply.bytes.size()) {
      text += " (output full: " + std::to_string(reply.bytes.size() - written) + " bytes lost)";
    }
    context_.log.Write(text);
  }
  return true;
}

int Loop::Run() {
  sigset_t waitMask;
  sigprocmask(SIG_SETMASK, nullptr, &waitMask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigdelset(&waitMask, signal);
  while (stopSignal == 0) {
    timespec wait{};
    pollfd watch{context_.port.fd(), POLLIN, 0};
    const int ready = ppoll(&watch, 1, Timeout(wait), &waitMask);
    if (ready < 0 && errno != EINTR) return Fail(std::string("poll: ") + std::strerror(errno));
    if (ready > 0 && (watch.revents & POLLIN) != 0) {
      if (!TakeInput()) return Fail("the line is gone: " + failure_);
    } else if (ready > 0 && (watch.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
      return Fail("the line is gone");
    }
    if (!SendDueReplies()) return Fail(std::string("write failed: ") + std::strerror(errno));
  }
  context_.log.Write(std::string("stopped by ") + strsignal(stopSignal));
  return 0;
}

}  // namespace

void HoldStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigset_t stops;
  sigemptyset(&stops);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    sigaction(signal, &action, nullptr);
    sigaddset(&stops, signal);
  }
  std::signal(SIGPIPE, SIG_IGN);
  sigprocmask(SIG_BLOCK, &stops, nullptr);
}

int Serve(ServeContext& context) {
  Loop loop(context);
  return loop.Run();
}

}  // namespace tcudv::sim
