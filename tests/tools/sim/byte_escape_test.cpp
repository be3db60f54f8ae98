#include "sim/byte_escape.h"

#include <gtest/gtest.h>

#include <string>

namespace tcudv::sim {
namespace {

TEST(SimByteEscape, QuotesEveryByteUnambiguously) {
  struct Case {
    std::string bytes;
    const char* quoted;
  };
  const Case cases[] = {
      {"", "\"\""},
      {" 150\r\n", "\" 150\\r\\n\""},
      {"a\tb", "\"a\\tb\""},
      {"say \"x\" \\ y", "\"say \\\"x\\\" \\\\ y\""},
      {std::string("\0\x1f\x7f\xff", 4), "\"\\x00\\x1F\\x7F\\xFF\""},
      {"%s%n", "\"%s%n\""},
  };
  for (const Case& c : cases) EXPECT_EQ(QuoteBytes(c.bytes), c.quoted);
}

}  // namespace
}  // namespace tcudv::sim
