#include "host_run.h"

#include <cstdio>

#include "driver_log.h"
#include "port_name.h"
#include "result_words.h"
#include "startup_record.h"

namespace tcudv::host {

OpenedDriver OpenDriver(const Options& options) {
  OpenedDriver opened;
  ShowDriverLog(options.log);
  opened.path = options.driverPath.empty() ? DefaultDriverPath() : options.driverPath;
  LoadedDriver loaded = LoadDriver(opened.path);
  if (loaded.ldiMain == nullptr) {
    std::fprintf(stderr, "tcudv: %s\n", loaded.error.c_str());
    return opened;
  }
  auto session = std::make_unique<DriverSession>(loaded.ldiMain);
  const int32_t result = session->GetInfo(opened.info);
  if (result != LDI_OK) {
    std::fprintf(stderr, "tcudv: GetLdiInfo of %s: %s\n", opened.path.c_str(),
                 ResultWords(result).c_str());
    return opened;
  }
  opened.session = std::move(session);
  return opened;
}

int RunOnPort(const Options& options, const PortCommand& command) {
  // A longer name would be cut to fit the record and name another device.
  const std::string problem = PortNameProblem(options.port);
  if (!problem.empty()) {
    std::fprintf(stderr, "tcudv: %s\n", problem.c_str());
    return kExitRefused;
  }
  OpenedDriver opened = OpenDriver(options);
  if (!opened.session) return kExitRefused;
  DriverSession& session = *opened.session;
  if (!session.AllocateWorkspace(opened.info.workspaceSize)) {
    std::fprintf(stderr, "tcudv: the driver asks for a workspace of %u bytes; not allocated\n",
                 static_cast<unsigned>(opened.info.workspaceSize));
    return kExitRefused;
  }

  const LdiStartup startup = MakeStartup(options, opened.info);
  int exitCode = kExitOk;
  const int32_t started = session.ColdStart(startup, options.instance);
  if (started != LDI_OK) {
    std::fprintf(stderr, "tcudv: cannot open the port '%s': ColdStart %s%s\n", options.port.c_str(),
                 ResultWords(started).c_str(),
                 options.log ? "" : " (--log shows the driver's messages)");
    exitCode = ExitCodeFor(started);
  } else {
    exitCode = command(session, opened.info);
  }

  const int32_t ended = session.End();
  if (ended != LDI_OK) {
    std::fprintf(stderr, "tcudv: EndLdi: %s; the port may not have been closed\n",
                 ResultWords(ended).c_str());
    exitCode = CombineExitCodes(exitCode, ExitCodeFor(ended));
  }
  return exitCode;
}

}  // namespace tcudv::host
