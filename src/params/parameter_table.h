// The 28 controller parameters the driver serves, by parameter index.
#ifndef TCUDVNT_PARAMETER_TABLE_H
#define TCUDVNT_PARAMETER_TABLE_H

#include <cstdint>

#include "core/workspace.h"

namespace tcudv {

inline constexpr uint8_t PF_RESOLUTION = 1;
inline constexpr uint8_t PF_READ = 2;
inline constexpr uint8_t PF_VALUE = 4;
inline constexpr uint8_t PF_RESET = 8;
inline constexpr uint8_t PF_CONTROL = 16;

// Indexes that other code names on purpose.
inline constexpr uint32_t kParamTmp = 0;
inline constexpr uint32_t kParamCtr = 16;
inline constexpr uint32_t kParamSem = 17;
inline constexpr uint32_t kParamOst = 18;
inline constexpr uint32_t kParamA1r = 26;
inline constexpr uint32_t kParamA2r = 27;

extern const char* const kMnemonic[kParameterCount];
extern const char* const kValueId[kParameterCount];
extern const uint8_t kFlags[kParameterCount];
extern const uint32_t kDefaultResolution[kParameterCount];

// A write goes out when any of PF_VALUE, PF_RESET, PF_CONTROL is set.
inline bool IsWritable(uint32_t param) { return (kFlags[param] & 0xFC) != 0; }

}  // namespace tcudv

#endif
