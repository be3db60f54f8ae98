#include <unistd.h>

#include "terminal.h"

namespace tcudv::host {

bool IsTerminal(std::FILE* stream) {
  return isatty(fileno(stream)) == 1;
}

}  // namespace tcudv::host
