#include <windows.h>

#include "config/read_only_file.h"

namespace tcudv {

FileHandle OpenForReading(const char* name) {
  const HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(file);
}

size_t ReadBytes(FileHandle file, char* buffer, size_t size) {
  DWORD got = 0;
  const DWORD asked = size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(size);
  if (!ReadFile(reinterpret_cast<HANDLE>(file), buffer, asked, &got, nullptr)) return 0;
  return got;
}

void CloseFile(FileHandle file) {
  CloseHandle(reinterpret_cast<HANDLE>(file));
}

}  // namespace tcudv
