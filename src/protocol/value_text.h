// The controllers' fixed-point value text, and the integer power of ten.
#ifndef TCUDVNT_VALUE_TEXT_H
#define TCUDVNT_VALUE_TEXT_H

#include <cstddef>
#include <cstdint>

namespace tcudv {

// Result codes of FormatValue.
inline constexpr uint8_t kValueTextWritten = 0;
inline constexpr uint8_t kValueTextRefused = 1;  // bad format, too many decimals, not finite
inline constexpr uint8_t kValueTextTooWide =
    2;  // the integer part needs more digits than the width
inline constexpr uint8_t kValueTextNegativeDecimals = 3;

// The most a free-form text needs: a sign, the 39 integer digits of the largest
// float, and the terminator. Free forms with decimals are bounded far below it.
inline constexpr size_t kFreeFormTextSize = 41;

// Replaces the format text in `text` by the value's text and returns 0, or
// returns the refusal and leaves `text` unchanged. The format is read whole
// before the result is written, so one buffer serves for both.
//   "0w.d" / "0w": exactly w characters, so the buffer must hold w + 1 bytes;
//   ".d": free width with d decimals; any other lead: the rounded integer,
//   free width; both need at most kFreeFormTextSize bytes.
//   A leading "+" writes a sign also for values of 0 and above.
// Values are rounded half away from zero as stored; values that are not finite
// are refused with 1.
uint8_t FormatValue(char* text, float value);

// 10 to the power of the low 16 bits of n, wrapping at 32 bits.
uint32_t Pow10(uint32_t n);

}  // namespace tcudv

#endif
