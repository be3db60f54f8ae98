#include "sim/reply_formatter.h"

#include <gtest/gtest.h>

namespace tcudv::sim {
namespace {

TEST(SimReplyFormatter, ValueWithTheNodesDecimals) {
  struct Case {
    int64_t milli;
    int decimals;
    const char* reply;
  };
  const Case cases[] = {
      {150000, 0, " 150\r\n"},
      {12500, 1, " 12.5\r\n"},
      {-5000, 0, "-5\r\n"},
      {-12500, 1, "-12.5\r\n"},
      {125, 3, " 0.125\r\n"},
      {1000, 3, " 1.000\r\n"},
      {0, 1, " 0.0\r\n"},
      {12345, 2, " 12.35\r\n"},  // half away from zero
      {-12345, 2, "-12.35\r\n"},
      {50500, 0, " 51\r\n"},
      {-50500, 0, "-51\r\n"},
      {50499, 0, " 50\r\n"},
      {-400, 0, " 0\r\n"},  // rounds to zero: no sign
      {-4, 2, " 0.00\r\n"},
      {-5, 2, "-0.01\r\n"},
      {7, 2, " 0.01\r\n"},
      {999999999, 3, " 999999.999\r\n"},
      {-999999999, 0, "-1000000\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatReply(c.milli, c.decimals), c.reply) << c.milli << " at " << c.decimals;
  }
}

TEST(SimReplyFormatter, OutputStatusIsFourDigitsUnitsLast) {
  struct Case {
    std::array<bool, 4> digits;  // units first
    const char* reply;
  };
  const Case cases[] = {
      {{false, false, false, false}, " 0000\r\n"}, {{true, false, false, false}, " 0001\r\n"},
      {{false, true, false, true}, " 1010\r\n"},   {{true, false, true, false}, " 0101\r\n"},
      {{true, true, true, true}, " 1111\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatOutputStatus(c.digits), c.reply);
}

}  // namespace
}  // namespace tcudv::sim
