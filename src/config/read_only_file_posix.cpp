#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "config/read_only_file.h"

namespace tcudv {

FileHandle OpenForReading(const char* name) {
  int fd;
  do {
    fd = open(name, O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return kNoFile;
  // A directory opens here but not on Windows: there, as here, it is no file.
  struct stat status;
  if (fstat(fd, &status) != 0 || S_ISDIR(status.st_mode)) {
    close(fd);
    return kNoFile;
  }
  return fd;
}

size_t ReadBytes(FileHandle file, char* buffer, size_t size) {
  ssize_t got;
  do {
    got = read(static_cast<int>(file), buffer, size);
  } while (got < 0 && errno == EINTR);
  return got > 0 ? static_cast<size_t>(got) : 0;
}

void CloseFile(FileHandle file) {
  close(static_cast<int>(file));
}

}  // namespace tcudv
