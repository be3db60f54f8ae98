// Initialisation file contents through ColdStart (operation 1, no port), in a
// scratch current directory.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/workspace.h"
#include "entry/ldi.h"
#include "fuzz_log.h"
#include "params/parameter_table.h"
#include "scratch_directory.h"

namespace tcudv::fuzz {
namespace {

constexpr int32_t kReplyTimeout = 4;

void CheckWorkspace(const Workspace& workspace, std::string_view file) {
  if (workspace.portHandle != 0) Fail("a port handle without a port");
  if (workspace.replyTimeout != kReplyTimeout)
    Fail("the reply time-out is not the start-up record's");
  // Without an "IFG" anywhere the gap stays; without an "=" every resolution does.
  if (file.find("IFG") == std::string_view::npos && workspace.frameGap != kDefaultFrameGap) {
    Fail("the gap changed without an IFG line");
  }
  const bool anyEquals = file.find('=') != std::string_view::npos;
  for (unsigned node = 0; node < kNodeRows; ++node) {
    for (unsigned param = 0; param < kParameterCount; ++param) {
      const uint8_t entry = workspace.resolution[node][param];
      if (entry > 3) Fail("a resolution above 3");
      if (!anyEquals && entry != kDefaultResolution[param])
        Fail("a resolution changed without a line");
    }
  }
}

}  // namespace
}  // namespace tcudv::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tcudv::fuzz::EnterScratchDirectory();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tcudv;
  using namespace tcudv::fuzz;
  WriteScratchFile("TCUDV00.INT", data, size);

  static Workspace workspace;
  std::memset(&workspace, 0xA5, sizeof workspace);
  LdiStartup startup{};
  startup.openPort = 0;
  startup.replyTimeout = kReplyTimeout;
  startup.lineParams = LdiLineParams{9600, 7, 0, 2};
  LdiCall call{};
  call.workspace = &workspace;
  call.operation = LDI_OP_COLD_START;
  call.instance = 0;
  call.record = &startup;
  if (LdiMain(&call) != LDI_OK) Fail("ColdStart without a port did not succeed");
  CheckWorkspace(workspace, std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
