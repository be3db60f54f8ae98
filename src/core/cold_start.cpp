#include "config/init_file.h"
#include "core/lifecycle.h"
#include "core/open_com.h"
#include "core/port_description.h"
#include "core/workspace.h"
#include "entry/ended_flag.h"
#include "entry/host_log.h"
#include "serial/sio.h"

namespace tcudv {
namespace {

// One constant text: the build's date and time (SOURCE_DATE_EPOCH when set).
constexpr char kVersionLine[] = "LDIYY> version compiled on " __DATE__ " at time " __TIME__;

}  // namespace

int32_t ColdStart(LdiCall* call) {
  Workspace* workspace = WorkspaceOf(call);
  const auto* startup = static_cast<const LdiStartup*>(call->record);
  if (workspace == nullptr || startup == nullptr) return LDI_REFUSED;

  SetEndedFlag(0);
  HostLog(kLogInfo, kVersionLine);
  workspace->replyTimeout = startup->replyTimeout;
  workspace->portHandle = 0;  // a port an earlier ColdStart opened is forgotten, not closed
  workspace->frameGap = kDefaultFrameGap;
  SetDefinedPortDescription(*workspace);
  ReadInitFile(call);

  if (startup->openPort != 0) {
    StorePortName(workspace->portName, startup->portName);
    workspace->lineParams = startup->lineParams;
    workspace->portSettings = kColdStartPortSettings;
    const CommHandle handle = OpenCom(*workspace);
    if (handle == 0) {
      HostLog(kLogAlarm, "LDIYY> ColdStart() error opening COM port");
      return LDI_FAILED;
    }
    workspace->portHandle = handle;
    SioSetReadTimeout(handle, startup->replyTimeout);
  }
  HostLog(kLogInfo, "LDIYY> ColdStart() installation OK!");
  return LDI_OK;
}

}  // namespace tcudv
