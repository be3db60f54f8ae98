#include "params/parameter_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace tcudv::test {
namespace {

uint32_t IndexOf(const char* mnemonic) {
  for (uint32_t param = 0; param < kParameterCount; ++param) {
    if (std::strcmp(kMnemonic[param], mnemonic) == 0) return param;
  }
  ADD_FAILURE() << "no parameter " << mnemonic;
  return 0;
}

std::set<std::string> MnemonicsWhere(bool (*holds)(uint32_t param)) {
  std::set<std::string> names;
  for (uint32_t param = 0; param < kParameterCount; ++param) {
    if (holds(param)) names.insert(kMnemonic[param]);
  }
  return names;
}

TEST(ParameterTable, MnemonicsAreDistinctThreeUpperCaseLetters) {
  std::set<std::string> seen;
  for (uint32_t param = 0; param < kParameterCount; ++param) {
    const std::string name = kMnemonic[param];
    SCOPED_TRACE(name);
    ASSERT_EQ(name.size(), 3u);
    for (char c : name) EXPECT_TRUE((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
    EXPECT_TRUE(seen.insert(name).second);
  }
  EXPECT_EQ(IndexOf("TMP"), kParamTmp);
  EXPECT_EQ(IndexOf("CTR"), kParamCtr);
  EXPECT_EQ(IndexOf("SEM"), kParamSem);
  EXPECT_EQ(IndexOf("OST"), kParamOst);
  EXPECT_EQ(IndexOf("A1R"), kParamA1r);
  EXPECT_EQ(IndexOf("A2R"), kParamA2r);
}

TEST(ParameterTable, CapabilitySetsAreTheDocumentedOnes) {
  using Names = std::set<std::string>;
  EXPECT_EQ(MnemonicsWhere([](uint32_t p) { return (kFlags[p] & PF_READ) == 0; }),
            (Names{"CTR", "SEM", "A1R", "A2R"}));
  EXPECT_EQ(MnemonicsWhere([](uint32_t p) { return !IsWritable(p); }),
            (Names{"TMP", "INP", "DEV", "OST", "IN2", "RSP", "SP2", "HCR"}));
  EXPECT_EQ(MnemonicsWhere([](uint32_t p) { return (kFlags[p] & PF_RESOLUTION) != 0; }),
            (Names{"TMP", "INP", "SET", "AL1", "AL2", "DEV", "CDB"}));
  EXPECT_EQ(MnemonicsWhere([](uint32_t p) { return (kFlags[p] & PF_RESET) != 0; }),
            (Names{"A1R", "A2R"}));
  EXPECT_EQ(MnemonicsWhere([](uint32_t p) { return (kFlags[p] & PF_CONTROL) != 0; }),
            (Names{"CTR", "SEM"}));
  for (uint32_t param = 0; param < kParameterCount; ++param) {
    SCOPED_TRACE(kMnemonic[param]);
    EXPECT_EQ(kFlags[param] & 0xE0, 0);
    EXPECT_LE(kDefaultResolution[param], 3u);
  }
}

// Equal value ids come only in the documented pairs, and a pair shares one text.
TEST(ParameterTable, SharedValueIdsShareOneText) {
  const std::set<std::set<std::string>> pairs = {
      {"TMP", "INP"}, {"RSP", "SP2"}, {"AL1", "A1R"}, {"AL2", "A2R"}};
  for (uint32_t a = 0; a < kParameterCount; ++a) {
    for (uint32_t b = a + 1; b < kParameterCount; ++b) {
      const bool paired = pairs.count({kMnemonic[a], kMnemonic[b]}) == 1;
      SCOPED_TRACE(std::string(kMnemonic[a]) + " " + kMnemonic[b]);
      EXPECT_EQ(std::strcmp(kValueId[a], kValueId[b]) == 0, paired);
      EXPECT_EQ(kValueId[a] == kValueId[b], paired);
    }
  }
}

}  // namespace
}  // namespace tcudv::test
