// The scan's progress bar: "[#########...........]  45/99".
#ifndef TCUDV_HOST_PROGRESS_BAR_H
#define TCUDV_HOST_PROGRESS_BAR_H

#include <cstddef>
#include <string>

namespace tcudv::host {

// width is the number of cells between the brackets; done is clamped to total.
std::string ProgressBar(size_t done, size_t total, size_t width);

}  // namespace tcudv::host

#endif
