// The driver's banner as a terminal can show it.
#ifndef TCUDV_HOST_BANNER_DISPLAY_H
#define TCUDV_HOST_BANNER_DISPLAY_H

#include <string>
#include <string_view>

namespace tcudv::host {

// The box characters in UTF-8; control characters other than line feeds
// (the banner starts with a backspace) dropped; no leading or trailing line feed.
std::string ReadableBanner(std::string_view banner);

}  // namespace tcudv::host

#endif
