#include "interrupt.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <thread>

namespace tcudv::host {
namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) {
  interrupted = 1;
}

}  // namespace

void CatchInterrupt() {
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
}

bool Interrupted() {
  return interrupted != 0;
}

void WaitUnlessInterrupted(uint32_t ms) {
  using Clock = std::chrono::steady_clock;
  const auto until = Clock::now() + std::chrono::milliseconds(ms);
  while (!Interrupted()) {
    const auto now = Clock::now();
    if (now >= until) return;
    std::this_thread::sleep_for(
        std::min<Clock::duration>(until - now, std::chrono::milliseconds(50)));
  }
}

}  // namespace tcudv::host
