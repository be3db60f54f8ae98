// The tool's commands; each returns the process's exit code.
#ifndef TCUDV_HOST_COMMANDS_H
#define TCUDV_HOST_COMMANDS_H

#include "options.h"

namespace tcudv::host {

int RunInfo(const Options& options);
int RunRead(const Options& options);
int RunWrite(const Options& options);
int RunPoll(const Options& options);
int RunScan(const Options& options);

}  // namespace tcudv::host

#endif
