#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "entry/ldi.h"
#include "support/log_capture.h"

namespace tcudv::test {
namespace {

LdiInfo FetchInfo() {
  LdiInfo info;
  std::memset(&info, 0xA5, sizeof info);
  LdiCall call{};
  call.workspace = nullptr;
  call.operation = LDI_OP_GET_LDI_INFO;
  call.record = &info;
  ClearLog();
  EXPECT_EQ(LdiMain(&call), LDI_OK);
  return info;
}

TEST(GetLdiInfo, FillsEveryFieldWithoutAWorkspace) {
  const LdiInfo info = FetchInfo();
  EXPECT_EQ(info.infoTag, 70u);
  EXPECT_EQ(info.workspaceSize, 2896u);
  EXPECT_EQ(info.defaultReplyTimeout, 4);
  EXPECT_EQ(info.defaultLineParams.baudRate, 9600);
  EXPECT_EQ(info.defaultLineParams.dataBits, 7);
  EXPECT_EQ(info.defaultLineParams.stopBits, 0);
  EXPECT_EQ(info.defaultLineParams.parity, 2);
  EXPECT_EQ(info.unused28, 0u);
  EXPECT_EQ(LogLines(),
            (std::vector<LogLine>{{8, "LDIYY> GetLdiInfo() exited", "LDIYY> GetLdiInfo() exited"}}));
}

TEST(GetLdiInfo, NameIsTwoTextsInARow) {
  const LdiInfo info = FetchInfo();
  const std::string first = info.name;
  EXPECT_EQ(first, "Red Lion Controls, TCU and PCU");
  EXPECT_EQ(std::string(info.name + first.size() + 1),
            "Temperature Control Unit and Process Control Unit");
}

TEST(GetLdiInfo, BannerByteForByte) {
  std::string expected = "\x08\n";
  expected += '\xC9' + std::string(65, '\xCD') + '\xBB' + '\n';
  expected += '\xBA' + std::string(2, ' ') + "TCUDV :  RED Lion-PLC LDI-driver (32 bit)" +
              std::string(22, ' ') + '\xBA' + '\n';
  expected += '\xC8' + std::string(65, '\xCD') + '\xBC';
  ASSERT_EQ(expected.size(), 205u);
  const LdiInfo info = FetchInfo();
  EXPECT_EQ(std::string(info.banner, 206), expected + '\0');
}

TEST(GetLdiInfo, NullRecordIsRefused) {
  LdiCall call{};
  call.operation = LDI_OP_GET_LDI_INFO;
  EXPECT_EQ(LdiMain(&call), LDI_REFUSED);
}

}  // namespace
}  // namespace tcudv::test
