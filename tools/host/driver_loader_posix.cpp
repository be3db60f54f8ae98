#include <dlfcn.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>

#include "driver_loader.h"
#include "driver_log.h"
#include "platform_texts.h"

// The driver's log: it calls the host's marvex_err, which this executable
// exports to the library it loads.
extern "C" __attribute__((visibility("default"))) int marvex_err(int level, const char* format,
                                                                 ...) {
  if (format == nullptr) return 0;
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  tcudv::host::DriverLogLine(level, text);
  return 0;
}

namespace tcudv::host {

std::string DefaultDriverPath() {
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return std::string("./") + DriverFileName();
  std::string directory(self, static_cast<size_t>(length));
  directory.erase(directory.rfind('/') + 1);
  return directory + DriverFileName();
}

LoadedDriver LoadDriver(const std::string& path) {
  LoadedDriver loaded;
  // A bare name would send dlopen searching the library path; this is a file.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* reason = dlerror();
    loaded.error = "cannot load the driver " + path + ": " + (reason ? reason : "unknown reason");
    return loaded;
  }
  void* entry = dlsym(library, "LdiMain");
  if (entry == nullptr) {
    loaded.error = "the library " + path + " has no LdiMain";
    dlclose(library);
    return loaded;
  }
  loaded.ldiMain = reinterpret_cast<LdiMainFunction>(entry);
  return loaded;
}

}  // namespace tcudv::host
