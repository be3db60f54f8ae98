#include "sim/fault_injector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tcudv::sim {
namespace {

const std::string kReply = " 150\r\n";

FaultRates Rates(std::initializer_list<std::pair<Fault, double>> rates) {
  FaultRates out{};
  for (const auto& [fault, rate] : rates) out[static_cast<int>(fault)] = rate;
  return out;
}

std::vector<std::pair<Fault, std::string>> Draws(uint64_t seed, const FaultRates& rates,
                                                 int count) {
  FaultInjector injector(seed, rates);
  std::vector<std::pair<Fault, std::string>> out;
  for (int i = 0; i < count; ++i) {
    const FaultedReply r = injector.Apply(kReply);
    out.emplace_back(r.fault, r.bytes);
  }
  return out;
}

const FaultRates kAllKinds = Rates({{Fault::kHash, 0.1},
                                    {Fault::kGarbage, 0.1},
                                    {Fault::kDrop, 0.1},
                                    {Fault::kCut, 0.1},
                                    {Fault::kLong, 0.1},
                                    {Fault::kDelay, 0.1}});

TEST(SimFaultInjector, SameSeedSameFaultsAndBytes) {
  const auto first = Draws(42, kAllKinds, 500);
  EXPECT_EQ(first, Draws(42, kAllKinds, 500));
  EXPECT_NE(first, Draws(43, kAllKinds, 500));
}

TEST(SimFaultInjector, NoRatesPassTheReplyOn) {
  for (const auto& [fault, bytes] : Draws(7, FaultRates{}, 50)) {
    EXPECT_EQ(fault, Fault::kNone);
    EXPECT_EQ(bytes, kReply);
  }
}

bool EndsWithCrLf(const std::string& s) {
  return s.size() >= 2 && s.ends_with("\r\n");
}

TEST(SimFaultInjector, EachFaultHasItsShape) {
  struct Case {
    Fault fault;
    bool (*holds)(const FaultedReply&);
  };
  const Case cases[] = {
      {Fault::kHash,
       [](const FaultedReply& r) {
         return r.bytes.size() >= 4 && r.bytes[0] == ' ' && r.bytes[1] == '#' &&
                EndsWithCrLf(r.bytes);
       }},
      {Fault::kGarbage,
       [](const FaultedReply& r) {
         return r.bytes[0] != ' ' && r.bytes[0] != '-' && r.bytes.substr(1) == kReply.substr(1);
       }},
      {Fault::kDrop, [](const FaultedReply& r) { return r.bytes.empty() && !r.late; }},
      {Fault::kCut,
       [](const FaultedReply& r) {
         return !r.bytes.empty() && r.bytes.size() < kReply.size() && kReply.starts_with(r.bytes);
       }},
      {Fault::kLong,
       [](const FaultedReply& r) {
         return EndsWithCrLf(r.bytes) && r.bytes.size() - 2 > 40 &&
                r.bytes.find("\r\n") == r.bytes.size() - 2 && r.bytes.starts_with(" 150");
       }},
      {Fault::kDelay, [](const FaultedReply& r) { return r.late && r.bytes == kReply; }},
  };
  for (const Case& c : cases) {
    FaultInjector injector(5, Rates({{c.fault, 1.0}}));
    for (int i = 0; i < 200; ++i) {
      const FaultedReply r = injector.Apply(kReply);
      ASSERT_EQ(r.fault, c.fault);
      ASSERT_TRUE(c.holds(r)) << FaultName(c.fault) << ": \"" << r.bytes << '"';
      if (c.fault != Fault::kDelay) {
        ASSERT_FALSE(r.late);
      }
    }
  }
}

TEST(SimFaultInjector, FaultsComeAtAboutTheirRates) {
  const FaultRates rates = Rates({{Fault::kHash, 0.2}, {Fault::kDrop, 0.3}});
  int counts[kFaultKinds + 1] = {};
  const int total = 20000;
  for (const auto& [fault, bytes] : Draws(11, rates, total)) ++counts[static_cast<int>(fault) + 1];
  EXPECT_NEAR(counts[static_cast<int>(Fault::kHash) + 1], 0.2 * total, 0.02 * total);
  EXPECT_NEAR(counts[static_cast<int>(Fault::kDrop) + 1], 0.3 * total, 0.02 * total);
  EXPECT_NEAR(counts[0], 0.5 * total, 0.02 * total);
  EXPECT_EQ(counts[static_cast<int>(Fault::kCut) + 1], 0);
}

TEST(SimFaultInjector, ParsesRateOptions) {
  struct Case {
    const char* setting;
    bool ok;
  };
  const Case cases[] = {
      {"hash=0.05", true},
      {"hash=0.05,drop=0.1,long=0", true},
      {"delay=1", true},
      {"hash=0.6,drop=0.4", true},
      {"hash=0.6,drop=0.5", false},
      {"hash=1.5", false},
      {"hash=-0.1", false},
      {"hash=", false},
      {"hash", false},
      {"bogus=0.1", false},
      {"hash=0.1x", false},
      {"hash=0.1,", false},
  };
  for (const Case& c : cases) {
    FaultRates rates{};
    const std::string error = ParseFaultRates(c.setting, rates);
    EXPECT_EQ(error.empty(), c.ok) << c.setting << ": " << error;
    if (!c.ok) {
      EXPECT_EQ(rates, FaultRates{}) << c.setting << " left rates changed";
    }
  }
  FaultRates rates{};
  ASSERT_EQ(ParseFaultRates("hash=0.25,cut=0.125", rates), "");
  EXPECT_EQ(rates, Rates({{Fault::kHash, 0.25}, {Fault::kCut, 0.125}}));
}

}  // namespace
}  // namespace tcudv::sim
