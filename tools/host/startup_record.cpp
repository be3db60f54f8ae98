#include "startup_record.h"

#include <cstdio>

namespace tcudv::host {

int32_t TimeoutUnits(uint32_t ms) {
  return static_cast<int32_t>((ms + 9) / 10);
}

LdiStartup MakeStartup(const Options& options, const LdiInfo& info) {
  LdiStartup startup{};
  std::snprintf(startup.portName, sizeof startup.portName, "%s", options.port.c_str());
  startup.openPort = 1;
  startup.replyTimeout =
      options.timeoutMs ? TimeoutUnits(*options.timeoutMs) : info.defaultReplyTimeout;
  startup.lineParams = info.defaultLineParams;
  if (options.baudRate) startup.lineParams.baudRate = *options.baudRate;
  if (options.dataBits) startup.lineParams.dataBits = *options.dataBits;
  if (options.parity) startup.lineParams.parity = *options.parity;
  if (options.stopBits) startup.lineParams.stopBits = *options.stopBits;
  return startup;
}

}  // namespace tcudv::host
