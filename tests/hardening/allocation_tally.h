// The per-thread tally both counting implementations keep.
#ifndef TCUDVNT_TESTS_ALLOCATION_TALLY_H
#define TCUDVNT_TESTS_ALLOCATION_TALLY_H

#include <cstddef>

namespace tcudv::test {

struct Tally {
  bool counting = false;
  size_t allocations = 0;
  size_t releases = 0;
};

// Plain thread-local data of the executable: reaching it allocates nothing.
extern thread_local Tally tally;

inline void NoteAllocation() {
  if (tally.counting) ++tally.allocations;
}

inline void NoteRelease() {
  if (tally.counting) ++tally.releases;
}

}  // namespace tcudv::test

#endif
