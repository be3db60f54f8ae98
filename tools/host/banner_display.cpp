#include "banner_display.h"

#include "cp437.h"

namespace tcudv::host {

std::string ReadableBanner(std::string_view banner) {
  std::string printable;
  for (char c : banner) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 0x20 && byte != 0x7F) || c == '\n') printable += c;
  }
  const size_t first = printable.find_first_not_of('\n');
  if (first == std::string::npos) return {};
  const size_t last = printable.find_last_not_of('\n');
  return Cp437ToUtf8(std::string_view(printable).substr(first, last - first + 1));
}

}  // namespace tcudv::host
