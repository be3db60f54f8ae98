// A host log that allocates nothing: the last lines of the calling thread,
// formatted into fixed buffers.
#ifndef TCUDVNT_TESTS_FIXED_LOG_H
#define TCUDVNT_TESTS_FIXED_LOG_H

#include <cstddef>
#include <string>

namespace tcudv::test {

// Lines logged on this thread since the last call.
size_t TakeFixedLogCount();
// The last line logged on this thread.
const char* LastFixedLogLine();
// The last lines logged on this thread, oldest first, one per line (for reports).
std::string RecentFixedLogLines();

}  // namespace tcudv::test

#endif
