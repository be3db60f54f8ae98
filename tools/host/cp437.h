// Code page 437 text, as the driver's banner is drawn, in UTF-8 for a terminal.
#ifndef TCUDV_HOST_CP437_H
#define TCUDV_HOST_CP437_H

#include <string>
#include <string_view>

namespace tcudv::host {

// Bytes 0x00 to 0x7F stay as they are; every byte from 0x80 on becomes the
// UTF-8 form of its code page 437 character (0xC9 is U+2554, for instance).
std::string Cp437ToUtf8(std::string_view text);

}  // namespace tcudv::host

#endif
