#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/port.h"

namespace tcudv::sim {

bool Port::OpenDevice(const std::string& path, const SerialSettings& settings, std::string& error) {
  path_ = path;
  fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd_ < 0) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  termios attributes{};
  if (!isatty(fd_) || tcgetattr(fd_, &attributes) != 0) {
    error = path + " is no serial device";
    return false;
  }
  // The lock keeps out a driver on the same port even as root, whom TIOCEXCL lets through.
  if (flock(fd_, LOCK_EX | LOCK_NB) != 0 || ioctl(fd_, TIOCEXCL) != 0) {
    error = path + " is in use: " + std::strerror(errno);
    return false;
  }
  exclusive_ = true;
  const std::optional<speed_t> speed = SpeedConstant(settings.baud);
  if (!speed) {
    error = "no such baud rate";
    return false;
  }
  ApplySettings(settings, *speed, attributes);
  if (tcsetattr(fd_, TCSANOW, &attributes) != 0) {
    error = "cannot set the line of " + path + ": " + std::strerror(errno);
    return false;
  }
  tcflush(fd_, TCIOFLUSH);
  return true;
}

}  // namespace tcudv::sim
