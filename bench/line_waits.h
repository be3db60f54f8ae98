// What the driver's own rules make a transaction wait, seen from outside: the
// sleeps it asks for, and the time it spends blocked waiting for reply bytes.
// The driver's calls of clock_nanosleep and poll are wrapped at link time.
#ifndef TCUDVNT_BENCH_LINE_WAITS_H
#define TCUDVNT_BENCH_LINE_WAITS_H

#include <cstdint>

namespace tcudv::bench {

struct LineWaits {
  int64_t askedNs = 0;  // asked-for sleeps, from the call to the wake-up time asked for
  int64_t sleptNs = 0;  // the same sleeps as they took, until the thread ran again
  int64_t pollNs = 0;   // time inside poll waiting for bytes (or their time-out)
  uint32_t sleeps = 0;
  uint32_t polls = 0;
};

// Starts counting on this thread from zero.
void StartWaits();
// What was counted on this thread since StartWaits.
LineWaits TakeWaits();

int64_t NowNs();

}  // namespace tcudv::bench

#endif
