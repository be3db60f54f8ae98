#include "platform_texts.h"

namespace tcudv::host {

const char* DriverFileName() {
  return "TCUDVNT.dll";
}

const char* PortNameHelp() {
  return "PORT is a Windows device name of at\n"
         "most 11 characters (COM3, \\\\.\\COM10), or NUL for the null device.";
}

}  // namespace tcudv::host
