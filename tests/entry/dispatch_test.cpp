#include <gtest/gtest.h>

#include "entry/ldi.h"
#include "support/log_capture.h"

namespace tcudv::test {
namespace {

int32_t Call(uint32_t operation, void* record = nullptr) {
  LdiCall call{};
  call.operation = operation;
  call.record = record;
  return LdiMain(&call);
}

TEST(Dispatch, CodesWithoutAnOperationFailAndLogNothing) {
  for (uint32_t code : {0u, 8u, 9u, 16u, 17u, 100u, 0xFFFFFFFFu}) {
    ClearLog();
    EXPECT_EQ(Call(code), LDI_FAILED) << "code " << code;
    EXPECT_TRUE(LogLines().empty()) << "code " << code;
  }
}

TEST(Dispatch, BlockOperationsAreRefusedWithOneLine) {
  int junk = 0;
  for (uint32_t code : {4u, 6u, 10u}) {
    for (void* record : {static_cast<void*>(nullptr), static_cast<void*>(&junk)}) {
      ClearLog();
      EXPECT_EQ(Call(code, record), LDI_REFUSED) << "code " << code;
      EXPECT_EQ(LogLines(), (std::vector<LogLine>{{8, "LDIYY> No blocks supported.",
                                                   "LDIYY> No blocks supported."}}));
    }
  }
}

TEST(Dispatch, NullCallRecordIsRefused) { EXPECT_EQ(LdiMain(nullptr), LDI_REFUSED); }

}  // namespace
}  // namespace tcudv::test
