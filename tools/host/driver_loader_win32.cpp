#include <windows.h>

#include <cstdio>
#include <string>

#include "driver_loader.h"
#include "driver_log.h"
#include "marvex.h"
#include "platform_texts.h"

namespace tcudv::host {
namespace {

void __cdecl ForwardDriverLine(int level, const char* text) {
  DriverLogLine(level, text);
}

std::string ExecutableDirectory() {
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
  if (length == 0 || length >= sizeof self) return {};
  std::string directory(self, length);
  const size_t separator = directory.find_last_of("\\/");
  directory.erase(separator == std::string::npos ? 0 : separator + 1);
  return directory;
}

std::string SystemReason(DWORD code) {
  char text[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, text, sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                        text[length - 1] == '.' || text[length - 1] == ' ')) {
    --length;
  }
  std::string reason = "Windows error " + std::to_string(code);
  if (length > 0) reason += " (" + std::string(text, length) + ")";
  return reason;
}

template <typename Function>
Function Entry(HMODULE module, const char* name) {
  // FARPROC has no parameters; the detour through void* keeps -Wcast-function-type quiet.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool HasDirectory(const std::string& path) {
  return path.find_first_of("\\/:") != std::string::npos;
}

}  // namespace

std::string DefaultDriverPath() {
  return ExecutableDirectory() + DriverFileName();
}

LoadedDriver LoadDriver(const std::string& path) {
  LoadedDriver loaded;
  // The driver imports err from MARVEX.DLL. Loaded first, from beside the tool
  // (the search starts there), it is the module the driver's import binds to,
  // wherever the driver itself lies.
  HMODULE marvex = LoadLibraryA("MARVEX.DLL");
  if (marvex == nullptr) {
    loaded.error = "cannot load MARVEX.DLL, the library the driver logs through: " +
                   SystemReason(GetLastError()) + "; the stand-in belongs beside tcudv.exe";
    return loaded;
  }
  const auto setSink = Entry<MarvexSetSinkFunction>(marvex, "MarvexSetSink");
  if (setSink != nullptr) {
    setSink(ForwardDriverLine);
  } else {
    std::fprintf(stderr, "tcudv: MARVEX.DLL is not the stand-in; the driver's log stays with it\n");
  }

  // With a directory, the DLL's own directory is searched for what it imports.
  HMODULE library = HasDirectory(path)
                        ? LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
                        : LoadLibraryA(path.c_str());
  if (library == nullptr) {
    loaded.error = "cannot load the driver " + path + ": " + SystemReason(GetLastError());
    return loaded;
  }
  const auto entry = Entry<LdiMainFunction>(library, "LdiMain");
  if (entry == nullptr) {
    loaded.error = "the library " + path + " has no LdiMain";
    FreeLibrary(library);
    return loaded;
  }
  loaded.ldiMain = entry;
  return loaded;
}

}  // namespace tcudv::host
