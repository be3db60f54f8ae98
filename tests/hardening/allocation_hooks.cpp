// Counting under AddressSanitizer, which owns the allocator: its malloc and
// free hooks see every allocation, operator new included.
#include <cstddef>
#include <cstdlib>

#include "allocation_counter.h"
#include "allocation_tally.h"

// The sanitizer runtime's hook interface (gcc installs no header for it).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onAllocation)(const volatile void*,
                                                                              size_t),
                                                         void (*onRelease)(const volatile void*));

namespace tcudv::test {
namespace {

void OnAllocation(const volatile void*, size_t) {
  NoteAllocation();
}
void OnRelease(const volatile void*) {
  NoteRelease();
}

const bool hooked = __sanitizer_install_malloc_and_free_hooks(OnAllocation, OnRelease) != 0;

}  // namespace

bool CountingWorks() {
  if (!hooked) return false;
  CountingScope scope;
  void* volatile probe = std::malloc(16);
  std::free(probe);
  int* volatile object = new int(1);
  delete object;
  const AllocationCount count = scope.Count();
  return count.allocations == 2 && count.releases == 2;
}

}  // namespace tcudv::test
