#include "sim/port.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace tcudv::sim {

Port::~Port() {
  if (heldSlave_ >= 0) close(heldSlave_);
  if (exclusive_) ioctl(fd_, TIOCNXCL);
  if (fd_ >= 0) close(fd_);
}

long Port::Write(std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      break;
    } else {
      return -1;
    }
  }
  return static_cast<long>(done);
}

}  // namespace tcudv::sim
