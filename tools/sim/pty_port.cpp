#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/port.h"

namespace tcudv::sim {

bool Port::OpenPseudoTerminal(std::string& error) {
  fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd_ < 0 || grantpt(fd_) != 0 || unlockpt(fd_) != 0) {
    error = std::string("cannot make a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  char name[128];
  if (ptsname_r(fd_, name, sizeof name) != 0) {
    error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  path_ = name;
  heldSlave_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
  termios attributes{};
  if (heldSlave_ < 0 || tcgetattr(heldSlave_, &attributes) != 0) {
    error = "cannot open " + path_ + ": " + std::strerror(errno);
    return false;
  }
  // Raw from the start: no echo of frames, CR and LF pass unchanged to whoever opens it.
  cfmakeraw(&attributes);
  if (tcsetattr(heldSlave_, TCSANOW, &attributes) != 0) {
    error = "cannot set raw mode on " + path_ + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace tcudv::sim
