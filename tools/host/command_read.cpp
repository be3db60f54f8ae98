#include <cstdio>
#include <vector>

#include "commands.h"
#include "gate_probe.h"
#include "host_run.h"
#include "result_words.h"
#include "value_display.h"

namespace tcudv::host {

int RunRead(const Options& options) {
  return RunOnPort(options, [&](DriverSession& session, const LdiInfo&) {
    std::vector<ProbeOutcome> probed;
    for (const std::string& address : options.gates) probed.push_back(ProbeGate(session, address));

    int exitCode = kExitOk;
    for (const ProbeOutcome& outcome : probed) {
      if (!outcome.accepted) {
        std::printf("%s\n", RefusalText(outcome).c_str());
        exitCode = CombineExitCodes(exitCode, kExitRefused);
        continue;
      }
      const Gate& gate = outcome.gate;
      ValueCell cell;
      LdiGateIo io = GateIoFor(gate, cell);
      const int32_t result = session.Read(io);
      if (result == LDI_OK) {
        std::printf("%s = %s\n", gate.address.c_str(), DisplayValue(gate.type, cell).c_str());
      } else {
        std::printf("%s: %s\n", gate.address.c_str(), ResultWords(result).c_str());
      }
      std::fflush(stdout);
      exitCode = CombineExitCodes(exitCode, ExitCodeFor(result));
    }
    return exitCode;
  });
}

}  // namespace tcudv::host
