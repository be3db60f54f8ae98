#ifndef TCUDVNT_LDI_INFO_H
#define TCUDVNT_LDI_INFO_H

#include <cstddef>
#include <cstdint>

#include "entry/ldi.h"

namespace tcudv {

inline constexpr size_t kNameTextSize = 81;
inline constexpr size_t kBannerSize = 206;

template <size_t N>
struct FixedText {
  char bytes[N];
};

// "Red Lion Controls, TCU and PCU" and, right behind its NUL, the long name.
extern const char kNameText[kNameTextSize];
// A double-line box around the driver's name, drawn in code page 437.
extern const FixedText<kBannerSize> kBanner;

// Operation 14: needs no workspace; fills the driver info record.
int32_t GetLdiInfo(LdiCall* call);

}  // namespace tcudv

#endif
