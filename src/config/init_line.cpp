#include "config/init_line.h"

#include <cstdio>
#include <cstring>

#include "entry/host_log.h"
#include "params/parameter_table.h"

namespace tcudv {
namespace {

constexpr unsigned kResolutionLimit = 4;  // decimal places 0 to 3

bool ParameterLine(Workspace& workspace, const char* line) {
  for (uint32_t param = 0; param < kParameterCount; ++param) {
    // The template's first three characters become the mnemonic.
    char format[] = "xxx %u = %u";
    std::memcpy(format, kMnemonic[param], 3);
    unsigned node = 0;
    unsigned resolution = 0;
    if (std::sscanf(line, format, &node, &resolution) == 2 && node < kNodeRows &&
        resolution < kResolutionLimit) {
      workspace.resolution[node][param] = static_cast<uint8_t>(resolution);
      HostLog(kLogInfo, "LDIYY> ReadInitFile() plc %u uses %d as resolution for %s", node,
              static_cast<int>(resolution), kMnemonic[param]);
      return true;
    }
  }
  return false;
}

bool ResolutionLine(Workspace& workspace, const char* line) {
  unsigned node = 0;
  unsigned resolution = 0;
  if (std::sscanf(line, "RESOLUTION %u = %u", &node, &resolution) != 2 || node >= kNodeRows ||
      resolution >= kResolutionLimit) {
    return false;
  }
  for (uint32_t param = 0; param < kParameterCount; ++param) {
    if (kFlags[param] & PF_RESOLUTION) {
      workspace.resolution[node][param] = static_cast<uint8_t>(resolution);
    }
  }
  return true;
}

bool GapLine(Workspace& workspace, const char* line) {
  unsigned gap = 0;
  if (std::sscanf(line, "IFG = %u", &gap) != 1) return false;
  workspace.frameGap = static_cast<uint16_t>(gap);
  HostLog(kLogInfo, "LDIYY> ReadInitFile() IFG = %u", gap);
  return true;
}

}  // namespace

void ApplyInitLine(Workspace& workspace, const char* line, uint16_t lineNumber,
                   const char* fileName) {
  if (ParameterLine(workspace, line) || ResolutionLine(workspace, line) ||
      GapLine(workspace, line) || line[0] == '\n') {
    return;
  }
  HostLog(kLogAlarm, "LDIYY> ReadIntFile() illegal line %u in '%s'",
          static_cast<unsigned>(lineNumber), fileName);
}

}  // namespace tcudv
