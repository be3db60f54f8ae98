#include "platform_texts.h"

namespace tcudv::host {

const char* DriverFileName() {
  return "libtcudvnt.so";
}

const char* PortNameHelp() {
  return "PORT is a device path of at most 11 characters\n"
         "(/tmp/tcu0, a symlink to the device, say), a name under /dev (ttyUSB0), or NUL\n"
         "for the null device.";
}

}  // namespace tcudv::host
