// Line settings of a real serial device.
#ifndef TCUDV_SIM_SERIAL_SETTINGS_H
#define TCUDV_SIM_SERIAL_SETTINGS_H

#include <termios.h>

#include <optional>

namespace tcudv::sim {

struct SerialSettings {
  unsigned baud = 9600;
  int dataBits = 7;
  char parity = 'E';  // 'N', 'E' or 'O'
  int stopBits = 1;
};

// The termios speed for a baud rate, if the platform has one.
std::optional<speed_t> SpeedConstant(unsigned baud);

// Raw mode with the given settings, no flow control, reads that return what has come.
void ApplySettings(const SerialSettings& settings, speed_t speed, termios& attributes);

}  // namespace tcudv::sim

#endif
