// The --help texts: the overview and one per command.
#ifndef TCUDV_HOST_HELP_TEXT_H
#define TCUDV_HOST_HELP_TEXT_H

#include "options.h"

namespace tcudv::host {

// Command::kNone gives the overview.
const char* HelpText(Command command);

}  // namespace tcudv::host

#endif
