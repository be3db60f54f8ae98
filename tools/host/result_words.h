// The driver's result codes in words, and the tool's exit code from them.
#ifndef TCUDV_HOST_RESULT_WORDS_H
#define TCUDV_HOST_RESULT_WORDS_H

#include <cstdint>
#include <string>

namespace tcudv::host {

inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;      // a result 1, a bad gate, bad usage
inline constexpr int kExitLineFailure = 2;  // a result 2; wins over a refusal

// "ok", "refused (result 1)", "line failure (result 2)".
std::string ResultWords(int32_t result);

// The exit code a driver result stands for.
int ExitCodeFor(int32_t result);

// The exit code of two outcomes together: a line failure wins over a refusal.
int CombineExitCodes(int a, int b);

}  // namespace tcudv::host

#endif
