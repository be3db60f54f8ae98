// The start-up record, the result words and the exit codes.
#include "startup_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "result_words.h"

namespace tcudv::host {
namespace {

LdiInfo DriverDefaults() {
  LdiInfo info{};
  info.defaultReplyTimeout = 4;
  info.defaultLineParams = {9600, 7, 0, 2};
  return info;
}

TEST(StartupRecord, DefaultsComeFromTheDriverAndOptionsOverrideThem) {
  Options options;
  options.port = "/dev/ttyS1";
  LdiStartup startup = MakeStartup(options, DriverDefaults());
  EXPECT_STREQ(startup.portName, "/dev/ttyS1");
  EXPECT_EQ(startup.openPort, 1u);
  EXPECT_EQ(startup.replyTimeout, 4);
  EXPECT_EQ(startup.lineParams.baudRate, 9600);
  EXPECT_EQ(startup.lineParams.dataBits, 7);
  EXPECT_EQ(startup.lineParams.stopBits, 0);
  EXPECT_EQ(startup.lineParams.parity, 2);

  options.port = "/dev/ttyS10";  // the longest name that fits
  options.timeoutMs = 250;
  options.baudRate = 19200;
  options.dataBits = 8;
  options.parity = 0;
  options.stopBits = 2;
  startup = MakeStartup(options, DriverDefaults());
  EXPECT_STREQ(startup.portName, "/dev/ttyS10");
  EXPECT_EQ(startup.replyTimeout, 25);
  EXPECT_EQ(startup.lineParams.baudRate, 19200);
  EXPECT_EQ(startup.lineParams.dataBits, 8);
  EXPECT_EQ(startup.lineParams.stopBits, 2);
  EXPECT_EQ(startup.lineParams.parity, 0);

  // Only what was given changes.
  Options parityOnly;
  parityOnly.port = "NUL";
  parityOnly.parity = 1;
  startup = MakeStartup(parityOnly, DriverDefaults());
  EXPECT_EQ(startup.lineParams.baudRate, 9600);
  EXPECT_EQ(startup.lineParams.parity, 1);
  EXPECT_EQ(startup.replyTimeout, 4);
}

TEST(StartupRecord, TimeOutsRoundUpToTenMilliseconds) {
  const struct {
    uint32_t ms;
    int32_t units;
  } cases[] = {{10, 1}, {11, 2}, {19, 2}, {20, 2}, {40, 4}, {45, 5}, {600000, 60000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ms);
    EXPECT_EQ(TimeoutUnits(c.ms), c.units);
  }
}

TEST(ResultWords, CodesInWordsAndAsExitCodes) {
  EXPECT_EQ(ResultWords(0), "ok");
  EXPECT_EQ(ResultWords(1), "refused (result 1)");
  EXPECT_EQ(ResultWords(2), "line failure (result 2)");
  EXPECT_EQ(ResultWords(7), "unexpected result 7");

  EXPECT_EQ(ExitCodeFor(0), 0);
  EXPECT_EQ(ExitCodeFor(1), 1);
  EXPECT_EQ(ExitCodeFor(2), 2);
  EXPECT_EQ(ExitCodeFor(-1), 2);

  // A line failure wins over a refusal, a refusal over success, in either order.
  const struct {
    int a, b, combined;
  } cases[] = {{0, 0, 0}, {0, 1, 1}, {1, 0, 1}, {1, 1, 1}, {1, 2, 2},
               {2, 1, 2}, {0, 2, 2}, {2, 0, 2}, {2, 2, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.a) + " " + std::to_string(c.b));
    EXPECT_EQ(CombineExitCodes(c.a, c.b), c.combined);
  }
}

}  // namespace
}  // namespace tcudv::host
