// The small parsers behind the options: numbers, node lists, line parameters, port names.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "line_params.h"
#include "node_list.h"
#include "numbers.h"
#include "port_name.h"

namespace tcudv::host {
namespace {

TEST(Numbers, IntegersMustBeWholeAndInRange) {
  struct Case {
    const char* text;
    std::optional<int64_t> expected;
  };
  const Case cases[] = {
      {"0", 0},      {"-32768", -32768}, {"65535", 65535}, {"+7", 7},
      {"65536", {}}, {"-32769", {}},     {"", {}},         {"+", {}},
      {"12a", {}},   {" 12", {}},        {"12 ", {}},      {"1.0", {}},
      {"0x10", {}},  {"+-1", {}},        {"--1", {}},      {"99999999999999999999", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseInteger(c.text, -32768, 65535), c.expected);
  }
}

TEST(Numbers, FloatsMustBeFiniteAndWhole) {
  struct Case {
    const char* text;
    std::optional<float> expected;
  };
  const Case cases[] = {
      {"150", 150.0f}, {"-12.35", -12.35f}, {"+0.5", 0.5f}, {"1e2", 100.0f}, {".5", 0.5f},
      {"", {}},        {"abc", {}},         {"1.5x", {}},   {"nan", {}},     {"inf", {}},
      {"-inf", {}},    {"1e39", {}},        {"1,5", {}},    {" 1", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseFiniteFloat(c.text), c.expected);
  }
}

TEST(NodeList, RangesAndSinglesBecomeSortedUniqueNodes) {
  struct Case {
    const char* text;
    std::optional<std::vector<unsigned>> expected;
  };
  const Case cases[] = {
      {"1-3", std::vector<unsigned>{1, 2, 3}},
      {"7", std::vector<unsigned>{7}},
      {"9,1-2,2", std::vector<unsigned>{1, 2, 9}},
      {"99", std::vector<unsigned>{99}},
      {"0", {}},
      {"100", {}},
      {"1-100", {}},
      {"3-1", {}},
      {"1,", {}},
      {",1", {}},
      {"1--3", {}},
      {"-3", {}},
      {"a", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseNodeList(c.text), c.expected);
  }
  std::vector<unsigned> all = AllNodes();
  ASSERT_EQ(all.size(), 99u);
  EXPECT_EQ(all.front(), 1u);
  EXPECT_EQ(all.back(), 99u);
}

TEST(LineParams, NamesAndCodesGoBothWays) {
  struct ParityCase {
    const char* text;
    std::optional<uint16_t> code;
  };
  const ParityCase parities[] = {{"none", 0}, {"N", 0}, {"odd", 1},  {"o", 1},
                                 {"Even", 2}, {"E", 2}, {"mark", 3}, {"space", 4},
                                 {"s", 4},    {"", {}}, {"ev", {}},  {"2", {}}};
  for (const ParityCase& c : parities) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseParity(c.text), c.code);
  }
  EXPECT_EQ(ParseStopBits("1"), uint16_t{0});
  EXPECT_EQ(ParseStopBits("1.5"), uint16_t{1});
  EXPECT_EQ(ParseStopBits("2"), uint16_t{2});
  EXPECT_EQ(ParseStopBits("0"), std::nullopt);
  EXPECT_EQ(ParseStopBits("1.0"), std::nullopt);

  EXPECT_EQ(DescribeLine({9600, 7, 0, 2}), "9600 baud, 7 data bits, even parity, 1 stop bit");
  EXPECT_EQ(DescribeLine({19200, 8, 2, 0}), "19200 baud, 8 data bits, no parity, 2 stop bits");
  EXPECT_EQ(DescribeLine({300, 5, 1, 4}), "300 baud, 5 data bits, space parity, 1.5 stop bits");
  EXPECT_EQ(DescribeLine({9600, 7, 9, 8}),
            "9600 baud, 7 data bits, code 8 parity, code 9 stop bits");
}

TEST(PortName, NamesOfMoreThanElevenCharactersAreRefusedWithAWayOut) {
  EXPECT_EQ(PortNameProblem("NUL"), "");
  EXPECT_EQ(PortNameProblem("ttyUSB0"), "");
  EXPECT_EQ(PortNameProblem("/dev/ttyS10"), "");  // 11 characters
  EXPECT_NE(PortNameProblem("").find("empty"), std::string::npos);

  const std::string underDev = PortNameProblem("/dev/ttyUSB10");  // 13 characters
  EXPECT_NE(underDev.find("13 characters"), std::string::npos) << underDev;
  EXPECT_NE(underDev.find("at most 11"), std::string::npos) << underDev;
  EXPECT_NE(underDev.find("give it as 'ttyUSB10'"), std::string::npos) << underDev;

  const std::string deep = PortNameProblem("/dev/serial/by-id/usb-if00");  // 26 characters
  EXPECT_NE(deep.find("26 characters"), std::string::npos) << deep;
  EXPECT_NE(deep.find("ln -s /dev/serial/by-id/usb-if00 /tmp/tcu0"), std::string::npos) << deep;
  EXPECT_NE(deep.find("--link"), std::string::npos) << deep;
  EXPECT_EQ(deep.find("give it as"), std::string::npos) << deep;
}

}  // namespace
}  // namespace tcudv::host
