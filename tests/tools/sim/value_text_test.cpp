#include "sim/value_text.h"

#include <gtest/gtest.h>

namespace tcudv::sim {
namespace {

TEST(SimValueText, ReadsTheDriversValueTextsIntoThousandths) {
  struct Case {
    const char* text;
    std::optional<int64_t> milli;
  };
  const Case cases[] = {
      {"0150", 150000},
      {"-0020", -20000},
      {"050.5", 50500},
      {"-012.4", -12400},
      {"0.125", 125},
      {"+12", 12000},
      {".5", 500},
      {"5.", 5000},
      {"1", 1000},
      {"-0", 0},
      {"1.2345", 1235},  // half away from zero past three decimals
      {"-1.2345", -1235},
      {"1.23449", 1234},
      {"999999.999", 999999999},
      {"000000999999", 999999000},
      {"1000000", std::nullopt},
      {"999999.9995", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {".", std::nullopt},
      {"1.2.3", std::nullopt},
      {"12a", std::nullopt},
      {"--1", std::nullopt},
      {" 1", std::nullopt},
      {"1-", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseMilli(c.text), c.milli) << '"' << c.text << '"';
}

}  // namespace
}  // namespace tcudv::sim
