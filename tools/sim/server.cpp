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
  const Clock::time_point start = Clock::now();
  const auto sinceStart = [start](Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(t - start).count();
  };
  sigset_t waitMask;
  sigprocmask(SIG_SETMASK, nullptr, &waitMask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigdelset(&waitMask, signal);

  FrameParser parser;
  std::multimap<Clock::time_point, PendingReply> pending;
  std::vector<ReceivedItem> items;
  while (stopSignal == 0) {
    timespec wait{};
    timespec* timeout = nullptr;
    if (!pending.empty()) {
      const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
          pending.begin()->first - Clock::now());
      const long long ns = left.count() > 0 ? left.count() : 0;
      wait.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
      wait.tv_nsec = static_cast<long>(ns % 1'000'000'000);
      timeout = &wait;
    }
    pollfd watch{context.port.fd(), POLLIN, 0};
    const int ready = ppoll(&watch, 1, timeout, &waitMask);
    if (ready < 0 && errno != EINTR) {
      context.log.Write(std::string("poll failed: ") + std::strerror(errno));
      return 2;
    }
    if (ready > 0 && (watch.revents & POLLIN) != 0) {
      char buffer[256];
      const ssize_t n = read(context.port.fd(), buffer, sizeof buffer);
      if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
        std::fprintf(stderr, "tcudv-sim: %s: the line is gone (%s)\n", context.port.path().c_str(),
                     n == 0 ? "hang-up" : std::strerror(errno));
        return 2;
      }
      const Clock::time_point now = Clock::now();
      items.clear();
      if (n > 0) parser.Feed(std::string_view(buffer, static_cast<size_t>(n)), items);
      parser.FlushNoise(items);
      for (const ReceivedItem& item : items) {
        if (item.kind == Received::kNoise) {
          context.log.Write("noise " + QuoteBytes(item.raw));
          continue;
        }
        const Transaction t = context.simulator.Handle(item, sinceStart(now));
        context.events.Record(sinceStart(now), item, t);
        context.log.Write(ReceivedText(item, t));
        if (!t.reply.empty()) {
          pending.emplace(now + std::chrono::milliseconds(t.delayMs),
                          PendingReply{t.reply, t.fault});
        }
      }
      if (!context.stateFile.empty() &&
          !WriteStateFile(context.stateFile, StateText(context.simulator.nodes()))) {
        context.log.Write("cannot write the state file " + context.stateFile);
      }
    } else if (ready > 0 && (watch.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
      std::fprintf(stderr, "tcudv-sim: %s: the line is gone\n", context.port.path().c_str());
      return 2;
    }
    while (!pending.empty() && pending.begin()->first <= Clock::now()) {
      const PendingReply reply = pending.begin()->second;
      pending.erase(pending.begin());
      const long written = context.port.Write(reply.bytes);
      if (written < 0) {
        std::fprintf(stderr, "tcudv-sim: %s: write failed (%s)\n", context.port.path().c_str(),
                     std::strerror(errno));
        return 2;
      }
      std::string text = "tx " + QuoteBytes(reply.bytes);
      if (reply.fault != Fault::kNone) text += std::string(" fault=") + FaultName(reply.fault);
      if (static_cast<size_t>(written) < reply.bytes.size()) {
        text += " (output full: " + std::to_string(reply.bytes.size() - written) + " bytes lost)";
      }
      context.log.Write(text);
    }
  }
  context.log.Write(std::string("stopped by ") + strsignal(stopSignal));
  return 0;
}

}  // namespace tcudv::sim
