// The fuzzers' host log: every line is formatted with its arguments (so a
// format that does not match its arguments shows under the sanitizers) and
// checked for the driver's form; nothing is printed.
#ifndef TCUDVNT_FUZZ_LOG_H
#define TCUDVNT_FUZZ_LOG_H

#include <cstddef>

namespace tcudv::fuzz {

// Lines logged since the last call, and the last one's text.
size_t TakeLogLineCount();
const char* LastLogLine();

// Prints the message and aborts, so that libFuzzer keeps the input as a crash.
[[noreturn]] void Fail(const char* what);

}  // namespace tcudv::fuzz

#endif
