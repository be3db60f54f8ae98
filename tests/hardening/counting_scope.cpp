#include "allocation_counter.h"
#include "allocation_tally.h"

namespace tcudv::test {

thread_local Tally tally;

CountingScope::CountingScope() {
  tally.allocations = 0;
  tally.releases = 0;
  tally.counting = true;
}

CountingScope::~CountingScope() {
  tally.counting = false;
}

AllocationCount CountingScope::Count() const {
  return {tally.allocations, tally.releases};
}

}  // namespace tcudv::test
