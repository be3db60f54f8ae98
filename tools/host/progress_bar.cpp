#include "progress_bar.h"

#include <algorithm>

namespace tcudv::host {

std::string ProgressBar(size_t done, size_t total, size_t width) {
  done = std::min(done, total);
  const size_t filled = total == 0 ? width : done * width / total;
  const std::string count = std::to_string(done) + "/" + std::to_string(total);
  return "[" + std::string(filled, '#') + std::string(width - filled, '.') + "]  " + count;
}

}  // namespace tcudv::host
