#include "line_waits.h"

#include <poll.h>
#include <time.h>

extern "C" int __real_clock_nanosleep(clockid_t clock, int flags, const timespec* request,
                                      timespec* remain);
extern "C" int __real_poll(pollfd* fds, nfds_t count, int timeout);

namespace tcudv::bench {
namespace {

thread_local bool counting = false;
thread_local LineWaits waits;

int64_t Ns(const timespec& t) {
  return int64_t{t.tv_sec} * 1000000000 + t.tv_nsec;
}

int64_t ClockNs(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return Ns(now);
}

}  // namespace

int64_t NowNs() {
  return ClockNs(CLOCK_MONOTONIC);
}

void StartWaits() {
  waits = LineWaits{};
  counting = true;
}

LineWaits TakeWaits() {
  counting = false;
  return waits;
}

}  // namespace tcudv::bench

using namespace tcudv::bench;

extern "C" int __wrap_clock_nanosleep(clockid_t clock, int flags, const timespec* request,
                                      timespec* remain) {
  if (!counting) return __real_clock_nanosleep(clock, flags, request, remain);
  const int64_t start = ClockNs(clock);
  const int64_t asked = (flags & TIMER_ABSTIME) ? Ns(*request) - start : Ns(*request);
  const int result = __real_clock_nanosleep(clock, flags, request, remain);
  if (asked > 0) waits.askedNs += asked;
  waits.sleptNs += ClockNs(clock) - start;
  ++waits.sleeps;
  return result;
}

extern "C" int __wrap_poll(pollfd* fds, nfds_t count, int timeout) {
  if (!counting) return __real_poll(fds, count, timeout);
  const int64_t start = NowNs();
  const int ready = __real_poll(fds, count, timeout);
  waits.pollNs += NowNs() - start;
  ++waits.polls;
  return ready;
}
