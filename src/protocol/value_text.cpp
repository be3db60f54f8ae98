#include "protocol/value_text.h"

#include <cmath>
#include <cstring>

namespace tcudv {
namespace {

// Numbers in a format text stop growing here; every larger one is refused alike.
constexpr int32_t kNumberLimit = 100000;
constexpr int32_t kMaxDecimals = 7;
constexpr int32_t kMaxIntegerDigits = 12;
// Decimal digits of the largest float, 3.4e38.
constexpr size_t kMaxDigits = 39;

// The nearest doubles to 10^0 .. 10^38. No float lies between a power and its
// double, so comparing a float with the double decides against the exact power.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                   1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19,
                                   1e20, 1e21, 1e22, 1e23, 1e24, 1e25, 1e26, 1e27, 1e28, 1e29,
                                   1e30, 1e31, 1e32, 1e33, 1e34, 1e35, 1e36, 1e37, 1e38};
constexpr int32_t kPowerCount = sizeof(kPowersOfTen) / sizeof(kPowersOfTen[0]);

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The unsigned decimal number at `text`, saturated at kNumberLimit.
int32_t ReadNumber(const char* text) {
  int32_t number = 0;
  for (; IsDigit(*text); ++text) {
    if (number < kNumberLimit) number = number * 10 + (*text - '0');
  }
  return number;
}

// A decimal number with an optional sign, as the decimals count is written.
int32_t ReadSignedNumber(const char* text) {
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  const int32_t number = ReadNumber(text);
  return negative ? -number : number;
}

struct Format {
  bool alwaysSign;
  bool widthForm;
  int32_t width;
  int32_t decimals;
  bool decimalsTaken;
};

Format ReadFormat(const char* text) {
  Format format{};
  format.alwaysSign = text[0] == '+';
  const char lead = format.alwaysSign ? text[1] : text[0];
  format.widthForm = lead == '0';
  format.width = ReadNumber(format.alwaysSign ? text + 1 : text);
  const char* point = std::strchr(text, '.');
  if (point != nullptr && (text[0] == '0' || text[0] == '.' || text[0] == '+')) {
    format.decimalsTaken = true;
    format.decimals = ReadSignedNumber(point + 1);
  }
  return format;
}

// Whether n (a whole number, 1 at least) exceeds 10^(7 - decimals).
bool TooManyDecimals(double n, int32_t decimals) {
  if (decimals > kMaxDecimals) return true;
  const int32_t exponent = kMaxDecimals - decimals;
  if (exponent >= kPowerCount) return false;  // above every float
  return n > kPowersOfTen[exponent];
}

// The decimal digits of a whole number m >= 0, most significant first, at
// least minDigits of them with leading zeros. Returns their count.
size_t WholeDigits(double m, size_t minDigits, char (&digits)[kMaxDigits]) {
  // Little-endian decimal digits: a 53-bit mantissa, doubled for every
  // power of two above it, so even 3.4e38 comes out exact.
  uint8_t reversed[kMaxDigits] = {};
  size_t count = 0;
  int exponent = 0;
  const double fraction = std::frexp(m, &exponent);
  uint64_t mantissa = 0;
  int doublings = 0;
  if (exponent > 53) {
    mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
    doublings = exponent - 53;
  } else {
    mantissa = static_cast<uint64_t>(m);
  }
  for (; mantissa != 0 && count < kMaxDigits; mantissa /= 10) {
    reversed[count++] = static_cast<uint8_t>(mantissa % 10);
  }
  for (; doublings > 0; --doublings) {
    unsigned carry = 0;
    for (size_t i = 0; i < count; ++i) {
      const unsigned twice = reversed[i] * 2u + carry;
      reversed[i] = static_cast<uint8_t>(twice % 10);
      carry = twice / 10;
    }
    if (carry != 0 && count < kMaxDigits) reversed[count++] = static_cast<uint8_t>(carry);
  }
  if (count < minDigits) count = minDigits < kMaxDigits ? minDigits : kMaxDigits;
  for (size_t i = 0; i < count; ++i) digits[i] = static_cast<char>('0' + reversed[count - 1 - i]);
  return count;
}

}  // namespace

uint32_t Pow10(uint32_t n) {
  const uint16_t exponent = static_cast<uint16_t>(n);
  uint32_t power = 1;
  for (uint16_t i = 0; i < exponent; ++i) power *= 10;
  return power;
}

uint8_t FormatValue(char* text, float value) {
  if (!std::isfinite(value)) return kValueTextRefused;
  const Format format = ReadFormat(text);

  int32_t decimals = 0;
  if (format.decimalsTaken) {
    double n = std::trunc(std::fabs(static_cast<double>(value)));
    if (n == 0) n = 1;
    if (TooManyDecimals(n, format.decimals)) return kValueTextRefused;
    if (format.decimals < 0) return kValueTextNegativeDecimals;
    decimals = format.decimals;
  }

  // In double the product is exact, and adding the half before truncating
  // rounds it as exact arithmetic would.
  const double product = static_cast<double>(value) * Pow10(static_cast<uint32_t>(decimals));
  const double rounded = std::trunc(value < 0 ? product - 0.5 : product + 0.5);
  const bool negative = rounded < 0;
  const bool writeSign = format.alwaysSign || negative;

  // At least one integer digit and every decimal.
  char digits[kMaxDigits];
  const size_t digitCount =
      WholeDigits(std::fabs(rounded), static_cast<size_t>(decimals) + 1, digits);
  const size_t integerDigits = digitCount - static_cast<size_t>(decimals);
  const bool integerIsZero = integerDigits == 1 && digits[0] == '0';
  // Digits the integer part needs: 0 when it is 0 and decimals follow.
  const int32_t needed = integerIsZero && decimals > 0 ? 0 : static_cast<int32_t>(integerDigits);

  size_t zeros = 0;  // leading zeros before the integer digits
  size_t integerShown = integerDigits;
  if (format.widthForm) {
    if (format.width == 0) return kValueTextRefused;
    const int32_t left = format.width - (decimals > 0 ? 1 : 0) - (writeSign ? 1 : 0) - decimals;
    if (left < 0 || left > kMaxIntegerDigits) return kValueTextRefused;
    if (left < needed) return kValueTextTooWide;
    integerShown = static_cast<size_t>(needed);
    zeros = static_cast<size_t>(left - needed);
  }

  char result[kFreeFormTextSize + kMaxIntegerDigits];
  size_t length = 0;
  if (writeSign) result[length++] = negative ? '-' : '+';
  for (size_t i = 0; i < zeros; ++i) result[length++] = '0';
  std::memcpy(result + length, digits + (integerDigits - integerShown), integerShown);
  length += integerShown;
  if (decimals > 0) {
    result[length++] = '.';
    std::memcpy(result + length, digits + integerDigits, static_cast<size_t>(decimals));
    length += static_cast<size_t>(decimals);
  }
  result[length++] = '\0';
  std::memcpy(text, result, length);
  return kValueTextWritten;
}

}  // namespace tcudv
