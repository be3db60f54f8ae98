// How this platform names the driver library and its ports, for the help texts.
#ifndef TCUDV_HOST_PLATFORM_TEXTS_H
#define TCUDV_HOST_PLATFORM_TEXTS_H

namespace tcudv::host {

const char* DriverFileName();
const char* PortNameHelp();

}  // namespace tcudv::host

#endif
