#include "sim/link_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tcudv::sim {

bool PlaceLink(const std::string& link, const std::string& target, std::string& error) {
  struct stat existing {};
  if (lstat(link.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
    error = link + " exists and is no symlink; it is left alone";
    return false;
  }
  // A new link beside the old one, renamed over it, so the path never goes missing.
  const std::string temporary = link + ".tcudv-sim-" + std::to_string(getpid());
  if (symlink(target.c_str(), temporary.c_str()) != 0 ||
      std::rename(temporary.c_str(), link.c_str()) != 0) {
    error = "cannot place the link " + link + ": " + std::strerror(errno);
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

void RemoveLink(const std::string& link, const std::string& target) {
  char points[4096];
  const ssize_t length = readlink(link.c_str(), points, sizeof points);
  if (length > 0 && static_cast<size_t>(length) < sizeof points &&
      target == std::string(points, static_cast<size_t>(length))) {
    unlink(link.c_str());
  }
}

}  // namespace tcudv::sim
