#include <cstdio>
#include <vector>

#include "commands.h"
#include "gate_probe.h"
#include "host_run.h"
#include "result_words.h"
#include "value_input.h"

namespace tcudv::host {
namespace {

struct PreparedWrite {
  Gate gate;
  std::string valueText;
  ValueCell cell;
};

}  // namespace

int RunWrite(const Options& options) {
  return RunOnPort(options, [&](DriverSession& session, const LdiInfo&) {
    // Every gate and value is checked before anything is written: a mistake
    // on the command line must not leave the controllers half changed.
    std::vector<PreparedWrite> writes;
    bool sound = true;
    for (const GateAssignment& assignment : options.assignments) {
      ProbeOutcome outcome = ProbeGate(session, assignment.gate);
      if (!outcome.accepted) {
        std::printf("%s\n", RefusalText(outcome).c_str());
        sound = false;
        continue;
      }
      PreparedWrite write{outcome.gate, assignment.value, {}};
      const std::string problem = EncodeWriteValue(write.gate.type, write.valueText, write.cell);
      if (!problem.empty()) {
        std::printf("%s=%s: %s\n", assignment.gate.c_str(), assignment.value.c_str(),
                    problem.c_str());
        sound = false;
        continue;
      }
      writes.push_back(write);
    }
    if (!sound) {
      std::printf("nothing written\n");
      return kExitRefused;
    }

    int exitCode = kExitOk;
    for (PreparedWrite& write : writes) {
      LdiGateIo io = GateIoFor(write.gate, write.cell);
      const int32_t result = session.Write(io);
      std::printf("%s = %s: %s\n", write.gate.address.c_str(), write.valueText.c_str(),
                  ResultWords(result).c_str());
      std::fflush(stdout);
      exitCode = CombineExitCodes(exitCode, ExitCodeFor(result));
    }
    return exitCode;
  });
}

}  // namespace tcudv::host
