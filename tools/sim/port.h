// Where the simulator serves: the master side of a pseudo-terminal, or a real serial device.
#ifndef TCUDV_SIM_PORT_H
#define TCUDV_SIM_PORT_H

#include <string>
#include <string_view>

#include "sim/serial_settings.h"

namespace tcudv::sim {

class Port {
 public:
  Port() = default;
  Port(const Port&) = delete;
  Port& operator=(const Port&) = delete;
  ~Port();

  // A new pseudo-terminal in raw mode. Its slave stays open here as well, so the line lives on
  // while the driver closes and re-opens it. False with `error` set on failure.
  bool OpenPseudoTerminal(std::string& error);
  // A serial device by name, exclusively, raw, with the given line settings.
  bool OpenDevice(const std::string& path, const SerialSettings& settings, std::string& error);

  int fd() const { return fd_; }
  // The path the driver is to open.
  const std::string& path() const { return path_; }

  // Writes what the port takes now. A full output queue loses the rest, as a line would.
  // Returns the bytes written, or -1 on an error of the port.
  long Write(std::string_view bytes);

 private:
  int fd_ = -1;
  int heldSlave_ = -1;
  bool exclusive_ = false;  // TIOCEXCL set here, cleared again at the close
  std::string path_;
};

}  // namespace tcudv::sim

#endif
