#include <io.h>
#include <windows.h>

#include "terminal.h"

namespace tcudv::host {

bool IsTerminal(std::FILE* stream) {
  const intptr_t osHandle = _get_osfhandle(_fileno(stream));
  if (osHandle == -1) return false;
  const HANDLE console = reinterpret_cast<HANDLE>(osHandle);
  DWORD mode = 0;
  if (!GetConsoleMode(console, &mode)) return false;
  // The poll table and the progress bar speak ANSI; a console that cannot
  // learn it gets the plain lines.
  if ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0) return true;
  return SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace tcudv::host
