#include <cstdio>

#include "config/init_file.h"
#include "config/init_line.h"
#include "config/read_only_file.h"
#include "config/text_mode_reader.h"
#include "core/workspace.h"
#include "entry/host_log.h"
#include "params/parameter_table.h"

namespace tcudv {
namespace {

constexpr char kBaseName[] = "TCUDV";
constexpr size_t kFileNameSize = 16;     // 15 characters and the NUL
constexpr size_t kLineBufferSize = 256;  // pieces of at most 255 characters

void FillDefaultResolutions(Workspace& workspace) {
  for (auto& row : workspace.resolution) {
    for (uint32_t param = 0; param < kParameterCount; ++param) {
      row[param] = static_cast<uint8_t>(kDefaultResolution[param]);
    }
  }
}

// A name that did not fit is never cut: that try counts as missing.
FileHandle OpenIfFits(int length, const char* name) {
  if (length < 0 || static_cast<size_t>(length) >= kFileNameSize) return kNoFile;
  return OpenForReading(name);
}

FileHandle OpenInitFile(uint32_t instance, char (&name)[kFileNameSize]) {
  FileHandle file = OpenIfFits(
      std::snprintf(name, sizeof name, "%s%02u.INT", kBaseName, static_cast<unsigned>(instance)),
      name);
  if (file == kNoFile) {
    file = OpenIfFits(
        std::snprintf(name, sizeof name, "%s%01u.INT", kBaseName, static_cast<unsigned>(instance)),
        name);
  }
  if (file == kNoFile) {
    file = OpenIfFits(std::snprintf(name, sizeof name, "%s.INT", kBaseName), name);
  }
  return file;
}

}  // namespace

void ReadInitFile(const LdiCall* call) {
  if (call == nullptr || call->workspace == nullptr) return;
  Workspace* workspace = WorkspaceOf(call);
  FillDefaultResolutions(*workspace);

  char name[kFileNameSize];
  const FileHandle file = OpenInitFile(call->instance, name);
  if (file == kNoFile) {
    HostLog(kLogInfo, "LDIYY> ColdStart() Warning, no initfile found");
    return;
  }
  TextModeReader reader(file);
  char line[kLineBufferSize];
  uint16_t lineNumber = 0;
  while (reader.ReadLine(line, sizeof line)) {
    ++lineNumber;
    ApplyInitLine(*workspace, line, lineNumber, name);
  }
  CloseFile(file);
}

}  // namespace tcudv
