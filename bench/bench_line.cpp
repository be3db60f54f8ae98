#include "bench_line.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "sim_process.h"

namespace tcudv::bench {
namespace {

constexpr char kLink[] = "./bench";   // a port name holds 11 characters
constexpr int32_t kReplyTimeout = 4;  // the driver's default, 40 ms

test::SimProcess simulator;
std::string scratch;

void CleanUp() {
  simulator.Stop();
  std::error_code ignored;
  if (!scratch.empty()) std::filesystem::remove_all(scratch, ignored);
}

}  // namespace

BenchLine* BenchLine::Get(std::string& error) {
  static BenchLine* line = nullptr;
  static std::string startError;
  static bool tried = false;
  if (!tried) {
    tried = true;
    auto* fresh = new BenchLine;
    if (fresh->Start(startError)) {
      line = fresh;
    } else {
      delete fresh;
    }
  }
  error = startError;
  return line;
}

bool BenchLine::Start(std::string& error) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tcudvnt-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) {
    error = "no scratch directory";
    return false;
  }
  scratch = pattern;
  std::atexit(CleanUp);
  std::ofstream("TCUDV.INT") << "IFG = 0\n";
  if (!simulator.Start(TCUDV_SIM_PATH, {"--pty", "--link", kLink, "--nodes", "1", "--drift", "0"},
                       kLink, "sim.log", error)) {
    return false;
  }
  LdiStartup startup{};
  std::snprintf(startup.portName, sizeof startup.portName, "%s", kLink);
  startup.openPort = 1;
  startup.replyTimeout = kReplyTimeout;
  startup.lineParams = LdiLineParams{9600, 7, 0, 2};
  if (Call(LDI_OP_COLD_START, &startup) != LDI_OK || workspace.frameGap != 0) {
    error = "the driver did not start on the simulator with IFG = 0";
    return false;
  }
  return true;
}

int32_t BenchLine::Call(uint32_t operation, void* record) {
  LdiCall call{};
  call.workspace = &workspace;
  call.operation = operation;
  call.record = record;
  return LdiMain(&call);
}

}  // namespace tcudv::bench
