#include "sim/serial_settings.h"

namespace tcudv::sim {

std::optional<speed_t> SpeedConstant(unsigned baud) {
  struct Pair {
    unsigned baud;
    speed_t speed;
  };
  static constexpr Pair kSpeeds[] = {
      {50, B50},           {75, B75},           {110, B110},         {134, B134},
      {150, B150},         {200, B200},         {300, B300},         {600, B600},
      {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
      {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
      {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
      {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
      {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
      {3500000, B3500000}, {4000000, B4000000},
  };
  for (const Pair& pair : kSpeeds) {
    if (pair.baud == baud) return pair.speed;
  }
  return std::nullopt;
}

void ApplySettings(const SerialSettings& settings, speed_t speed, termios& attributes) {
  cfmakeraw(&attributes);
  attributes.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  static constexpr tcflag_t kSize[] = {CS5, CS6, CS7, CS8};
  attributes.c_cflag |= kSize[settings.dataBits - 5] | CREAD | CLOCAL;
  if (settings.parity != 'N') attributes.c_cflag |= PARENB;
  if (settings.parity == 'O') attributes.c_cflag |= PARODD;
  if (settings.stopBits == 2) attributes.c_cflag |= CSTOPB;
  attributes.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  attributes.c_cc[VMIN] = 0;
  attributes.c_cc[VTIME] = 0;
  cfsetispeed(&attributes, speed);
  cfsetospeed(&attributes, speed);
}

}  // namespace tcudv::sim
