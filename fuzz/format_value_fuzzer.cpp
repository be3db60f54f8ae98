// Any format text and any float through FormatValue, in a buffer of the size
// its header asks for; a written text must be the value, rounded as documented.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "fuzz_input.h"
#include "fuzz_log.h"
#include "protocol/value_text.h"

namespace tcudv::fuzz {
namespace {

// A correct width-form text has at most 12 integer digits, a sign, a point and
// 7 decimals; a larger documented width can only be refused.
constexpr size_t kWidthCap = 64;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The buffer the header asks for: w + 1 in the width form, else the free-form size.
size_t DocumentedSize(const char* format) {
  const char* start = format[0] == '+' ? format + 1 : format;
  if (start[0] != '0') return kFreeFormTextSize;
  size_t width = 0;
  for (const char* c = start; IsDigit(*c) && width <= kWidthCap; ++c)
    width = width * 10 + (*c - '0');
  return (width < kWidthCap ? width : kWidthCap) + 1;
}

void CheckWritten(const char* format, const char* text, float value) {
  const bool alwaysSign = format[0] == '+';
  const char* c = text;
  const char sign = (*c == '+' || *c == '-') ? *c++ : '\0';
  if (alwaysSign && sign == '\0') Fail("a '+' format wrote no sign");
  if (!alwaysSign && sign == '+') Fail("a '+' sign without the '+' format");

  unsigned __int128 digits = 0;
  size_t integerDigits = 0;
  for (; IsDigit(*c); ++c, ++integerDigits) digits = digits * 10 + static_cast<unsigned>(*c - '0');
  int decimals = 0;
  if (*c == '.') {
    for (++c; IsDigit(*c); ++c, ++decimals) digits = digits * 10 + static_cast<unsigned>(*c - '0');
    if (decimals == 0) Fail("a point without decimals");
    if (decimals > 7) Fail("more than 7 decimals written");
  }
  if (*c != '\0') Fail("a character that is no sign, digit or point");
  if (integerDigits == 0 && decimals == 0) Fail("no digits written");

  // Rounded half away from zero on the value as stored, in double precision.
  const double scaled = static_cast<double>(value) * std::pow(10.0, decimals);
  const double rounded = std::trunc(scaled + (value < 0 ? -0.5 : 0.5));
  const unsigned __int128 magnitude = static_cast<unsigned __int128>(std::fabs(rounded));
  if (digits != magnitude) Fail("the text is not the value rounded");
  if (sign == '-' && rounded >= 0) Fail("a minus sign on a value that rounds to 0 or more");
  if (sign != '-' && rounded < 0) Fail("a negative value without its minus sign");

  const char* start = alwaysSign ? format + 1 : format;
  if (start[0] == '0') {
    size_t width = 0;
    for (const char* w = start; IsDigit(*w) && width <= kWidthCap; ++w)
      width = width * 10 + (*w - '0');
    if (std::strlen(text) != width) Fail("a width-form text not of its width");
  }
}

}  // namespace
}  // namespace tcudv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tcudv;
  using namespace tcudv::fuzz;
  FuzzInput in(data, size);
  const uint32_t bits = in.U32();
  float value;
  std::memcpy(&value, &bits, sizeof value);
  const std::string rest = in.Rest();
  const char* format = rest.c_str();
  const size_t formatSize = std::strlen(format) + 1;

  const size_t documented = DocumentedSize(format);
  const size_t bufferSize = documented > formatSize ? documented : formatSize;
  std::unique_ptr<char[]> buffer(new char[bufferSize]);
  std::memset(buffer.get(), 0x5A, bufferSize);
  std::memcpy(buffer.get(), format, formatSize);
  std::unique_ptr<char[]> before(new char[bufferSize]);
  std::memcpy(before.get(), buffer.get(), bufferSize);

  const uint8_t result = FormatValue(buffer.get(), value);
  if (result > kValueTextNegativeDecimals) Fail("result outside 0 to 3");
  if (!std::isfinite(value) && result != kValueTextRefused)
    Fail("a value that is not finite not refused");
  if (result != kValueTextWritten) {
    if (std::memcmp(buffer.get(), before.get(), bufferSize) != 0)
      Fail("a refusal changed the buffer");
    return 0;
  }
  if (std::memchr(buffer.get(), '\0', bufferSize) == nullptr) Fail("the text has no terminator");
  CheckWritten(format, buffer.get(), value);
  return 0;
}
