#include "protocol/value_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>

namespace tcudv::test {
namespace {

struct FormatCase {
  const char* format;
  float value;
  uint8_t result;
  const char* text;  // the buffer's text afterwards; the format itself on a refusal
};

void PrintTo(const FormatCase& c, std::ostream* out) {
  *out << '"' << c.format << "\" with " << c.value;
}

// Runs FormatValue in a buffer filled with a marker behind the format, so a
// refusal that wrote anything, or a result that ran long, shows.
std::string FormatInBuffer(const FormatCase& c, uint8_t* result) {
  char buffer[64];
  std::memset(buffer, '#', sizeof buffer);
  std::memcpy(buffer, c.format, std::strlen(c.format) + 1);
  *result = FormatValue(buffer, c.value);
  const size_t length = std::strlen(buffer);
  for (size_t i = std::max(length, std::strlen(c.format)) + 1; i < sizeof buffer; ++i) {
    EXPECT_EQ(buffer[i], '#') << "byte " << i << " behind the text was written";
  }
  return std::string(buffer, length);
}

class FormatValueCases : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatValueCases, WritesTheTextOrLeavesTheFormat) {
  const FormatCase& c = GetParam();
  uint8_t result = 0xFF;
  const std::string text = FormatInBuffer(c, &result);
  EXPECT_EQ(result, c.result) << c.format << " with " << c.value;
  EXPECT_EQ(text, c.text) << c.format << " with " << c.value;
  if (c.result == 0 && c.format[0] == '0') {
    EXPECT_EQ(text.size(), static_cast<size_t>(std::atoi(c.format))) << "width form keeps w";
  }
}

// Every form of the format and every refusal, in the order the checks come.
INSTANTIATE_TEST_SUITE_P(
    EdgeCases, FormatValueCases,
    testing::Values(FormatCase{"04.0", 150.0f, 0, "0150"}, FormatCase{"04.0", 9999.4f, 0, "9999"},
                    FormatCase{"04.0", 9999.5f, 2, "04.0"}, FormatCase{"05.0", -5.0f, 0, "-0005"},
                    FormatCase{"05.1", 12.5f, 0, "012.5"}, FormatCase{"06.1", -12.35f, 0, "-012.4"},
                    FormatCase{"05.2", 0.125f, 0, "00.13"}, FormatCase{"05.2", 2.675f, 0, "02.67"},
                    FormatCase{"05.1", 0.04f, 0, "000.0"}, FormatCase{"06.1", -0.04f, 0, "0000.0"},
                    FormatCase{"05.3", 1.25f, 0, "1.250"}, FormatCase{"05.3", 9.9995f, 2, "05.3"},
                    FormatCase{"05.4", 0.5f, 0, ".5000"}, FormatCase{"05.4", 1.5f, 2, "05.4"},
                    FormatCase{"01.0", 2.0f, 0, "2"}, FormatCase{"02.1", 1.0f, 2, "02.1"},
                    FormatCase{"+05.1", 12.5f, 0, "+12.5"}, FormatCase{"+05.1", 0.0f, 0, "+00.0"},
                    FormatCase{"+05.1", -0.01f, 0, "+00.0"}, FormatCase{".2", 3.14159f, 0, "3.14"},
                    FormatCase{".2", -0.001f, 0, "0.00"}, FormatCase{"+.1", 7.25f, 0, "+7.3"},
                    FormatCase{"5.2", 12.5f, 0, "13"}, FormatCase{"04", 12.0f, 0, "0012"},
                    FormatCase{"012.0", 1.0f, 0, "000000000001"},
                    FormatCase{"013.0", 1.0f, 1, "013.0"}, FormatCase{"0.2", 1.0f, 1, "0.2"},
                    FormatCase{"04.-1", 1.0f, 3, "04.-1"}, FormatCase{"04.8", 0.5f, 1, "04.8"},
                    FormatCase{"04.7", 1.0f, 1, "04.7"},
                    FormatCase{"08.0", 9999999.0f, 0, "09999999"},
                    FormatCase{"09.0", 12345678.0f, 1, "09.0"},
                    FormatCase{"04.1", -0.0f, 0, "00.0"}));

// Halves go away from zero on the value as stored, in every form.
INSTANTIATE_TEST_SUITE_P(
    Rounding, FormatValueCases,
    testing::Values(FormatCase{"05.1", 0.25f, 0, "000.3"}, FormatCase{"06.1", -0.25f, 0, "-000.3"},
                    FormatCase{"x", 2.5f, 0, "3"}, FormatCase{"x", -2.5f, 0, "-3"},
                    FormatCase{"x", 2.4999998f, 0, "2"}, FormatCase{"+x", 0.4f, 0, "+0"},
                    FormatCase{"05.2", 1.005f, 0, "01.00"},    // stored as 1.00499999...
                    FormatCase{"06.2", -1.015f, 0, "-01.01"},  // stored as -1.01499998...
                    FormatCase{"08.7", 0.1234567f, 0, ".1234567"}));

// Limits the examples above leave out: the decimals check against the value,
// widths beyond one digit, the free form of the largest floats, numbers in the
// format that would overflow an int.
INSTANTIATE_TEST_SUITE_P(
    Limits, FormatValueCases,
    testing::Values(FormatCase{"04.3", 10001.0f, 1, "04.3"},  // 10001 > 10^4: too many decimals
                    FormatCase{"09.3", 10000.0f, 0, "10000.000"},
                    FormatCase{"07.0", -999999.0f, 0, "-999999"},
                    FormatCase{"07.0", -1e6f, 2, "07.0"},
                    FormatCase{"013.0", -1.0f, 0, "-000000000001"},  // 12 digits and a sign
                    FormatCase{"014.0", -1.0f, 1, "014.0"},          // 13 digits left
                    FormatCase{"012", 1.1e12f, 2, "012"},            // 13 digits, 12 at most
                    FormatCase{"012", 1e12f, 0, "999999995904"},     // 1e12 is stored below 10^12
                    FormatCase{"04", 3.4e38f, 2, "04"},
                    FormatCase{"x", 3.4028235e38f, 0, "340282346638528859811704183484516925440"},
                    FormatCase{"+x", -3.4028235e38f, 0, "-340282346638528859811704183484516925440"},
                    FormatCase{"x", 16777217.0f, 0, "16777216"},  // not a float: stored as 2^24
                    FormatCase{"099999999999999999999.0", 1.0f, 1, "099999999999999999999.0"},
                    FormatCase{"04.99999999999999999999", 1.0f, 1, "04.99999999999999999999"},
                    FormatCase{"04.-99999999999999999999", 1.0f, 3, "04.-99999999999999999999"},
                    // 2e8 > 10^8 is tested before the sign of d
                    FormatCase{"04.-1", 2e8f, 1, "04.-1"}, FormatCase{"", 7.6f, 0, "8"}));

TEST(FormatValue, RefusesValuesThatAreNotFinite) {
  for (float value :
       {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
        std::numeric_limits<float>::quiet_NaN(), -std::nanf("")}) {
    for (const char* format : {"05.1", "04", ".2", "x"}) {
      uint8_t result = 0xFF;
      EXPECT_EQ(FormatInBuffer({format, value, 1, format}, &result), format) << value;
      EXPECT_EQ(result, 1) << format << " with " << value;
    }
  }
}

TEST(FormatValue, WidthFormResultMayBeLongerThanItsFormat) {
  char buffer[5] = "04";  // w + 1 bytes: all the width form needs
  EXPECT_EQ(FormatValue(buffer, 12.0f), 0);
  EXPECT_STREQ(buffer, "0012");
}

TEST(Pow10, PowersWrapAtThirtyTwoBitsAndTakeTheLow16BitsOfN) {
  struct {
    uint32_t n;
    uint32_t power;
  } const cases[] = {{0, 1},           {1, 10}, {3, 1000},    {7, 10000000},   {9, 1000000000},
                     {10, 1410065408}, {32, 0}, {0x10000, 1}, {0x10003, 1000}, {0xFFFFFFFF, 0}};
  for (const auto& c : cases) EXPECT_EQ(Pow10(c.n), c.power) << c.n;
}

}  // namespace
}  // namespace tcudv::test
