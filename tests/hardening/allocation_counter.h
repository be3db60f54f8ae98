// Counts heap allocations and releases made on the calling thread while a
// counting scope is open, so that a driver call can be shown to make none.
#ifndef TCUDVNT_TESTS_ALLOCATION_COUNTER_H
#define TCUDVNT_TESTS_ALLOCATION_COUNTER_H

#include <cstddef>

namespace tcudv::test {

struct AllocationCount {
  size_t allocations = 0;  // malloc, calloc, realloc, aligned forms, every operator new
  size_t releases = 0;     // free, every operator delete
};

// Opens a counting scope on this thread; the count of the scope comes back at its end.
class CountingScope {
 public:
  CountingScope();
  ~CountingScope();
  CountingScope(const CountingScope&) = delete;
  CountingScope& operator=(const CountingScope&) = delete;
  AllocationCount Count() const;
};

// Whether this build can count at all (the counter is linked in and hooked up).
bool CountingWorks();

}  // namespace tcudv::test

#endif
